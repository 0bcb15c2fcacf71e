// The close-up (an emscripten JS library): its canvas kept at its shown size and the
// screen's density, and what it shows said beside it: the magnification, where the
// drawing's precision stops it, and the legend of the level shown or of the result.
mergeInto(LibraryManager.library, {
  $QuenlowCloseup__deps: ['$QuenlowPage', '$QuenlowHeld'],
  $QuenlowCloseup__postset: 'QuenlowCloseup.start();',
  $QuenlowCloseup: {
    // The view's size follows the window's; each frame reads it. A second ResizeObserver
    // beside the canvas's, whose frames change the page's layout, would make some engines
    // report a loop of resize notifications.
    start: function () {
      window.addEventListener('resize', function () {
        if (QuenlowPage.started) _webRedraw();
      });
    },
    times: function (scale) {
      return '\u00d7\u00a0' + (scale >= 10 ? Math.round(scale).toLocaleString('en')
                                             : scale.toPrecision(2));
    }
  },

  // The view's side in CSS pixels, the units it is drawn in; 0 while it is not shown.
  quenlowCloseupSize__deps: ['$QuenlowCloseup'],
  quenlowCloseupSize: function () {
    var canvas = QuenlowPage.element('closeup'), ratio = window.devicePixelRatio;
    var size = Math.floor(canvas.getBoundingClientRect().width);
    if (size < 1) return 0;
    var pixels = Math.round(size * ratio);
    if (canvas.width !== pixels) {
      canvas.width = pixels; // which resets the context, its transform included
      canvas.height = pixels;
    }
    canvas.getContext('2d', { alpha: false }).setTransform(pixels / size, 0, 0, pixels / size,
                                                           0, 0);
    return size;
  },

  // Where the view is centred, in scene pixels, and its scale in view pixels per scene
  // pixel, which falls short of the one wanted where the drawing's precision ends.
  quenlowShowCloseup__deps: ['$QuenlowCloseup'],
  quenlowShowCloseup: function (level, centreX, centreY, scale, wanted) {
    var canvas = QuenlowPage.element('closeup');
    canvas.dataset.centreX = centreX;
    canvas.dataset.centreY = centreY;
    canvas.dataset.scale = scale;
    var all = level === QuenlowPage.LEVELS;
    QuenlowPage.element('closeup-view').dataset.shows =
      all ? 'result' : QuenlowHeld.decisions ? 'asked' : 'level';
    var text = QuenlowCloseup.times(scale);
    if (scale < wanted) {
      text += ': as far as the drawing\u2019s precision allows' +
              (isFinite(wanted) ? ' (' + QuenlowCloseup.times(wanted) + ' would fit)' : '');
    }
    QuenlowPage.write('magnification', text);
    QuenlowPage.write('closeup-subject', all ? 'the final run and the truly nearest point'
                                             : 'every piece level ' + level + ' bounded');
  }
});
