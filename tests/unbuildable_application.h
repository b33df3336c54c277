// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/application.h"
#include "ui/form1.h"

// The program as it starts, but with a start-up window too narrow for its
// controls: a window no backend can build. Not to be copied, since the
// description refers to the table beside it.
struct UnbuildableApplication {
    UnbuildableApplication() = default;
    UnbuildableApplication(const UnbuildableApplication &) = delete;
    UnbuildableApplication &operator=(const UnbuildableApplication &) = delete;

    runtime::FormSpec tooSmall = [] {
        runtime::FormSpec table = ui::form1;
        table.clientWidth = 15;
        return table;
    }();
    runtime::ApplicationDescription description{
        .title = ui::application.title,
        .version = ui::application.version,
        .desktopFileName = ui::application.desktopFileName,
        .commandName = ui::application.commandName,
        .summary = ui::application.summary,
        .startupForm = tooSmall,
    };
};
