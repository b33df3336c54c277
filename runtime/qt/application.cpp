// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"

#include "runtime/qt/accessible_window.h"
#include "runtime/qt/command_line.h"
#include "runtime/qt/display.h"
#include "runtime/qt/qt_conversions.h"
#include "runtime/qt/translations.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <string>

namespace runtime {
namespace {

int printAnswer(const CommandLineAnswer &answer) {
    std::fputs(answer.text.c_str(), answer.toStandardError ? stderr : stdout);
    return answer.exitStatus;
}

int reportMissingDisplay(const ApplicationDescription &application, const std::string &why) {
    std::fprintf(stderr, "%s: nessuno schermo disponibile (%s).\n",
                 std::string(application.commandName).c_str(), why.c_str());
    return 1;
}

} // namespace

int run(int &argc, char **argv, const ApplicationDescription &application) {
    const CommandLine commandLine =
        readCommandLine({argv, static_cast<std::size_t>(argc)}, application);
    if (commandLine.answer)
        return printAnswer(*commandLine.answer);
    if (const std::optional<std::string> why = missingDisplay(commandLine))
        return reportMissingDisplay(application, *why);

    QApplication qtApplication(argc, argv);
    installWindowAccessibility();
    // On X11 the desktop matches a window to its menu entry by the window's
    // class, which Qt takes from the application name; on Wayland by the
    // desktop file name. Both are the entry's name.
    QApplication::setApplicationName(toQString(application.desktopFileName));
    QGuiApplication::setDesktopFileName(toQString(application.desktopFileName));
    QApplication::setApplicationDisplayName(toQString(application.title));
    QApplication::setApplicationVersion(toQString(application.version));
    // The start-up window's font for everything, the error box included; it
    // also spares loading the desktop's font only to replace it.
    QApplication::setFont(toQFont(application.startupForm.font));
    QTranslator qtTexts;
    installQtTranslations(qtTexts, QLocale());

    return runStartupForm(
        application, [](Form &) { return QApplication::exec(); },
        [&application](const std::string &why) {
            std::fprintf(stderr, "%s: %s\n", std::string(application.commandName).c_str(),
                         why.c_str());
        });
}

} // namespace runtime
