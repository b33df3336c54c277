// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every backend does alike with a window's table: place it at a screen
// density, order the focus, find a control, fit a caption.

#include "runtime/form_table.h"

#include <cstddef>
#include <functional>
#include <string>
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

// The row the focus goes to from `row` (which takes the focus) with Tab, or
// with Shift+Tab when not `forward`: round the focus order at its ends.
std::size_t focusNeighbour(std::span<const ControlSpec> controls, std::size_t row, bool forward);

// The keys every window answers alike, as a desktop dialog with neither a
// default nor a cancel button does.
enum class Key { tab, shiftTab, enter, escape, space };
enum class KeyAnswer {
    focusNext,     // the focus goes on round the focus order (focusNeighbour)
    focusPrevious, // ... or back
    nothing,       // the key does nothing at all
    press,         // the focused control is pressed, as by a click
    typed,         // the key is typed into the focused box
};

constexpr KeyAnswer keyAnswer(Key key, ControlKind focused) {
    switch (key) {
    case Key::tab:
        return KeyAnswer::focusNext;
    case Key::shiftTab:
        return KeyAnswer::focusPrevious;
    case Key::enter:
    case Key::escape:
        return KeyAnswer::nothing;
    case Key::space:
        break;
    }
    return focused == ControlKind::commandButton ? KeyAnswer::press : KeyAnswer::typed;
}

// The order in which someone reading the window meets its controls: top to
// bottom by lines, each line left to right, and each box's label right
// before its box. A screen reader names a box after the label just before
// it; the controls are made, and the page lists them, in this order. Its
// focusable controls are the focus order begun at some point and wrapping
// round, so that Tab going round them follows the focus order; a window
// whose table breaks that is refused (see wellFormed).
std::vector<std::size_t> readingOrder(std::span<const ControlSpec> controls);

// The table itself, where it keeps the promises its type makes and its
// reading order keeps the focus order. Tables are checked as they are
// compiled; one that was not is refused as the window is built, rather than
// drawn wrong.
const FormSpec &wellFormed(const FormSpec &table);

// The row named `name`, or null.
const ControlSpec *findControl(std::span<const ControlSpec> controls, std::string_view name);

// The index of the row named `name`, which must be of `kind`: a command that
// names a control the window lacks is a fault of the program, raised as the
// internal error.
std::size_t rowNamed(const FormSpec &form, std::string_view name, ControlKind kind);

// The font a control shows its text in: its row's own, or else the window's.
const FontSpec &fontOf(const FormSpec &form, const ControlSpec &row);

// Labels and buttons show their caption whole in whatever font stands in for
// the one it was sized for, shrinking it where it would be cut.
constexpr bool hasFittedCaption(ControlKind kind) {
    return kind == ControlKind::label || kind == ControlKind::commandButton;
}

// A caption for a toolkit that takes '&' as an access-key marker: the
// window's captions have none, so every '&' is doubled to show as itself.
std::string withLiteralAmpersands(std::string_view caption);

// The name of a picture's twin for dense screens, twice as many pixels each
// way: "logo.png" has "logo@2x.png".
std::string denseTwinName(std::string_view file);

// The label that names a text box (its row's labelledBy), and the box a
// label names; null where there is none.
const ControlSpec *labelFor(std::span<const ControlSpec> controls, const ControlSpec &textBox);
const ControlSpec *boxLabelledBy(std::span<const ControlSpec> controls, const ControlSpec &label);

// The largest point size, from `pointSize` down in quarter points, at which
// `widthAt(size)` fits `available`, so that a long number is shown whole and
// never cut into a different one.
double fittedPointSize(double pointSize, double available,
                       const std::function<double(double pointSize)> &widthAt);

} // namespace runtime
