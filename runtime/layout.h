// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every backend does alike with a window's table: place it at a screen
// density, order the focus, find a control, fit a caption.

#include "runtime/form_table.h"

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace runtime {

// Dots per inch at which one twip-defined layout is drawn one-to-one.
inline constexpr int standardDpi = 96;

// Pixels for a length in twips at `dpi` dots per inch, to the nearest pixel
// (halves up): 15 twips make a pixel at 96 dpi, 10 at 144.
constexpr int twipsToPixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

struct PixelRect {
    int left;
    int top;
    int width;
    int height;

    friend bool operator==(const PixelRect &, const PixelRect &) = default;
};

// The edges are converted, not the sizes, so that controls which do not
// overlap in twips do not overlap in pixels either.
constexpr PixelRect toPixels(const TwipRect &twips, int dpi) {
    const int left = twipsToPixels(twips.left, dpi);
    const int top = twipsToPixels(twips.top, dpi);
    return {left, top, twipsToPixels(twips.left + twips.width, dpi) - left,
            twipsToPixels(twips.top + twips.height, dpi) - top};
}

// Text boxes and buttons take the focus; labels and pictures never do.
constexpr bool takesFocus(ControlKind kind) {
    return kind == ControlKind::textBox || kind == ControlKind::commandButton;
}

// The rows that take the focus, by tab index: the first gets it at start,
// Tab goes from each to the next.
std::vector<std::size_t> focusOrder(std::span<const ControlSpec> controls);

// The row named `name`, or null.
const ControlSpec *findControl(std::span<const ControlSpec> controls, std::string_view name);

// The label that names a text box for assistive technology: the one whose
// caption is the box's accessible name. Null where there is none.
const ControlSpec *labelFor(std::span<const ControlSpec> controls, const ControlSpec &textBox);

// The largest point size, from `pointSize` down in quarter points, at which
// `widthAt(size)` fits `available`, so that a long number is shown whole and
// never cut into a different one.
double fittedPointSize(double pointSize, double available,
                       const std::function<double(double pointSize)> &widthAt);

} // namespace runtime
