// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser's driver, in the part that works in any page: Chromium's, and
// jsdom's under Node, where the command suite runs. What needs the browser
// itself (real keys, the accessibility tree, the fonts drawn) is in
// chromium_driver.cpp. A paste is the box's value and an input event; a
// click, as an automation tool's, is the element's own click.

#include "tests/window_driver.h"

#include "runtime/layout.h"
#include "runtime/web/native_form.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <malloc.h>

#include <stdexcept>
#include <string>

// A paste: the box's new value, then the input event that tells the page.
EM_JS(void, driver_set_value_utf8, (const char *id, int idLength, const char *text, int length), {
    var box = document.getElementById(UTF8ToString(id, idLength));
    box.value = new TextDecoder().decode(HEAPU8.subarray(text, text + length));
    box.dispatchEvent(new Event("input", {bubbles : true}));
});

EM_JS(void, driver_set_value_utf16, (const char *id, int idLength, const char16_t *text, int units),
      {
          var box = document.getElementById(UTF8ToString(id, idLength));
          box.value =
              String.fromCharCode.apply(null, HEAPU16.subarray(text >> 1, (text >> 1) + units));
          box.dispatchEvent(new Event("input", {bubbles : true}));
      });

EM_JS(void, driver_click, (const char *id, int idLength),
      { document.getElementById(UTF8ToString(id, idLength)).click(); });

// What an element shows: a box's value, or else its text.
EM_JS(int, driver_shown_size, (const char *id, int idLength), {
    var element = document.getElementById(UTF8ToString(id, idLength));
    return Module.passoHold("value" in element ? element.value : element.textContent);
});

EM_JS(void, driver_focus, (const char *id, int idLength),
      { document.getElementById(UTF8ToString(id, idLength)).focus(); });

EM_JS(int, driver_element_count, (), { return document.getElementsByTagName("*").length; });

namespace driver {
namespace {

int byteCount(std::string_view text) {
    return static_cast<int>(text.size());
}

const std::string &idOf(runtime::Form &form, std::string_view name) {
    const runtime::ControlSpec *row = runtime::findControl(form.table().controls, name);
    if (row == nullptr)
        throw std::logic_error("no control " + std::string(name));
    return form.native()
        .controls[static_cast<std::size_t>(row - form.table().controls.data())]
        .id();
}

} // namespace

void setText(runtime::Form &form, std::string_view textBox, const std::string &text) {
    const std::string &id = idOf(form, textBox);
    driver_set_value_utf8(id.data(), byteCount(id), text.data(), byteCount(text));
}

void setTextUtf16(runtime::Form &form, std::string_view textBox, const std::u16string &text) {
    const std::string &id = idOf(form, textBox);
    driver_set_value_utf16(id.data(), byteCount(id), text.data(), static_cast<int>(text.size()));
}

std::string text(runtime::Form &form, std::string_view control) {
    const std::string &id = idOf(form, control);
    return runtime::dom::heldText(driver_shown_size(id.data(), byteCount(id)));
}

std::string held(const std::string &typed) {
    std::string kept = typed;
    std::erase_if(kept, [](char c) { return c == '\n' || c == '\r'; });
    return kept;
}

void click(runtime::Form &form, std::string_view button) {
    const std::string &id = idOf(form, button);
    driver_click(id.data(), byteCount(id));
}

void pressByAutomation(runtime::Form &form, std::string_view button) {
    click(form, button);
}

void focus(runtime::Form &form, std::string_view control) {
    const std::string &id = idOf(form, control);
    driver_focus(id.data(), byteCount(id));
}

// The program's heap in use, and the page's elements, a kilobyte each.
long resourceUse() {
    return static_cast<long>(mallinfo().uordblks) + 1024L * driver_element_count();
}

// Less than one byte a click.
long resourceSlack() {
    return 1024;
}

} // namespace driver
