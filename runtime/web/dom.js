// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's side of a text handed to the program (runtime::dom::heldText):
// the text waits in the page while the program, told how many bytes of UTF-8
// it makes, makes room for them; the browser's own encoder then writes them
// there, with no copy made on the way. It writes a lone surrogate (half a
// character, which a box may hold) as U+FFFD, three bytes, as counted here.
Module["passoHold"] = function (text) {
    var bytes = text.length;
    for (var i = 0; i < text.length; ++i) {
        var unit = text.charCodeAt(i);
        if (unit < 0x80)
            continue;
        bytes += unit < 0x800 ? 1 : 2;
        if (unit >= 0xD800 && unit < 0xDC00 && (text.charCodeAt(i + 1) & 0xFC00) == 0xDC00)
            ++i;
    }
    Module.passoHeld = text;
    return bytes;
};

// A text kept in the tab's session storage (runtime::dom::recalled). A text
// the storage refuses, as a paste larger than its quota, takes the key's
// older text with it, which the boxes no longer show; where there is no
// storage at all, nothing is kept.
Module["passoRemember"] = function (key, text) {
    try {
        sessionStorage.setItem(key, text);
    } catch (refused) {
        try {
            sessionStorage.removeItem(key);
        } catch (unavailable) {
        }
    }
};

// The page's HTML shows the window before the program has loaded: the last
// button pressed meanwhile is kept, by its id, for the program to answer
// once it listens (runtime::dom::takeEarlyPress). Enter presses none of the
// window's buttons (the page's <main>) there, as it presses none once the
// program is there; Space does, in both. An error box's buttons are the
// program's own and take Enter.
Module["passoKeepPress"] = function (event) {
    var button = event.target.closest && event.target.closest("button[id]");
    if (button)
        Module.passoEarlyPress = button.id;
};
Module["passoHoldEnter"] = function (event) {
    if (event.key == "Enter" && event.target.closest && event.target.closest("main button"))
        event.preventDefault();
};
if (typeof document != "undefined") {
    document.addEventListener("click", Module.passoKeepPress, true);
    document.addEventListener("keydown", Module.passoHoldEnter, true);
}
