// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/command_line.h"

namespace runtime {

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

} // namespace runtime
