#pragma once

#include "runtime/form.h"

namespace ui {

// The click of "CALCOLA": reads the degrees, then the distance, computes the
// twist and shows it in the result label. Any run-time error stops it before
// the label is written, so the label keeps its previous text.
void calculate(runtime::Form &form);

} // namespace ui
