// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/web/dom.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <utility>

// Each function below is the page's side of one call: texts come in as UTF-8
// bytes and their length, and an element is found by its id every time.

EM_JS(void, passo_dom_create,
      (const char *tag, int tagLength, const char *id, int idLength, const char *parent,
       int parentLength),
      {
          if (document.getElementById(UTF8ToString(id, idLength)))
              return;
          var element = document.createElement(UTF8ToString(tag, tagLength));
          element.id = UTF8ToString(id, idLength);
          var into = parentLength ? document.getElementById(UTF8ToString(parent, parentLength))
                                  : document.body;
          into.appendChild(element);
      });

EM_JS(void, passo_dom_remove, (const char *id, int idLength), {
    var element = document.getElementById(UTF8ToString(id, idLength));
    if (element)
        element.remove();
});

EM_JS(void, passo_dom_set_attribute,
      (const char *id, int idLength, const char *name, int nameLength, const char *value,
       int valueLength),
      {
          document.getElementById(UTF8ToString(id, idLength))
              .setAttribute(UTF8ToString(name, nameLength), UTF8ToString(value, valueLength));
      });

EM_JS(void, passo_dom_set_style,
      (const char *id, int idLength, const char *property, int propertyLength, const char *value,
       int valueLength),
      {
          document.getElementById(UTF8ToString(id, idLength))
              .style.setProperty(UTF8ToString(property, propertyLength),
                                 UTF8ToString(value, valueLength));
      });

EM_JS(void, passo_dom_set_page_style,
      (const char *property, int propertyLength, const char *value, int valueLength), {
          document.documentElement.style.setProperty(UTF8ToString(property, propertyLength),
                                                     UTF8ToString(value, valueLength));
      });

EM_JS(void, passo_dom_set_text, (const char *id, int idLength, const char *text, int textLength), {
    document.getElementById(UTF8ToString(id, idLength)).textContent =
        UTF8ToString(text, textLength);
});

EM_JS(void, passo_dom_set_value, (const char *id, int idLength, const char *text, int textLength), {
    document.getElementById(UTF8ToString(id, idLength)).value = UTF8ToString(text, textLength);
});

EM_JS(int, passo_dom_value_size, (const char *id, int idLength),
      { return Module.passoHold(document.getElementById(UTF8ToString(id, idLength)).value); });

EM_JS(int, passo_dom_focused_id_size, (), {
    var element = document.activeElement;
    return Module.passoHold(element ? element.id : "");
});

EM_JS(int, passo_dom_has_element, (const char *id, int idLength),
      { return document.getElementById(UTF8ToString(id, idLength)) ? 1 : 0; });

EM_JS(int, passo_dom_early_press_size, (), {
    document.removeEventListener("click", Module.passoKeepPress, true);
    document.removeEventListener("keydown", Module.passoHoldEnter, true);
    return Module.passoHold(Module.passoEarlyPress || "");
});

EM_JS(void, passo_dom_copy_held, (char *buffer, int size), {
    if (!Module.passoEncoder)
        Module.passoEncoder = new TextEncoder();
    Module.passoEncoder.encodeInto(Module.passoHeld, HEAPU8.subarray(buffer, buffer + size));
    Module.passoHeld = null;
});

EM_JS(void, passo_dom_focus, (const char *id, int idLength, int scroll), {
    var element = document.getElementById(UTF8ToString(id, idLength));
    if (element)
        element.focus({preventScroll : !scroll});
});

EM_JS(void, passo_dom_scroll_into_view, (const char *id, int idLength), {
    document.getElementById(UTF8ToString(id, idLength))
        .scrollIntoView({block : "nearest", inline : "nearest"});
});

EM_JS(void, passo_dom_remember_value, (const char *id, int idLength, int text), {
    var element = document.getElementById(UTF8ToString(id, idLength));
    Module.passoRemember(element.id, text ? element.textContent : element.value);
});

EM_JS(int, passo_dom_recalled_size, (const char *key, int keyLength), {
    var text = "";
    try {
        text = sessionStorage.getItem(UTF8ToString(key, keyLength)) || "";
    } catch (unavailable) {
    }
    return Module.passoHold(text);
});

EM_JS(int, passo_dom_touch_screen, (),
      { return typeof matchMedia == "function" && matchMedia("(pointer: coarse)").matches; });

