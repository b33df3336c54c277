// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/application.h"
#include "runtime/form.h"

#include <string_view>

namespace ui {

// The controls the Calculate command works on.
inline constexpr std::string_view gradi1 = "gradi1";
inline constexpr std::string_view centimetri2 = "centimetri2";
inline constexpr std::string_view centimetri1 = "centimetri1";

extern const runtime::FormSpec form1;
extern const runtime::ApplicationDescription application;

} // namespace ui
