// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"

#include "runtime/web/dom.h"
#include "runtime/web/native_form.h"

#include <exception>
#include <optional>

namespace runtime {
namespace {

// The window could not be built: the page says why instead.
int reportStartupFailure(const std::exception &failure) {
    static const dom::Element message("p", "startup-failure");
    message.setAttribute("role", "alert");
    message.setText(startupFailureText(failure));
    return 1;
}

} // namespace

// The browser's event loop runs the page: main returns once the window is
// shown, and the window lives as long as the page, so it is not built by
// runStartupForm, whose window goes when its event loop returns. The command
// line, the version and the desktop entry have no place in a page.
int run(int &, char **, const ApplicationDescription &application) {
    static std::optional<Form> form;
    try {
        form.emplace(application.startupForm);
    } catch (const std::exception &failure) {
        return reportStartupFailure(failure);
    }
    form->native().recallWhatTheTabShowed();
    form->show();
    form->native().answerEarlyPress();
    return 0;
}

} // namespace runtime
