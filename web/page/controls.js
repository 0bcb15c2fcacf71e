// The page's controls (an emscripten JS library, as every part of the page is): buttons for
// the program's three commands, which show the state of its two switches, and the slider
// that steps the picture through the search's levels (Play and the steps within a level are
// steps.js's). Also the helpers every part of the page shares.
mergeInto(LibraryManager.library, {
  $QuenlowPage__deps: ['$Quenlow'],
  $QuenlowPage__postset: 'QuenlowPage.start();',
  $QuenlowPage: {
    LEVELS: 10, // the search's levels 0 … 9; the slider's 10 is "all", the whole search
    STEPS: ['bound', 'threshold', 'drop', 'halve'], // of a level; the last is the level whole
    shown: {}, // the text last written to each element, so that a frame rewrites only changes
    playing: 0, // the Play button's timer
    started: false, // the program has drawn its first frame

    element: function (id) {
      return document.getElementById(id);
    },
    write: function (id, text) {
      if (QuenlowPage.shown[id] !== text) {
        QuenlowPage.shown[id] = text;
        QuenlowPage.element(id).textContent = text;
      }
    },

    // Each button acts through the program's own callbacks, as its key or click does. The
    // controls come on with the program's first frame.
    start: function () {
      var on = function (id, type, handler) {
        QuenlowPage.element(id).addEventListener(type, handler);
      };
      on('boxes', 'click', function () { Quenlow.key(13); });
      on('all-levels', 'click', function () { Quenlow.key(96); });
      on('reset', 'click', Quenlow.rightClick);
      on('level', 'input', function () {
        QuenlowPage.stop();
        QuenlowPage.showLevel(+QuenlowPage.element('level').value);
      });
      // Any touch of the slider stops the playing, even one that leaves its level.
      ['pointerdown', 'keydown'].forEach(function (type) { on('level', type, QuenlowPage.stop); });
      Module['canvas'].addEventListener('frame', function () {
        if (!QuenlowPage.started) {
          QuenlowPage.started = true;
          QuenlowPage.controls().forEach(function (control) { control.disabled = false; });
        }
        _webReportFrame();
      });
      Module['canvas'].addEventListener('programend', function () {
        QuenlowPage.stop();
        QuenlowPage.controls().forEach(function (control) { control.disabled = true; });
      });
    },
    controls: function () {
      return document.querySelectorAll('#panel button, #panel input');
    },

    // At "all" the picture is the whole search and its result, the program's own frame. A
    // level without a step is shown whole, at its last step.
    showLevel: function (level, step) {
      var all = level === QuenlowPage.LEVELS, slider = QuenlowPage.element('level');
      slider.value = level;
      slider.setAttribute('aria-valuetext', all ? 'all levels' : 'level ' + level);
      QuenlowPage.write('level-shown', all ? 'all' : String(level));
      _webShowLevel(level, step === undefined ? QuenlowPage.STEPS.length - 1 : step);
    },
    stop: function () {
      clearInterval(QuenlowPage.playing);
      QuenlowPage.playing = 0;
      QuenlowPage.element('play').setAttribute('aria-pressed', 'false');
      QuenlowPage.write('play', 'Play');
    },

    // Rounded first, so that a rounding error below zero shows as 0.00, not -0.00.
    pixels: function (distance) {
      return (Math.round(distance * 100) / 100).toFixed(2) + ' px';
    },
    // An error bound r as the level table rounds it.
    radius: function (r) {
      return r.toLocaleString('en', { maximumSignificantDigits: 3 });
    },
    sample: function (index) {
      return index + ' (t = ' + (index / 1024).toFixed(4) + ')';
    }
  },

  quenlowShowSwitches__deps: ['$QuenlowPage'],
  quenlowShowSwitches: function (boxes, allLevels) {
    QuenlowPage.element('boxes').setAttribute('aria-pressed', String(!!boxes));
    QuenlowPage.element('all-levels').setAttribute('aria-pressed', String(!!allLevels));
  }
});
