// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The page's elements behind a Form, for the start-up and for the tests that
// drive them.

#include "runtime/form.h"
#include "runtime/web/dom.h"

#include <string>
#include <vector>

namespace runtime {

struct Form::Native : NativeForm {
    Native(const FormSpec &table, const PressReport &pressed);

    std::string text(std::size_t row) const override;
    void setCaption(std::size_t row, std::string_view caption) override;
    double captionRoom(std::size_t row) const override;
    double captionWidth(std::size_t row, std::string_view caption, double pointSize) const override;
    void setCaptionSize(std::size_t row, double pointSize) override;
    void focus(std::size_t row) override;
    void show() override;
    // The page's box does not block: its command has long returned while it
    // is open.
    bool hasOpenErrorBox() const override;

    // Answers the last press of one of the window's buttons made before the
    // program listened, once.
    void answerEarlyPress();

    // Shows again what the page showed before the tab reloaded it or the
    // browser dropped it.
    void recallWhatTheTabShowed();
    // Brings the box being typed in into view, with what the user needs
    // next, above a touch screen's keypad.
    void keepInView(std::size_t box) const;
    // The height the window is scaled to on a touch screen, held while the
    // page's width stays.
    void holdPageHeight();
    void viewChanged();
    void rememberWhatThePageShows() const;

    // Shows the error box's text modal to the page, the focus on its OK
    // button; closing it gives the focus back where it was.
    void showErrorBox(std::string_view text);

    const FormSpec &table;
    const PressReport &pressed;
    // What the page's events run, by table row for the controls; they must
    // outlive the elements that call them, so they come first.
    std::vector<dom::Handler> clicks;
    dom::Handler boxClosed;
    // By table row, for the text boxes: the focus, and Enter.
    struct BoxHandlers {
        dom::Handler focused;
        dom::Handler enter;
    };
    std::vector<BoxHandlers> boxes;
    dom::Handler viewResized;
    dom::Handler pageHidden;
    dom::PageListener viewListener;
    dom::PageListener hiddenListener;
    // The page's width when the page's height was last taken.
    double heldPageWidth = -1.0;
    // Tab goes round the window as in a desktop dialog: from the last control
    // to the first, and back with Shift.
    dom::Handler tabToFirst;
    dom::Handler tabToLast;
    // Enter on the button presses nothing, as on the desktop.
    dom::Handler ignore = [] {};
    // Where the focus goes back to when the error box closes, and whether it
    // is open, known without asking the page at every press.
    std::string focusBeforeBox;
    bool boxOpen = false;
    // The font a caption was last measured in, and its CSS shorthand.
    struct MeasuringFont {
        const FontSpec *font = nullptr;
        double pointSize = 0.0;
        std::string shorthand;
    };
    mutable MeasuringFont measuringFont;
    // Whether the page's HTML holds the window as the program would build
    // it, for the program to take over rather than build again.
    bool inThePage;
    // The window: one element holding the controls, by table row.
    dom::Element window;
    std::vector<dom::Element> controls;
    // By table row: the point size a caption is shown at, and whether the
    // program wrote it.
    std::vector<double> captionSizes;
    std::vector<bool> captionWritten;
    // The error box, a <dialog> of the page, with its caption, text and
    // button.
    dom::Element errorBox;
    dom::Element errorCaption;
    dom::Element errorText;
    dom::Element errorButtons;
    dom::Element errorOk;
};

} // namespace runtime
