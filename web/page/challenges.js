// Challenges (an emscripten JS library): scenes with a goal, which the page checks at every
// frame from the search's record and the solver (challenges.cpp), however the points got
// there; a goal met stays marked, in the browser's storage, until its challenge is started
// again from its scene.
mergeInto(LibraryManager.library, {
  $QuenlowChallenges__deps: ['$QuenlowHeld', '$QuenlowPage', '$QuenlowPoints', '$QuenlowStore'],
  $QuenlowChallenges__postset: 'QuenlowChallenges.start();',
  $QuenlowChallenges: {
    KEY: 'quenlow-challenges-met',
    // Each goal reads the frame's facts: both ends in play after level 9, the final run's
    // samples, rounded boxes, how much farther the segment ends than the truly nearest
    // point, the first level that drops a piece (10 for none), r at level 0, the length of
    // the control polygon.
    LIST: [
      { id: 'both-ends', name: 'Both ends to the last',
        scene: 'p0=-225,-225&p1=-225,0&p2=0,225&p3=225,225&q=-160,160&regions=capsules',
        goal: 'Move Q so that a piece at each end of the curve, one holding sample 0 and one ' +
              'holding sample 1024, is still in play after level 9.',
        hint: 'Both ends must stay as near to Q as anything between them: look along the ' +
              'line that mirrors the curve onto itself.',
        met: function (f) { return f.bothEnds; } },
      { id: 'long-run', name: 'A long run of capsules',
        scene: 'p0=33,-75&p1=145,188&p2=139,79&p3=153,346&q=250,100&regions=capsules',
        goal: 'With capsules, make the final run longer than 40 samples.',
        hint: 'Samples stay together when the curve keeps about the same distance from Q ' +
              'for a while: near the centre of a bend.',
        met: function (f) { return !f.boxes && f.finalRun > 40; } },
      { id: 'farther', name: 'Off by more than 2 px',
        scene: 'p0=-150,-250&p1=390,250&p2=-390,250&p3=150,-250&q=0,100&regions=capsules',
        goal: 'Find a Q where the segment ends more than 2 px farther from Q than the truly ' +
              'nearest point.',
        hint: 'The segment ends in the middle of the final run, and the run cannot reach ' +
              'past an end of the curve.',
        met: function (f) { return f.farther > 2; } },
      { id: 'late-drop', name: 'Nothing dropped early',
        scene: 'p0=300,0&p1=300,166&p2=166,300&p3=0,300&q=150,60&regions=capsules',
        goal: 'Find a Q where the search drops no piece before level 5.',
        hint: 'A piece is dropped when it is clearly farther than another: find where the ' +
              'whole curve is about equally far.',
        met: function (f) { return f.firstDrop >= 5; } },
      { id: 'tight-r', name: 'A small r on a long polygon',
        scene: 'p0=-300,-100&p1=-100,-100&p2=100,150&p3=300,-100&q=0,200&regions=capsules',
        goal: 'Move one control point so that r at level 0 is under 20 px while the control ' +
              'polygon is still longer than 400 px.',
        hint: 'r bounds how far the curve strays from its chord: a straighter polygon strays less.',
        met: function (f) { return f.r0 < 20 && f.polygon > 400; } },
      { id: 'boxes-run', name: 'A long run of boxes',
        scene: 'p0=-225,-225&p1=-225,0&p2=0,225&p3=225,225&q=-160,160&regions=boxes',
        goal: 'With rounded boxes, make the final run longer than 100 samples.',
        hint: 'A box bounds a slanting piece loosely: try the side of the curve away from its ' +
              'bend.',
        met: function (f) { return f.boxes && f.finalRun > 100; } }
    ],
    met: null, // id: true for each challenge met

    start: function () {
      var c = QuenlowChallenges, list = QuenlowPage.element('challenge-list');
      c.met = QuenlowStore.load(c.KEY, {});
      if (typeof c.met !== 'object' || c.met === null) c.met = {};
      c.LIST.forEach(function (challenge) {
        var item = list.appendChild(document.createElement('li'));
        var add = function (parent, tag, text) {
          var element = parent.appendChild(document.createElement(tag));
          if (text) element.textContent = text;
          return element;
        };
        add(item, 'h3', challenge.name).id = 'challenge-' + challenge.id;
        add(item, 'p', challenge.goal);
        var hint = add(item, 'details');
        add(hint, 'summary', 'Hint');
        add(hint, 'p', challenge.hint);
        var row = add(item, 'div');
        row.className = 'challenge-row';
        var button = add(row, 'button', 'Start');
        button.type = 'button';
        button.disabled = true; // until the program draws
        button.setAttribute('aria-label', 'Start: ' + challenge.name);
        button.addEventListener('click', function () { c.begin(challenge); });
        var mark = add(row, 'span');
        mark.id = 'challenge-' + challenge.id + '-met';
        mark.className = 'met-mark';
      });
      c.showMarks();
      Module['canvas'].addEventListener('frame', function () {
        if (!QuenlowPage.started) return;
        list.querySelectorAll('button').forEach(function (b) { b.disabled = Quenlow.ended; });
      });
      Module['canvas'].addEventListener('programend', function () {
        list.querySelectorAll('button').forEach(function (b) { b.disabled = true; });
      });
    },
    // Reset: the mark cleared, and the challenge's scene, at all levels, as a link sets it.
    begin: function (challenge) {
      if (QuenlowRounds.seed !== null) QuenlowRounds.leave();
      delete QuenlowChallenges.met[challenge.id];
      QuenlowStore.save(QuenlowChallenges.KEY, QuenlowChallenges.met);
      QuenlowChallenges.showMarks();
      QuenlowLinks.follow('#' + challenge.scene + '&every-level=off&level=all');
    },
    showMarks: function () {
      var c = QuenlowChallenges;
      c.LIST.forEach(function (challenge) {
        QuenlowPage.write('challenge-' + challenge.id + '-met',
                          c.met[challenge.id] ? '\u2713 Met' : 'Not met yet');
      });
      QuenlowPage.write('challenges-said', QuenlowStore.said('the marks of goals met'));
    },
    // Not while an answer is held back, which a goal met would give away, nor in a guess
    // round, whose scene the page dealt rather than the reader reached.
    check: function (facts) {
      var c = QuenlowChallenges;
      if (QuenlowHeld.answer() || QuenlowRounds.seed !== null) return;
      var p = facts >> 3, h = HEAPF64;
      var facts = { bothEnds: !!h[p], finalRun: h[p + 1], boxes: !!h[p + 2], farther: h[p + 3],
                    firstDrop: h[p + 4], r0: h[p + 5], polygon: h[p + 6] };
      var newly = c.LIST.filter(function (challenge) {
        return !c.met[challenge.id] && challenge.met(facts);
      });
      if (!newly.length) return;
      newly.forEach(function (challenge) { c.met[challenge.id] = true; });
      QuenlowStore.save(c.KEY, c.met);
      c.showMarks();
      QuenlowPoints.speakAfterMove('Challenge met: ' + newly.map(function (challenge) {
        return challenge.name;
      }).join(', ') + '.');
    }
  },

  // The facts of each frame, from the program's report of it.
  quenlowCheckChallenges__deps: ['$QuenlowChallenges'],
  quenlowCheckChallenges: function (facts) {
    QuenlowChallenges.check(facts);
  }
});
