// Guess rounds (an emscripten JS library): a scene dealt from a seed, which the address holds
// so that it opens the same round, with the search's result held back until the reader
// places a guess, by a tap or click on the canvas or by the "your guess" stop and the arrow
// keys; then the result, and how far the guess lies from the truly nearest point and from
// the curve, by the solver, and a score over the rounds played, kept in the browser.
mergeInto(LibraryManager.library, {
  $QuenlowRounds__deps: ['$QuenlowHeld', '$QuenlowPoints', '$QuenlowPage', '$QuenlowStore'],
  $QuenlowRounds__postset: 'QuenlowRounds.start();',
  $QuenlowRounds: {
    KEY: 'quenlow-guesses', // the storage's list of rounds' distances from the nearest point
    MARGIN: 40, // the points keep this far apart and from the canvas's edge, in pixels
    seed: null, // the round's, or null outside a round
    before: null, // the scene before the first round, which Stop returns to
    placing: [0, 0], // where the "your guess" stop is
    revealed: false,
    scores: null, // distances of the rounds played, kept or not

    start: function () {
      var r = QuenlowRounds, on = function (id, type, handler) {
        QuenlowPage.element(id).addEventListener(type, handler);
      };
      r.scores = QuenlowStore.load(r.KEY, []);
      if (!Array.isArray(r.scores)) r.scores = [];
      r.showScore();
      on('guess', 'click', function () { r.begin(r.newSeed(), true); });
      on('next-round', 'click', function () { r.begin(r.newSeed(), true); });
      on('stop-round', 'click', r.stop);
      on('guess-stop', 'click', function () { r.reveal(r.placing[0], r.placing[1]); });
      on('guess-stop', 'keydown', r.onArrow);
      ['focus', 'blur'].forEach(function (type) {
        on('guess-stop', type, function () { r.showPlacing(type === 'focus'); });
      });
      // The page's first frame turns every control on, a round's address opened with it too.
      Module['canvas'].addEventListener('frame', function () {
        if (r.seed !== null && !r.revealed) r.show(true);
      });
    },
    newSeed: function () {
      return 1 + Math.floor(Math.random() * 999999999);
    },
    // The five points of a seed's scene, in whole pixels: mulberry32's numbers, a point
    // drawn again while it comes within the margin of one already placed.
    deal: function (seed) {
      var state = seed >>> 0, next = function () {
        state = (state + 0x6d2b79f5) >>> 0;
        var t = state;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
      };
      var margin = QuenlowRounds.MARGIN, points = [];
      var reach = function (size) { return size / 2 - margin; };
      while (points.length < 5) {
        var x = Math.round((2 * next() - 1) * reach(Quenlow.width));
        var y = Math.round((2 * next() - 1) * reach(Quenlow.height));
        if (points.every(function (p) { return Math.hypot(p[0] - x, p[1] - y) >= margin; })) {
          points.push([x, y]);
        }
      }
      return points;
    },

    // A round of the seed's scene; the scene before the first round is kept for Stop.
    begin: function (seed, byButton) {
      var r = QuenlowRounds;
      if (r.seed === null) r.before = QuenlowPoints.read();
      r.seed = seed;
      r.revealed = false;
      QuenlowPage.stop();
      QuenlowHeld.set({ result: true, decisions: false, locked: true });
      QuenlowHeld.onPress = function (x, y) { r.reveal(x, y); };
      if (QuenlowPoints.read().level !== QuenlowPage.LEVELS) {
        QuenlowPage.showLevel(QuenlowPage.LEVELS);
      }
      var points = r.deal(seed);
      points.forEach(function (point, index) { QuenlowPoints.move(index, point[0], point[1]); });
      r.placing = points[4].slice();
      Quenlow.call(function () { _webShowGuess(false, 0, 0); });
      r.show(true);
      QuenlowPage.write('round-said', '');
      QuenlowLinks.write();
      var stop = QuenlowPage.element('guess-stop');
      r.placeStop();
      if (byButton) stop.focus();
    },
    show: function (asking) {
      var r = QuenlowRounds, inRound = r.seed !== null;
      QuenlowPage.element('guess').hidden = inRound;
      QuenlowPage.element('next-round').hidden = !inRound;
      QuenlowPage.element('stop-round').hidden = !inRound;
      QuenlowPage.element('guess-stop').hidden = !asking;
      QuenlowPage.element('level').disabled = asking;
      QuenlowPage.element('play').disabled = asking;
      QuenlowPage.write('round-ask', asking ? 'Where does the curve come nearest to the ' +
                        'green query point Q? Tap or click there on the canvas, or move ' +
                        '\u201cyour guess\u201d with the arrow keys and press Enter.' : '');
    },
    onArrow: function (e) {
      var direction = QuenlowPoints.ARROWS[e.key], r = QuenlowRounds;
      if (e.key === 'Enter') {
        e.preventDefault(); // the guess placed once, not again by the button's click
        return r.reveal(r.placing[0], r.placing[1]);
      }
      if (!direction || e.ctrlKey || e.altKey || e.metaKey) return;
      e.preventDefault();
      var step = e.shiftKey ? 10 : 1, half = [Quenlow.width / 2, Quenlow.height / 2];
      r.placing = r.placing.map(function (v, axis) {
        return Math.max(-half[axis], Math.min(half[axis], v + direction[axis] * step));
      });
      r.placeStop();
      r.showPlacing(true);
    },
    placeStop: function () {
      var stop = QuenlowPage.element('guess-stop'), p = QuenlowRounds.placing;
      stop.style.left = (p[0] + Quenlow.width / 2) / Quenlow.width * 100 + '%';
      stop.style.top = (Quenlow.height / 2 - p[1]) / Quenlow.height * 100 + '%';
      stop.setAttribute('aria-label', 'your guess, at ' + QuenlowPoints.place(p));
    },
    showPlacing: function (shown) {
      var p = QuenlowRounds.placing;
      if (QuenlowRounds.revealed || QuenlowRounds.seed === null) return;
      Quenlow.call(function () { _webShowGuess(shown, p[0], p[1]); });
    },

    // The guess at the scene point (x, y): the result shown, the guess's distances said.
    reveal: function (x, y) {
      var r = QuenlowRounds;
      if (r.seed === null || r.revealed) return;
      var d = _webGuessDistances(x, y) >> 3;
      var toNearest = HEAPF64[d], offCurve = HEAPF64[d + 1];
      r.revealed = true;
      Quenlow.call(function () { _webShowGuess(true, x, y); });
      QuenlowHeld.set({ result: false, locked: true });
      r.show(false);
      r.scores.push(Math.round(toNearest * 10) / 10);
      QuenlowStore.save(r.KEY, r.scores);
      var text = 'Your guess (the violet ring), at ' + QuenlowPoints.place([x, y]) + ', is ' +
                 r.px(toNearest) +
                 ' from the nearest point of the curve (the black cross), and ' +
                 r.px(offCurve) + ' off the curve.';
      QuenlowPage.write('round-said', text);
      r.showScore();
      QuenlowPoints.movedSinceSpoken = false; // the round's scene is said with its answer here
      QuenlowPoints.speak(text + ' ' + QuenlowPage.element('round-score').textContent);
      QuenlowPage.element('next-round').focus();
    },
    px: function (distance) {
      return (Math.round(distance * 10) / 10).toFixed(1) + '\u00a0px';
    },
    showScore: function () {
      var r = QuenlowRounds, sorted = r.scores.slice().sort(function (a, b) { return a - b; });
      var n = sorted.length, text = '';
      if (n) {
        var median = n % 2 ? sorted[(n - 1) / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
        text = (n === 1 ? 'One round played' : n + ' rounds played') + ': median ' +
               r.px(median) + ' from the nearest point, best ' + r.px(sorted[0]) + '.';
      }
      var refused = QuenlowStore.said('your score');
      QuenlowPage.write('round-score', text + (text && refused ? ' ' : '') + refused);
    },

    // Back to the scene before the first round: its points, switches and level.
    stop: function () {
      var r = QuenlowRounds, before = r.before, now = QuenlowPoints.read();
      r.leave();
      before.points.forEach(function (point, index) {
        QuenlowPoints.move(index, point[0], point[1]);
      });
      if (before.boxes !== now.boxes) Quenlow.key(13);
      if (before.allLevels !== now.allLevels) Quenlow.key(96);
      if (before.level !== now.level) QuenlowPage.showLevel(before.level);
      QuenlowLinks.write();
      QuenlowPage.element('guess').focus();
    },
    // The round over, the scene left as it is.
    leave: function () {
      var r = QuenlowRounds;
      QuenlowDrops.end();
      r.seed = null;
      r.revealed = false;
      QuenlowHeld.set({ result: false, decisions: false, locked: false });
      Quenlow.call(function () { _webShowGuess(false, 0, 0); });
      r.show(false);
      QuenlowPage.write('round-said', '');
    }
  }
});
