// The caption (an emscripten JS library): what the step on the screen did, in words, with the
// frame's own numbers rounded as the tables round them. It follows every frame but is not
// spoken by itself: the step control has it spoken once (steps.js).
mergeInto(LibraryManager.library, {
  $QuenlowCaption__deps: ['$QuenlowPage', '$QuenlowSteps', '$QuenlowHeld'],
  $QuenlowCaption: {
    count: function (n, one, many) {
      return n + ' ' + (n === 1 ? one : many);
    },
    // The words for a frame's numbers: a level's up to its step, or the result's. A mode that
    // holds the result back leaves out what it asks for.
    words: function (frame) {
      var page = QuenlowPage, count = QuenlowCaption.count;
      if (frame.result && QuenlowHeld.answer()) {
        return 'Where the search ends, and how near that is, is ' + QuenlowHeld.WORDS + '.';
      }
      // Held decisions keep a level at what its bound step says.
      var step = QuenlowHeld.answer() ? 0 : frame.step;
      if (frame.result) {
        var run = frame.runs === 1
          ? 'samples ' + frame.first + ' \u2026 ' + frame.last
          : count(frame.runs, 'run', 'runs') + ' from sample ' + frame.first + ' to ' +
            frame.last;
        return 'After level 9 the final run is ' + run + ' (' +
               count(frame.samples, 'sample', 'samples') + '): none of them could be ' +
               'dropped. The search takes the middle one, sample ' + frame.selected +
               ', without comparing them, so the orange segment ends ' +
               page.pixels(frame.selectedDistance) + ' from Q, ' +
               page.pixels(frame.selectedDistance - frame.trueDistance) +
               ' farther than the truly nearest point of the curve.';
      }
      var text = [];
      var verb = step === 0 ? 'bounds ' : 'bounded ';
      var one = frame.count === 1;
      text.push('Level ' + frame.level + ' ' + verb + count(frame.count, 'piece', 'pieces') +
                (one ? ', within ' : ', each within ') + page.radius(frame.r) +
                ' px of its chord, so ' + (one ? 'it lies' : 'each lies') + ' in its region. ' +
                (frame.nearest < 0
                  ? 'Q lies inside a region, so some piece may come as near as Q itself.'
                  : 'The nearest any of them can come to Q is ' + page.pixels(frame.nearest) +
                    '.'));
      if (step >= 1) {
        text.push('The smallest farthest possible distance is ' + page.pixels(frame.threshold) +
                  ', piece ' + frame.tightest[0] + ' \u2026 ' + frame.tightest[1] +
                  '\u2019s, so some point of the curve lies within ' +
                  page.pixels(frame.threshold) + ' of Q: inside the teal circle.');
      }
      if (step >= 2) {
        var dropped = frame.count - frame.kept;
        text.push(dropped === 0 ? 'No piece lies wholly beyond it, so none is dropped.'
                                : count(dropped, 'piece lies', 'pieces lie') + ' wholly beyond ' +
                                  'it and ' + (dropped === 1 ? 'is' : 'are') + ' dropped.');
      }
      if (step >= 3) {
        text.push(frame.kept + ' ' + (frame.kept === 1 ? 'is' : 'are') +
                  ' kept and each is halved, ' +
                  (frame.level + 1 < page.LEVELS
                    ? 'so level ' + (frame.level + 1) + ' bounds ' + frame.next + '.'
                    : 'and the halves\u2019 first samples, ' + frame.next +
                      ', are the final run.'));
      }
      return text.join(' ');
    }
  },

  quenlowCaptionLevel__deps: ['$QuenlowCaption'],
  quenlowCaptionLevel: function (level, step, count, r, nearest, threshold, tightestStart,
                                 pieceStep, kept, nextCount) {
    QuenlowSteps.mark(level, step);
    QuenlowSteps.say(QuenlowCaption.words({
      level: level, step: step, count: count, r: r, nearest: nearest, threshold: threshold,
      tightest: [tightestStart, tightestStart + pieceStep], kept: kept, next: nextCount
    }));
  },

  quenlowCaptionResult__deps: ['$QuenlowCaption'],
  quenlowCaptionResult: function (first, last, samples, runs, selected, selectedDistance,
                                  trueDistance) {
    QuenlowSteps.mark(QuenlowPage.LEVELS);
    QuenlowSteps.say(QuenlowCaption.words({
      result: true, first: first, last: last, samples: samples, runs: runs, selected: selected,
      selectedDistance: selectedDistance, trueDistance: trueDistance
    }));
  }
});
