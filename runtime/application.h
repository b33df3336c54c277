// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/form.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace runtime {

// What the program hands over at start-up: its name and version, and the one
// window that is shown first. The program ends when that window closes.
struct ApplicationDescription {
    std::string_view title;
    std::string_view version;
    // The name of the desktop entry, without ".desktop".
    std::string_view desktopFileName;
    // The name the program is started by, and what it does in one sentence,
    // for its answers on the command line.
    std::string_view commandName;
    std::string_view summary;
    const FormSpec &startupForm;
};

// Answers --help and --version, or shows the start-up window and runs the
// event loop; returns the exit status. Each backend has its own.
int run(int &argc, char **argv, const ApplicationDescription &application);

// What every backend's run() does once the platform is ready: builds the
// start-up window, shows it and runs `eventLoop` on it, returning its status.
// A window that cannot be built is reported through `reportFailure`, given
// one Italian sentence that names the run-time error, and gives status 1.
int runStartupForm(const ApplicationDescription &application,
                   const std::function<int(Form &form)> &eventLoop,
                   const std::function<void(const std::string &why)> &reportFailure);

// The sentence runStartupForm reports, for a backend whose window outlives
// run(): in a browser the page's own event loop goes on after main returns.
std::string startupFailureText(const std::exception &failure);

} // namespace runtime
