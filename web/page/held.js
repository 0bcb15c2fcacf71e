// What the page holds back while it asks the reader first (an emscripten JS library): the
// one state that every view showing an answer consults (the canvas and the close-up through
// held.cpp, the result list, the level and piece tables, the canvas's text alternative and
// the spoken result), and the lock that keeps the points still meanwhile: no drag, no keys or
// numbers for them, and a press on the canvas goes to the question asked instead.
mergeInto(LibraryManager.library, {
  $QuenlowHeld__deps: ['$Quenlow', '$QuenlowPage', '$QuenlowDerivation'],
  $QuenlowHeld__postset: 'QuenlowHeld.start();',
  $QuenlowHeld: {
    result: false, // the search's result: the segment, its marks, numbers and words
    decisions: false, // the decisions of the level shown, and its circle
    locked: false, // the points stay where they are
    onPress: null, // what a press on the canvas does while locked: f(scene x, y, reach)
    WORDS: 'held back until you answer',

    // The result tells every level's decisions too: the final run survived them all.
    answer: function () {
      return QuenlowHeld.result || QuenlowHeld.decisions;
    },

    start: function () {
      // Ahead of the canvas's own listeners, which would pick and drag a point.
      QuenlowPage.element('stage').addEventListener('pointerdown', function (e) {
        if (!QuenlowHeld.locked || e.target !== Module['canvas']) return;
        e.stopPropagation();
        e.preventDefault();
        if (e.button !== 0 || !QuenlowHeld.onPress) return;
        var rect = e.target.getBoundingClientRect();
        // As a press maps it: the pixel pressed, in the program's pixels, then the scene's.
        var x = Math.floor((e.clientX - rect.left) * Quenlow.width / rect.width);
        var y = Math.floor((e.clientY - rect.top) * Quenlow.height / rect.height);
        QuenlowHeld.onPress(x - Quenlow.width / 2, Quenlow.height / 2 - y,
                            12 * Quenlow.width / rect.width);
      }, true);
      Module['canvas'].addEventListener('frame', QuenlowHeld.lockControls);
    },
    // The points' own controls; they come back as they were, all on once the program runs.
    // While an answer is held, neither Play nor Back and Next go on to the step that shows
    // it, nor does a derivation open; while a round's is, no level of the strip shows.
    lockControls: function () {
      var off = Quenlow.ended || !QuenlowPage.started;
      document.querySelectorAll('#points input, #reset').forEach(function (control) {
        control.disabled = QuenlowHeld.locked || off;
      });
      document.querySelectorAll('#stepper button, #play, button.derive').forEach(
        function (control) { control.disabled = QuenlowHeld.answer() || off; });
      document.querySelectorAll('#strip button').forEach(
        function (control) { control.disabled = QuenlowHeld.result || off; });
    },

    // Only what `state` names changes: a round and a question of a level each set their own.
    set: function (state) {
      var held = QuenlowHeld;
      ['result', 'decisions', 'locked'].forEach(function (name) {
        if (name in state) held[name] = !!state[name];
      });
      if (!held.locked) held.onPress = null;
      var root = document.documentElement;
      root.dataset.held = held.result ? 'result' : held.decisions ? 'decisions' : '';
      root.dataset.locked = held.locked;
      held.lockControls();
      if (held.answer() && QuenlowDerivation.open) QuenlowDerivation.choose(null);
      Quenlow.call(function () { _webHoldBack(held.result, held.decisions); });
    }
  }
});
