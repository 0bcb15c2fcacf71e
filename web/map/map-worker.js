// The map's worker, put before its WebAssembly's loader (--pre-js): on each request from
// the page (map.js) it computes every spot of the map with the program's own search, coarse
// first, every eighth spot, then every fourth, second and each, posting each batch of rows
// as it goes. A new request abandons the one under way at the end of its batch. While the
// page is drawing a drag it asks the worker to go slowly, a short batch and then a rest,
// so that on a busy machine the drag keeps the processor time it needs.
var mapJob = null; // the request being computed, with how far it has got
var mapReady = false;
var mapSlow = false;
var BATCH_MS = 25; // rows computed between looks at the message queue
var SLOW_BATCH_MS = 6, SLOW_REST_MS = 24; // a quarter of the time, during a drag
Module['onRuntimeInitialized'] = function () {
  mapReady = true;
  mapWork();
};
self.onmessage = function (e) {
  var job = e.data, c = job.controls;
  if ('slow' in job) {
    mapSlow = job.slow;
    return;
  }
  mapJob = { generation: job.generation, quantity: job.quantity, controls: c,
             boxes: job.boxes, stride: 8, row: 0, done: 0, started: performance.now(),
             prepared: false };
  mapWork();
};
function mapWork() {
  var job = mapJob;
  if (!job || !mapReady || job.scheduled) return;
  if (!job.prepared) {
    var c = job.controls;
    _mapPrepare(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], job.boxes);
    job.prepared = true;
  }
  var spots = 400, s = job.stride, perRow = spots / s, rows = [], values = [];
  var until = performance.now() + (mapSlow ? SLOW_BATCH_MS : BATCH_MS);
  while (job.row < spots && performance.now() < until) {
    var j = job.row, skipRow = s < 8 && j % (2 * s) === 0;
    for (var i = 0; i < spots; i += s) {
      if (skipRow && i % (2 * s) === 0) {
        values.push(NaN); // computed in a coarser pass already
      } else {
        values.push(_mapSpotValue(job.quantity, i, j));
        ++job.done;
      }
    }
    rows.push(j);
    job.row += s;
  }
  var finished = job.row >= spots && s === 1;
  self.postMessage({ generation: job.generation, stride: s, rows: rows,
                     values: new Float64Array(values), done: job.done,
                     seconds: finished ? (performance.now() - job.started) / 1000 : 0 });
  if (job.row >= spots) {
    if (s === 1) {
      mapJob = null;
      return;
    }
    job.stride = s / 2;
    job.row = 0;
  }
  job.scheduled = true;
  setTimeout(function () {
    job.scheduled = false;
    if (mapJob === job) mapWork();
  }, mapSlow ? SLOW_REST_MS : 0);
}
