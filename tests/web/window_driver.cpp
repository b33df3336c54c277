// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/window_driver.h"

#include "runtime/layout.h"
#include "runtime/web/native_form.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <malloc.h>

#include <stdexcept>
#include <string>

// What a user does to the page, done through the page as a browser would:
// a text typed or pasted is the box's value and an input event, a click is
// the element's own click.
EM_JS(void, driver_set_value, (const char *id, int idLength, const char *text, int textLength), {
    var box = document.getElementById(UTF8ToString(id, idLength));
    box.value = UTF8ToString(text, textLength);
    box.dispatchEvent(new Event("input", {bubbles : true}));
});

EM_JS(void, driver_click, (const char *id, int idLength),
      { document.getElementById(UTF8ToString(id, idLength)).click(); });

EM_JS(int, driver_text_size, (const char *id, int idLength),
      { return lengthBytesUTF8(document.getElementById(UTF8ToString(id, idLength)).textContent); });

EM_JS(void, driver_copy_text, (const char *id, int idLength, char *buffer, int bufferSize), {
    stringToUTF8(document.getElementById(UTF8ToString(id, idLength)).textContent, buffer,
                 bufferSize);
});

EM_JS(int, driver_element_count, (), { return document.getElementsByTagName("*").length; });

namespace driver {
namespace {

int byteCount(std::string_view text) {
    return static_cast<int>(text.size());
}

const runtime::dom::Element &control(runtime::Form &form, std::string_view name) {
    const runtime::ControlSpec *row = runtime::findControl(form.table().controls, name);
    if (row == nullptr)
        throw std::logic_error("no control " + std::string(name));
    return form.native().controls[static_cast<std::size_t>(row - form.table().controls.data())];
}

} // namespace

void setText(runtime::Form &form, std::string_view textBox, const std::string &text) {
    const std::string &id = control(form, textBox).id();
    driver_set_value(id.data(), byteCount(id), text.data(), byteCount(text));
}

std::string text(runtime::Form &form, std::string_view textBox) {
    return control(form, textBox).value();
}

std::string held(const std::string &typed) {
    std::string kept = typed;
    std::erase_if(kept, [](char c) { return c == '\n' || c == '\r'; });
    return kept;
}

void click(runtime::Form &form, std::string_view button) {
    const std::string &id = control(form, button).id();
    driver_click(id.data(), byteCount(id));
}

std::string caption(runtime::Form &form, std::string_view label) {
    const std::string &id = control(form, label).id();
    std::string shown(static_cast<std::size_t>(driver_text_size(id.data(), byteCount(id))), '\0');
    driver_copy_text(id.data(), byteCount(id), shown.data(), byteCount(shown) + 1);
    return shown;
}

// The program's heap in use, and the page's elements, a kilobyte each.
long resourceUse() {
    return static_cast<long>(mallinfo().uordblks) + 1024L * driver_element_count();
}

// As on Linux: the suite's own record of every error box is most of what
// grows.
long resourceSlack() {
    return 1L << 20;
}

} // namespace driver
