// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser's driver, in the part that needs Chromium itself: the page
// asks suite_server.py, which drives it through the DevTools protocol, for
// real key events and for what a screen reader and the font system see, and
// waits for the answer (Asyncify lets the page run meanwhile). Each element's
// id is its control's name.

#include "tests/window_driver.h"

#include "runtime/layout.h"
#include "runtime/web/dom.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

EM_ASYNC_JS(int, driver_ask, (const char *action, const char *argument), {
    var answer = await fetch("/driver/" + UTF8ToString(action),
                             {method : "POST", body : UTF8ToString(argument)});
    return Module.passoHold(await answer.text());
});

// Lets the page run the tasks it has queued, a dialog's close event among them.
EM_ASYNC_JS(void, driver_settle, (),
            { await new Promise(function(done) { setTimeout(done, 0); }); });

EM_JS(void, driver_rect, (const char *id, double *rect), {
    var box = document.getElementById(UTF8ToString(id)).getBoundingClientRect();
    HEAPF64.set([ box.left, box.top, box.width, box.height ], rect >> 3);
});

EM_JS(int, driver_focused_size, (const char *form), {
    var element = document.activeElement;
    var inside = element && element.parentElement && element.parentElement.id == UTF8ToString(form);
    return Module.passoHold(inside ? element.id : "");
});

EM_JS(int, driver_title_size, (), { return Module.passoHold(document.title); });

EM_ASYNC_JS(int, driver_icon_loads, (), {
    var link = document.querySelector("link[rel~=icon]");
    if (!link)
        return 0;
    var icon = new Image();
    icon.src = link.href;
    return await icon.decode().then(
        function() { return icon.naturalWidth > 0; }, function() { return false; });
});

EM_JS(int, driver_fits, (const char *id), {
    var element = document.getElementById(UTF8ToString(id));
    return element.scrollWidth <= element.clientWidth &&
           element.scrollHeight <= element.clientHeight;
});

EM_JS(double, driver_font_pixels, (const char *id),
      { return parseFloat(getComputedStyle(document.getElementById(UTF8ToString(id))).fontSize); });

EM_JS(void, driver_select_all, (const char *id), {
    var element = document.getElementById(UTF8ToString(id));
    if (element.select)
        element.select();
    else
        getSelection().selectAllChildren(element);
});

EM_JS(int, driver_is_present, (const char *id),
      { return document.getElementById(UTF8ToString(id)) != null; });

// The error box open now, if any, as its caption, text, whether it is modal
// to the window's page, whether it stands centred on the window, and its
// number of buttons, each ended by a unit separator.
EM_JS(int, driver_open_box_size, (const char *form), {
    var box = document.querySelector("dialog[open]");
    if (!box)
        return 0;
    var window = document.getElementById(UTF8ToString(form)).getBoundingClientRect();
    var shown = box.getBoundingClientRect();
    var centred = Math.abs(shown.left + shown.width / 2 - window.left - window.width / 2) <= 1 &&
                  Math.abs(shown.top + shown.height / 2 - window.top - window.height / 2) <= 1;
    var fields = [
        box.querySelector(".caption").textContent, box.querySelector(".message").textContent,
        box.matches(":modal") ? 1 : 0, centred ? 1 : 0, box.querySelectorAll("button").length
    ];
    return Module.passoHold(fields.join(String.fromCharCode(31)) + String.fromCharCode(31));
});

