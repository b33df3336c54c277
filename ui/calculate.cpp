#include "ui/calculate.h"

#include "calc/twist.h"
#include "runtime/core/conversions.h"
#include "ui/form1.h"

namespace ui {

void calculate(runtime::Form &form) {
    // Degrees first: a bad degrees text is reported before the distance is read.
    const float degrees = runtime::textToSingle(form.text(gradi1));
    const float distance = runtime::textToSingle(form.text(centimetri2));
    const float twist = calc::computeTwist(degrees, distance);
    form.setCaption(centimetri1, runtime::singleToText(twist));
}

} // namespace ui