EM_JS(void, passo_dom_blur_focus, (), {
    if (document.activeElement)
        document.activeElement.blur();
});

EM_JS(double, passo_dom_page_width, (), { return innerWidth; });
EM_JS(double, passo_dom_page_height, (), { return innerHeight; });

// The visual viewport's size follows the page's, and a keypad laid over it.
// A page is hidden when it is no longer shown, and as it is left; a page
// with no window, as the one the site is written in, has neither.
EM_JS(void, passo_dom_listen_to_page, (int event, const void *handler, int listen), {
    if (typeof window == "undefined")
        return;
    Module.passoPageListeners = Module.passoPageListeners || new Map();
    if (!listen) {
        Module.passoPageListeners.get(handler).forEach(
            function(heard) { heard[0].removeEventListener(heard[1], heard[2]); });
        Module.passoPageListeners.delete(handler);
        return;
    }
    var run = function() {
        _passo_dom_event(handler);
    };
    var heard = event == 0 ? [[window.visualViewport || window, "resize", run]]
                           : [[window, "pagehide", run], [document, "visibilitychange", function() {
                                  if (document.visibilityState == "hidden")
                                      run();
                              }]];
    heard.forEach(function(each) { each[0].addEventListener(each[1], each[2]); });
    Module.passoPageListeners.set(handler, heard);
});

// From the element's style alone, which needs no layout of the page.
EM_JS(double, passo_dom_horizontal_inset, (const char *id, int idLength), {
    var style = getComputedStyle(document.getElementById(UTF8ToString(id, idLength)));
    return parseFloat(style.paddingLeft) + parseFloat(style.paddingRight) +
           parseFloat(style.borderLeftWidth) + parseFloat(style.borderRightWidth);
});

EM_JS(void, passo_dom_listen,
      (const char *id, int idLength, const char *event, int eventLength, const void *handler), {
          document.getElementById(UTF8ToString(id, idLength))
              .addEventListener(
                  UTF8ToString(event, eventLength), function() { _passo_dom_event(handler); });
      });

EM_JS(void, passo_dom_take_key,
      (const char *id, int idLength, const char *key, int keyLength, int shift,
       const void *handler),
      {
          var wanted = UTF8ToString(key, keyLength);
          document.getElementById(UTF8ToString(id, idLength))
              .addEventListener(
                  "keydown", function(event) {
                      if (event.key != wanted || event.shiftKey != !!shift || event.ctrlKey ||
                          event.altKey || event.metaKey)
                          return;
                      event.preventDefault();
                      _passo_dom_event(handler);
                  });
      });

EM_JS(void, passo_dom_show_modal, (const char *id, int idLength),
      { document.getElementById(UTF8ToString(id, idLength)).showModal(); });

EM_JS(void, passo_dom_set_title, (const char *title, int titleLength),
      { document.title = UTF8ToString(title, titleLength); });

// One canvas measures every text, off the page. Setting its font is the
// costly part, even to the font it has, so a font comes only when it changes
// (fontLength 0: the same as before).
EM_JS(double, passo_dom_text_width,
      (const char *text, int textLength, const char *font, int fontLength), {
          if (!Module.passoMeasure)
              Module.passoMeasure = document.createElement("canvas").getContext("2d");
          var context = Module.passoMeasure;
          if (!context)
              return 0;
          if (fontLength)
              context.font = UTF8ToString(font, fontLength);
          return context.measureText(UTF8ToString(text, textLength)).width;
      });

// Every listener's way back into the program. Nothing may be thrown into the
// browser's event loop: a handler that fails leaves the page as it was.
extern "C" EMSCRIPTEN_KEEPALIVE void passo_dom_event(const runtime::dom::Handler *handler) {
    try {
        (*handler)();
    } catch (...) {
    }
}

