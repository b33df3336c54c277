// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"

#include "runtime/command_line.h"
#include "runtime/win32/native_form.h"
#include "runtime/win32/wide_text.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace runtime {
namespace {

int runEventLoop(Form &form) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        form.native().dispatch(message);
    // Closing the window posts the quit message with status 0.
    return static_cast<int>(message.wParam);
}

// A box, as Windows programs answer: one started from a menu or a shortcut
// has no console, and the console that starts one does not wait for it, so
// text written there would land after its next prompt.
int showAnswer(const CommandLineAnswer &answer, const ApplicationDescription &application) {
    std::string_view text = answer.text;
    if (text.ends_with('\n'))
        text.remove_suffix(1);
    MessageBoxW(nullptr, win32::toUtf16(text).c_str(), win32::toUtf16(application.title).c_str(),
                MB_OK | (answer.toStandardError ? MB_ICONERROR : MB_ICONINFORMATION));
    return answer.exitStatus;
}

} // namespace

// The desktop entry's name is the Linux desktop's business. A program started
// from a menu has no console: a start-up failure is said in a box too.
int run(int &argc, char **argv, const ApplicationDescription &application) {
    if (const std::optional<CommandLineAnswer> answer =
            // The command line as on Linux, where Windows' own "/?" asks
            // for the help too; Win32 takes no options of its own.
        readArguments({argv, static_cast<std::size_t>(argc)}, application, {.helpAlias = "/?"}))
        return showAnswer(*answer, application);
    return runStartupForm(application, runEventLoop, [&application](const std::string &why) {
        MessageBoxW(nullptr, win32::toUtf16(why).c_str(), win32::toUtf16(application.title).c_str(),
                    MB_OK | MB_ICONERROR);
    });
}

} // namespace runtime
