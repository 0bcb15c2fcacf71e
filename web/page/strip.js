// The strip of levels (an emscripten JS library): a button for each level with a small
// picture of it, named by its level and kept count, that sets the slider there. Redrawn
// once the scene has come to rest, so that a drag draws one picture a frame, not eleven,
// and only when what the pictures show has changed.
mergeInto(LibraryManager.library, {
  $QuenlowStrip__deps: ['$QuenlowPage', '$Quenlow', '$QuenlowPoints', '$QuenlowHeld'],
  $QuenlowStrip__postset: 'QuenlowStrip.start();',
  $QuenlowStrip: {
    REST_MS: 60, // no frame for this long: the scene is at rest and the strip is redrawn
    resting: 0,
    level: -1, // the level the strip marks as shown
    drawn: '', // the points, regions, what is held back and the screen the pictures are of
    start: function () {
      var strip = QuenlowPage.element('strip');
      for (var level = 0; level < QuenlowPage.LEVELS; ++level) {
        var button = document.createElement('button'), canvas = document.createElement('canvas');
        button.type = 'button';
        button.id = 'strip-level-' + level;
        button.disabled = true; // until the program draws, as every control of the panel
        button.setAttribute('aria-pressed', 'false');
        button.dataset.level = level;
        canvas.id = 'strip-' + level;
        canvas.width = canvas.height = 72;
        canvas.setAttribute('aria-hidden', 'true');
        var label = document.createElement('span');
        label.id = 'strip-label-' + level;
        button.appendChild(canvas);
        button.appendChild(label);
        button.addEventListener('click', QuenlowStrip.choose);
        strip.appendChild(button);
      }
      Module['canvas'].addEventListener('frame', function () {
        var s = QuenlowStrip, scene = QuenlowPoints.read();
        if (scene.level !== s.level) {
          s.level = scene.level;
          Array.prototype.forEach.call(strip.children, function (button) {
            button.setAttribute('aria-pressed', String(+button.dataset.level === s.level));
          });
        }
        var drawn = JSON.stringify([scene.points, scene.boxes, QuenlowHeld.answer(),
                                    window.devicePixelRatio, window.innerWidth]);
        if (drawn === s.drawn) return;
        s.drawn = drawn;
        clearTimeout(QuenlowStrip.resting);
        QuenlowStrip.resting = setTimeout(function () {
          if (!Quenlow.ended) _webDrawStrip();
        }, QuenlowStrip.REST_MS);
      });
    },
    choose: function (e) {
      QuenlowPage.stop();
      QuenlowPage.showLevel(+e.currentTarget.dataset.level);
    }
  },

  // The picture's side in CSS pixels, its drawing buffer at the screen's density.
  quenlowStripSize__deps: ['$QuenlowStrip'],
  quenlowStripSize: function (level) {
    var canvas = QuenlowPage.element('strip-' + level), ratio = window.devicePixelRatio;
    var size = Math.floor(canvas.getBoundingClientRect().width);
    if (size < 1) return 0;
    var pixels = Math.round(size * ratio);
    if (canvas.width !== pixels) {
      canvas.width = pixels;
      canvas.height = pixels;
    }
    canvas.getContext('2d').setTransform(pixels / size, 0, 0, pixels / size, 0, 0);
    return size;
  },

  quenlowShowStripLevel__deps: ['$QuenlowStrip'],
  quenlowShowStripLevel: function (level, kept) {
    // A kept count below zero is held back until the reader answers.
    QuenlowPage.write('strip-label-' + level,
                      'level ' + level + (kept < 0 ? '' : ': ' + kept + ' kept'));
  }
});
