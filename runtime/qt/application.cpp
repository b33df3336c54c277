// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"

#include "runtime/qt/qt_conversions.h"

#include <QApplication>

namespace runtime {

int run(int &argc, char **argv, const ApplicationDescription &application) {
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(toQString(application.title));
    QApplication::setApplicationDisplayName(toQString(application.title));
    QApplication::setApplicationVersion(toQString(application.version));
    // Lets the desktop match the window to its menu entry and icon theme.
    QGuiApplication::setDesktopFileName(toQString(application.desktopFileName));
    // The start-up window's font for everything, the error box included; it
    // also spares loading the desktop's font only to replace it.
    QApplication::setFont(toQFont(application.startupForm.font));

    Form form(application.startupForm);
    form.show();
    return QApplication::exec();
}

} // namespace runtime
