// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/layout.h"

#include "runtime/core/errors.h"

#include <algorithm>
#include <numeric>
#include <utility>

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

std::size_t focusNeighbour(std::span<const ControlSpec> controls, std::size_t row, bool forward) {
    const std::vector<std::size_t> order = focusOrder(controls);
    const auto at = std::find(order.begin(), order.end(), row);
    if (at == order.end())
        raiseRuntimeError(ErrorCode::internalError);
    const auto index = static_cast<std::size_t>(at - order.begin());
    return order[(index + (forward ? 1 : order.size() - 1)) % order.size()];
}

namespace {

// The table's rows as someone reads the window: top to bottom by lines, each
// line left to right. Controls whose heights overlap, directly or through
// another, stand on one line.
std::vector<std::size_t> byLines(std::span<const ControlSpec> controls) {
    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Ties go by table row, so that the order never depends on the sort.
    const auto by = [controls](int TwipRect::*edge) {
        return [controls, edge](std::size_t a, std::size_t b) {
            return std::pair(controls[a].bounds.*edge, a) < std::pair(controls[b].bounds.*edge, b);
        };
    };
    std::sort(order.begin(), order.end(), by(&TwipRect::top));
    auto line = order.begin();
    int lineBottom = 0;
    for (auto row = order.begin(); row != order.end(); ++row) {
        const TwipRect &bounds = controls[*row].bounds;
        if (row != line && bounds.top >= lineBottom) {
            std::sort(line, row, by(&TwipRect::left));
            line = row;
        }
        lineBottom = row == line ? bounds.top + bounds.height
                                 : std::max(lineBottom, bounds.top + bounds.height);
    }
    std::sort(line, order.end(), by(&TwipRect::left));
    return order;
}

} // namespace

std::vector<std::size_t> readingOrder(std::span<const ControlSpec> controls) {
    std::vector<std::size_t> order = byLines(controls);
    for (std::size_t row = 0; row < controls.size(); ++row) {
        const ControlSpec *label = labelFor(controls, controls[row]);
        if (label == nullptr)
            continue;
        const auto labelRow = static_cast<std::size_t>(label - controls.data());
        order.erase(std::find(order.begin(), order.end(), labelRow));
        order.insert(std::find(order.begin(), order.end(), row), labelRow);
    }
    return order;
}

const ControlSpec *findControl(std::span<const ControlSpec> controls, std::string_view name) {
    const auto row = std::find_if(controls.begin(), controls.end(),
                                  [name](const ControlSpec &c) { return c.name == name; });
    return row != controls.end() ? &*row : nullptr;
}

namespace {

// The focusable controls in reading order are the focus order, rotated.
bool readingKeepsFocusOrder(std::span<const ControlSpec> controls) {
    std::vector<std::size_t> read;
    for (const std::size_t row : readingOrder(controls))
        if (takesFocus(controls[row].kind))
            read.push_back(row);
    const std::vector<std::size_t> focus = focusOrder(controls);
    if (focus.empty())
        return true;
    std::rotate(read.begin(), std::find(read.begin(), read.end(), focus.front()), read.end());
    return read == focus;
}

} // namespace

const FormSpec &wellFormed(const FormSpec &table) {
    if (!isWellFormed(table) || !readingKeepsFocusOrder(table.controls))
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
    return textBox.labelledBy.empty() ? nullptr : findControl(controls, textBox.labelledBy);
}

const ControlSpec *boxLabelledBy(std::span<const ControlSpec> controls, const ControlSpec &label) {
    const auto box = std::find_if(controls.begin(), controls.end(), [&](const ControlSpec &row) {
        return !row.labelledBy.empty() && row.labelledBy == label.name;
    });
    return box != controls.end() ? &*box : nullptr;
}

double fittedPointSize(double pointSize, double available,
                       const std::function<double(double pointSize)> &widthAt) {
    constexpr double step = 0.25;
    while (widthAt(pointSize) > available && pointSize > step)
        pointSize -= step;
    return pointSize;
}

} // namespace runtime
