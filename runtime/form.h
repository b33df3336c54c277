// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/form_table.h"

#include <memory>
#include <string>
#include <string_view>

namespace runtime {

// A window built from its table, which must outlive it: a temporary table is
// refused. Commands reach its controls by name. Each platform's backend builds
// it from its own controls.
class Form {
public:
    // The backend's window and controls; its header says what they are.
    struct Native;

    explicit Form(const FormSpec &table);
    Form(const FormSpec &&table) = delete;
    ~Form();
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    // The text of a text box, as UTF-8.
    std::string text(std::string_view textBox) const;
    // Replaces a label's caption, shown literally (never as markup). A caption
    // too wide for the label is shown whole in a smaller size of its font.
    void setCaption(std::string_view label, std::string_view caption);

    // Shows the window centred on the screen, the focus on tab index 0.
    void show();

    const FormSpec &table() const { return m_table; }
    Native &native() const;

private:
    friend void runCommand(Command command, Form &form) noexcept;

    const FormSpec &m_table;
    // While a command runs, its error box included, the window takes no other.
    bool m_commandRunning = false;
    std::unique_ptr<Native> m_native;
};

} // namespace runtime
