// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QTranslator>

namespace runtime {

// Puts Qt's own texts (a text box's context menu, the error box's button) in
// the language of `locale`, where Qt has a translation for it, through
// `translator`, which must outlive the windows. The program's own texts are
// Italian in every locale, so the windows go on reading left to right even
// when Qt's texts are in a language written the other way.
void installQtTranslations(QTranslator &translator, const QLocale &locale);

} // namespace runtime
