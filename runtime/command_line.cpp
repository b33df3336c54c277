// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/command_line.h"

namespace runtime {
namespace {

// The program's own two options, as they are met.
class OwnOptions {
public:
    // Takes `name`, an option without its leading dashes, if it is one of them.
    bool take(std::string_view name);
    std::optional<CommandLineAnswer> answer(const ApplicationDescription &application,
                                            std::string_view moreHelp) const;

private:
    bool m_help = false;
    bool m_version = false;
};

bool OwnOptions::take(std::string_view name) {
    if (name == "h" || name == "help")
        m_help = true;
    else if (name == "v" || name == "version")
        m_version = true;
    else
        return false;
    return true;
}

std::optional<CommandLineAnswer> OwnOptions::answer(const ApplicationDescription &application,
                                                    std::string_view moreHelp) const {
    const std::string command(application.commandName);
    if (m_version)
        return CommandLineAnswer{command + " " + std::string(application.version) + "\n", false, 0};
    if (!m_help)
        return std::nullopt;
    return CommandLineAnswer{"Uso: " + command + " [opzioni]\n" + std::string(application.summary) +
                                 "\n"
                                 "\n"
                                 "Opzioni:\n"
                                 "  -h, --help     Mostra questo aiuto.\n"
                                 "  -v, --version  Mostra la versione.\n" +
                                 std::string(moreHelp),
                             false, 0};
}

} // namespace

CommandLineAnswer mistake(const ApplicationDescription &application, const std::string &what) {
    const std::string command(application.commandName);
    return {.text = command + ": " + what + ". Prova '" + command + " --help'.\n",
            .toStandardError = true,
            .exitStatus = 2};
}

CommandLineAnswer unexpectedArgument(const ApplicationDescription &application,
                                     std::string_view argument) {
    return mistake(application, "argomento inatteso '" + std::string(argument) + "'");
}

CommandLineAnswer unknownOption(const ApplicationDescription &application,
                                std::string_view argument) {
    return mistake(application, "opzione sconosciuta '" + std::string(argument) + "'");
}

std::optional<CommandLineAnswer> readArguments(std::span<char *const> arguments,
                                               const ApplicationDescription &application,
                                               const ToolkitOptions &toolkit) {
    OwnOptions own;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == nullptr)
            continue;
        const std::string_view argument = arguments[i];
        if (!toolkit.helpAlias.empty() && argument == toolkit.helpAlias) {
            own.take("help");
            continue;
        }
        if (!argument.starts_with('-') || argument == "-")
            return unexpectedArgument(application, argument);
        const std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
        if (own.take(name))
            continue;
        const std::optional<bool> takesValue =
            toolkit.takesValue ? toolkit.takesValue(name) : std::nullopt;
        if (!takesValue)
            return unknownOption(application, argument);
        if (!*takesValue)
            continue;
        if (++i == arguments.size() || arguments[i] == nullptr)
            return mistake(application,
                           "l'opzione '" + std::string(argument) + "' richiede un valore");
        toolkit.value(name, arguments[i]);
    }
    return own.answer(application, toolkit.moreHelp);
}

} // namespace runtime
