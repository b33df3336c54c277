// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one thin layer through which the browser backend reaches the page: each
// function is one call into the DOM. Elements are known by their id, which is
// unique in the page, so no JavaScript object is held on this side.

#include <functional>
#include <string>
#include <string_view>

namespace runtime::dom {

// What an event listener runs; it must not throw (see `listen`).
using Handler = std::function<void()>;

// An element of the page, known by its id: the page's own where its HTML
// holds one, or else one made with a tag and put last into its parent (the
// page's body when the parent is empty). It leaves the page with this
// object, its listeners with it.
class Element {
public:
    // No element yet.
    Element() = default;
    Element(std::string_view tag, std::string id, std::string_view parent = {});
    ~Element();
    Element(Element &&other) noexcept;
    Element &operator=(Element &&other) noexcept;
    Element(const Element &) = delete;
    Element &operator=(const Element &) = delete;

    const std::string &id() const { return m_id; }

    void setAttribute(std::string_view name, std::string_view value) const;
    // A CSS property of the element's own style, set through the style object,
    // which the page's Content-Security-Policy allows where a style attribute
    // would be refused.
    void setStyle(std::string_view property, std::string_view value) const;
    void setText(std::string_view text) const;
    // A text box's text, as UTF-8.
    std::string value() const;
    void setValue(std::string_view text) const;
    void focus() const;
    // Gives the element the focus where the page stands, without scrolling
    // to it.
    void focusInPlace() const;
    // Scrolls the page, and the part of it that a keypad laid over it
    // leaves in view, the least that shows the whole element.
    void scrollIntoView() const;
    // Keep a text box's text, or an element's text, in the tab's session
    // storage under the element's id (see `recalled`).
    void rememberValue() const;
    void rememberText() const;
    // The width of the element's padding and border, left and right, in CSS
    // pixels.
    double horizontalInset() const;
    // Runs `handler` at each `event` on the element for as long as the element
    // lives; `handler` must outlive it.
    void listen(std::string_view event, const Handler &handler) const;
    // Runs `handler` in place of what the browser does when `key` (a
    // KeyboardEvent key name) is pressed on the element, with Shift or
    // without, and no other modifier; `handler` must outlive the element.
    void takeKey(std::string_view key, bool shift, const Handler &handler) const;
    // Opens a <dialog> modal to the page.
    void showModal() const;

private:
    std::string m_id;
};

// A text the page hands to the program, in two calls: the first, on the
// page's side, holds it with Module.passoHold(text) (dom.js) and returns the
// count of bytes that gives, `size`; this second one copies them, UTF-8.
std::string heldText(int size);

// Whether the page has an element with `id`.
bool hasElement(std::string_view id);

// The id of the last button pressed before the program asked, or empty; from
// then on the page keeps no press for the program (dom.js).
std::string takeEarlyPress();

// The id of the element that has the focus, or empty.
std::string focusedId();
// Gives the focus to the element with `id`, if it is still there.
void focusById(std::string_view id);

void setTitle(std::string_view title);
// A CSS property of the page's root element, which every rule sees.
void setPageStyle(std::string_view property, std::string_view value);

// Whether the page's pointer is a finger (a coarse pointer); false where the
// page cannot tell, as when the site is written.
bool touchScreen();
// Takes the focus from the element that has it: a touch screen's keypad
// closes.
void blurFocus();

// The page's size in CSS pixels.
struct PageSize {
    double width;
    double height;
};
PageSize pageSize();

// What happens to the page as a whole.
enum class PageEvent {
    // The part of the page in view changes size, as a keypad opening or
    // closing does, whether it shrinks the page or is laid over it.
    viewResized,
    // The page is hidden: another app or tab comes in front of it, or it is
    // reloaded or left. A phone may drop a hidden page at any moment.
    hidden,
};

// Runs `handler`, which must outlive it, at each `event`, for as long as it
// lives.
class PageListener {
public:
    PageListener(PageEvent event, const Handler &handler);
    ~PageListener();
    PageListener(const PageListener &) = delete;
    PageListener &operator=(const PageListener &) = delete;

private:
    const Handler &m_handler;
};

// The text kept under `key` in the tab's own session storage: it keeps
// texts while the tab lives, through reloads and the browser dropping the
// page, and forgets them with the tab. Where the browser keeps nothing
// (private mode, a full quota), nothing is kept and an empty text recalled.
std::string recalled(std::string_view key);

// The width of `text` in `font` (CSS shorthand, "8pt Arial"), in CSS pixels; 0
// where the browser measures no text.
double textWidth(std::string_view text, std::string_view font);

} // namespace runtime::dom
