// The map of the search (an emscripten JS library): on demand, each spot of the window
// coloured by what the program's search does with Q there, for the control points on the
// screen, computed by a worker running the same search (map-worker.js), coarse first and
// refined in place; a change of the control points or the regions restarts it. It is the
// backdrop the canvas draws each frame on, behind the picture, rather than a layer over it,
// which a browser would have to blend into every frame of a drag. Pointing at a spot, or
// focusing a point's Tab stop, says the value there, the Tab stop's description too.
mergeInto(LibraryManager.library, {
  $QuenlowMap__deps: ['$QuenlowPage', '$QuenlowPoints', '$Quenlow'],
  $QuenlowMap__postset: 'QuenlowMap.start();',
  $QuenlowMap: {
    SPOTS: 400, // across and down, every second pixel of the 800 x 800 window
    // Each quantity: what it is, its unit, and the range the colours span.
    QUANTITIES: [
      { name: 'pieces bounded', unit: ' pieces', low: 7, high: 150, digits: 0 },
      { name: 'final run', unit: ' samples', low: 2, high: 32, digits: 0 },
      { name: 'segment farther than truly nearest', unit: ' px', low: 0, high: 20, digits: 2 },
      { name: 'coarse table farther than truly nearest', unit: ' px', low: 0, high: 20,
        digits: 2 }
    ],
    // White through yellow and orange to deep red: light, so that the picture shows over it.
    STOPS: [[255, 255, 255], [254, 240, 138], [251, 146, 60], [185, 28, 28]],
    worker: null,
    on: false,
    generation: 0,
    key: '', // the scene and quantity the map shows or is computing
    values: null, // each spot's value, a coarse spot's filling its block until refined
    strides: null, // 1 where a spot's value is its own, else the block it was borrowed for
    image: null,
    canvas: null, // the map's picture, one pixel a spot
    painting: 0,
    pointed: null, // the spot under the pointer, [i, j], or null
    SLOW_MS: 150, // frames this close together are a drag or a held key: the worker goes slowly
    slowed: 0, // the timer that lets the worker go at full speed again
    redrawn: false, // the next frame is the map's own redraw

    start: function () {
      var page = QuenlowPage, map = QuenlowMap, canvas = document.createElement('canvas');
      canvas.width = canvas.height = map.SPOTS;
      map.canvas = canvas;
      map.values = new Float64Array(map.SPOTS * map.SPOTS);
      map.strides = new Uint8Array(map.SPOTS * map.SPOTS);
      map.image = canvas.getContext('2d').createImageData(map.SPOTS, map.SPOTS);
      page.element('map-switch').addEventListener('click', function () {
        map.show(!map.on);
      });
      page.element('map-quantity').addEventListener('change', function () {
        map.legend();
        map.update();
      });
      var stage = Module['canvas'];
      stage.addEventListener('pointermove', function (e) {
        var r = stage.getBoundingClientRect(), n = map.SPOTS;
        map.pointed = [Math.min(n - 1, Math.max(0, Math.floor((e.clientX - r.left) / r.width * n))),
                       Math.min(n - 1, Math.max(0, Math.floor((e.clientY - r.top) / r.height * n)))];
        map.say();
      });
      stage.addEventListener('pointerleave', function () {
        map.pointed = null;
        map.say();
      });
      page.element('handles').addEventListener('focusin', function () { map.say(); });
      stage.addEventListener('frame', function () {
        page.element('map-quantity').disabled = false; // with the panel's other controls
        if (map.redrawn) map.redrawn = false; else map.pace(); // its own redraw is no drag
        if (!map.on) return;
        map.update();
        map.mark();
        map.say();
      });
      stage.addEventListener('programend', function () {
        page.element('map-quantity').disabled = true;
        if (map.worker) map.worker.terminate();
      });
      map.legend();
    },

    show: function (on) {
      var page = QuenlowPage, map = QuenlowMap;
      map.on = on;
      page.element('map-switch').setAttribute('aria-pressed', String(on));
      page.element('map-part').dataset.shows = on ? 'on' : 'off';
      page.element('stage').classList.toggle('mapped', on);
      Quenlow.backdrop = on ? map.canvas : null;
      // A point's Tab stop, focused, is described by the map's value at it as well.
      Array.prototype.forEach.call(page.element('handles').children, function (handle) {
        handle.setAttribute('aria-describedby', on ? 'handle-keys map-value' : 'handle-keys');
      });
      if (!on) _webRedraw();
      if (on && !map.worker) {
        map.worker = new Worker('map-worker.js');
        map.worker.onmessage = map.receive;
        map.worker.onerror = function () {
          page.write('map-state', 'The map could not be computed in this browser.');
        };
      }
      map.key = '';
      map.update();
      map.mark();
      map.say();
    },

    // Asks the worker for the map when the control points, the regions or the quantity
    // differ from the map's; Q alone changes nothing of it.
    update: function () {
      var map = QuenlowMap;
      if (!map.on) return;
      var scene = QuenlowPoints.read(), quantity = +QuenlowPage.element('map-quantity').value;
      var controls = [].concat.apply([], scene.points.slice(0, 4));
      var key = controls.join(',') + (scene.boxes ? ' boxes ' : ' capsules ') + quantity;
      if (key === map.key) return;
      map.key = key;
      delete QuenlowPage.element('map-part').dataset.seconds;
      map.values.fill(NaN);
      map.strides.fill(0);
      map.worker.postMessage({ generation: ++map.generation, quantity: quantity,
                               controls: controls, boxes: scene.boxes });
      QuenlowPage.element('map-progress').value = 0;
      QuenlowPage.write('map-state', 'computing');
    },

    pace: function () {
      var map = QuenlowMap;
      if (!map.worker) return;
      if (!map.slowed) map.worker.postMessage({ slow: true });
      clearTimeout(map.slowed);
      map.slowed = setTimeout(function () {
        map.slowed = 0;
        map.worker.postMessage({ slow: false });
      }, map.SLOW_MS);
    },

    colour: function (value, quantity) {
      var q = QuenlowMap.QUANTITIES[quantity], stops = QuenlowMap.STOPS;
      var x = Math.max(0, Math.min(1, (value - q.low) / (q.high - q.low))) * (stops.length - 1);
      var k = Math.min(stops.length - 2, Math.floor(x)), f = x - k;
      return stops[k].map(function (c, n) { return Math.round(c + (stops[k + 1][n] - c) * f); });
    },

    receive: function (e) {
      var map = QuenlowMap, m = e.data, n = map.SPOTS, s = m.stride, data = map.image.data;
      if (m.generation !== map.generation) return; // an abandoned request's last batch
      var quantity = +QuenlowPage.element('map-quantity').value, v = 0;
      m.rows.forEach(function (j) {
        for (var i = 0; i < n; i += s, ++v) {
          var value = m.values[v];
          if (value !== value) continue; // NaN: computed in a coarser pass
          var rgb = map.colour(value, quantity);
          for (var y = j; y < Math.min(j + s, n); ++y) {
            for (var x = i; x < Math.min(i + s, n); ++x) {
              var at = y * n + x;
              map.values[at] = value;
              map.strides[at] = x === i && y === j ? 1 : s; // its own value, or borrowed
              data[4 * at] = rgb[0];
              data[4 * at + 1] = rgb[1];
              data[4 * at + 2] = rgb[2];
              data[4 * at + 3] = 255;
            }
          }
        }
      });
      QuenlowPage.element('map-progress').value = Math.round(100 * m.done / (n * n));
      QuenlowPage.write('map-state', m.seconds ? 'computed in ' + m.seconds.toFixed(2) + ' s'
                                               : 'computing');
      if (m.seconds) QuenlowPage.element('map-part').dataset.seconds = m.seconds;
      if (!map.painting) {
        map.painting = requestAnimationFrame(function () {
          map.painting = 0;
          map.canvas.getContext('2d').putImageData(map.image, 0, 0);
          map.redrawn = true;
          _webRedraw();
        });
      }
    },

    legend: function () {
      var map = QuenlowMap, quantity = +QuenlowPage.element('map-quantity').value;
      var q = map.QUANTITIES[quantity];
      QuenlowPage.write('map-low', map.number(q.low, quantity));
      QuenlowPage.write('map-high', map.number(q.high, quantity) + ' or more');
    },
    number: function (value, quantity) {
      var q = QuenlowMap.QUANTITIES[quantity];
      return value.toFixed(q.digits) + q.unit;
    },

    // Q's place on the map, a ring over the canvas.
    mark: function () {
      var ring = QuenlowPage.element('map-q'), q = QuenlowPoints.read().points[4];
      ring.style.left = (q[0] + 400) / 8 + '%';
      ring.style.top = (400 - q[1]) / 8 + '%';
    },

    // The value at the spot pointed at, or else at the point whose Tab stop has focus,
    // or else at Q.
    say: function () {
      var map = QuenlowMap;
      if (!map.on) return;
      var spot = map.pointed, where = 'the pointer';
      var handles = QuenlowPage.element('handles').children;
      var focused = Array.prototype.indexOf.call(handles, document.activeElement);
      if (!spot) {
        var index = focused >= 0 ? focused : 4, p = QuenlowPoints.read().points[index];
        where = QuenlowPoints.NAMES[index];
        spot = [Math.round((p[0] + 400) / 2), Math.round((400 - p[1]) / 2)];
      }
      var text, n = map.SPOTS, x = 2 * spot[0] - 400, y = 400 - 2 * spot[1];
      if (spot[0] < 0 || spot[1] < 0 || spot[0] >= n || spot[1] >= n) {
        text = where + ' is outside the map';
      } else {
        var at = spot[1] * n + spot[0], value = map.values[at];
        var quantity = +QuenlowPage.element('map-quantity').value;
        text = where + ' at (' + QuenlowPoints.place([x, y]) + '): ' +
               (value === value ? map.number(value, quantity) +
                                  (map.strides[at] > 1 ? ', from a coarser spot' : '')
                                : 'not computed yet');
      }
      QuenlowPage.write('map-value', text);
    }
  },

  quenlowSharedMap__deps: ['$QuenlowMap'],
  quenlowSharedMap: function () {}
});
