// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command line, read before anything needs a display. The program has
// two options of its own, --help and --version; everything else it accepts is
// the options every Qt program takes (-platform, -display, -style…), which go
// on to Qt untouched. Nothing on the command line changes what the program
// computes or shows.

#include "runtime/application.h"
#include "runtime/command_line.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace runtime {

struct CommandLine {
    // Set when the program is not to start.
    std::optional<CommandLineAnswer> answer;
    // The installed platforms Qt is asked to try, in its order, by their names
    // in lower case without their settings: -platform's list (the last
    // -platform counts, as for Qt), else QT_QPA_PLATFORM's; empty where Qt
    // chooses.
    std::vector<std::string> platforms;
    // -display's value, where given (the last one counts); empty otherwise.
    std::string display;
};

// Reads `arguments` (argv, the program's own path first) as Qt will.
// Platforms asked for of which none is installed are answered in one line
// with status 1: Qt would abort the process with advice to reinstall it.
CommandLine readCommandLine(std::span<char *const> arguments,
                            const ApplicationDescription &application);

} // namespace runtime
