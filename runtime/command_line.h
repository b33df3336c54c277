// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program answers on its command line instead of opening its
// window, alike on every platform: its help, its version, or a mistake in
// what it was given. Each backend reads its own command line, since only it
// knows what else its toolkit takes there, and answers with these.

#include "runtime/application.h"

#include <optional>
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

// The program's own two options, -h/--help and -v/--version, as they are
// met; a version asked for wins over help, as with Qt's own parser.
class OwnOptions {
public:
    // Takes `name`, an option without its leading dashes, if it is one of them.
    bool take(std::string_view name);
    // The help or the version asked for, if any; the help ends with
    // `moreHelp`, what else the command line takes on this platform.
    std::optional<CommandLineAnswer> answer(const ApplicationDescription &application,
                                            std::string_view moreHelp) const;

private:
    bool m_help = false;
    bool m_version = false;
};

// A mistake on the command line, `what` in a few Italian words: one line that
// says where to look for help, and status 2.
CommandLineAnswer mistake(const ApplicationDescription &application, const std::string &what);
CommandLineAnswer unexpectedArgument(const ApplicationDescription &application,
                                     std::string_view argument);
CommandLineAnswer unknownOption(const ApplicationDescription &application,
                                std::string_view argument);

} // namespace runtime
