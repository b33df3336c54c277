// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/display.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace runtime {
namespace {

std::string_view environment(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Set, even to nothing: Qt and libwayland tell that apart from unset.
bool isSet(const char *name) {
    return std::getenv(name) != nullptr;
}

enum class Platform { x11, wayland, other };

Platform platformNamed(std::string_view name) {
    if (name == "xcb")
        return Platform::x11;
    // "wayland", "wayland-egl"...
    if (name.starts_with("wayland"))
        return Platform::wayland;
    return Platform::other;
}

// The platforms Qt will try, in its order: those asked for, else Wayland where
// the session is Wayland's or a compositor is named, then X11.
std::vector<Platform> platformsQtTries(const CommandLine &commandLine) {
    if (commandLine.platforms.empty()) {
        if (isSet("WAYLAND_DISPLAY") || environment("XDG_SESSION_TYPE") == "wayland")
            return {Platform::wayland, Platform::x11};
        return {Platform::x11};
    }
    std::vector<Platform> platforms;
    for (const std::string &name : commandLine.platforms)
        platforms.push_back(platformNamed(name));
    return platforms;
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
std::optional<bool> x11Answers(const std::string &display) {
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

std::optional<std::string> whyNoX11(const CommandLine &commandLine) {
    const bool named = !commandLine.display.empty();
    const std::string display = named ? commandLine.display : std::string(environment("DISPLAY"));
    if (display.empty())
        return "DISPLAY non impostato";
    // Where that cannot be told, Qt will find out.
    if (x11Answers(display).value_or(true))
        return std::nullopt;
    return (named ? "-display " : "DISPLAY=") + display + " non raggiungibile";
}

class LocalSocket {
public:
    LocalSocket() : m_descriptor(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~LocalSocket() {
        if (m_descriptor >= 0)
            close(m_descriptor);
    }
    LocalSocket(const LocalSocket &) = delete;
    LocalSocket &operator=(const LocalSocket &) = delete;

    bool connectTo(const std::string &path) const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (m_descriptor < 0 || path.size() >= sizeof address.sun_path)
            return false;
        std::ranges::copy(path, address.sun_path);
        return connect(m_descriptor, reinterpret_cast<const sockaddr *>(&address),
                       sizeof address) == 0;
    }

private:
    int m_descriptor;
};

// Whether a Wayland compositor answers where libwayland, and so Qt, will look
// for it: WAYLAND_DISPLAY, by default "wayland-0", in XDG_RUNTIME_DIR unless it
// is a path of its own. A compositor is a listening local socket, so
// connecting is the whole test, without loading libwayland for it.
std::optional<std::string> whyNoWayland() {
    // A compositor that starts the program hands it a connected socket.
    if (isSet("WAYLAND_SOCKET"))
        return std::nullopt;
    const bool named = isSet("WAYLAND_DISPLAY");
    const std::string name = named ? std::string(environment("WAYLAND_DISPLAY")) : "wayland-0";
    std::string path = name;
    if (!name.starts_with('/')) {
        const std::string_view folder = environment("XDG_RUNTIME_DIR");
        if (folder.empty())
            return "XDG_RUNTIME_DIR non impostato";
        path = std::string(folder) + '/' + name;
    }
    if (LocalSocket().connectTo(path))
        return std::nullopt;
    return named ? "WAYLAND_DISPLAY=" + name + " non raggiungibile"
                 : "WAYLAND_DISPLAY non impostato";
}

// Why `platform` will open no window, or nothing where it will, where that
// cannot be told, or where it is not one of these two: Qt will find out.
std::optional<std::string> whyNo(Platform platform, const CommandLine &commandLine) {
    switch (platform) {
    case Platform::x11:
        return whyNoX11(commandLine);
    case Platform::wayland:
        return whyNoWayland();
    case Platform::other:
        break;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> missingDisplay(const CommandLine &commandLine) {
    std::string why;
    for (const Platform platform : platformsQtTries(commandLine)) {
        const std::optional<std::string> missing = whyNo(platform, commandLine);
        if (!missing)
            return std::nullopt;
        why += (why.empty() ? "" : "; ") + *missing;
    }
    if (why.empty())
        return std::nullopt;
    return why;
}

} // namespace runtime
