// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Between the runtime's plain types and Qt's; only the runtime's own sources
// include this.

#include "runtime/form_table.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <string_view>

namespace runtime {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QFont toQFont(const FontSpec &row) {
    QFont font;
    font.setFamilies({toQString(row.family), toQString(row.fallbackFamily)});
    font.setPointSizeF(row.pointSize);
    font.setWeight(static_cast<QFont::Weight>(row.weight));
    return font;
}

} // namespace runtime
