// The page's side of the viewer: the browser decodes and draws the frames, its input is queued
// for the loop, and the loop's waits hand the thread back to the browser.
mergeInto(LibraryManager.library, {
  $qexPage: {
    bitmaps: [],
    canvas: null,
    context: null,
    pending: 0,           // holder waiting for the next display refresh, 0 when none
    drawRequested: false,
    wake: null,           // ends the current sleep early; null while the loop runs
    wakeOnDraw: false,
    listeners: [],
    yieldChannel: null,
    yieldToken: 0,
    yieldTick: null,
    // Scheduled waits are woken this long before their deadline (timers fire late by a few
    // tenths of a millisecond) and finish on posted messages, which come back within microseconds.
    timerSlackMs: 1,
    shownOnce: false,

    surface: function() { return document.getElementById('Picture1'); },

    // One scaling for the page's life: exact 2 x 2 blocks at a ratio of 2, nearest neighbour at others.
    setUpCanvas: function() {
      var canvas = document.getElementById('frame');
      var ratio = window.devicePixelRatio || 1;
      canvas.width = Math.round(345 * ratio);
      canvas.height = Math.round(405 * ratio);
      var context = canvas.getContext('2d', {alpha: false});
      context.imageSmoothingEnabled = false;
      qexPage.canvas = canvas;
      qexPage.context = context;
    },

    draw: function() {
      qexPage.drawRequested = false;
      if (!qexPage.pending) return;
      var canvas = qexPage.canvas;
      qexPage.context.drawImage(qexPage.bitmaps[qexPage.pending - 1], 0, 0, canvas.width, canvas.height);
      qexPage.pending = 0;
      if (!qexPage.shownOnce) {
        qexPage.shownOnce = true;
        document.dispatchEvent(new Event('qex-playing'));
      }
      if (qexPage.wakeOnDraw && qexPage.wake) qexPage.wake();
    },

    // The character code the viewer's key handler gets for a key, 0 for none.
    keyCode: function(event) {
      if (event.key === 'Escape') return 27;
      // Shortcuts of the browser stay the browser's; AltGr (Ctrl and Alt together) types characters.
      if (event.metaKey || event.ctrlKey !== event.altKey) return 0;
      if (event.key.length !== 1) return 0;
      var code = event.key.charCodeAt(0);
      return code >= 1 && code <= 255 ? code : 0;
    },

    listen: function(target, type, handler) {
      target.addEventListener(type, handler);
      qexPage.listeners.push([target, type, handler]);
    },

    attach: function(queue) {
      var surface = qexPage.surface();
      var inset = 2;
      var pressed = -1;
      var send = function(kind, a, b, c, d) {
        _qex_surface_event(queue, kind, a || 0, b || 0, c || 0, d || 0);
        if (qexPage.wake) qexPage.wake();
      };
      var at = function(event) {
        var box = surface.getBoundingClientRect();
        return [Math.floor(event.clientX - box.left) - inset, Math.floor(event.clientY - box.top) - inset];
      };
      var onWindow = function(event) {
        var box = document.getElementById('window').getBoundingClientRect();
        return event.clientX >= box.left && event.clientX < box.right &&
               event.clientY >= box.top && event.clientY < box.bottom;
      };
      // Keys typed anywhere but in a control of the page's own are the viewer's, so a click
      // beside the picture never leaves the keyboard without effect.
      qexPage.listen(document, 'keydown', function(event) {
        if (event.target.closest && event.target.closest('input, textarea, select, button, [contenteditable]')) {
          return;
        }
        var code = qexPage.keyCode(event);
        // Space would scroll, "/" open a find bar; Tab stays the browser's, to move on.
        if (code === 27 || ' +-,/*.'.indexOf(event.key) >= 0 && code) {
          event.preventDefault();
        }
        if (code) send(0, code);
      });
      // The pad under the picture, shown for coarse pointers, types the keys it is labelled with.
      document.querySelectorAll('#pad button').forEach(function(button) {
        qexPage.listen(button, 'mousedown', function(event) { event.preventDefault(); });
        qexPage.listen(button, 'click', function() { send(0, button.dataset.key.charCodeAt(0)); });
      });
      // A click on the page's background would leave the focus nowhere; selecting text stays possible.
      qexPage.listen(document, 'click', function() {
        if (document.activeElement === document.body && document.getSelection().isCollapsed) {
          surface.focus({preventScroll: true});
        }
      });
      qexPage.listen(surface, 'pointerdown', function(event) {
        surface.setPointerCapture(event.pointerId);
      });
      qexPage.listen(surface, 'mousedown', function(event) {
        event.preventDefault();
        surface.focus();
        if (event.button !== 0 && event.button !== 2) return;
        // As on the desktop: the second press is the double-click, and its release no click.
        if (event.detail === 2) {
          pressed = -1;
          send(3);
        } else {
          pressed = event.button;
        }
      });
      qexPage.listen(surface, 'mouseup', function(event) {
        var click = event.button === pressed && onWindow(event);
        pressed = -1;
        if (click) send(2);
      });
      qexPage.listen(surface, 'pointermove', function(event) {
        var p = at(event);
        var inner = p[0] >= 0 && p[0] < 345 && p[1] >= 0 && p[1] < 764;
        if (!event.buttons && !inner) return;
        var shift = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
        send(1, event.buttons & 7, shift, p[0], p[1]);
      });
      qexPage.listen(surface, 'contextmenu', function(event) { event.preventDefault(); });
      qexPage.listen(surface, 'dragstart', function(event) { event.preventDefault(); });
      surface.hidden = false;
      surface.focus({preventScroll: true});
    },

    // Replaces the surface with the notice that the viewer has ended.
    end: function() {
      qexPage.listeners.forEach(function(l) { l[0].removeEventListener(l[1], l[2]); });
      qexPage.listeners = [];
      qexPage.pending = 0;
      var notice = document.getElementById('notice');
      document.getElementById('window').hidden = true;
      document.getElementById('pad').hidden = true;
      notice.hidden = false;
      // Written once shown, so the live region announces it.
      document.getElementById('ended').textContent = 'The viewer has ended.';
      document.getElementById('again').focus();
    },
  },

  // Inflates the frames as a stream and starts decoding each as soon as its bytes are out,
  // so the first is on its way before the last is inflated.
  qex_page_decode_frames__deps: ['$qexPage'],
  qex_page_decode_frames: function(packed, packedSize, size, count) {
    qexPage.setUpCanvas();
    var settle = [];
    qexPage.decodes = [];
    for (var i = 0; i < count; i++) {
      qexPage.decodes.push(new Promise(function(resolve) { settle.push(resolve); }));
    }
    var files = new Uint8Array(size * count);
    var filled = 0;
    var next = 0;
    var decode = function(blob) {
      return createImageBitmap(blob, {premultiplyAlpha: 'none', colorSpaceConversion: 'none'})
        .catch(function() { return null; });
    };
    // The rest wait for the first, which the page shows while they load.
    var decodeFilled = function() {
      for (; next < count && filled >= (next + 1) * size; next++) {
        var blob = new Blob([files.subarray(next * size, (next + 1) * size)], {type: 'image/bmp'});
        settle[next](next === 0 ? decode(blob) : qexPage.decodes[0].then(decode.bind(null, blob)));
      }
    };
    // Frames the stream cannot give whole are frames the browser could not decode.
    var giveUp = function() {
      for (; next < count; next++) settle[next](null);
    };
    var reader = new Blob([HEAPU8.slice(packed, packed + packedSize)]).stream()
      .pipeThrough(new DecompressionStream('gzip')).getReader();
    var take = function(result) {
      if (result.done) return giveUp();
      var chunk = result.value.subarray(0, files.length - filled);
      files.set(chunk, filled);
      filled += chunk.length;
      decodeFilled();
      return reader.read().then(take);
    };
    reader.read().then(take).catch(giveUp);
  },

  qex_page_await_frame__deps: ['$qexPage'],
  qex_page_await_frame: function(holder) {
    return Asyncify.handleAsync(async function() {
      var bitmap = await qexPage.decodes[holder - 1];
      qexPage.bitmaps[holder - 1] = bitmap;
      return bitmap ? 1 : 0;
    });
  },

  qex_page_attach__deps: ['$qexPage', 'qex_surface_event'],
  qex_page_attach: function(queue) {
    qexPage.attach(queue);
  },

  qex_page_show__deps: ['$qexPage'],
  qex_page_show: function(holder) {
    qexPage.pending = holder;
    if (!qexPage.drawRequested) {
      qexPage.drawRequested = true;
      requestAnimationFrame(qexPage.draw);
    }
  },

  qex_page_presented__deps: ['$qexPage'],
  qex_page_presented: function() {
    return qexPage.pending ? 0 : 1;
  },

  qex_page_sleep__deps: ['$qexPage'],
  qex_page_sleep: function(ms, untilPresented) {
    return Asyncify.handleSleep(function(wakeUp) {
      var deadline = performance.now() + ms;
      var timer = 0;
      var token = ++qexPage.yieldToken;
      if (!qexPage.yieldChannel) {
        qexPage.yieldChannel = new MessageChannel();
        qexPage.yieldChannel.port1.onmessage = function(message) {
          if (message.data === qexPage.yieldToken && qexPage.yieldTick) qexPage.yieldTick();
        };
      }
      var done = function() {
        clearTimeout(timer);
        qexPage.wake = null;
        qexPage.yieldTick = null;
        wakeUp();
      };
      var tick = function() {
        var left = deadline - performance.now();
        if (left <= 0) {
          done();
        } else if (left - qexPage.timerSlackMs >= 1) {
          // Timers count whole milliseconds and drop the fraction; one for less than a
          // millisecond would run at once, and five such in a row are held back 4 ms.
          if (left !== Infinity) {
            timer = setTimeout(tick, Math.min(Math.floor(left - qexPage.timerSlackMs), 0x40000000));
          }
        } else {
          qexPage.yieldChannel.port2.postMessage(token);
        }
      };
      qexPage.wake = done;
      qexPage.wakeOnDraw = !!untilPresented;
      qexPage.yieldTick = tick;
      if (ms <= 0) {
        qexPage.yieldChannel.port2.postMessage(token);
      } else {
        tick();
      }
    });
  },

  qex_page_report: function(line) {
    var text = UTF8ToString(line);
    console.error(text);
    document.getElementById('error').textContent = text;
  },

  qex_page_end__deps: ['$qexPage'],
  qex_page_end: function(failed) {
    qexPage.end();
  },
});
