// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"

#include "runtime/core/errors.h"

#include <exception>
#include <optional>

namespace runtime {

std::string startupFailureText(const std::exception &failure) {
    const auto *raised = dynamic_cast<const RuntimeError *>(&failure);
    const RuntimeError error = raised != nullptr ? *raised : RuntimeError(ErrorCode::internalError);
    return "Impossibile aprire la finestra del programma (errore di run-time '" +
           std::to_string(error.number()) + "': " + error.description() + ").";
}

int runStartupForm(const ApplicationDescription &application,
                   const std::function<int(Form &form)> &eventLoop,
                   const std::function<void(const std::string &why)> &reportFailure) {
    std::optional<Form> form;
    try {
        form.emplace(application.startupForm);
    } catch (const std::exception &failure) {
        reportFailure(startupFailureText(failure));
        return 1;
    }
    form->show();
    return eventLoop(*form);
}

} // namespace runtime
