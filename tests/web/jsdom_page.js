// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The page a suite builds its windows in under Node: jsdom's document (Debian's
// node-jsdom), as a browser's would be. What jsdom leaves out is answered as
// a browser with no layout would: a canvas that measures no text, so that
// every caption keeps its own size.
const {JSDOM} = require("jsdom");
const page = new JSDOM("<!DOCTYPE html><html lang=\"it\"><body></body></html>");
page.window.HTMLCanvasElement.prototype.getContext = () => null;
globalThis.document = page.window.document;
globalThis.Event = page.window.Event;
globalThis.getComputedStyle = page.window.getComputedStyle.bind(page.window);
