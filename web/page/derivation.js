// How a number was made (an emscripten JS library): each bound of the piece table and each r
// of the level table is a button that opens a short derivation with this scene's figures put
// in, beside its table, while both views draw its construction. Another choice, the same
// button again or Escape closes it.
mergeInto(LibraryManager.library, {
  $QuenlowDerivation__deps: ['$QuenlowPage'],
  $QuenlowDerivation__postset: 'QuenlowDerivation.start();',
  $QuenlowDerivation: {
    RADIUS: 3, // the kinds: 1 a nearest possible distance, 2 a farthest, 3 a level's r
    open: null, // the button whose derivation is open

    button: function (kind, about) {
      var button = document.createElement('button');
      button.type = 'button';
      button.className = 'derive';
      button.dataset.kind = kind;
      if (about !== undefined) button.dataset.about = about;
      button.setAttribute('aria-expanded', 'false');
      button.setAttribute('aria-controls', 'derivation');
      button.disabled = !QuenlowPage.started; // until the program runs, as every control
      return button;
    },
    // What a reused row's button is about: its piece's first sample.
    about: function (button, start) {
      if (button.dataset.about !== String(start)) button.dataset.about = start;
    },

    start: function () {
      document.addEventListener('click', function (e) {
        var button = e.target.closest && e.target.closest('button.derive');
        if (button) {
          QuenlowDerivation.choose(button === QuenlowDerivation.open ? null : button);
        }
      });
      // Before the program's own keys: Escape here closes the derivation, not the program.
      window.addEventListener('keydown', function (e) {
        if (e.key === 'Escape' && QuenlowDerivation.open) {
          e.preventDefault();
          e.stopPropagation();
          QuenlowDerivation.choose(null);
        }
      }, true);
    },
    choose: function (button) {
      var shown = QuenlowPage.element('derivation');
      if (QuenlowDerivation.open) QuenlowDerivation.open.setAttribute('aria-expanded', 'false');
      QuenlowDerivation.open = button;
      if (!button) {
        shown.hidden = true;
        _webExplain(0, 0);
        return;
      }
      button.setAttribute('aria-expanded', 'true');
      // Right after the table of the number, so that it reads next.
      var table = button.closest('.pieces-scroll') || button.closest('table');
      if (table.nextElementSibling !== shown) table.after(shown);
      _webExplain(+button.dataset.kind, +button.dataset.about);
    },

    // A figure put in: three decimals, and a true minus sign.
    figure: function (value) {
      var text = (Math.round(value * 1000) / 1000).toFixed(3);
      return text.charAt(0) === '-' && +text !== 0 ? '\u2212' + text.slice(1)
                                                   : text.replace(/^-/, '');
    },
    // The number as its cell shows it, and below zero what that means.
    bound: function (value) {
      return value < 0 ? QuenlowDerivation.figure(value) + ' px: below zero, so Q lies inside ' +
                         'the region ("Q inside")'
                       : QuenlowPage.pixels(value);
    },
    words: function (kind, level, start, step, f) {
      var d = QuenlowDerivation, n = d.figure;
      if (kind === d.RADIUS) {
        var first = 'r\u2080 = \u00be \u00b7 max(\u2016P0 \u2212 2P1 + P2\u2016, \u2016P1 \u2212 ' +
                    '2P2 + P3\u2016) = \u00be \u00b7 max(' + n(f[1]) + ', ' + n(f[2]) + ') = ' +
                    n(f[3]) + ' px: no piece of the curve strays farther from its chord.';
        return level === 0 ? first
          : first + ' Each level\u2019s r is a quarter of the last\u2019s, as each piece is ' +
            'halved: r at level ' + level + ' = r\u2080 / 4^' + level + ' = ' + n(f[3]) + ' / ' +
            Math.pow(4, level) + ' = ' + QuenlowPage.radius(f[4]) + ' px.';
      }
      var piece = 'Piece ' + start + ' \u2026 ' + (start + step) + ': ';
      var r = n(f[f[0] >= 3 ? 4 : 2]); // after the box's two sides and distance, or the distance
      switch (f[0]) {
        case 0:
          return piece + 'nearest possible distance = distance from Q to the chord \u2212 r = ' +
                 n(f[1]) + ' \u2212 ' + r + ' = ' + d.bound(f[3]) + '.';
        case 1:
          return piece + 'Q lies beyond an end of the chord, so nearest possible distance = ' +
                 'distance from Q to the nearer end \u2212 r = ' + n(f[1]) + ' \u2212 ' + r +
                 ' = ' + d.bound(f[3]) + '.';
        case 2:
          return piece + 'farthest possible distance = distance from Q to the farther end + r = ' +
                 n(f[1]) + ' + ' + r + ' = ' + d.bound(f[3]) + '.';
        case 3:
          return piece + 'nearest possible distance = distance from Q to the chord\u2019s ' +
                 'bounding box \u2212 r = \u221a(' + n(f[1]) + '\u00b2 + ' + n(f[2]) +
                 '\u00b2) \u2212 ' + r + ' = ' + n(f[3]) + ' \u2212 ' + r + ' = ' +
                 d.bound(f[5]) + '.';
        default:
          return piece + 'farthest possible distance = distance from Q to the farthest corner ' +
                 'of the chord\u2019s bounding box + r = \u221a(' + n(f[1]) + '\u00b2 + ' +
                 n(f[2]) + '\u00b2) + ' + r + ' = ' + n(f[3]) + ' + ' + r + ' = ' +
                 d.bound(f[5]) + '.';
      }
    }
  },

  // Each frame while one is open, so that it follows a drag; kind 0 when none is, or the
  // level shown no longer has its piece.
  quenlowShowDerivation__deps: ['$QuenlowDerivation'],
  quenlowShowDerivation: function (kind, level, start, step, figures) {
    var d = QuenlowDerivation, shown = QuenlowPage.element('derivation');
    if (kind === 0) {
      if (d.open) d.choose(null);
      return;
    }
    var f = HEAPF64.subarray(figures >> 3, (figures >> 3) + 8);
    QuenlowPage.write('derivation-text', d.words(kind, level, start, step, f));
    shown.hidden = false;
  }
});
