// The other methods (an emscripten JS library): a switch that shows the coarse table's and
// Newton's answers beside the search's, the table's size, a legend, and a table of each
// answer's t, distance, how much farther than the truly nearest point, and points evaluated.
mergeInto(LibraryManager.library, {
  $QuenlowMethods__deps: ['$QuenlowPage'],
  $QuenlowMethods__postset: 'QuenlowMethods.start();',
  $QuenlowMethods: {
    on: false,

    start: function () {
      var page = QuenlowPage, toggle = page.element('methods');
      var samples = page.element('coarse-samples');
      toggle.addEventListener('click', function () {
        QuenlowMethods.show(toggle.getAttribute('aria-pressed') !== 'true');
      });
      samples.addEventListener('change', QuenlowMethods.apply);
      samples.addEventListener('input', QuenlowMethods.apply);
    },
    show: function (on) {
      QuenlowMethods.on = on;
      QuenlowPage.element('methods').setAttribute('aria-pressed', String(on));
      QuenlowMethods.apply();
    },
    // The table's size as typed, held within 10 … 200; a field left mid-edit keeps the last.
    apply: function () {
      var field = QuenlowPage.element('coarse-samples'), n = Math.round(+field.value);
      if (!(n >= 10 && n <= 200)) n = QuenlowMethods.samples || 20;
      QuenlowMethods.samples = n;
      _webShowMethods(QuenlowMethods.on, n);
    }
  },

  quenlowShowMethods__deps: ['$QuenlowMethods'],
  quenlowShowMethods: function (shown, rows) {
    var page = QuenlowPage, part = page.element('methods-part');
    part.dataset.shows = shown ? 'on' : 'off';
    var body = page.element('methods-table').tBodies[0];
    if (!shown) {
      // Nothing of an answer kept out of sight, where a question may hold it back.
      Array.prototype.forEach.call(body.rows, function (row) {
        for (var c = 1; c < row.cells.length; ++c) row.cells[c].textContent = '';
      });
      page.write('newton-start', '');
      return;
    }
    var f = HEAPF64, r = rows >> 3, truth = f[r + 13];
    for (var i = 0; i < 4; ++i) {
      var row = body.rows[i], t = f[r + 4 * i], d = f[r + 4 * i + 1];
      var cells = [t.toFixed(4), page.pixels(d), i === 3 ? '\u2014' : page.pixels(d - truth),
                   i === 3 ? '\u2014' : String(f[r + 4 * i + 2])];
      cells.forEach(function (text, c) {
        if (row.cells[c + 1].textContent !== text) row.cells[c + 1].textContent = text;
      });
    }
    page.write('newton-start', 't = ' + f[r + 11].toFixed(4) +
               (f[r + 15] ? ', and a step left the curve\u2019s ends and was clamped' : ''));
    page.write('coarse-shown', String(f[r + 7]));
  }
});
