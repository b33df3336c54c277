// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/layout.h"
#include "runtime/web/native_form.h"

#include <algorithm>
#include <optional>
#include <string>

namespace runtime {
namespace {

// The window's margin, in twips: the least distance between a control and
// an edge of the client area. The page keeps that much room around the
// window too.
int windowMargin(const FormSpec &form) {
    int margin = std::min(form.clientWidth, form.clientHeight);
    for (const ControlSpec &row : form.controls) {
        const TwipRect &r = row.bounds;
        margin = std::min({margin, r.left, r.top, form.clientWidth - r.left - r.width,
                           form.clientHeight - r.top - r.height});
    }
    return margin;
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
    if (boxLabelledBy(controls, row) != nullptr)
        return "label";
    return row.selectable ? "output" : "span";
}

// The box a box's Enter moves on to on a touch screen: the next control in
// the focus order, where that is a box. Past the last box there is none:
// Enter closes the keypad, and the user presses the button themselves.
std::optional<std::size_t> nextBox(std::span<const ControlSpec> controls, std::size_t box) {
    const std::size_t next = focusNeighbour(controls, box, true);
    if (controls[next].kind != ControlKind::textBox)
        return std::nullopt;
    return next;
}

// Measurements, typed or pasted: a keypad with a decimal separator on touch
// screens, its action key named for what Enter does there, and neither
// corrections nor remembered entries (the tab keeps its own, see
// recallWhatTheTabShowed).
void makeTextBox(const dom::Element &box, std::span<const ControlSpec> controls,
                 std::size_t index) {
    box.setAttribute("type", "text");
    box.setAttribute("inputmode", "decimal");
    box.setAttribute("enterkeyhint", nextBox(controls, index) ? "next" : "done");
    box.setAttribute("autocomplete", "off");
    box.setAttribute("autocapitalize", "off");
    box.setAttribute("spellcheck", "false");
}

// The picture at the screen's density, drawn from the box's top-left corner
// at its own size and clipped by the box; it says nothing a user needs. It is
// the largest thing the page paints, so the browser fetches it first.
void makePicture(const dom::Element &picture, const ControlSpec &row) {
    const std::string file(row.picture);
    picture.setAttribute("src", file);
    picture.setAttribute("srcset", file + " 1x, " + denseTwinName(file) + " 2x");
    picture.setAttribute("alt", "");
    picture.setAttribute("fetchpriority", "high");
}

void makeControl(const dom::Element &element, std::span<const ControlSpec> controls,
                 std::size_t index) {
    const ControlSpec &row = controls[index];
    // A CSS pixel is a pixel at the standard density: the browser scales it
    // to the screen and to the page's zoom itself.
    const PixelRect bounds = toPixels(row.bounds, standardDpi);
    element.setStyle("--left", number(bounds.left));
    element.setStyle("--top", number(bounds.top));
    element.setStyle("--width", number(bounds.width));
    element.setStyle("--height", number(bounds.height));
    if (row.kind == ControlKind::textBox)
        makeTextBox(element, controls, index);
    else if (row.kind == ControlKind::commandButton)
        element.setAttribute("type", "button");
    else if (row.kind == ControlKind::pictureBox)
        makePicture(element, row);
    else if (const ControlSpec *box = boxLabelledBy(controls, row))
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
    form.captionSizes.resize(table.controls.size());
    form.captionWritten.resize(table.controls.size());
    for (const std::size_t row : readingOrder(table.controls)) {
        const ControlSpec &control = table.controls[row];
        form.controls[row] = dom::Element(tagOf(table.controls, control), std::string(control.name),
                                          form.window.id());
        if (!form.inThePage)
            makeControl(form.controls[row], table.controls, row);
        form.captionSizes[row] = fontOf(table, control).pointSize;
        if (control.kind == ControlKind::commandButton) {
            form.clicks[row] = [&form, row] { form.pressed(row); };
            form.controls[row].listen("click", form.clicks[row]);
        }
    }
}

// The keys the browser answers otherwise than the window (keyAnswer): Tab
// past either end of the page's order, which is the reading order, goes
// round the focus order, and Enter on a button, which the browser takes as
// a click, does nothing. A box's Enter is typingInTheBoxes'.
void keyboardAsInADialog(Form::Native &form) {
    const std::span<const ControlSpec> controls = form.table.controls;
    std::vector<std::size_t> order;
    for (const std::size_t row : readingOrder(controls))
        if (takesFocus(controls[row].kind))
            order.push_back(row);
    if (order.empty())
        return;
    const dom::Element &afterLast = form.controls[focusNeighbour(controls, order.back(), true)];
    const dom::Element &beforeFirst = form.controls[focusNeighbour(controls, order.front(), false)];
    form.tabToFirst = [&afterLast] { afterLast.focus(); };
    form.tabToLast = [&beforeFirst] { beforeFirst.focus(); };
    form.controls[order.back()].takeKey("Tab", false, form.tabToFirst);
    form.controls[order.front()].takeKey("Tab", true, form.tabToLast);
    for (const std::size_t row : order)
        if (controls[row].kind == ControlKind::commandButton &&
            keyAnswer(Key::enter, controls[row].kind) == KeyAnswer::nothing)
            form.controls[row].takeKey("Enter", false, form.ignore);
}

// What a box does beyond the browser's own: it stays in view above a touch
// screen's keypad with the button and the result, and Enter there moves on
// to the next box or closes the keypad. With a physical keyboard Enter does
// nothing, as on the desktop (keyAnswer).
void typingInTheBoxes(Form::Native &form) {
    const std::span<const ControlSpec> controls = form.table.controls;
    form.boxes.resize(controls.size());
    for (std::size_t row = 0; row < controls.size(); ++row) {
        if (controls[row].kind != ControlKind::textBox)
            continue;
        const dom::Element &box = form.controls[row];
        Form::Native::BoxHandlers &handlers = form.boxes[row];
        handlers.focused = [&form, row] { form.keepInView(row); };
        handlers.enter = [&form, next = nextBox(controls, row)] {
            if (!dom::touchScreen())
                return;
            if (next)
                form.controls[*next].focus();
            else
                dom::blurFocus();
        };
        box.listen("focus", handlers.focused);
        box.takeKey("Enter", false, handlers.enter);
    }
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

Form::Native::Native(const FormSpec &form, const PressReport &pressedRow)
    : table(form), pressed(pressedRow), clicks(table.controls.size()), boxClosed([this] {
          boxOpen = false;
          dom::focusById(focusBeforeBox);
      }),
      viewResized([this] { viewChanged(); }), pageHidden([this] { rememberWhatThePageShows(); }),
      viewListener(dom::PageEvent::viewResized, viewResized),
      hiddenListener(dom::PageEvent::hidden, pageHidden), inThePage(dom::hasElement(table.name)),
      window("main", std::string(table.name)), errorBox("dialog", errorBoxId(table, "box")),
      errorCaption("p", errorBoxId(table, "caption"), errorBox.id()),
      errorText("p", errorBoxId(table, "text"), errorBox.id()),
      errorButtons("form", errorBoxId(table, "buttons"), errorBox.id()),
      errorOk("button", errorBoxId(table, "ok"), errorButtons.id()) {
    if (!inThePage) {
        describeWindow(*this);
        describeErrorBox(*this);
    }
    takeControls(*this);
    keyboardAsInADialog(*this);
    typingInTheBoxes(*this);
    errorBox.listen("close", boxClosed);
    holdPageHeight();
}

// Whatever the keypad covers, the box being typed in stays in view, and so
// do the buttons and the result below it as far as they fit: each is
// brought into view in reading order, the box last, so that where they do
// not all fit the box wins. The page moves only when the box takes the
// focus or the keypad comes or goes, never while the user types.
void Form::Native::keepInView(std::size_t box) const {
    if (!dom::touchScreen())
        return;
    for (const std::size_t row : readingOrder(table.controls))
        if (table.controls[row].onClick != nullptr || table.controls[row].selectable)
            controls[row].scrollIntoView();
    controls[box].scrollIntoView();
}

// A change of the page's width is the screen turning, and the page takes the
// new height; a change of its height alone is a keypad's, and the page and
// the window keep the height they had (form.css, page.css).
void Form::Native::holdPageHeight() {
    if (!dom::touchScreen())
        return;
    const dom::PageSize page = dom::pageSize();
    if (page.width == heldPageWidth)
        return;
    heldPageWidth = page.width;
    dom::setPageStyle("--page-height", std::to_string(page.height) + "px");
}

void Form::Native::viewChanged() {
    holdPageHeight();
    const std::string focused = dom::focusedId();
    for (std::size_t row = 0; row < table.controls.size(); ++row)
        if (table.controls[row].kind == ControlKind::textBox && controls[row].id() == focused)
            keepInView(row);
}

// Kept for the tab as the page is hidden, the one moment before a phone may
// drop it, rather than at every keystroke and press: the boxes' texts and
// the captions the command wrote.
void Form::Native::rememberWhatThePageShows() const {
    for (std::size_t row = 0; row < table.controls.size(); ++row)
        if (table.controls[row].kind == ControlKind::textBox)
            controls[row].rememberValue();
        else if (captionWritten[row])
            controls[row].rememberText();
}

// The page a phone dropped, or one reloaded, shows again what it showed: the
// boxes' texts, unless the user has typed before the program was there, and
// the captions the command wrote. Nothing is recalled in a new tab.
void Form::Native::recallWhatTheTabShowed() {
    for (std::size_t row = 0; row < table.controls.size(); ++row) {
        const ControlSpec &control = table.controls[row];
        if (control.kind != ControlKind::textBox && control.kind != ControlKind::label)
            continue;
        const std::string text = dom::recalled(controls[row].id());
        if (text.empty())
            continue;
        if (control.kind == ControlKind::textBox && controls[row].value().empty())
            controls[row].setValue(text);
        else if (control.kind == ControlKind::label) {
            setCaption(row, text);
            fitCaption(table, *this, row, text);
        }
    }
}

void Form::Native::answerEarlyPress() {
    const std::string early = dom::takeEarlyPress();
    for (std::size_t row = 0; row < table.controls.size(); ++row)
        if (clicks[row] && controls[row].id() == early)
            pressed(row);
}

void Form::Native::showErrorBox(std::string_view text) {
    errorText.setText(text);
    focusBeforeBox = dom::focusedId();
    errorBox.showModal();
    boxOpen = true;
    errorOk.focus();
}

std::string Form::Native::text(std::size_t row) const {
    return controls[row].value();
}

void Form::Native::setCaption(std::size_t row, std::string_view caption) {
    controls[row].setText(caption);
    captionWritten[row] = true;
}

// A button keeps its padding and border around its caption; labels have
// none.
double Form::Native::captionRoom(std::size_t row) const {
    const ControlSpec &control = table.controls[row];
    const double inset =
        control.kind == ControlKind::commandButton ? controls[row].horizontalInset() : 0.0;
    return toPixels(control.bounds, standardDpi).width - inset;
}

// A caption is measured in the font it was last measured in, most often: its
// shorthand is spelt once.
double Form::Native::captionWidth(std::size_t row, std::string_view caption,
                                  double pointSize) const {
    const FontSpec &font = fontOf(table, table.controls[row]);
    if (&font != measuringFont.font || pointSize != measuringFont.pointSize)
        measuringFont = {&font, pointSize, cssFont(font, pointSize)};
    return dom::textWidth(caption, measuringFont.shorthand);
}

// The size is set only where it changes: each setting makes the browser lay
// the page out again.
void Form::Native::setCaptionSize(std::size_t row, double pointSize) {
    if (pointSize == captionSizes[row])
        return;
    controls[row].setStyle("--fitted-font-size", pixelsOf(pointSize));
    captionSizes[row] = pointSize;
}

// The user sees the window before the program has loaded, and may already be
// at work in it: the focus stays where they put it. A page taller than the
// screen, as a phone's held sideways, opens at its top.
void Form::Native::focus(std::size_t row) {
    if (dom::focusedId().empty())
        controls[row].focusInPlace();
}

// The page centres the window itself.
void Form::Native::show() {
    dom::setTitle(table.caption);
}

bool Form::Native::hasOpenErrorBox() const {
    return boxOpen;
}

NativeFormPointer buildNativeForm(const FormSpec &table, const PressReport &pressed) {
    return std::make_unique<Form::Native>(table, pressed);
}

} // namespace runtime
