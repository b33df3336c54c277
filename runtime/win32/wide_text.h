// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The runtime speaks UTF-8 and Windows UTF-16: every text crosses here, so
// that "è" and whatever the user types or pastes arrive intact.

#include <windows.h>

#include <string>
#include <string_view>

namespace runtime::win32 {

// Bytes that are not UTF-8 become U+FFFD, as they do everywhere else.
std::wstring toUtf16(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

// What a window or control shows: a text box's text, a label's caption.
std::wstring windowText(HWND window);

} // namespace runtime::win32
