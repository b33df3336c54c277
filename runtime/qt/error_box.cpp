// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/error_box.h"

#include "runtime/qt/native_form.h"
#include "runtime/qt/qt_conversions.h"

#include <QMessageBox>

namespace runtime {

// A box with a parent is centred on it and stays in front of it.
void showErrorBox(Form &form, const RuntimeError &error) {
    QMessageBox box(QMessageBox::Critical, toQString(form.table().caption),
                    toQString(errorBoxText(error)), QMessageBox::Ok, form.native().window.get());
    box.exec();
}

} // namespace runtime
