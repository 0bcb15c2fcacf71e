// The level table (an emscripten JS library): what the search did at each level of the
// frame on the screen, the level the picture follows marked, and the search's result beside
// the nearest sample and the truly nearest point.
mergeInto(LibraryManager.library, {
  $QuenlowLevels__deps: ['$QuenlowPage', '$QuenlowHeld', '$QuenlowDerivation'],
  $QuenlowLevels__postset: 'QuenlowLevels.start();',
  $QuenlowLevels: {
    start: function () {
      var rows = QuenlowPage.element('levels').tBodies[0];
      for (var level = 0; level < QuenlowPage.LEVELS; ++level) {
        var row = rows.insertRow();
        row.insertCell().textContent = level;
        for (var column = 0; column < 3; ++column) {
          row.insertCell().id = 'level-' + level + '-' + column;
        }
        // r opens how it was made (derivation.js).
        var r = QuenlowDerivation.button(3, level);
        r.id = 'level-' + level + '-3';
        row.insertCell().appendChild(r);
      }
    }
  },

  // One row of the table: the pieces a level bounded, dropped and kept, and its error bound;
  // the row of the level the picture follows is marked.
  quenlowShowLevel__deps: ['$QuenlowLevels'],
  quenlowShowLevel: function (level, bounded, discarded, errorBound, shown) {
    var row = QuenlowPage.element('levels').tBodies[0].rows[level];
    if (shown) row.setAttribute('aria-current', 'step'); else row.removeAttribute('aria-current');
    var cells = [bounded, discarded, bounded - discarded,
                 QuenlowPage.radius(errorBound)];
    // While the level shown holds its decisions back, so do it and the levels after it.
    var shownLevel = +QuenlowPage.element('level').value;
    if (QuenlowHeld.decisions && level >= shownLevel) {
      cells = [level > shownLevel ? '?' : bounded, '?', '?', cells[3]];
    }
    cells.forEach(function (value, column) {
      QuenlowPage.write('level-' + level + '-' + column, String(value));
    });
  },

  quenlowShowFinalRun__deps: ['$QuenlowPage', '$QuenlowHeld'],
  quenlowShowFinalRun: function (runs, runCount, samples) {
    var text = [];
    for (var i = 0; i < Math.min(runCount, 4); ++i) {
      var first = HEAP32[(runs >> 2) + 2 * i], last = HEAP32[(runs >> 2) + 2 * i + 1];
      text.push(first + ' \u2026 ' + last);
    }
    if (runCount > 4) text.push('\u2026');
    QuenlowPage.write('final-run', QuenlowHeld.answer() ? QuenlowHeld.WORDS
                                                       : text.join(', ') + ' (' + samples +
                                                         ' samples)');
  },

  quenlowShowResult__deps: ['$QuenlowPage', '$QuenlowHeld'],
  quenlowShowResult: function (selected, selectedDistance, nearestSample, nearestSampleDistance,
                               trueT, trueDistance) {
    var page = QuenlowPage;
    if (QuenlowHeld.answer()) {
      ['selected', 'nearest-sample', 'true-nearest', 'farther'].forEach(function (id) {
        page.write(id, QuenlowHeld.WORDS);
      });
      return;
    }
    page.write('selected', page.sample(selected) + ', ' + page.pixels(selectedDistance));
    page.write('nearest-sample',
               page.sample(nearestSample) + ', ' + page.pixels(nearestSampleDistance));
    page.write('true-nearest', 't = ' + trueT.toFixed(4) + ', ' + page.pixels(trueDistance));
    page.write('farther', page.pixels(selectedDistance - trueDistance));
  }
});
