// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Qt widgets behind a Form, for the tests and benchmarks that drive them.

#include "runtime/form.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace runtime {

struct Form::Native : NativeForm {
    Native(const FormSpec &table, const PressReport &pressed);

    std::string text(std::size_t row) const override;
    void setCaption(std::size_t row, std::string_view caption) override;
    double captionRoom(std::size_t row) const override;
    double captionWidth(std::size_t row, std::string_view caption, double pointSize) const override;
    void setCaptionSize(std::size_t row, double pointSize) override;
    void focus(std::size_t row) override;
    void show() override;

    const FormSpec &table;
    // The top-level window; its children are the table's controls, each
    // named after its row.
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    // By table row; the window owns them.
    std::vector<QWidget *> controls;
};

} // namespace runtime
