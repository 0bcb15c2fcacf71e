// The five points without a drag (an emscripten JS library): a Tab stop over the canvas at
// each point, which the arrow keys move, and a table of their coordinates to type into; one
// polite voice says, once a move has come to rest, where the point is and what the search
// found, and the canvas's text alternative follows the scene. Every move goes through the
// program's own mouse and motion callbacks, as a drag of the point would.
mergeInto(LibraryManager.library, {
  $QuenlowPoints__deps: ['$QuenlowPage', '$Quenlow', '$QuenlowHeld'],
  $QuenlowPoints__postset: 'QuenlowPoints.start();',
  $QuenlowPoints: {
    NAMES: ['P0', 'P1', 'P2', 'P3', 'Q'],
    LIMIT: 10000, // the farthest a coordinate may be typed, or a key take a point
    REST_MS: 600, // no move for this long: the move has come to rest and is spoken
    ARROWS: { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, 1], ArrowDown: [0, -1] },
    scene: null, // the state of the frame last drawn, as read()
    moved: 4, // the point moved last, whose place is spoken
    movedSinceSpoken: false, // a point moved since the result was last spoken
    resting: 0, // the timer that speaks once a move has come to rest
    // Each point's fields' refused values: why each was refused, or null.
    refused: [[null, null], [null, null], [null, null], [null, null], [null, null]],
    heldSaid: false, // whether the words last written held the result back
    note: '', // what is to be said after the move spoken next

    // The program's state now: points as [x, y], both switches, the level shown and its step.
    read: function () {
      var s = _webScene() >> 3, f = HEAPF64, points = [];
      for (var i = 0; i < 5; ++i) points.push([f[s + 2 * i], f[s + 2 * i + 1]]);
      return { points: points, boxes: !!f[s + 10], allLevels: !!f[s + 11], level: f[s + 12],
               step: f[s + 13] };
    },
    move: function (index, x, y) {
      var limit = QuenlowPoints.LIMIT, clamp = function (v) {
        return Math.max(-limit, Math.min(limit, v));
      };
      QuenlowPoints.moved = index;
      Quenlow.call(function () { _webMovePoint(index, clamp(x), clamp(y)); });
    },
    // A number as the page speaks and shows it, with a true minus sign.
    number: function (value) {
      return value < 0 ? '\u2212' + -value : String(value);
    },
    place: function (point) {
      return QuenlowPoints.number(point[0]) + ', ' + QuenlowPoints.number(point[1]);
    },
    role: function (index) {
      return (index === 4 ? 'query point ' : 'control point ') + QuenlowPoints.NAMES[index];
    },

    start: function () {
      var layer = QuenlowPage.element('handles');
      var rows = QuenlowPage.element('points').tBodies[0];
      QuenlowPoints.NAMES.forEach(function (name, index) {
        var handle = document.createElement('button');
        handle.type = 'button';
        handle.hidden = true; // until the program draws
        handle.setAttribute('aria-describedby', 'handle-keys');
        handle.addEventListener('keydown', function (e) { QuenlowPoints.onArrow(e, index); });
        layer.appendChild(handle);

        var row = rows.insertRow(), head = document.createElement('th');
        head.scope = 'row';
        head.textContent = name;
        row.appendChild(head);
        ['x', 'y'].forEach(function (axis, a) {
          var field = document.createElement('input');
          field.type = 'number';
          field.step = 1;
          field.min = -QuenlowPoints.LIMIT;
          field.max = QuenlowPoints.LIMIT;
          field.disabled = true; // until the program draws, as every control of the panel
          field.id = 'point-' + index + '-' + axis;
          field.setAttribute('aria-label', axis + ' of ' + name);
          field.setAttribute('aria-describedby', 'point-' + index + '-refused');
          // A step (the arrow keys, the steppers) moves the point at once; typing waits for
          // Enter or for leaving the field, so that "-" or "1" on the way to "-150" does not.
          field.addEventListener('input', function (e) {
            if (!/^(insert|delete|history)/.test(e.inputType || '')) {
              QuenlowPoints.typed(index, a);
            }
          });
          field.addEventListener('change', function () { QuenlowPoints.typed(index, a); });
          // Firefox fires no change when Tab leaves a field holding text that is no number.
          field.addEventListener('keydown', function (e) {
            if (e.key === 'Tab') QuenlowPoints.left(index, a);
          });
          field.addEventListener('blur', function () { QuenlowPoints.left(index, a); });
          row.insertCell().appendChild(field);
        });
        var refusal = row.insertCell();
        refusal.id = 'point-' + index + '-refused';
        refusal.className = 'refusal';
      });
      Module['canvas'].addEventListener('frame', QuenlowPoints.onFrame);
      Module['canvas'].addEventListener('programend', function () {
        clearTimeout(QuenlowPoints.resting);
        Array.prototype.forEach.call(layer.children, function (h) { h.disabled = true; });
      });
    },

    // Up is up on the screen, as the program's y; Shift takes ten pixels at a time. A held
    // key repeats as the system repeats it.
    onArrow: function (e, index) {
      var direction = QuenlowPoints.ARROWS[e.key];
      if (!direction || e.ctrlKey || e.altKey || e.metaKey) return;
      e.preventDefault(); // no scrolling
      var step = e.shiftKey ? 10 : 1, point = QuenlowPoints.read().points[index];
      QuenlowPoints.move(index, point[0] + direction[0] * step, point[1] + direction[1] * step);
    },

    field: function (index, axis) {
      return QuenlowPage.element('point-' + index + '-' + ['x', 'y'][axis]);
    },
    typed: function (index, axis) {
      var field = QuenlowPoints.field(index, axis);
      var text = field.value, value = Number(text), problem = null;
      if (text === '') {
        problem = field.validity.badInput ? 'that is not a number' : 'the field is empty';
      } else if (!Number.isInteger(value)) {
        problem = QuenlowPage.shortened(text) + ' is not a whole number';
      } else if (Math.abs(value) > QuenlowPoints.LIMIT) {
        problem = QuenlowPage.shortened(text) + ' is beyond \u00b110\u00a0000';
      }
      if (problem) return QuenlowPoints.refuse(index, axis, problem);
      var point = QuenlowPoints.read().points[index], moves = point[axis] !== value;
      point[axis] = value;
      // The point is set, even where it already is: the other field shows it again.
      QuenlowPoints.settle(index, point);
      if (moves) QuenlowPoints.move(index, point[0], point[1]);
    },
    // A field left holding what is not its point's coordinate, and not refused yet.
    left: function (index, axis) {
      var field = QuenlowPoints.field(index, axis);
      var value = QuenlowPoints.read().points[index][axis];
      if (!field.hasAttribute('aria-invalid') &&
          (field.value === '' || Number(field.value) !== value)) {
        QuenlowPoints.typed(index, axis);
      }
    },
    // A refused value stays in its field, marked, with the reason beside it, until the point
    // is set again; each field of the point may hold one.
    refuse: function (index, axis, problem) {
      QuenlowPoints.field(index, axis).setAttribute('aria-invalid', 'true');
      QuenlowPoints.refused[index][axis] = problem;
      var both = QuenlowPoints.refused[index].every(Boolean);
      var reasons = QuenlowPoints.refused[index].map(function (reason, a) {
        return reason && (both ? ['x', 'y'][a] + ': ' : '') + reason;
      }).filter(Boolean);
      var text = 'Refused: ' + reasons.join('; ') + '. ' + QuenlowPoints.NAMES[index] +
                 ' stays at ' + QuenlowPoints.place(QuenlowPoints.read().points[index]) + '.';
      QuenlowPage.element('point-' + index + '-refused').textContent = text;
      QuenlowPoints.speak(text);
    },
    // The point set, by a move from anywhere or a value accepted in either field: the fields
    // show it, without a mark. A field being typed in keeps its own spelling of the value.
    settle: function (index, point) {
      QuenlowPoints.refused[index] = [null, null];
      QuenlowPage.element('point-' + index + '-refused').textContent = '';
      point.forEach(function (value, a) {
        var field = QuenlowPoints.field(index, a);
        var typing = document.activeElement === field && field.value !== '' &&
                     Number(field.value) === value;
        field.removeAttribute('aria-invalid');
        if (!typing) field.value = value;
      });
    },

    // Stops, fields and words follow each frame; a point that moved clears its refusals.
    onFrame: function () {
      var before = QuenlowPoints.scene, scene = QuenlowPoints.read();
      var handles = QuenlowPage.element('handles').children, changed = [];
      QuenlowPoints.scene = scene;
      scene.points.forEach(function (point, index) {
        if (before && point[0] === before.points[index][0] &&
            point[1] === before.points[index][1]) return;
        changed.push(index);
        var handle = handles[index];
        handle.hidden = false;
        handle.setAttribute('aria-label', QuenlowPoints.role(index) + ' at ' +
                            QuenlowPoints.place(point));
        // Kept at the canvas's edge when the point is beyond it, so that its ring shows.
        var share = function (v) { return Math.max(0, Math.min(100, v * 100)) + '%'; };
        handle.style.left = share((point[0] + Quenlow.width / 2) / Quenlow.width);
        handle.style.top = share((Quenlow.height / 2 - point[1]) / Quenlow.height);
        QuenlowPoints.settle(index, point);
      });
      // A drag, or the default scene: the point spoken is the one that moved, Q of several.
      if (changed.length && changed.indexOf(QuenlowPoints.moved) < 0) {
        QuenlowPoints.moved = changed[changed.length - 1];
      }
      var held = QuenlowPoints.heldSaid !== QuenlowHeld.answer();
      if (before && !changed.length && before.boxes === scene.boxes && !held) return;
      if (before && changed.length) QuenlowPoints.movedSinceSpoken = true;
      clearTimeout(QuenlowPoints.resting);
      QuenlowPoints.resting = setTimeout(QuenlowPoints.rest,
                                         before && !held ? QuenlowPoints.REST_MS : 0);
    },

    // The scene described on the canvas; spoken once a move has come to rest.
    rest: function () {
      var scene = QuenlowPoints.scene, result = _webResult() >> 3;
      var sample = HEAPF64[result], distance = HEAPF64[result + 1];
      var nearer = distance - HEAPF64[result + 2];
      var at = function (index) {
        return QuenlowPoints.NAMES[index] + ' at ' + QuenlowPoints.place(scene.points[index]);
      };
      var ends = 'The segment ends at sample ' + sample + ', ' + QuenlowPage.pixels(distance) +
                 ' away; the truly nearest point is ' + QuenlowPage.pixels(nearer) + ' nearer.';
      QuenlowPoints.heldSaid = QuenlowHeld.answer();
      if (QuenlowPoints.heldSaid) ends = 'Where the curve comes nearest to Q is ' + QuenlowHeld.WORDS + '.';
      Module['canvas'].setAttribute('aria-label', 'A cubic B\u00e9zier curve from ' + at(0) +
          ' to ' + at(3) + ', drawn toward ' + at(1) + ' and ' + at(2) + ', with the query ' +
          'point ' + at(4) + '. ' + ends);
      if (QuenlowPoints.movedSinceSpoken) {
        QuenlowPoints.movedSinceSpoken = false;
        QuenlowPoints.speak(at(QuenlowPoints.moved) + '. ' + ends + QuenlowPoints.note);
      }
      QuenlowPoints.note = '';
    },
    // Said after the move that caused it, which is about to be spoken, or at once.
    speakAfterMove: function (text) {
      if (QuenlowPoints.movedSinceSpoken) {
        QuenlowPoints.note += ' ' + text;
      } else {
        QuenlowPoints.speak(text);
      }
    },
    speak: function (text) {
      QuenlowPage.element('spoken').textContent = text;
    }
  }
});
