// The piece table (an emscripten JS library): every piece the level shown bounded, in the
// search's order, with its nearest and farthest possible distance from Q and what the level
// did with it, under the threshold in words; each bound opens how it was made. Pointing at
// a row, tapping or focusing it outlines its piece in both views until another row is chosen
// or the level changes.
mergeInto(LibraryManager.library, {
  $QuenlowPieces__deps: ['$QuenlowPage', '$QuenlowDerivation'],
  $QuenlowPieces__postset: 'QuenlowPieces.start();',
  $QuenlowPieces: {
    shown: null, // the level's record as the table shows it: level, step, tightest, pieces
    start: function () {
      var rows = QuenlowPage.element('pieces').tBodies[0];
      var choose = function (e) {
        var row = e.target.closest && e.target.closest('tr');
        if (row && row.dataset.start) _webChoosePiece(+row.dataset.start);
      };
      ['pointerover', 'pointerdown', 'focusin'].forEach(function (type) {
        rows.addEventListener(type, choose);
      });
    },
    // A cell's text, written only when it changes: a drag rewrites the table every frame.
    set: function (cell, text) {
      if (cell.textContent !== text) cell.textContent = text;
    },
    // Below zero the region holds Q itself: nothing of the piece is certainly far.
    nearest: function (lower) {
      return lower < 0 ? 'Q inside' : QuenlowPage.pixels(lower);
    },
    span: function (start, step) {
      return start + ' \u2026 ' + (start + step);
    }
  },

  quenlowShowPieces__deps: ['$QuenlowPieces', '$QuenlowDrops'],
  quenlowShowPieces: function (level, step, count, tightest, chosen, rows) {
    var page = QuenlowPage, pieces = QuenlowPieces, f = HEAPF64, r = rows >> 3;
    var body = page.element('pieces').tBodies[0];
    var all = level === page.LEVELS;
    page.element('pieces-part').dataset.shows = all ? 'result' : 'level';
    page.write('pieces-level', all ? '' : String(level));
    var held = QuenlowHeld.decisions;
    page.write('threshold', all ? 'Choose a level with the slider to see the bounds of ' +
                                  'each of its pieces.'
                          : held ? 'Which pieces will this level drop? Mark them here, or ' +
                                   'tap them in either picture, then press Check.'
                                : 'kept if its nearest possible distance is at most ' +
                                  page.pixels(f[r + 4 * tightest + 2]) + ', the farthest ' +
                                  'possible distance of piece ' +
                                  pieces.span(f[r + 4 * tightest], step));
    while (body.rows.length > count) body.deleteRow(-1);
    while (body.rows.length < count) {
      var added = body.insertRow();
      added.tabIndex = 0;
      for (var column = 0; column < 4; ++column) added.insertCell();
      // Each bound opens how it was made (derivation.js).
      added.cells[1].appendChild(QuenlowDerivation.button(1));
      added.cells[2].appendChild(QuenlowDerivation.button(2));
    }
    pieces.shown = { level: level, step: step, tightest: tightest, pieces: [] };
    for (var i = 0; i < count; ++i, r += 4) {
      var row = body.rows[i], start = f[r], kept = f[r + 3] === 1;
      pieces.shown.pieces.push([start, f[r + 1], f[r + 2], kept]);
      if (row.dataset.start !== String(start)) row.dataset.start = start;
      // Held back, a row's colour and rim would tell its decision.
      row.className = (held ? '' : (kept ? 'kept' : 'dropped') +
                                   (i === tightest ? ' tightest' : '')) +
                      (start === chosen ? ' chosen' : '') +
                      (QuenlowDrops.marks[start] ? ' marked' : '');
      pieces.set(row.cells[0], pieces.span(start, step));
      pieces.set(row.cells[1].firstChild, pieces.nearest(f[r + 1]));
      pieces.set(row.cells[2].firstChild, page.pixels(f[r + 2]));
      QuenlowDerivation.about(row.cells[1].firstChild, start);
      QuenlowDerivation.about(row.cells[2].firstChild, start);
      QuenlowDrops.decision(row.cells[3], start, step, kept);
    }
  }
});
