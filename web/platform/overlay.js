// The layer that keeps the all-levels overlay between frames (an emscripten JS library): a
// canvas of the drawing buffer's size, transparent but for the outlines, which overlay.cpp
// has drawn into it when they change and which a frame then lays over the canvas where the
// outlines belong in it. Laying a layer over the canvas comes to the same picture as drawing
// its outlines there, and costs one copy of the buffer instead of some 4000 stroked paths.
// Module.overlayDraws counts the drawings of the outlines, on the canvas or into the layer.
mergeInto(LibraryManager.library, {
  $QuenlowOverlay__deps: ['$Quenlow'],
  $QuenlowOverlay: {
    ON_CANVAS: 0, // the frame's ways to draw the overlay, as overlay.cpp names them
    INTO_LAYER: 1,
    FROM_LAYER: 2,
    layer: null,
    context: null,
    screen: null, // the canvas's own context while the outlines go to the layer
    laid: false // this frame lays the layer over the canvas
  },

  // Whether the outlines are to be drawn now; if into the layer, it is made the renderer's
  // target, cleared. The kept layer is drawn again too when the buffer has a new size, from
  // a new size shown or pixel ratio.
  quenlowBeginOverlay__deps: ['$QuenlowOverlay'],
  quenlowBeginOverlay: function (drawing) {
    var o = QuenlowOverlay, canvas = Quenlow.canvas;
    o.laid = drawing !== o.ON_CANVAS;
    if (!o.laid) {
      Module['overlayDraws'] = (Module['overlayDraws'] || 0) + 1;
      return true;
    }
    if (!o.layer) {
      o.layer = document.createElement('canvas');
      o.context = o.layer.getContext('2d');
    }
    var fits = o.layer.width === canvas.width && o.layer.height === canvas.height;
    if (drawing === o.FROM_LAYER && fits) return false;
    if (fits) {
      o.context.setTransform(1, 0, 0, 1, 0, 0);
      o.context.clearRect(0, 0, o.layer.width, o.layer.height);
    } else {
      o.layer.width = canvas.width; // which clears it
      o.layer.height = canvas.height;
    }
    o.context.setTransform(Quenlow.context.getTransform());
    o.screen = Quenlow.context;
    Quenlow.context = o.context;
    Module['overlayDraws'] = (Module['overlayDraws'] || 0) + 1;
    return true;
  },

  // The canvas the renderer's target again, and the layer over it, pixel for pixel.
  quenlowEndOverlay__deps: ['$QuenlowOverlay'],
  quenlowEndOverlay: function () {
    var o = QuenlowOverlay;
    if (o.screen) {
      Quenlow.context = o.screen;
      o.screen = null;
    }
    if (!o.laid) return;
    var screen = Quenlow.context;
    screen.save();
    screen.setTransform(1, 0, 0, 1, 0, 0);
    screen.drawImage(o.layer, 0, 0);
    screen.restore();
  }
});
