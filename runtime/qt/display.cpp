// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/display.h"

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

using XcbConnection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;

// Connecting is the one sure test: the display may be named and yet not
// there, or refuse us.
bool reachable(const std::string &display) {
    const XcbConnection connection(xcb_connect(display.c_str(), nullptr), xcb_disconnect);
    return xcb_connection_has_error(connection.get()) == 0;
}

} // namespace

std::optional<std::string> missingDisplay(const CommandLine &commandLine) {
    if (!qtTriesOnlyX11(commandLine))
        return std::nullopt;
    const bool named = !commandLine.display.empty();
    const std::string display = named ? commandLine.display : std::string(environment("DISPLAY"));
    if (display.empty())
        return "DISPLAY non impostato";
    if (reachable(display))
        return std::nullopt;
    return (named ? "-display " : "DISPLAY=") + display + " non raggiungibile";
}

} // namespace runtime
