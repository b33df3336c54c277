// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program answers on its command line instead of opening its
// window, alike on every platform: its help, its version, or a mistake in
// what it was given. Each backend reads its own command line, since only it
// knows what else its toolkit takes there, and answers with these.

#include "runtime/application.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace runtime {

// Text for standard output (help, version) or standard error (a mistake on
// the command line), and the exit status.
struct CommandLineAnswer {
    std::string text;
    bool toStandardError;
    int exitStatus;

    friend bool operator==(const CommandLineAnswer &, const CommandLineAnswer &) = default;
};

// What a platform's toolkit takes on the command line besides the program's
// own -h/--help and -v/--version.
struct ToolkitOptions {
    // Another spelling of --help on this platform ("/?" on Windows), or empty.
    std::string_view helpAlias = {};
    // For an option of the toolkit's, its name without dashes: whether it
    // takes the next argument as its value; nullopt for any other name.
    std::function<std::optional<bool>(std::string_view name)> takesValue = {};
    // Receives each toolkit option's value.
    std::function<void(std::string_view name, std::string_view value)> value = {};
    // What the help adds about the toolkit's options.
    std::string_view moreHelp = {};
};

// Reads the command line, the program's name first, alike on every platform:
// the first mistake, or else the help or the version asked for (a version
// wins over help, as with Qt's own parser), or nothing when the window is
// to open.
std::optional<CommandLineAnswer> readArguments(std::span<char *const> arguments,
                                               const ApplicationDescription &application,
                                               const ToolkitOptions &toolkit);

// A mistake on the command line, `what` in a few Italian words: one line that
// says where to look for help, and status 2.
CommandLineAnswer mistake(const ApplicationDescription &application, const std::string &what);
CommandLineAnswer unexpectedArgument(const ApplicationDescription &application,
                                     std::string_view argument);
CommandLineAnswer unknownOption(const ApplicationDescription &application,
                                std::string_view argument);

} // namespace runtime
