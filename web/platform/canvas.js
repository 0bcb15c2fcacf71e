// The browser side of the toolkit and GL layer (an emscripten JS library): draws the
// primitives that gl.cpp hands over on a 2D canvas, which gives real line widths and smoothed
// lines and dots, at the screen's own pixel density, and turns the page's pointer, touch and
// key events into the program's mouse, motion and keyboard callbacks, in the pixels of its
// window. The canvas tells the rest of the page of each frame drawn ('frame') and of the
// program's end ('programend').
mergeInto(LibraryManager.library, {
  $Quenlow: {
    canvas: null,
    context: null, // where the primitives are drawn: the window's, or a view of the page's
    windowContext: null, // the program's window's
    backdrop: null, // a canvas of the page's drawn behind every frame of the window, or none
    width: 0, // the program's window, in its own pixels
    height: 0,
    ended: false,
    frameRequest: 0,
    heldButtons: 0, // DOM bits of the mouse buttons pressed on the canvas
    touchId: null, // the finger that drags, the first one down
    lastX: 0,
    lastY: 0,

    // Runs a call into the program; Escape's exit unwinds out of it as ExitStatus.
    call: function (f) {
      if (Quenlow.ended) return;
      try {
        f();
      } catch (e) {
        if (e instanceof ExitStatus) {
          Quenlow.end();
        } else {
          throw e;
        }
      }
    },
    end: function () {
      Quenlow.ended = true;
      if (Quenlow.frameRequest) cancelAnimationFrame(Quenlow.frameRequest);
      Quenlow.canvas.dispatchEvent(new Event('programend'));
    },
    draw: function () {
      if (Quenlow.ended) return;
      Quenlow.call(function () { _webDisplay(); });
      Module['framesDrawn'] = (Module['framesDrawn'] || 0) + 1;
      Quenlow.canvas.dispatchEvent(new Event('frame'));
    },

    // The drawing buffer is the canvas's shown size in device pixels, so that edges are as
    // sharp as the screen allows; the program's pixels are scaled to it.
    fitBuffer: function () {
      var c = Quenlow.canvas, rect = c.getBoundingClientRect(), ratio = window.devicePixelRatio;
      var width = Math.round(rect.width * ratio), height = Math.round(rect.height * ratio);
      if (width < 1 || height < 1 || (width === c.width && height === c.height)) return false;
      c.width = width; // which resets the context, its transform included
      c.height = height;
      Quenlow.context.setTransform(width / Quenlow.width, 0, 0, height / Quenlow.height, 0, 0);
      return true;
    },
    // A new size or pixel ratio: the frame again, drawn at once so that it never shows blank.
    // Once the program has ended, its last frame stays, scaled by the browser.
    refit: function () {
      if (!Quenlow.ended && Quenlow.fitBuffer()) Quenlow.draw();
    },
    // The size shown changes when a phone is turned or a window resized, the pixel ratio with
    // the browser's zoom and between screens; a query for the current ratio tells when it
    // stops matching.
    watchSize: function () {
      new ResizeObserver(Quenlow.refit).observe(Quenlow.canvas);
      (function watchRatio() {
        matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)').addEventListener(
          'change', function () { Quenlow.refit(); watchRatio(); }, { once: true });
      })();
    },

    // CSS pixels to the program's: the canvas is scaled down on narrow screens.
    toWindow: function (e) {
      var rect = Quenlow.canvas.getBoundingClientRect();
      Quenlow.lastX = Math.floor((e.clientX - rect.left) * Quenlow.width / rect.width);
      Quenlow.lastY = Math.floor((e.clientY - rect.top) * Quenlow.height / rect.height);
    },
    rgb: function (r, g, b) {
      var byte = function (v) { return Math.round(Math.min(Math.max(v, 0), 1) * 255); };
      return 'rgb(' + byte(r) + ',' + byte(g) + ',' + byte(b) + ')';
    },

    // Mouse and pen: every change of the buttons held is a press or a release, so chorded
    // presses arrive too; motion counts only while a button pressed on the canvas is held.
    onMouse: function (e) {
      if (e.type === 'pointerdown') {
        Quenlow.canvas.setPointerCapture(e.pointerId);
      } else if (Quenlow.heldButtons === 0) {
        return;
      }
      Quenlow.toWindow(e);
      var x = Quenlow.lastX, y = Quenlow.lastY;
      var buttons = e.type === 'lostpointercapture' ? 0 : e.buttons;
      var changed = Quenlow.heldButtons ^ buttons;
      Quenlow.heldButtons = buttons;
      // DOM button bits 1, 4, 2 are GLUT's left, middle and right buttons 0, 1, 2.
      [1, 4, 2].forEach(function (bit, glutButton) {
        if (changed & bit) {
          Quenlow.call(function () { _webMouse(glutButton, buttons & bit ? 0 : 1, x, y); });
        }
      });
      if (e.type === 'pointermove' && !changed && buttons) {
        Quenlow.call(function () { _webMotion(x, y); });
      }
    },

    // One finger drags like the left button; other fingers change nothing.
    onTouch: function (e) {
      if (e.type === 'pointerdown') {
        if (!e.isPrimary || Quenlow.touchId !== null) return;
        Quenlow.touchId = e.pointerId;
        Quenlow.canvas.setPointerCapture(e.pointerId);
      } else if (e.pointerId !== Quenlow.touchId) {
        return;
      }
      Quenlow.toWindow(e);
      var x = Quenlow.lastX, y = Quenlow.lastY;
      if (e.type === 'pointerdown') {
        // 24 CSS pixels of reach, in the program's.
        var reach = 24 * Quenlow.width / Quenlow.canvas.getBoundingClientRect().width;
        Quenlow.call(function () { _webTouchPress(x, y, reach); });
      } else if (e.type === 'pointermove') {
        Quenlow.call(function () { _webMotion(x, y); });
      } else {
        Quenlow.touchId = null;
        Quenlow.call(function () { _webMouse(0, 1, x, y); });
      }
    },

    // GLUT's keys: Enter, Escape, Backspace and Delete by their codes, printable keys as
    // their character. Keys held with Ctrl, Alt or Meta stay the browser's, and so do Enter
    // and Space on the page's buttons, which press them, and every key typed into a field.
    onKey: function (e) {
      if (Quenlow.ended || e.ctrlKey || e.altKey || e.metaKey || e.isComposing) return;
      if (e.target.closest && e.target.closest('input:not([type=range]), textarea')) return;
      if ((e.key === 'Enter' || e.key === ' ') && e.target.closest &&
          e.target.closest('button, a[href]')) return;
      var named = { Enter: 13, Escape: 27, Backspace: 8, Delete: 127 };
      var key = named[e.key];
      if (key === undefined && e.key.length === 1 && e.key.charCodeAt(0) < 256) {
        key = e.key.charCodeAt(0);
      }
      if (key === undefined) return;
      e.preventDefault();
      Quenlow.key(key);
    },
    key: function (key) {
      Quenlow.call(function () { _webKey(key, Quenlow.lastX, Quenlow.lastY); });
    },
    // A right button's press and release, as a click on the canvas gives them.
    rightClick: function () {
      Quenlow.call(function () { _webMouse(2, 0, Quenlow.lastX, Quenlow.lastY); });
      Quenlow.call(function () { _webMouse(2, 1, Quenlow.lastX, Quenlow.lastY); });
    }
  },

  quenlowOpenCanvas__deps: ['$Quenlow'],
  quenlowOpenCanvas: function (width, height, title) {
    Quenlow.canvas = Module['canvas'];
    Quenlow.width = width;
    Quenlow.height = height;
    document.title = UTF8ToString(title);
    Quenlow.context = Quenlow.windowContext = Quenlow.canvas.getContext('2d', { alpha: false });
    Quenlow.fitBuffer();
  },

  quenlowClearCanvas__deps: ['$Quenlow'],
  quenlowClearCanvas: function (r, g, b) {
    var ctx = Quenlow.context;
    ctx.fillStyle = Quenlow.rgb(r, g, b);
    ctx.fillRect(0, 0, Quenlow.width, Quenlow.height);
    // A picture of the page's behind the window's frame (its map), when it has one.
    if (Quenlow.backdrop && ctx === Quenlow.windowContext) {
      ctx.imageSmoothingEnabled = false; // its spots as squares, and cheaper to draw
      ctx.drawImage(Quenlow.backdrop, 0, 0, Quenlow.width, Quenlow.height);
      ctx.imageSmoothingEnabled = true;
    }
  },

  // Each record: mode, vertex count, red, green, blue, line width or point size. Each is
  // drawn on its own, so that where outlines cross their smoothed edges blend as OpenGL's
  // do. Lines have no caps and strips no joins, as OpenGL's wide lines. Points are smoothed
  // round dots; on the desktop a 6-pixel point on a pixel corner, where every point of the
  // program lies, covers 32 whole pixels, as much as a disc 0.2 pixels wider in radius.
  quenlowDrawPrimitives__deps: ['$Quenlow'],
  quenlowDrawPrimitives: function (primitives, count, vertices) {
    var ctx = Quenlow.context, f = HEAPF32, p = primitives >> 2, v = vertices >> 2;
    for (var i = 0; i < count; ++i, p += 6) {
      var mode = f[p], end = v + 2 * f[p + 1], size = f[p + 5], k;
      var style = Quenlow.rgb(f[p + 2], f[p + 3], f[p + 4]);
      ctx.beginPath();
      if (mode === 0) {
        var r = size / 2 + 0.2;
        for (k = v; k < end; k += 2) {
          ctx.moveTo(f[k] + r, f[k + 1]);
          ctx.arc(f[k], f[k + 1], r, 0, 2 * Math.PI);
        }
        ctx.fillStyle = style;
        ctx.fill();
      } else {
        var stride = mode === 1 ? 4 : 2; // GL_LINES pairs, or every joint of a strip
        for (k = v; k + 3 < end; k += stride) {
          ctx.moveTo(f[k], f[k + 1]);
          ctx.lineTo(f[k + 2], f[k + 3]);
        }
        ctx.strokeStyle = style;
        ctx.lineWidth = size;
        ctx.stroke();
      }
      v = end;
    }
  },

  quenlowSelectCanvas__deps: ['$Quenlow'],
  quenlowSelectCanvas: function (id) {
    Quenlow.context = id ? document.getElementById(UTF8ToString(id)).getContext('2d')
                         : Quenlow.windowContext;
  },

  quenlowRequestFrame__deps: ['$Quenlow'],
  quenlowRequestFrame: function () {
    Quenlow.frameRequest = requestAnimationFrame(function () {
      Quenlow.frameRequest = 0;
      Quenlow.draw();
    });
  },

  quenlowListen__deps: ['$Quenlow'],
  quenlowListen: function () {
    var c = Quenlow.canvas;
    var pointer = function (e) {
      if (e.pointerType === 'touch') Quenlow.onTouch(e); else Quenlow.onMouse(e);
    };
    ['pointerdown', 'pointermove', 'pointerup', 'pointercancel', 'lostpointercapture']
      .forEach(function (type) { c.addEventListener(type, pointer); });
    c.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    // No scrolling, zooming or emulated mouse events while a finger is on the canvas.
    ['touchstart', 'touchmove'].forEach(function (type) {
      c.addEventListener(type, function (e) { e.preventDefault(); }, { passive: false });
    });
    window.addEventListener('keydown', Quenlow.onKey);
    Quenlow.watchSize();
  }
});
