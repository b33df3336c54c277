// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The loader's glue, run before the program: what the page says where the
// program cannot run, and the service worker that keeps the site for use
// with no network.

// WebAssembly missing or refusing the program: the sentence the page shows
// without JavaScript says what it needs, never a blank page.
Module["onAbort"] = function () {
    var sentence = document.createElement("p");
    sentence.textContent = document.getElementById("requirement").textContent;
    document.body.appendChild(sentence);
};

// Service workers exist only in a secure context (HTTPS, or 127.0.0.1). The
// worker's first copy of the site waits until the window stands, so that it
// never competes with the page's own start; the page's load event is no
// sign of that, as it comes before the program has even been compiled.
if ("serviceWorker" in navigator) {
    Module["postRun"] = function () {
        setTimeout(function () {
            navigator.serviceWorker.register("service-worker.js");
        });
    };
}
