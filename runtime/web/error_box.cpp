// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/error_box.h"

#include "runtime/web/native_form.h"

namespace runtime {

// The page's <dialog>, modal to the whole page and centred on it, as the
// window is. It does not block: the command returns at once and the page
// drops the button's presses until the box is closed.
void showErrorBox(Form &form, const RuntimeError &error) {
    form.native().showErrorBox(errorBoxText(error));
}

} // namespace runtime
