// Starts the program only where it can run, and says plainly when it cannot or has ended.
var Module = {
  canvas: document.getElementById('canvas'),
  onAbort: function () {
    say('The program stopped because of an error. Reload the page to start it again.');
  }
};
Module.canvas.addEventListener('programend', function () {
  say('The program has ended (Esc). Reload the page to start it again.');
});
function say(text) {
  document.getElementById('status').textContent = text;
}
(function () {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    say('This browser cannot run WebAssembly, which the program needs, so it cannot ' +
        'start here. A current Firefox, Chrome, Edge or Safari can run it.');
    return;
  }
  if (typeof CanvasRenderingContext2D === 'undefined') {
    say('This browser cannot draw on a canvas, which the program needs, so it cannot ' +
        'start here. A current Firefox, Chrome, Edge or Safari can run it.');
    return;
  }
  var script = document.createElement('script');
  script.src = 'quenlow.js';
  script.onerror = function () {
    say('The program could not be loaded. Reload the page to try again.');
  };
  document.body.appendChild(script);
})();
