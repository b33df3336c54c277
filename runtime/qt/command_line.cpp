// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/command_line.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <ranges>
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

// What the help adds for a Qt program.
constexpr std::string_view qtHelp =
    "\n"
    "Accetta anche le opzioni comuni a tutti i programmi Qt, come -platform,\n"
    "-display, -style e -qwindowgeometry.\n";

std::string_view environment(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Qt reads a platform's name without regard to case, and its settings
// follow the name after a colon: "xcb:...". A list is separated by ';'.
std::vector<std::string> platformNames(std::string_view list) {
    std::vector<std::string> names;
    for (const auto entry : std::views::split(list, ';')) {
        const std::string_view named(entry.begin(), entry.end());
        std::string name(named.substr(0, named.find(':')));
        std::ranges::transform(name, name.begin(), [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        });
        if (!name.empty())
            names.push_back(std::move(name));
    }
    return names;
}

// Where none of the platforms asked for is installed, Qt would abort.
std::optional<CommandLineAnswer> notInstalled(const ApplicationDescription &application,
                                              const std::vector<std::string> &asked,
                                              const std::vector<std::string> &installed) {
    const auto isInstalled = [installed](const std::string &name) {
        return std::ranges::find(installed, name) != installed.end();
    };
    if (asked.empty() || std::ranges::any_of(asked, isInstalled))
        return std::nullopt;
    std::string text = std::string(application.commandName) + ": piattaforma '";
    for (const std::string &name : asked)
        text += (&name == &asked.front() ? "" : ";") + name;
    text += "' non installata (installate: ";
    for (const std::string &name : installed)
        text += (&name == &installed.front() ? "" : ", ") + name;
    text += installed.empty() ? "nessuna).\n" : ").\n";
    return CommandLineAnswer{.text = text, .toStandardError = true, .exitStatus = 1};
}

// The file name of a platform plugin, "libqxcb.so", gives the name -platform
// takes, "xcb"; Wayland's generic plugin is the one named "wayland".
std::optional<std::string> pluginPlatform(std::string_view file) {
    constexpr std::string_view prefix = "libq";
    constexpr std::string_view suffix = ".so";
    if (file.size() <= prefix.size() + suffix.size() || !file.starts_with(prefix) ||
        !file.ends_with(suffix))
        return std::nullopt;
    const std::string_view name =
        file.substr(prefix.size(), file.size() - prefix.size() - suffix.size());
    return name == "wayland-generic" ? "wayland" : std::string(name);
}

void addPlatformsIn(const std::filesystem::path &folder, std::vector<std::string> &names) {
    std::error_code error;
    for (std::filesystem::directory_iterator file(folder, error), end; !error && file != end;
         file.increment(error))
        if (const std::optional<std::string> name =
                pluginPlatform(file->path().filename().string()))
            names.push_back(*name);
}

// Qt looks in the platforms folder of each of its library paths (its own
// plugin folder, and QT_PLUGIN_PATH's), and first in the folder
// -platformpluginpath names, else QT_QPA_PLATFORM_PLUGIN_PATH's.
std::vector<std::string> installedPlatforms(std::string_view pluginPath) {
    std::vector<std::string> names;
    for (const QString &path : QCoreApplication::libraryPaths())
        addPlatformsIn(std::filesystem::path(path.toStdString()) / "platforms", names);
    const std::string_view own =
        pluginPath.empty() ? environment("QT_QPA_PLATFORM_PLUGIN_PATH") : pluginPath;
    if (!own.empty())
        addPlatformsIn(own, names);
    std::ranges::sort(names);
    names.erase(std::ranges::unique(names).begin(), names.end());
    return names;
}

} // namespace

CommandLine readCommandLine(std::span<char *const> arguments,
                            const ApplicationDescription &application) {
    CommandLine commandLine;
    std::optional<std::string_view> platform;
    std::string_view pluginPath;
    const ToolkitOptions qt{
        .takesValue = [](std::string_view name) -> std::optional<bool> {
            if (const QtOption *option = findQtOption(name))
                return option->takesValue;
            return isJoinedQtOption(name) ? std::optional(false) : std::nullopt;
        },
        .value =
            [&](std::string_view name, std::string_view value) {
                if (name == "platform")
                    platform = value;
                else if (name == "display")
                    commandLine.display = value;
                else if (name == "platformpluginpath")
                    pluginPath = value;
            },
        .moreHelp = qtHelp,
    };
    commandLine.answer = readArguments(arguments, application, qt);
    if (commandLine.answer)
        return commandLine;
    const std::vector<std::string> installed = installedPlatforms(pluginPath);
    const std::vector<std::string> asked =
        platformNames(platform.value_or(environment("QT_QPA_PLATFORM")));
    commandLine.answer = notInstalled(application, asked, installed);
    // Qt passes over a platform it lacks and tries the next.
    std::ranges::copy_if(asked, std::back_inserter(commandLine.platforms),
                         [&](const std::string &name) {
                             return std::ranges::find(installed, name) != installed.end();
                         });
    return commandLine;
}

} // namespace runtime
