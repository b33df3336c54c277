// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/display.h"

#include <dlfcn.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace runtime {
namespace {

std::string_view environment(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The platforms Qt will try, as it picks them: -platform, then
// QT_QPA_PLATFORM, then Wayland first in a Wayland session, X11 otherwise.
bool qtTriesOnlyX11(const CommandLine &commandLine) {
    std::string_view platforms = commandLine.platform;
    if (platforms.empty())
        platforms = environment("QT_QPA_PLATFORM");
    if (platforms.empty())
        return environment("WAYLAND_DISPLAY").empty() &&
               environment("XDG_SESSION_TYPE") != "wayland";
    // A platform's own settings follow its name after a colon: "xcb:...".
    return platforms == "xcb" || platforms.starts_with("xcb:");
}

struct LibraryCloser {
    void operator()(void *library) const { dlclose(library); }
};
using Library = std::unique_ptr<void, LibraryCloser>;

template <typename Function> Function *symbol(const Library &library, const char *name) {
    return reinterpret_cast<Function *>(dlsym(library.get(), name));
}

// Whether an X server answers at `display`: connecting is the one sure test,
// since a display may be named and yet not be there, or refuse us. Nothing is
// known without libxcb. The library is opened here rather than linked: Qt's
// X11 support loads it anyway, but linked into the program it would come
// before Qt's libraries in every symbol lookup at start-up.
std::optional<bool> answers(const std::string &display) {
    const Library xcb(dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL));
    if (!xcb)
        return std::nullopt;
    auto *const connect = symbol<decltype(xcb_connect)>(xcb, "xcb_connect");
    auto *const hasError =
        symbol<decltype(xcb_connection_has_error)>(xcb, "xcb_connection_has_error");
    auto *const disconnect = symbol<decltype(xcb_disconnect)>(xcb, "xcb_disconnect");
    if (connect == nullptr || hasError == nullptr || disconnect == nullptr)
        return std::nullopt;
    const std::unique_ptr<xcb_connection_t, decltype(disconnect)> connection(
        connect(display.c_str(), nullptr), disconnect);
    return hasError(connection.get()) == 0;
}

} // namespace

std::optional<std::string> missingDisplay(const CommandLine &commandLine) {
    if (!qtTriesOnlyX11(commandLine))
        return std::nullopt;
    const bool named = !commandLine.display.empty();
    const std::string display = named ? commandLine.display : std::string(environment("DISPLAY"));
    if (display.empty())
        return "DISPLAY non impostato";
    // Where that cannot be told, Qt will find out.
    if (answers(display).value_or(true))
        return std::nullopt;
    return (named ? "-display " : "DISPLAY=") + display + " non raggiungibile";
}

} // namespace runtime
