// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/form.h"

namespace ui {

// The click of "CALCOLA": reads the degrees, then the distance, computes the
// twist and shows it in the result label. Any run-time error stops it before
// the label is written, so the label keeps its previous text; an error the
// user can mend carries advice naming the field at fault and what it expects.
void calculate(runtime::Form &form);

} // namespace ui
