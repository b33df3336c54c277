// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command line, read before anything needs a display. The program has
// two options of its own, --help and --version; everything else it accepts is
// the options every Qt program takes (-platform, -display, -style…), which go
// on to Qt untouched. Nothing on the command line changes what the program
// computes or shows.

#include "runtime/application.h"

#include <optional>
#include <span>
#include <string>

namespace runtime {

// The program's answer instead of its window: text for standard output (help,
// version) or standard error (a mistake on the command line), and the exit
// status.
struct CommandLineAnswer {
    std::string text;
    bool toStandardError;
    int exitStatus;

    friend bool operator==(const CommandLineAnswer &, const CommandLineAnswer &) = default;
};

struct CommandLine {
    // Set when the program is not to start.
    std::optional<CommandLineAnswer> answer;
    // The values of Qt's -platform and -display, where given (the last one
    // counts, as for Qt); empty otherwise.
    std::string platform;
    std::string display;
};

// Reads `arguments` (argv, the program's own path first) as Qt will.
CommandLine readCommandLine(std::span<char *const> arguments,
                            const ApplicationDescription &application);

} // namespace runtime
