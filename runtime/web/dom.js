// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's side of a text handed to the program (runtime::dom::heldText):
// its UTF-8 bytes, through the browser's own encoder, which writes a lone
// surrogate (half a character, which a box may hold) as U+FFFD. They wait in
// the page until the program, told how many there are, copies them.
Module["passoHold"] = function (text) {
    if (!Module.passoEncoder)
        Module.passoEncoder = new TextEncoder();
    Module.passoHeld = Module.passoEncoder.encode(text);
    return Module.passoHeld.length;
};

// The page's HTML shows the window before the program has loaded: the last
// button pressed meanwhile is kept, by its id, for the program to answer
// once it listens (runtime::dom::takeEarlyPress).
Module["passoKeepPress"] = function (event) {
    var button = event.target.closest && event.target.closest("button[id]");
    if (button)
        Module.passoEarlyPress = button.id;
};
if (typeof document != "undefined")
    document.addEventListener("click", Module.passoKeepPress, true);
