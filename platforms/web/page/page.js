// The page before and around the viewer: checks that the browser can run it, loads the program
// with a plain sentence for every way that can fail, and keeps the page's files for offline use.
'use strict';
(function() {
  var state = document.getElementById('state');
  var failed = false;

  // Replaces the loading indication with what went wrong and what to do; the first reason stays.
  var fail = function(sentence) {
    if (failed) return;
    failed = true;
    document.getElementById('loading').hidden = true;
    var problem = document.getElementById('problem');
    problem.textContent = sentence;
    problem.hidden = false;
  };
  var fromDisk = location.protocol === 'file:';
  var serveIt = ' Serve the page\u2019s folder with a web server (for example python3 -m http.server ' +
    'in that folder) and open it over http:// or https://.';
  var reloadIt = ' Copy all the files of the page to the server again, then reload.';

  // The centred picture lands on whole device pixels, where each bitmap pixel is drawn exactly.
  var stage = document.getElementById('stage');
  var align = function() {
    stage.style.left = stage.style.top = '0px';
    var box = stage.getBoundingClientRect();
    var ratio = window.devicePixelRatio || 1;
    var snap = function(at) { return Math.round(at * ratio) / ratio - at + 'px'; };
    stage.style.left = snap(box.left + scrollX);
    stage.style.top = snap(box.top + scrollY);
  };
  align();
  addEventListener('resize', align);
  document.getElementById('again').addEventListener('click', function() { location.reload(); });
  if (matchMedia('(pointer: coarse)').matches) document.getElementById('pad').hidden = false;

  if (typeof WebAssembly !== 'object' || typeof DecompressionStream !== 'function' ||
      typeof createImageBitmap !== 'function') {
    fail('This browser cannot run the viewer: it needs WebAssembly and the browser\u2019s own ' +
      'decompression and image decoding. Open the page in a current version of Firefox, Chromium, ' +
      'Chrome, Edge or Safari.');
  }

  // A script that did not load says so only on its element; errors of the running program arrive here too.
  addEventListener('error', function(event) {
    var target = event.target;
    if (target && target.tagName === 'SCRIPT') {
      fail('The viewer could not be loaded: ' + target.getAttribute('src') + ' is missing.' + reloadIt);
    } else if (event.error !== undefined && !document.getElementById('frame').dataset.playing) {
      fail('The viewer stopped while starting: ' + event.message + '. Reload the page to try again.');
    }
  }, true);

  // A new build the service worker has already cached takes over before anything of this one runs.
  var ready = new Promise(function(resolve) {
    if (fromDisk || !navigator.serviceWorker) return resolve();
    navigator.serviceWorker.getRegistration().then(function(registration) {
      if (!registration || !registration.waiting || !navigator.serviceWorker.controller) return resolve();
      navigator.serviceWorker.addEventListener('controllerchange', function() { location.reload(); });
      registration.waiting.postMessage('take-over');
    }, resolve);
  });

  var wasmBytes = function() {
    if (!fromDisk) {
      return fetch('qex-lifts.wasm', {credentials: 'same-origin'}).then(function(response) {
        if (!response.ok) {
          throw new Error('qex-lifts.wasm could not be loaded (the server answered ' + response.status +
            (response.status === 404 ? ', not found' : '') + ').' + reloadIt);
        }
        return response;
      }, function() {
        throw new Error('qex-lifts.wasm could not be loaded: the network or the server did not answer. ' +
          'Check the connection and reload.');
      });
    }
    // Some browsers read a page's neighbouring files from disk, others refuse.
    return new Promise(function(resolve, reject) {
      var request = new XMLHttpRequest();
      request.open('GET', 'qex-lifts.wasm');
      request.responseType = 'arraybuffer';
      var refuse = function() {
        reject(new Error('This browser does not run the viewer from a file on disk.' + serveIt));
      };
      request.onload = function() { request.response ? resolve(request.response) : refuse(); };
      request.onerror = refuse;
      request.send();
    });
  };

  window.Module = {
    // The program's own loading, so each way it fails gets its own sentence.
    instantiateWasm: function(imports, done) {
      var loading = wasmBytes();
      ready.then(function() { return loading; }).then(function(source) {
        if (source instanceof ArrayBuffer) return WebAssembly.instantiate(source, imports);
        // Served with another type than application/wasm, the response is compiled from its bytes.
        return WebAssembly.instantiateStreaming(source.clone(), imports).catch(function(error) {
          if (error instanceof WebAssembly.CompileError || error instanceof WebAssembly.LinkError) throw error;
          return source.arrayBuffer().then(function(bytes) { return WebAssembly.instantiate(bytes, imports); });
        });
      }).then(function(result) {
        done(result.instance, result.module);
      }).catch(function(error) {
        if (error instanceof WebAssembly.CompileError || error instanceof WebAssembly.LinkError) {
          fail('qex-lifts.wasm is damaged or belongs to another build of the page.' + reloadIt);
        } else if (error instanceof WebAssembly.RuntimeError) {
          fail('The viewer stopped while starting: ' + error.message + '. Reload the page to try again.');
        } else {
          fail(error.message);
        }
      });
      return {};
    },
    onAbort: function(what) {
      fail('The viewer stopped while starting: ' + what + '. Reload the page to try again.');
    },
  };

  document.addEventListener('qex-playing', function() {
    document.getElementById('frame').dataset.playing = '1';
    state.hidden = true;
    // Cached only once it plays: the first visit's bandwidth goes to the first frame.
    if (!fromDisk && navigator.serviceWorker) {
      navigator.serviceWorker.register('sw.js').catch(function(error) {
        console.warn('qex-lifts: working offline is not available: ' + error.message);
      });
    }
  });
})();
