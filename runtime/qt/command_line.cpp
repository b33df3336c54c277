// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace runtime {
namespace {

// The options Qt 6 itself reads from the command line (QGuiApplication, its
// X11 platform and QApplication), by their names after the one dash Qt drops
// from a leading "--".
struct QtOption {
    std::string_view name;
    bool takesValue;
};

constexpr std::array qtOptions{
    QtOption{"platform", true},
    QtOption{"platformpluginpath", true},
    QtOption{"platformtheme", true},
    QtOption{"plugin", true},
    QtOption{"qwindowgeometry", true},
    QtOption{"geometry", true},
    QtOption{"qwindowtitle", true},
    QtOption{"title", true},
    QtOption{"qwindowicon", true},
    QtOption{"icon", true},
    QtOption{"session", true},
    QtOption{"display", true},
    QtOption{"name", true},
    QtOption{"visual", true},
    QtOption{"style", true},
    QtOption{"stylesheet", true},
    QtOption{"reverse", false},
    QtOption{"testability", false},
    QtOption{"nograb", false},
    QtOption{"dograb", false},
    QtOption{"widgetcount", false},
};

// Qt options also written as one word, "-style=fusion".
constexpr std::array qtJoinedOptions{std::string_view("style="), std::string_view("stylesheet="),
                                     std::string_view("qmljsdebugger=")};

const QtOption *findQtOption(std::string_view name) {
    const auto option = std::find_if(qtOptions.begin(), qtOptions.end(),
                                     [name](const QtOption &o) { return o.name == name; });
    return option != qtOptions.end() ? &*option : nullptr;
}

bool isJoinedQtOption(std::string_view name) {
    return std::any_of(qtJoinedOptions.begin(), qtJoinedOptions.end(),
                       [name](std::string_view prefix) { return name.starts_with(prefix); });
}

std::string helpText(const ApplicationDescription &application) {
    const std::string command(application.commandName);
    return "Uso: " + command + " [opzioni]\n" + std::string(application.summary) +
           "\n"
           "\n"
           "Opzioni:\n"
           "  -h, --help     Mostra questo aiuto.\n"
           "  -v, --version  Mostra la versione.\n"
           "\n"
           "Accetta anche le opzioni comuni a tutti i programmi Qt, come -platform,\n"
           "-display, -style e -qwindowgeometry.\n";
}

CommandLineAnswer printed(std::string text) {
    return {.text = std::move(text), .toStandardError = false, .exitStatus = 0};
}

// A mistake on the command line: one line, and where to look for help.
CommandLineAnswer mistake(const ApplicationDescription &application, const std::string &what) {
    const std::string command(application.commandName);
    return {.text = command + ": " + what + ". Prova '" + command + " --help'.\n",
            .toStandardError = true,
            .exitStatus = 2};
}

} // namespace

CommandLine readCommandLine(std::span<char *const> arguments,
                            const ApplicationDescription &application) {
    CommandLine commandLine;
    bool help = false;
    bool version = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == nullptr)
            continue;
        const std::string_view argument = arguments[i];
        if (!argument.starts_with('-') || argument == "-") {
            commandLine.answer =
                mistake(application, "argomento inatteso '" + std::string(argument) + "'");
            return commandLine;
        }
        const std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
        if (name == "h" || name == "help") {
            help = true;
        } else if (name == "v" || name == "version") {
            version = true;
        } else if (const QtOption *option = findQtOption(name); option && option->takesValue) {
            if (++i == arguments.size() || arguments[i] == nullptr) {
                commandLine.answer = mistake(application, "l'opzione '" + std::string(argument) +
                                                              "' richiede un valore");
                return commandLine;
            }
            if (name == "platform")
                commandLine.platform = arguments[i];
            else if (name == "display")
                commandLine.display = arguments[i];
        } else if (option == nullptr && !isJoinedQtOption(name)) {
            commandLine.answer =
                mistake(application, "opzione sconosciuta '" + std::string(argument) + "'");
            return commandLine;
        }
    }
    if (version)
        commandLine.answer = printed(std::string(application.commandName) + " " +
                                     std::string(application.version) + "\n");
    else if (help)
        commandLine.answer = printed(helpText(application));
    return commandLine;
}

} // namespace runtime
