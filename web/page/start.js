// Starts the program only where it can run, and says plainly when it cannot or has ended;
// keeps the page's files for use offline where the browser can.
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

// The worker beside the page keeps every file of this build (service-worker.js); once the
// page has loaded, so that it does not compete with the program for the network.
if ('serviceWorker' in navigator) {
  addEventListener('load', function () {
    navigator.serviceWorker.register('service-worker.js').catch(function (error) {
      console.warn('This page cannot be kept for use offline: ' + error.message);
    });
  });
}
