// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/win32/fonts.h"

#include "runtime/win32/wide_text.h"

#include <cmath>
#include <map>
#include <string>

namespace runtime::win32 {
namespace {

int CALLBACK stopAtFirstFace(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found) {
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

bool isInstalled(const std::wstring &family) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    family.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    const WindowDc screen(nullptr);
    EnumFontFamiliesExW(screen.get(), &wanted, stopAtFirstFace, reinterpret_cast<LPARAM>(&found),
                        0);
    return found;
}

// Asking the system walks its font list, which takes milliseconds where many
// fonts are installed; a result is fitted with new fonts at every click, so
// each family is asked about once.
bool isInstalledOnce(const std::wstring &family) {
    static std::map<std::wstring, bool> known;
    const auto [entry, added] = known.try_emplace(family, false);
    if (added)
        entry->second = isInstalled(family);
    return entry->second;
}

std::wstring installedFamily(const FontSpec &font) {
    std::wstring family = toUtf16(font.family);
    if (isInstalledOnce(family))
        return family;
    std::wstring fallback = toUtf16(font.fallbackFamily);
    return isInstalledOnce(fallback) ? fallback : family;
}

} // namespace

FontOwner createFont(const FontSpec &font, double pointSize, int dpi) {
    LOGFONTW wanted{};
    // Negative: the size of the characters, not of the cell around them, as
    // points are meant.
    wanted.lfHeight = -static_cast<LONG>(std::lround(pointSize * dpi / 72.0));
    wanted.lfWeight = font.weight;
    wanted.lfCharSet = DEFAULT_CHARSET;
    installedFamily(font).copy(wanted.lfFaceName, LF_FACESIZE - 1);
    return FontOwner(CreateFontIndirectW(&wanted));
}

int textWidth(HWND window, HFONT font, std::wstring_view text) {
    const WindowDc dc(window);
    const Selection selected(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

} // namespace runtime::win32
