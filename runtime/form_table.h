// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

namespace runtime {

class Form;

// A command bound to a control's click. It runs behind the command boundary,
// so a run-time error it raises is reported and the program goes on.
using Command = void (*)(Form &form);

enum class ControlKind { pictureBox, textBox, commandButton, label };

// The desktop's own colours, so that a control follows light and dark themes.
enum class SystemColour {
    inherited,
    window,     // the background of text-entry fields
    windowText, // the text in text-entry fields
};

// A rectangle in twips (1/1440 inch): 15 twips make a pixel at 96 dpi.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct FontSpec {
    std::string_view family;
    // Used where `family` is not installed.
    std::string_view fallbackFamily;
    double pointSize;
    int weight = 400;
};

// Everything about one control, in one row of its window's table.
struct ControlSpec {
    ControlKind kind;
    std::string_view name;
    // The caption of a label or button; a text box starts empty.
    std::string_view text;
    TwipRect bounds;
    int tabIndex;
    // A picture box's image, by the name of its file among the program's
    // pictures; an "@2x" twin beside it, if present, serves dense screens.
    std::string_view picture = {};
    // Null: the window's font.
    const FontSpec *font = nullptr;
    SystemColour background = SystemColour::inherited;
    SystemColour foreground = SystemColour::inherited;
    std::string_view toolTip = {};
    // A text box's label, by name: its caption names the box for assistive
    // technology, and it comes right before the box in reading order.
    std::string_view labelledBy = {};
    std::string_view accessibleDescription = {};
    // A label whose text the user can select and copy.
    bool selectable = false;
    Command onClick = nullptr;
};

struct FormSpec {
    std::string_view name;
    std::string_view caption;
    int clientWidth; // twips; the window is not resizable
    int clientHeight;
    FontSpec font;
    // The window icon at its several sizes, as the program's picture files.
    std::span<const std::string_view> iconFiles;
    // Creation order; every control lies inside the client area, and no two
    // overlap.
    std::span<const ControlSpec> controls;
};

// Checks a table can be held to when it is compiled, so that a slip in a row
// never reaches a window.
namespace table_checks {

constexpr bool namesAreUnique(std::span<const ControlSpec> controls) {
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i].name == controls[j].name)
                return false;
    return true;
}

constexpr bool tabIndexesAreDistinct(std::span<const ControlSpec> controls) {
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i].tabIndex == controls[j].tabIndex)
                return false;
    return true;
}

constexpr bool onlyButtonsAreClicked(std::span<const ControlSpec> controls) {
    // The kind is tested first: GCC's UndefinedBehaviorSanitizer does not take
    // a function's address compared with null as a constant, and only the
    // rows that must have no handler get that far.
    for (const ControlSpec &row : controls)
        if (row.kind != ControlKind::commandButton && row.onClick != nullptr)
            return false;
    return true;
}

constexpr bool boxesAreLabelledByLabels(std::span<const ControlSpec> controls) {
    for (const ControlSpec &box : controls) {
        if (box.labelledBy.empty())
            continue;
        bool found = false;
        for (const ControlSpec &label : controls)
            found = found || (label.name == box.labelledBy && label.kind == ControlKind::label);
        if (box.kind != ControlKind::textBox || !found)
            return false;
    }
    return true;
}

constexpr bool textBoxesHaveNoCaption(std::span<const ControlSpec> controls) {
    for (const ControlSpec &row : controls)
        if (row.kind == ControlKind::textBox && !row.text.empty())
            return false;
    return true;
}

// Converting twips to pixels rounds halves up, which keeps apart in pixels
// what is apart in twips only where no coordinate is negative.
constexpr bool liesInside(const TwipRect &r, int width, int height) {
    return r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0 && r.left + r.width <= width &&
           r.top + r.height <= height;
}

constexpr bool everyControlLiesInside(const FormSpec &form) {
    for (const ControlSpec &row : form.controls)
        if (!liesInside(row.bounds, form.clientWidth, form.clientHeight))
            return false;
    return true;
}

constexpr bool overlap(const TwipRect &a, const TwipRect &b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

constexpr bool noTwoControlsOverlap(std::span<const ControlSpec> controls) {
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            if (overlap(controls[i].bounds, controls[j].bounds))
                return false;
    return true;
}

} // namespace table_checks

constexpr bool isWellFormed(const FormSpec &form) {
    using namespace table_checks;
    return namesAreUnique(form.controls) && tabIndexesAreDistinct(form.controls) &&
           onlyButtonsAreClicked(form.controls) && textBoxesHaveNoCaption(form.controls) &&
           boxesAreLabelledByLabels(form.controls) && everyControlLiesInside(form) &&
           noTwoControlsOverlap(form.controls);
}

} // namespace runtime
