// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The window suite's page tells suite_server.py what it prints, each line
// as it comes.
function tellTheCheck(what, text) {
    var request = new XMLHttpRequest();
    request.open("POST", "/driver/" + what, false);
    request.send(text);
}
Module["print"] = Module["printErr"] = function (line) { tellTheCheck("print", line); };
