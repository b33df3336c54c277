// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/layout.h"

#include "runtime/core/errors.h"

#include <algorithm>

namespace runtime {

std::vector<std::size_t> focusOrder(std::span<const ControlSpec> controls) {
    std::vector<std::size_t> order;
    for (std::size_t row = 0; row < controls.size(); ++row)
        if (takesFocus(controls[row].kind))
            order.push_back(row);
    std::sort(order.begin(), order.end(), [controls](std::size_t a, std::size_t b) {
        return controls[a].tabIndex < controls[b].tabIndex;
    });
    return order;
}

std::vector<std::size_t> readingOrder(std::span<const ControlSpec> controls) {
    std::vector<std::size_t> order;
    for (const std::size_t row : focusOrder(controls)) {
        if (const ControlSpec *label = labelFor(controls, controls[row]))
            order.push_back(static_cast<std::size_t>(label - controls.data()));
        order.push_back(row);
    }
    for (std::size_t row = 0; row < controls.size(); ++row)
        if (std::find(order.begin(), order.end(), row) == order.end())
            order.push_back(row);
    return order;
}

int windowMargin(const FormSpec &form) {
    int margin = std::min(form.clientWidth, form.clientHeight);
    for (const ControlSpec &row : form.controls) {
        const TwipRect &r = row.bounds;
        margin = std::min({margin, r.left, r.top, form.clientWidth - r.left - r.width,
                           form.clientHeight - r.top - r.height});
    }
    return margin;
}

const ControlSpec *findControl(std::span<const ControlSpec> controls, std::string_view name) {
    const auto row = std::find_if(controls.begin(), controls.end(),
                                  [name](const ControlSpec &c) { return c.name == name; });
    return row != controls.end() ? &*row : nullptr;
}

const FormSpec &wellFormed(const FormSpec &table) {
    if (!isWellFormed(table))
        raiseRuntimeError(ErrorCode::internalError);
    return table;
}

std::size_t rowNamed(const FormSpec &form, std::string_view name, ControlKind kind) {
    const ControlSpec *row = findControl(form.controls, name);
    if (row == nullptr || row->kind != kind)
        raiseRuntimeError(ErrorCode::internalError);
    return static_cast<std::size_t>(row - form.controls.data());
}

const FontSpec &fontOf(const FormSpec &form, const ControlSpec &row) {
    return row.font != nullptr ? *row.font : form.font;
}

std::string withLiteralAmpersands(std::string_view caption) {
    std::string escaped;
    for (const char c : caption) {
        if (c == '&')
            escaped += '&';
        escaped += c;
    }
    return escaped;
}

std::string denseTwinName(std::string_view file) {
    const std::size_t slash = file.rfind('/');
    const std::size_t dot = file.rfind('.');
    const bool hasExtension =
        dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    const std::size_t stem = hasExtension ? dot : file.size();
    return std::string(file.substr(0, stem)) + "@2x" + std::string(file.substr(stem));
}

const ControlSpec *labelFor(std::span<const ControlSpec> controls, const ControlSpec &textBox) {
    if (textBox.accessibleName.empty())
        return nullptr;
    const auto row = std::find_if(controls.begin(), controls.end(), [&](const ControlSpec &c) {
        return c.kind == ControlKind::label && c.text == textBox.accessibleName;
    });
    return row != controls.end() ? &*row : nullptr;
}

double fittedPointSize(double pointSize, double available,
                       const std::function<double(double pointSize)> &widthAt) {
    constexpr double step = 0.25;
    while (widthAt(pointSize) > available && pointSize > step)
        pointSize -= step;
    return pointSize;
}

} // namespace runtime
