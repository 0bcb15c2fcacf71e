// The search walked a step at a time (an emscripten JS library): Back and Next, with the
// arrow keys, Home and End while either has focus, and Play, from level 0's first step to
// "all"; and the search's lines beside the picture, the step's own marked.
mergeInto(LibraryManager.library, {
  $QuenlowSteps__deps: ['$QuenlowPage', '$QuenlowPoints', '$QuenlowHeld'],
  $QuenlowSteps__postset: 'QuenlowSteps.start();',
  $QuenlowSteps: {
    PLAY_MS: 700, // a step of Play: time to see what changed and find its line
    announce: false, // the step control was used: the next frame's caption is spoken

    // The walk's places: level L's step S is 4 L + S, and "all" the last, 40.
    end: function () {
      return QuenlowPage.LEVELS * QuenlowPage.STEPS.length;
    },
    at: function () {
      var state = QuenlowPoints.read(), steps = QuenlowPage.STEPS.length;
      return state.level === QuenlowPage.LEVELS ? QuenlowSteps.end()
                                                 : state.level * steps + state.step;
    },
    go: function (place) {
      var steps = QuenlowPage.STEPS.length;
      place = Math.max(0, Math.min(QuenlowSteps.end(), place));
      if (place !== QuenlowSteps.at()) {
        QuenlowPage.showLevel(Math.floor(place / steps), place % steps);
      }
    },
    // By the step control: stops Play, and has the step's caption spoken.
    // Not while an answer is held back: the steps after would show it.
    chosen: function (place) {
      QuenlowPage.stop();
      if (QuenlowHeld.answer()) return;
      QuenlowSteps.announce = true;
      QuenlowSteps.go(place);
    },

    start: function () {
      var element = QuenlowPage.element;
      element('step-back').addEventListener('click', function () {
        QuenlowSteps.chosen(QuenlowSteps.at() - 1);
      });
      element('step-next').addEventListener('click', function () {
        QuenlowSteps.chosen(QuenlowSteps.at() + 1);
      });
      element('stepper').addEventListener('keydown', function (e) {
        if (e.ctrlKey || e.altKey || e.metaKey || e.shiftKey) return;
        var at = QuenlowSteps.at();
        var to = { ArrowLeft: at - 1, ArrowRight: at + 1, Home: 0,
                   End: QuenlowSteps.end() }[e.key];
        if (to === undefined) return;
        e.preventDefault();
        QuenlowSteps.chosen(to);
      });
      element('play').addEventListener('click', function () {
        if (QuenlowPage.playing) QuenlowPage.stop(); else QuenlowSteps.play();
      });
    },

    // A step every PLAY_MS from level 0's first, or on from the step shown, up to "all".
    play: function () {
      if (QuenlowHeld.answer()) return;
      var end = QuenlowSteps.end();
      QuenlowSteps.go(QuenlowSteps.at() === end ? 0 : QuenlowSteps.at() + 1);
      if (QuenlowSteps.at() === end) return;
      QuenlowPage.playing = setInterval(function () {
        if (QuenlowHeld.answer()) return QuenlowPage.stop();
        QuenlowSteps.go(QuenlowSteps.at() + 1);
        if (QuenlowSteps.at() === end) QuenlowPage.stop();
      }, QuenlowSteps.PLAY_MS);
      QuenlowPage.element('play').setAttribute('aria-pressed', 'true');
      QuenlowPage.write('play', 'Stop');
    },

    // The step's lines of the search marked, and the step named beside Back and Next.
    mark: function (level, step) {
      var all = level === QuenlowPage.LEVELS;
      var name = all ? 'all' : QuenlowPage.STEPS[step];
      var lines = QuenlowPage.element('search-code').children;
      for (var i = 0; i < lines.length; ++i) {
        var current = lines[i].dataset.step === name;
        if (current !== lines[i].hasAttribute('aria-current')) {
          if (current) lines[i].setAttribute('aria-current', 'step');
          else lines[i].removeAttribute('aria-current');
        }
      }
      QuenlowPage.write('step-shown', all ? 'the result' : 'level ' + level + ', ' + name);
    },
    // The caption, written each frame; spoken only after the step control was used.
    say: function (text) {
      QuenlowPage.write('caption', text);
      if (QuenlowSteps.announce) {
        QuenlowSteps.announce = false;
        QuenlowPage.element('spoken').textContent = text;
      }
    }
  }
});
