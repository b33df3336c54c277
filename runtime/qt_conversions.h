#pragma once

// Between the runtime's plain types and Qt's; only the runtime's own sources
// include this.

#include "runtime/form.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <string_view>

namespace runtime {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QFont toQFont(const FontSpec &spec) {
    QFont font;
    font.setFamilies({toQString(spec.family), toQString(spec.fallbackFamily)});
    font.setPointSizeF(spec.pointSize);
    font.setWeight(static_cast<QFont::Weight>(spec.weight));
    return font;
}

} // namespace runtime