namespace runtime::dom {
namespace {

int byteCount(std::string_view text) {
    return static_cast<int>(text.size());
}

} // namespace

std::string heldText(int size) {
    std::string text(static_cast<std::size_t>(size), '\0');
    passo_dom_copy_held(text.data(), size);
    return text;
}

Element::Element(std::string_view tag, std::string id, std::string_view parent)
    : m_id(std::move(id)) {
    passo_dom_create(tag.data(), byteCount(tag), m_id.data(), byteCount(m_id), parent.data(),
                     byteCount(parent));
}

Element::~Element() {
    if (!m_id.empty())
        passo_dom_remove(m_id.data(), byteCount(m_id));
}

Element::Element(Element &&other) noexcept : m_id(std::exchange(other.m_id, {})) {}

Element &Element::operator=(Element &&other) noexcept {
    if (this != &other) {
        if (!m_id.empty())
            passo_dom_remove(m_id.data(), byteCount(m_id));
        m_id = std::exchange(other.m_id, {});
    }
    return *this;
}

void Element::setAttribute(std::string_view name, std::string_view value) const {
    passo_dom_set_attribute(m_id.data(), byteCount(m_id), name.data(), byteCount(name),
                            value.data(), byteCount(value));
}

void Element::setStyle(std::string_view property, std::string_view value) const {
    passo_dom_set_style(m_id.data(), byteCount(m_id), property.data(), byteCount(property),
                        value.data(), byteCount(value));
}

void Element::setText(std::string_view text) const {
    passo_dom_set_text(m_id.data(), byteCount(m_id), text.data(), byteCount(text));
}

std::string Element::value() const {
    return heldText(passo_dom_value_size(m_id.data(), byteCount(m_id)));
}

void Element::setValue(std::string_view text) const {
    passo_dom_set_value(m_id.data(), byteCount(m_id), text.data(), byteCount(text));
}

void Element::focus() const {
    passo_dom_focus(m_id.data(), byteCount(m_id), 1);
}

void Element::focusInPlace() const {
    passo_dom_focus(m_id.data(), byteCount(m_id), 0);
}

void Element::scrollIntoView() const {
    passo_dom_scroll_into_view(m_id.data(), byteCount(m_id));
}

void Element::rememberValue() const {
    passo_dom_remember_value(m_id.data(), byteCount(m_id), 0);
}

void Element::rememberText() const {
    passo_dom_remember_value(m_id.data(), byteCount(m_id), 1);
}

double Element::horizontalInset() const {
    return passo_dom_horizontal_inset(m_id.data(), byteCount(m_id));
}

void Element::listen(std::string_view event, const Handler &handler) const {
    passo_dom_listen(m_id.data(), byteCount(m_id), event.data(), byteCount(event), &handler);
}

void Element::takeKey(std::string_view key, bool shift, const Handler &handler) const {
    passo_dom_take_key(m_id.data(), byteCount(m_id), key.data(), byteCount(key), shift ? 1 : 0,
                       &handler);
}

void Element::showModal() const {
    passo_dom_show_modal(m_id.data(), byteCount(m_id));
}

bool hasElement(std::string_view id) {
    return passo_dom_has_element(id.data(), byteCount(id)) != 0;
}

std::string takeEarlyPress() {
    return heldText(passo_dom_early_press_size());
}

std::string focusedId() {
    return heldText(passo_dom_focused_id_size());
}

void focusById(std::string_view id) {
    passo_dom_focus(id.data(), byteCount(id), 1);
}

void setTitle(std::string_view title) {
    passo_dom_set_title(title.data(), byteCount(title));
}

void setPageStyle(std::string_view property, std::string_view value) {
    passo_dom_set_page_style(property.data(), byteCount(property), value.data(), byteCount(value));
}

bool touchScreen() {
    return passo_dom_touch_screen() != 0;
}

void blurFocus() {
    passo_dom_blur_focus();
}

PageSize pageSize() {
    return {passo_dom_page_width(), passo_dom_page_height()};
}

PageListener::PageListener(PageEvent event, const Handler &handler) : m_handler(handler) {
    passo_dom_listen_to_page(static_cast<int>(event), &m_handler, 1);
}

PageListener::~PageListener() {
    passo_dom_listen_to_page(0, &m_handler, 0);
}

std::string recalled(std::string_view key) {
    return heldText(passo_dom_recalled_size(key.data(), byteCount(key)));
}

// An empty text has no width in any font: it needs no canvas, and the
// browser's first measuring in a font, the costly part of the page's start,
// waits until there is a text to measure.
double textWidth(std::string_view text, std::string_view font) {
    if (text.empty())
        return 0.0;
    static std::string canvasFont;
    const bool changed = font != canvasFont;
    if (changed)
        canvasFont = font;
    return passo_dom_text_width(text.data(), byteCount(text), font.data(),
                                changed ? byteCount(font) : 0);
}

} // namespace runtime::dom
