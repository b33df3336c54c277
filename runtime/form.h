// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/form_table.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace runtime {

// What a backend builds from a window's table: the platform's window, with
// one control for each row, made in reading order. Controls are known by
// their table row. Everything that is not the platform's own business (the
// table's checks, when captions are fitted, the first focus, what a press
// runs and the commands' boundary) the Form around it decides, once for
// every backend.
//
// A backend reports each press of a button, a click or Space on the focused
// button, to the PressReport it is built with, and nothing else: the form
// runs the command.
//
// The keyboard answers as keyAnswer (layout.h) says: Tab and Shift+Tab go
// round the focus order, Enter and Esc do nothing, Space presses the focused
// button. Each backend keeps its toolkit's own handling where it already
// does that, and acts on a key itself only where the toolkit would not:
// - Qt follows the focus order set from focusOrder, wrapping itself; its
//   buttons are made no default buttons, so that Enter presses none.
// - Win32's dialog keyboard (IsDialogMessage) follows the controls'
//   creation order, the reading order, whose focusable controls are the
//   focus order turned round (wellFormed checks it); the event loop drops
//   Enter and Esc, which it would turn into the dialog's OK and Cancel.
// - The page's own Tab follows its elements' order, the reading order
//   too; the page takes Tab past either end to go round (focusNeighbour)
//   and Enter on a button, which the browser would take as a click. On a
//   touch screen, a box's Enter is the keypad's action key, which moves on
//   to the next box or closes the keypad.
class NativeForm {
public:
    NativeForm() = default;
    virtual ~NativeForm() = default;
    NativeForm(const NativeForm &) = delete;
    NativeForm &operator=(const NativeForm &) = delete;

    // A text box's text, as UTF-8.
    virtual std::string text(std::size_t row) const = 0;
    // Shows `caption` in a label, literally (never as markup).
    virtual void setCaption(std::size_t row, std::string_view caption) = 0;
    // The width a control leaves its caption, and the width of `caption` in
    // the control's font at `pointSize`, in the same unit.
    virtual double captionRoom(std::size_t row) const = 0;
    virtual double captionWidth(std::size_t row, std::string_view caption,
                                double pointSize) const = 0;
    // Draws the control's caption in its font at `pointSize`.
    virtual void setCaptionSize(std::size_t row, double pointSize) = 0;
    virtual void focus(std::size_t row) = 0;
    // Shows the window in the middle of its screen.
    virtual void show() = 0;
    // Whether an error box that leaves its command running on is still open.
    // A box that blocks until it is answered is over when its command ends.
    virtual bool hasOpenErrorBox() const { return false; }
};

using NativeFormPointer = std::unique_ptr<NativeForm>;

// What a backend tells its form: the user pressed the control in `row` (a
// click, or Space on the focused button). The form decides what a press
// runs, and runs it through the command boundary.
using PressReport = std::function<void(std::size_t row)>;

// The backend's part: builds the native window for `table`, reporting every
// press of a button to `pressed`.
NativeFormPointer buildNativeForm(const FormSpec &table, const PressReport &pressed);

// A window built from its table, which must outlive it: a temporary table is
// refused, and so is a table that breaks its type's promises. Commands reach
// its controls by name.
class Form {
public:
    // The backend's native form; its header says what it holds.
    struct Native;

    explicit Form(const FormSpec &table);
    Form(const FormSpec &&table) = delete;
    ~Form();
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    // The text of a text box, as UTF-8.
    std::string text(std::string_view textBox) const;
    // Replaces a label's caption, shown literally (never as markup). A caption
    // too wide for the label is shown whole in a smaller size of its font.
    void setCaption(std::string_view label, std::string_view caption);

    // Shows the window centred on the screen.
    void show();

    const FormSpec &table() const { return m_table; }
    // The backend's own window and controls, where its header is included.
    template <typename Backend = Native> Backend &native() const {
        return static_cast<Backend &>(*m_native);
    }

private:
    friend void runCommand(Command command, Form &form) noexcept;

    // Runs the command of the control pressed, if it has one.
    void press(std::size_t row);

    const FormSpec &m_table;
    // While a command runs, its error box included, the window takes no other.
    bool m_commandRunning = false;
    const PressReport m_pressed = [this](std::size_t row) { press(row); };
    NativeFormPointer m_native;
};

// Shows a label's or a button's caption whole, in the largest size of its
// font, from the table's own down by quarter points, at which it fits the
// control, so that a long number is never cut into a different one. Every
// backend fits captions by this one rule: as the window is built, at each
// new caption, and when it lays the window out again.
void fitCaption(const FormSpec &table, NativeForm &native, std::size_t row,
                std::string_view caption);

} // namespace runtime
