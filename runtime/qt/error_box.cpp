// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/error_box.h"

#include "runtime/qt/qt_conversions.h"

#include <QApplication>
#include <QMessageBox>

namespace runtime {

void showErrorBox(const RuntimeError &error) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    toQString(errorBoxText(error)), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

} // namespace runtime
