// The scene in the page's address (an emscripten JS library): the fragment always holds the
// whole state, the five points, the two switches, the level shown and its step, or a guess
// round's seed, rewritten in place as it changes; an address opened, or a link followed, sets its state through the program's
// callbacks, without reloading. Also the Copy link button and the gallery's links.
mergeInto(LibraryManager.library, {
  $QuenlowLinks__deps: ['$QuenlowPoints', '$QuenlowPage', '$Quenlow'],
  $QuenlowLinks__postset: 'QuenlowLinks.start();',
  $QuenlowLinks: {
    POINTS: ['p0', 'p1', 'p2', 'p3', 'q'],
    WRITE_MS: 500, // a drag rewrites the address at most this often: Safari allows 100 in 30 s
    written: null, // the fragment last written, without its '#'
    writing: 0, // the timer of the next rewrite
    notice: '', // what the status says of the last link refused
    REASONS: 3, // the most reasons a notice gives

    // A round's address is its seed alone, which gives nothing of its answer away.
    encode: function (scene) {
      if (QuenlowRounds.seed !== null) return 'round=' + QuenlowRounds.seed;
      var parts = scene.points.map(function (point, index) {
        return QuenlowLinks.POINTS[index] + '=' + point[0] + ',' + point[1];
      });
      parts.push('regions=' + (scene.boxes ? 'boxes' : 'capsules'),
                 'every-level=' + (scene.allLevels ? 'on' : 'off'),
                 'level=' + (scene.level === QuenlowPage.LEVELS ? 'all' : scene.level));
      if (scene.level !== QuenlowPage.LEVELS) parts.push('step=' + QuenlowPage.STEPS[scene.step]);
      return parts.join('&');
    },
    // A scene from a fragment, or the list of what is wrong with it.
    decode: function (fragment) {
      var scene = { points: [] }, problems = [], seen = Object.create(null);
      var levels = { all: QuenlowPage.LEVELS };
      for (var level = 0; level < QuenlowPage.LEVELS; ++level) levels[level] = level;
      // What the address gave, quoted short: it may be anything, of any length.
      var quote = function (text) { return '\u201c' + QuenlowPage.shortened(text) + '\u201d'; };
      var choose = function (name, text, choices, words) {
        if (!Object.prototype.hasOwnProperty.call(choices, text)) {
          problems.push(name + ' ' + quote(text) + ' is not ' +
                        (words || Object.keys(choices).join(' or ')));
        }
        return choices[text];
      };
      fragment.split('&').forEach(function (part) {
        var name = part.slice(0, part.indexOf('=') >>> 0), text = part.slice(name.length + 1);
        try {
          text = decodeURIComponent(text);
        } catch (e) {
          problems.push(QuenlowPage.shortened(name) + ' has a broken %-escape');
          return;
        }
        var index = QuenlowLinks.POINTS.indexOf(name);
        if (name in seen) return problems.push(QuenlowPage.shortened(name) + ' is given twice');
        seen[name] = true;
        if (index >= 0) {
          var xy = /^(-?\d{1,6}),(-?\d{1,6})$/.exec(text);
          if (!xy) return problems.push(name + ' ' + quote(text) + ' is not two whole ' +
                                        'numbers, x,y');
          scene.points[index] = [+xy[1], +xy[2]];
          if (Math.max(Math.abs(+xy[1]), Math.abs(+xy[2])) > QuenlowPoints.LIMIT) {
            problems.push(name + ' (' + text + ') is beyond \u00b110\u00a0000');
          }
        } else if (name === 'regions') {
          scene.boxes = choose(name, text, { capsules: false, boxes: true });
        } else if (name === 'every-level') {
          scene.allLevels = choose(name, text, { off: false, on: true });
        } else if (name === 'level') {
          scene.level = choose(name, text, levels, '0 to 9 or all');
        } else if (name === 'step') {
          var steps = {};
          QuenlowPage.STEPS.forEach(function (step, index) { steps[step] = index; });
          scene.step = choose(name, text, steps);
        } else {
          problems.push(quote(part) + ' is not part of a scene');
        }
      });
      QuenlowLinks.POINTS.concat(['regions', 'every-level', 'level']).forEach(function (name) {
        if (!(name in seen)) problems.push(name + ' is missing');
      });
      // Without a step a level is shown whole, as links made before steps do; "all" has none.
      if (scene.level === QuenlowPage.LEVELS && 'step' in seen) {
        problems.push('step is given with level all, which has none');
      }
      if (scene.step === undefined) scene.step = QuenlowPage.STEPS.length - 1;
      return problems.length ? { problems: problems } : { scene: scene };
    },

    start: function () {
      var started = false;
      Module['canvas'].addEventListener('frame', function () {
        if (!started) {
          started = true;
          QuenlowPage.element('copy-link').disabled = false;
          QuenlowLinks.follow(location.hash);
          QuenlowLinks.write();
        } else if (QuenlowLinks.encode(QuenlowPoints.read()) !== QuenlowLinks.written &&
                   !QuenlowLinks.writing) {
          QuenlowLinks.writing = setTimeout(QuenlowLinks.write, QuenlowLinks.WRITE_MS);
        }
      });
      Module['canvas'].addEventListener('programend', function () {
        QuenlowPage.element('copy-link').disabled = true;
      });
      // A link of the page's own, or the browser's Back: the program is already running.
      window.addEventListener('hashchange', function () {
        if (started) QuenlowLinks.follow(location.hash);
      });
      QuenlowPage.element('copy-link').addEventListener('click', QuenlowLinks.copy);
    },

    // A fragment's state, reached as a user would reach it: each point moved as a drag moves
    // it, the switches by their keys where they differ, the level and step as the step
    // control sets them. A
    // fragment that cannot be used gives the default scene and says why.
    follow: function (hash) {
      var fragment = hash.replace(/^#/, ''), status = QuenlowPage.element('status');
      if (fragment === QuenlowLinks.written) return;
      if (fragment === '') return QuenlowLinks.write(); // an address emptied: the scene stays
      if (Quenlow.ended) {
        status.textContent = 'The program has ended (Esc), so it cannot show this link\u2019s ' +
                             'scene. Reload the page to open it.';
        return;
      }
      var round = /^round=([1-9]\d{0,8})$/.exec(fragment);
      if (round) return QuenlowRounds.begin(+round[1], false);
      if (QuenlowRounds.seed !== null) QuenlowRounds.leave(); // a scene's link ends the round
      var decoded = QuenlowLinks.decode(fragment), now = QuenlowPoints.read();
      if (status.textContent === QuenlowLinks.notice) status.textContent = '';
      if (decoded.problems) {
        // The first few reasons: an address of many faults would give a page of them.
        var problems = decoded.problems, more = problems.length - QuenlowLinks.REASONS;
        QuenlowLinks.notice = 'This link\u2019s scene was not used (' +
            problems.slice(0, QuenlowLinks.REASONS).join('; ') +
            (more > 0 ? '; and ' + more + ' more' : '') +
            '), so the page shows the default scene.';
        status.textContent = QuenlowLinks.notice;
        decoded.scene = { points: null, boxes: false, allLevels: false,
                          level: QuenlowPage.LEVELS, step: QuenlowPage.STEPS.length - 1 };
        Quenlow.rightClick();
      }
      var scene = decoded.scene;
      (scene.points || []).forEach(function (point, index) {
        if (point[0] !== now.points[index][0] || point[1] !== now.points[index][1]) {
          QuenlowPoints.move(index, point[0], point[1]);
        }
      });
      if (scene.boxes !== now.boxes) Quenlow.key(13);
      if (scene.allLevels !== now.allLevels) Quenlow.key(96);
      QuenlowPage.stop();
      if (scene.level !== now.level || scene.step !== now.step) {
        QuenlowPage.showLevel(scene.level, scene.step);
      }
      QuenlowLinks.write();
    },
    // In place, so that Back leaves the page rather than stepping through its frames.
    write: function () {
      clearTimeout(QuenlowLinks.writing);
      QuenlowLinks.writing = 0;
      var fragment = QuenlowLinks.encode(QuenlowPoints.read());
      try {
        history.replaceState(history.state, '', '#' + fragment);
      } catch (e) { // rewritten too often for the browser: again in a while
        QuenlowLinks.writing = setTimeout(QuenlowLinks.write, 4 * QuenlowLinks.WRITE_MS);
        return;
      }
      QuenlowLinks.written = fragment;
      QuenlowPage.element('address').value = location.href;
    },

    copy: function () {
      QuenlowLinks.write();
      var said = QuenlowPage.element('link-said');
      var link = location.href.split('#')[0] + '#' + QuenlowLinks.encode(QuenlowPoints.read());
      var select = function () {
        var address = QuenlowPage.element('address');
        address.focus();
        address.select();
        said.textContent = 'The browser did not let the page copy, so the link is selected ' +
                           'here: copy it with Ctrl+C (\u2318C on a Mac).';
      };
      said.textContent = '';
      if (!navigator.clipboard || !navigator.clipboard.writeText) return select();
      navigator.clipboard.writeText(link).then(function () {
        said.textContent = 'Link copied.';
      }, select);
    }
  },

  // What brings the parts that no C++ calls into the build, where they start themselves.
  quenlowSharedParts__deps: ['$QuenlowPoints', '$QuenlowLinks', '$QuenlowRounds', '$QuenlowDrops',
                              '$QuenlowChallenges'],
  quenlowSharedParts: function () {}
});
