// The page's controls (an emscripten JS library, as every part of the page is): buttons for
// the program's three commands, which show the state of its two switches, and the slider
// that steps the picture through the search's levels, with its Play button. Also the
// helpers every part of the page shares.
mergeInto(LibraryManager.library, {
  $QuenlowPage__deps: ['$Quenlow'],
  $QuenlowPage__postset: 'QuenlowPage.start();',
  $QuenlowPage: {
    LEVELS: 10, // the search's levels 0 … 9; the slider's 10 is "all", the whole search
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
      on('play', 'click', function () {
        if (QuenlowPage.playing) QuenlowPage.stop(); else QuenlowPage.play();
      });
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

    // At "all" the picture is the whole search and its result, the program's own frame.
    showLevel: function (level) {
      var all = level === QuenlowPage.LEVELS, slider = QuenlowPage.element('level');
      slider.value = level;
      slider.setAttribute('aria-valuetext', all ? 'all levels' : 'level ' + level);
      QuenlowPage.write('level-shown', all ? 'all' : String(level));
      _webShowLevel(level);
    },
    // Two levels a second from level 0, or on from where the slider is, up to "all".
    play: function () {
      var slider = QuenlowPage.element('level');
      var all = QuenlowPage.LEVELS;
      QuenlowPage.showLevel(+slider.value === all ? 0 : +slider.value + 1);
      if (+slider.value === all) return;
      QuenlowPage.playing = setInterval(function () {
        QuenlowPage.showLevel(+slider.value + 1);
        if (+slider.value === all) QuenlowPage.stop();
      }, 500);
      QuenlowPage.element('play').setAttribute('aria-pressed', 'true');
      QuenlowPage.write('play', 'Stop');
    },
    stop: function () {
      clearInterval(QuenlowPage.playing);
      QuenlowPage.playing = 0;
      QuenlowPage.element('play').setAttribute('aria-pressed', 'false');
      QuenlowPage.write('play', 'Play');
    },

    // What a person gave, as a message quotes it: at most a few words, so that a pasted page
    // of text neither hides the message nor widens the page. By characters, not UTF-16 units.
    shortened: function (text) {
      var characters = Array.from(text);
      return characters.length <= 24 ? text : characters.slice(0, 20).join('') + '\u2026';
    },
    // Rounded first, so that a rounding error below zero shows as 0.00, not -0.00.
    pixels: function (distance) {
      return (Math.round(distance * 100) / 100).toFixed(2) + ' px';
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