namespace driver {
namespace {

std::string ask(const char *action, const std::string &argument = {}) {
    return runtime::dom::heldText(driver_ask(action, argument.c_str()));
}

std::string name(std::string_view control) {
    return std::string(control);
}

// Tells suite_server.py how the suite ended: the page lives on after main
// returns, and no exit reaches it.
class EndOfSuite : public testing::EmptyTestEventListener {
    void OnTestProgramEnd(const testing::UnitTest &suite) override {
        ask("exit", suite.Passed() ? "0" : "1");
    }
};

// GoogleTest owns its listeners.
const bool endOfSuiteTold =
    (testing::UnitTest::GetInstance()->listeners().Append(new EndOfSuite), true);

SeenBox readBox(const std::string &fields) {
    std::vector<std::string> field;
    for (std::size_t at = 0, end; (end = fields.find('\x1f', at)) != std::string::npos;
         at = end + 1)
        field.push_back(fields.substr(at, end - at));
    return {field.at(0), field.at(1), field.at(2) == "1", field.at(3) == "1",
            std::stoi(field.at(4))};
}

} // namespace

void show(runtime::Form &form) {
    form.show();
    ask("show");
}

void type(runtime::Form &form, std::string_view textBox, const std::string &text) {
    focus(form, textBox);
    driver_select_all(name(textBox).c_str());
    ask("type", text);
}

void press(runtime::Form &, Key key) {
    ask("key", key == Key::tab ? "Tab" : key == Key::enter ? "Enter" : "Escape");
    driver_settle();
}

std::string focused(runtime::Form &form) {
    return runtime::dom::heldText(driver_focused_size(std::string(form.table().name).c_str()));
}

void putAnotherWindowInFront(runtime::Form &) {
    ask("another-window");
}

bool isOpen(runtime::Form &form) {
    return driver_is_present(std::string(form.table().name).c_str()) != 0;
}

int layoutDpi(runtime::Form &) {
    return runtime::standardDpi;
}

runtime::PixelRect placement(runtime::Form &form, std::string_view control) {
    double window[4];
    double rect[4];
    driver_rect(std::string(form.table().name).c_str(), window);
    driver_rect(name(control).c_str(), rect);
    return {static_cast<int>(std::lround(rect[0] - window[0])),
            static_cast<int>(std::lround(rect[1] - window[1])),
            static_cast<int>(std::lround(rect[2])), static_cast<int>(std::lround(rect[3]))};
}

runtime::PixelRect clientArea(runtime::Form &form) {
    double window[4];
    driver_rect(std::string(form.table().name).c_str(), window);
    return {0, 0, static_cast<int>(std::lround(window[2])),
            static_cast<int>(std::lround(window[3]))};
}

// Whether the window follows the browser's window when that changes size.
bool isResizable(runtime::Form &form) {
    const runtime::PixelRect before = clientArea(form);
    ask("resize");
    const runtime::PixelRect after = clientArea(form);
    ask("resize-back");
    return after != before;
}

std::string title(runtime::Form &) {
    return runtime::dom::heldText(driver_title_size());
}

bool hasIcon(runtime::Form &) {
    return driver_icon_loads() != 0;
}

bool captionFits(runtime::Form &, std::string_view control) {
    return driver_fits(name(control).c_str()) != 0;
}

bool atTableSize(runtime::Form &form, std::string_view control) {
    const runtime::ControlSpec &row = *runtime::findControl(form.table().controls, control);
    const double tablePixels = runtime::fontOf(form.table(), row).pointSize * 96.0 / 72.0;
    return std::fabs(driver_font_pixels(name(control).c_str()) - tablePixels) < 0.01;
}

std::string fontFamily(runtime::Form &, std::string_view control) {
    return ask("font-family", name(control));
}

std::string accessibleName(runtime::Form &, std::string_view control) {
    return ask("accessible-name", name(control));
}

std::string copyAll(runtime::Form &, std::string_view control) {
    driver_select_all(name(control).c_str());
    return ask("copy");
}

std::vector<SeenBox> pressAndAnswerBoxes(runtime::Form &form, std::string_view button,
                                         bool pressAgain) {
    std::vector<SeenBox> seen;
    const std::string window(form.table().name);
    pressByAutomation(form, button);
    // A box that Enter does not close is seen again, a few times at most.
    for (int size; seen.size() < 4 && (size = driver_open_box_size(window.c_str())) != 0;) {
        seen.push_back(readBox(runtime::dom::heldText(size)));
        if (pressAgain && seen.size() == 1)
            pressByAutomation(form, button);
        ask("key", "Enter");
        driver_settle();
    }
    return seen;
}

} // namespace driver
