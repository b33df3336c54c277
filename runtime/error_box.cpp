// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/error_box.h"

namespace runtime {

std::string errorBoxText(const RuntimeError &error) {
    std::string text =
        "Errore di run-time '" + std::to_string(error.number()) + "':\n\n" + error.description();
    if (!error.advice().empty())
        text.append("\n").append(error.advice());
    return text;
}

} // namespace runtime
