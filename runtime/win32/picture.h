// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/win32/handles.h"

#include <string_view>

namespace runtime::win32 {

// A picture ready to be blended over a background: 32-bit, its colours
// already multiplied by their opacity, as AlphaBlend takes them.
struct Picture {
    BitmapOwner bitmap;
    SIZE size{};
};

// The program's picture `file`, built into the program file as a resource of
// that name, at its size for a screen of `dpi` dots per inch: above 96 dpi
// drawn from its "@2x" twin where there is one. Empty where the picture is
// missing or unreadable: the window then shows none.
Picture loadPicture(std::string_view file, int dpi);

// Draws the picture with its top-left corner at that of `dc`, the background
// showing through its transparent parts.
void drawPicture(HDC dc, const Picture &picture);

} // namespace runtime::win32
