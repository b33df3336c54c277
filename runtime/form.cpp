// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/form.h"

#include "runtime/command_boundary.h"
#include "runtime/layout.h"

#include <vector>

namespace runtime {

void fitCaption(const FormSpec &table, NativeForm &native, std::size_t row,
                std::string_view caption) {
    const ControlSpec &control = table.controls[row];
    if (!hasFittedCaption(control.kind))
        return;
    native.setCaptionSize(row, fittedPointSize(fontOf(table, control).pointSize,
                                               native.captionRoom(row), [&](double pointSize) {
                                                   return native.captionWidth(row, caption,
                                                                              pointSize);
                                               }));
}

// The focus starts on tab index 0.
Form::Form(const FormSpec &table)
    : m_table(wellFormed(table)), m_native(buildNativeForm(m_table, m_pressed)) {
    for (std::size_t row = 0; row < m_table.controls.size(); ++row)
        fitCaption(m_table, *m_native, row, m_table.controls[row].text);
    if (const std::vector<std::size_t> order = focusOrder(m_table.controls); !order.empty())
        m_native->focus(order.front());
}

Form::~Form() = default;

std::string Form::text(std::string_view textBox) const {
    return m_native->text(rowNamed(m_table, textBox, ControlKind::textBox));
}

void Form::setCaption(std::string_view label, std::string_view caption) {
    const std::size_t row = rowNamed(m_table, label, ControlKind::label);
    m_native->setCaption(row, caption);
    fitCaption(m_table, *m_native, row, caption);
}

void Form::press(std::size_t row) {
    if (const Command command = m_table.controls[row].onClick)
        runCommand(command, *this);
}

void Form::show() {
    m_native->show();
}

} // namespace runtime
