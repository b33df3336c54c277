// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/form_table.h"
#include "runtime/win32/handles.h"

#include <string_view>

namespace runtime::win32 {

// The table's font at `pointSize` for a screen of `dpi` dots per inch: its
// family where installed, else its fallback where installed, else its family
// as the font mapper best matches it.
FontOwner createFont(const FontSpec &font, double pointSize, int dpi);

// How wide `text` is in pixels in `font`, on `window`'s screen.
int textWidth(HWND window, HFONT font, std::wstring_view text);

} // namespace runtime::win32
