// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/form.h"

#include "runtime/command_boundary.h"
#include "runtime/layout.h"
#include "runtime/web/native_form.h"

#include <algorithm>
#include <string>

namespace runtime {
namespace {

// A CSS pixel is a pixel at the standard density: the browser scales it to
// the screen and to the page's zoom itself.
PixelRect cssPixels(const TwipRect &twips) {
    return toPixels(twips, standardDpi);
}

// A number for the page's style sheet (form.css), which lays the window out.
std::string number(int value) {
    return std::to_string(value);
}

// A point size as CSS pixels, which the style sheet scales.
std::string pixelsOf(double pointSize) {
    return std::to_string(pointSize * standardDpi / 72.0);
}

std::string quoted(std::string_view family) {
    return "\"" + std::string(family) + "\"";
}

// The row's families, then the browser's own sans-serif where neither is
// installed; the shared caption fitting keeps a caption whole in any of them.
std::string families(const FontSpec &font) {
    return quoted(font.family) + ", " + quoted(font.fallbackFamily) + ", sans-serif";
}

std::string points(double pointSize) {
    return std::to_string(pointSize) + "pt";
}

// The CSS font shorthand: "400 8.000000pt "Liberation Sans", "Arial", sans-serif".
std::string cssFont(const FontSpec &font, double pointSize) {
    return std::to_string(font.weight) + " " + points(pointSize) + " " + families(font);
}

void setFont(const dom::Element &element, const FontSpec &font) {
    element.setStyle("font-family", families(font));
    element.setStyle("--font-size", pixelsOf(font.pointSize));
    element.setStyle("font-weight", std::to_string(font.weight));
}

std::string_view cssColour(SystemColour colour) {
    return colour == SystemColour::window ? "Field" : "FieldText";
}

// The box a label names, for the labels that name one.
const ControlSpec *boxNamedBy(std::span<const ControlSpec> controls, const ControlSpec &label) {
    const auto box = std::find_if(controls.begin(), controls.end(), [&](const ControlSpec &row) {
        return row.kind == ControlKind::textBox && labelFor(controls, row) == &label;
    });
    return box != controls.end() ? &*box : nullptr;
}

// A label that names a box is its <label>, so that the box takes its caption
// as its accessible name; the result the user copies is an <output>, which a
// screen reader reads out when it changes.
std::string_view tagOf(std::span<const ControlSpec> controls, const ControlSpec &row) {
    switch (row.kind) {
    case ControlKind::textBox:
        return "input";
    case ControlKind::commandButton:
        return "button";
    case ControlKind::pictureBox:
        return "img";
    case ControlKind::label:
        break;
    }
    if (boxNamedBy(controls, row) != nullptr)
        return "label";
    return row.selectable ? "output" : "span";
}

// Measurements, typed or pasted: a keypad with a decimal separator on touch
// screens, and neither corrections nor remembered entries.
void makeTextBox(const dom::Element &box, const ControlSpec &row,
                 std::span<const ControlSpec> controls) {
    box.setAttribute("type", "text");
    box.setAttribute("inputmode", "decimal");
    box.setAttribute("autocomplete", "off");
    box.setAttribute("autocapitalize", "off");
    box.setAttribute("spellcheck", "false");
    if (labelFor(controls, row) == nullptr && !row.accessibleName.empty())
        box.setAttribute("aria-label", row.accessibleName);
}

// The picture at the screen's density, drawn from the box's top-left corner
// at its own size and clipped by the box; it says nothing a user needs.
void makePicture(const dom::Element &picture, const ControlSpec &row) {
    const std::string file(row.picture);
    picture.setAttribute("src", file);
    picture.setAttribute("srcset", file + " 1x, " + denseTwinName(file) + " 2x");
    picture.setAttribute("alt", "");
}

void makeControl(const dom::Element &element, const ControlSpec &row,
                 std::span<const ControlSpec> controls) {
    const PixelRect bounds = cssPixels(row.bounds);
    element.setStyle("--left", number(bounds.left));
    element.setStyle("--top", number(bounds.top));
    element.setStyle("--width", number(bounds.width));
    element.setStyle("--height", number(bounds.height));
    if (row.kind == ControlKind::textBox)
        makeTextBox(element, row, controls);
    else if (row.kind == ControlKind::commandButton)
        element.setAttribute("type", "button");
    else if (row.kind == ControlKind::pictureBox)
        makePicture(element, row);
    else if (const ControlSpec *box = boxNamedBy(controls, row))
        element.setAttribute("for", box->name);
    element.setText(row.text);
    if (row.font != nullptr)
        setFont(element, *row.font);
    if (row.background != SystemColour::inherited)
        element.setStyle("background-color", cssColour(row.background));
    if (row.foreground != SystemColour::inherited)
        element.setStyle("color", cssColour(row.foreground));
    if (!row.toolTip.empty())
        element.setAttribute("title", row.toolTip);
    if (!row.accessibleDescription.empty())
        element.setAttribute("aria-description", row.accessibleDescription);
}

// Shows `caption` in the largest size of the row's font, from its own down,
// at which it fits the control, so that a long number is never cut into a
// different one. The size is set only where it changes.
void fitCaption(Form::Native &form, std::size_t row, std::string_view caption) {
    const ControlSpec &control = form.table.controls[row];
    const FontSpec &font = fontOf(form.table, control);
    // A button keeps its padding and border around its caption; labels have
    // none.
    const double inset =
        control.kind == ControlKind::commandButton ? form.controls[row].horizontalInset() : 0.0;
    const double available = cssPixels(control.bounds).width - inset;
    const double size = fittedPointSize(font.pointSize, available, [&](double pointSize) {
        return dom::textWidth(caption, cssFont(font, pointSize));
    });
    if (size != form.captionSizes[row]) {
        form.controls[row].setStyle("--fitted-font-size", pixelsOf(size));
        form.captionSizes[row] = size;
    }
}

// The button's press: dropped while the error box is open, which leaves the
// rest of the page inert to the user but not to a script or an assistive
// technology pressing the button.
dom::Handler pressOf(Form::Native &form, Command command) {
    return [&form, command] {
        if (!form.errorBox.isOpen())
            runCommand(command, form.form);
    };
}

std::string errorBoxId(const FormSpec &table, std::string_view part) {
    return std::string(table.name) + "-error-" + std::string(part);
}

// The window's element as the table describes it.
void describeWindow(const Form::Native &form) {
    const FormSpec &table = form.table;
    form.window.setAttribute("class", "form");
    form.window.setStyle("--width", number(twipsToPixels(table.clientWidth, standardDpi)));
    form.window.setStyle("--height", number(twipsToPixels(table.clientHeight, standardDpi)));
    form.window.setStyle("--margin", number(twipsToPixels(windowMargin(table), standardDpi)));
    setFont(form.window, table.font);
}

// The controls in the window, in document order, each described by its row
// unless the page's HTML already holds it; the buttons answer clicks.
void takeControls(Form::Native &form) {
    const FormSpec &table = form.table;
    form.controls.resize(table.controls.size());
    for (const std::size_t row : readingOrder(table.controls)) {
        const ControlSpec &control = table.controls[row];
        form.controls[row] = dom::Element(tagOf(table.controls, control), std::string(control.name),
                                          form.window.id());
        if (!form.inThePage)
            makeControl(form.controls[row], control, table.controls);
        if (control.onClick != nullptr) {
            form.clicks[row] = pressOf(form, control.onClick);
            form.controls[row].listen("click", form.clicks[row]);
        }
    }
}

// The table's captions, laid out once in their own fonts; only one that
// would be cut is measured and fitted.
void fitTableCaptions(Form::Native &form) {
    for (std::size_t row = 0; row < form.table.controls.size(); ++row)
        if (hasFittedCaption(form.table.controls[row].kind) && form.controls[row].overflows())
            fitCaption(form, row, form.table.controls[row].text);
}

// Tab goes round the window, and Enter presses no button, as in a desktop
// dialog.
void keyboardAsInADialog(Form::Native &form) {
    const std::vector<std::size_t> order = focusOrder(form.table.controls);
    if (order.empty())
        return;
    const dom::Element &first = form.controls[order.front()];
    const dom::Element &last = form.controls[order.back()];
    form.tabToFirst = [&first] { first.focus(); };
    form.tabToLast = [&last] { last.focus(); };
    last.takeKey("Tab", false, form.tabToFirst);
    first.takeKey("Tab", true, form.tabToLast);
    for (const std::size_t row : order)
        if (form.table.controls[row].kind == ControlKind::commandButton)
            form.controls[row].takeKey("Enter", false, form.ignore);
}

// Nothing of the box is read before it opens: its text is the error's.
void describeErrorBox(const Form::Native &form) {
    form.errorBox.setAttribute("class", "error-box");
    setFont(form.errorBox, form.table.font);
    form.errorBox.setAttribute("role", "alertdialog");
    form.errorBox.setAttribute("aria-labelledby", form.errorCaption.id());
    form.errorBox.setAttribute("aria-describedby", form.errorText.id());
    form.errorCaption.setAttribute("class", "caption");
    form.errorCaption.setText(form.table.caption);
    form.errorText.setAttribute("class", "message");
    // A button of a dialog form closes the box without a script, by Enter
    // or Space as well as by a click; Esc closes it too.
    form.errorButtons.setAttribute("method", "dialog");
    form.errorOk.setAttribute("autofocus", "");
    form.errorOk.setText("OK");
}

} // namespace

Form::Native::Native(const FormSpec &formTable, Form &owner)
    : table(formTable), form(owner), clicks(formTable.controls.size()),
      boxClosed([this] { dom::focusById(focusBeforeBox); }),
      inThePage(dom::hasElement(formTable.name)), window("main", std::string(formTable.name)),
      captionSizes(formTable.controls.size(), 0.0),
      errorBox("dialog", errorBoxId(formTable, "box")),
      errorCaption("p", errorBoxId(formTable, "caption"), errorBox.id()),
      errorText("p", errorBoxId(formTable, "text"), errorBox.id()),
      errorButtons("form", errorBoxId(formTable, "buttons"), errorBox.id()),
      errorOk("button", errorBoxId(formTable, "ok"), errorButtons.id()) {
    if (!inThePage) {
        describeWindow(*this);
        describeErrorBox(*this);
    }
    takeControls(*this);
    fitTableCaptions(*this);
    keyboardAsInADialog(*this);
    errorBox.listen("close", boxClosed);
}

void Form::Native::answerEarlyPress() {
    const std::string pressed = dom::takeEarlyPress();
    for (std::size_t row = 0; row < table.controls.size(); ++row)
        if (clicks[row] && controls[row].id() == pressed)
            clicks[row]();
}

void Form::Native::showErrorBox(std::string_view text) {
    errorText.setText(text);
    focusBeforeBox = dom::focusedId();
    errorBox.showModal();
    errorOk.focus();
}

Form::Form(const FormSpec &table)
    : m_table(wellFormed(table)), m_native(std::make_unique<Native>(table, *this)) {}

Form::~Form() = default;

std::string Form::text(std::string_view textBox) const {
    return m_native->controls[rowNamed(m_table, textBox, ControlKind::textBox)].value();
}

void Form::setCaption(std::string_view label, std::string_view caption) {
    const std::size_t row = rowNamed(m_table, label, ControlKind::label);
    m_native->controls[row].setText(caption);
    fitCaption(*m_native, row, caption);
}

// The page centres the window; the focus goes to tab index 0, unless the
// user, who sees the window before the program has loaded, is already at
// work in it.
void Form::show() {
    dom::setTitle(m_table.caption);
    if (const std::vector<std::size_t> order = focusOrder(m_table.controls);
        !order.empty() && dom::focusedId().empty())
        m_native->controls[order.front()].focus();
}

Form::Native &Form::native() const {
    return *m_native;
}

} // namespace runtime
