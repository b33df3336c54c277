// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/translations.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>

namespace runtime {

void installQtTranslations(QTranslator &translator, const QLocale &locale) {
    // Set explicitly, the direction no longer follows the translation; it
    // stays as it is now: left to right, unless -reverse asked otherwise.
    QGuiApplication::setLayoutDirection(QGuiApplication::layoutDirection());
    if (translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

} // namespace runtime
