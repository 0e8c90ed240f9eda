// SPDX-License-Identifier: GPL-3.0-or-later
// The page's service worker: every file of the page is kept in a cache named after this version
// of the page (dist/web/page.cmake fills it in), so that the game starts again offline once it has
// been loaded. A new version replaces the older one's cache.
"use strict";
const cache = "tavlo-@PAGE_VERSION@";
const files = ["./", @PAGE_FILES@];

self.addEventListener("install", event => {
    event.waitUntil(caches.open(cache).then(kept => kept.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", event => {
    event.waitUntil(caches.keys()
        .then(names => Promise.all(names.filter(name => name !== cache).map(name => caches.delete(name))))
        .then(() => self.clients.claim()));
});

self.addEventListener("fetch", event => {
    if (event.request.method !== "GET")
        return;
    event.respondWith(caches.open(cache)
        .then(kept => kept.match(event.request, { ignoreSearch: true }))
        .then(response => response ?? fetch(event.request)));
});
