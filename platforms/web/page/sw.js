// Keeps the page's files for offline use, one complete set per build: a new build's set is
// fetched whole before it is used, and a page never gets files of two builds.
'use strict';
var build = '@BUILD@';
var files = [@FILES@];
var cacheName = 'qex-lifts-' + build;

self.addEventListener('install', function(event) {
  // Revalidated with the server, so no file comes from an older build in the HTTP cache.
  event.waitUntil(caches.open(cacheName).then(function(cache) {
    return cache.addAll(files.map(function(file) { return new Request(file, {cache: 'no-cache'}); }));
  }));
});

self.addEventListener('activate', function(event) {
  event.waitUntil(caches.keys().then(function(names) {
    return Promise.all(names.filter(function(name) {
      return name.indexOf('qex-lifts-') === 0 && name !== cacheName;
    }).map(function(name) { return caches.delete(name); }));
  }));
});

// A page that finds this build waiting hands over before it loads anything else, then reloads.
self.addEventListener('message', function(event) {
  if (event.data === 'take-over') self.skipWaiting();
});

self.addEventListener('fetch', function(event) {
  var request = event.request;
  var scope = self.registration.scope;
  if (request.method !== 'GET' || request.url.indexOf(scope) !== 0) return;
  var file = request.url.slice(scope.length).split(/[?#]/)[0] || 'index.html';
  if (files.indexOf(file) < 0) return;
  event.respondWith(caches.open(cacheName).then(function(cache) {
    return cache.match(file);
  }).then(function(response) {
    return response || fetch(request);
  }));
});
