// "Which pieces will drop?" (an emscripten JS library): at a level of the scene on the screen,
// shown at its bound step with the level's decisions and circle held back, the reader marks
// the pieces they think it drops, by a tap on a piece in either picture or a checkbox of the
// piece table; Check shows the level's last step, each mark right or wrong, and for each
// wrong one the reason in the record's numbers.
mergeInto(LibraryManager.library, {
  $QuenlowDrops__deps: ['$QuenlowHeld', '$QuenlowPage', '$QuenlowPoints', '$QuenlowPieces'],
  $QuenlowDrops__postset: 'QuenlowDrops.start();',
  $QuenlowDrops: {
    level: null, // the level asked about, or null when nothing is asked
    points: '', // the scene's points when asked: a move ends the question
    marks: {}, // start sample of each piece marked to drop: true
    checked: false,

    start: function () {
      var d = QuenlowDrops, on = function (id, type, handler) {
        QuenlowPage.element(id).addEventListener(type, handler);
      };
      on('drops-ask', 'click', d.ask);
      on('drops-check', 'click', d.check);
      on('drops-done', 'click', function () {
        d.end();
        QuenlowPage.element('drops-ask').focus();
      });
      QuenlowPage.element('pieces').tBodies[0].addEventListener('change', function (e) {
        var row = e.target.closest('tr');
        if (row && d.level !== null && !d.checked) d.mark(+row.dataset.start, e.target.checked);
      });
      on('closeup', 'pointerdown', function (e) {
        var canvas = e.target, rect = canvas.getBoundingClientRect(), c = canvas.dataset;
        if (d.level === null || d.checked || e.button !== 0) return;
        var scale = +c.scale, half = rect.width / 2;
        d.press(+c.centreX + (e.clientX - rect.left - half) / scale,
                +c.centreY - (e.clientY - rect.top - half) / scale, 12 / scale);
      });
      Module['canvas'].addEventListener('frame', function () {
        var scene = QuenlowPoints.read();
        QuenlowPage.element('drops-ask').disabled = scene.level === QuenlowPage.LEVELS ||
                                                    QuenlowHeld.result || Quenlow.ended;
        if (d.level !== null &&
            (scene.level !== d.level || JSON.stringify(scene.points) !== d.points)) d.end();
      });
    },

    ask: function () {
      var d = QuenlowDrops, scene = QuenlowPoints.read();
      if (scene.level === QuenlowPage.LEVELS || QuenlowHeld.result) return;
      QuenlowPage.stop();
      d.level = scene.level;
      d.points = JSON.stringify(scene.points);
      d.marks = {};
      d.checked = false;
      QuenlowHeld.set({ decisions: true, locked: true });
      QuenlowHeld.onPress = d.press;
      QuenlowPage.showLevel(d.level, 0); // the bound step: every piece bounded, none decided
      d.show();
      QuenlowPage.element('drops-check').focus();
    },
    press: function (x, y, reach) {
      var d = QuenlowDrops, start = _webPieceAt(x, y, reach);
      if (start >= 0 && d.level !== null && !d.checked) d.mark(start, !d.marks[start]);
    },
    mark: function (start, on) {
      if (on) QuenlowDrops.marks[start] = true; else delete QuenlowDrops.marks[start];
      Quenlow.call(function () { _webMarkPiece(start, on); });
    },
    check: function () {
      var d = QuenlowDrops;
      if (d.level === null || d.checked) return;
      d.checked = true;
      QuenlowHeld.set({ decisions: false, locked: true });
      QuenlowHeld.onPress = null;
      QuenlowPage.showLevel(d.level); // its last step: the circle, the drops and the halves
      d.show();
      var shown = QuenlowPieces.shown, threshold = shown.pieces[shown.tightest][2];
      var px = QuenlowPage.pixels, marked = 0, right = 0, missed = 0, reasons = [];
      shown.pieces.forEach(function (piece) {
        var start = piece[0], lower = piece[1], kept = piece[3], mark = !!d.marks[start];
        var span = QuenlowPieces.span(start, shown.step);
        marked += mark;
        right += mark && !kept;
        missed += !mark && !kept;
        if (mark && kept) {
          reasons.push(span + ' is kept: ' + (lower < 0 ? 'Q lies inside its region'
                       : 'it reaches ' + px(lower) + ' from Q, inside ' + px(threshold)) + '.');
        } else if (!mark && !kept) {
          reasons.push(span + ' is dropped: its nearest possible distance, ' + px(lower) +
                       ', is more than the smallest farthest possible distance, ' +
                       px(threshold) + '.');
        }
      });
      var text = (marked ? right + ' of your ' + marked + (marked === 1 ? ' mark is' : ' marks are') +
                  ' right' : 'You marked no piece') +
                 (missed ? ', and ' + missed + (missed === 1 ? ' piece' : ' pieces') +
                           ' you did not mark ' + (missed === 1 ? 'was' : 'were') + ' dropped too.'
                         : '.');
      QuenlowPage.write('drops-said', text);
      var list = QuenlowPage.element('drops-reasons');
      list.textContent = '';
      reasons.forEach(function (reason) {
        list.appendChild(document.createElement('li')).textContent = reason;
      });
      QuenlowPoints.speak(text + ' ' + reasons.join(' '));
    },
    end: function () {
      var d = QuenlowDrops;
      if (d.level === null) return;
      d.level = null;
      d.marks = {};
      d.checked = false;
      QuenlowHeld.set({ decisions: false, locked: QuenlowRounds.seed !== null });
      QuenlowHeld.onPress = null;
      Quenlow.call(function () { _webClearMarks(); });
      d.show();
    },
    show: function () {
      var d = QuenlowDrops, asking = d.level !== null;
      QuenlowPage.element('drops-ask').hidden = asking;
      QuenlowPage.element('drops-check').hidden = !asking || d.checked;
      QuenlowPage.element('drops-done').hidden = !asking;
      if (!d.checked) {
        QuenlowPage.write('drops-said', '');
        QuenlowPage.element('drops-reasons').textContent = '';
      }
    },

    // The piece table's decision cell: the decision; while it is held back, a checkbox to
    // mark the piece; once checked, whether its mark, or its lack, was right.
    decision: function (cell, start, step, kept) {
      var d = QuenlowDrops, box = cell.querySelector('input');
      if (d.level !== null && !d.checked) {
        if (!box) {
          cell.textContent = '';
          box = cell.appendChild(document.createElement('input'));
          box.type = 'checkbox';
        }
        box.checked = !!d.marks[start];
        box.setAttribute('aria-label', 'drops ' + QuenlowPieces.span(start, step));
        return;
      }
      var text = kept ? 'kept' : 'dropped', mark = !!d.marks[start];
      if (d.level !== null && (mark || !kept)) {
        text += mark ? (kept ? ': wrong' : ': right') : ': missed';
      }
      if (box || cell.textContent !== text) cell.textContent = text;
    }
  }
});
