// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/form.h"
#include "runtime/qt/native_form.h"
#include "runtime/qt/translations.h"
#include "ui/form1.h"

#include "tests/qt/qt_print.h"
#include "tests/row_name.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using rows::PrintTo;

// Qt's own texts in one language: the text box's context menu (without the
// shortcuts; separators are empty) and the error box's button.
struct QtTexts {
    std::string name;
    QLocale locale;
    QStringList contextMenu;
    QString okButton;
};

const std::vector<QtTexts> languages{
    {"Italian",
     QLocale(QLocale::Italian, QLocale::Italy),
     {"Ann&ulla", "&Rifai", "", "&Taglia", "&Copia", "&Incolla", "Elimina", "", "Seleziona tutto"},
     "OK"},
    {"C",
     QLocale::c(),
     {"&Undo", "&Redo", "", "Cu&t", "&Copy", "&Paste", "Delete", "", "Select All"},
     "OK"},
    {"German",
     QLocale(QLocale::German, QLocale::Germany),
     {"&Rückgängig", "Wieder&herstellen", "", "&Ausschneiden", "&Kopieren", "Einf&ügen", "Löschen",
      "", "Alles auswählen"},
     "OK"},
    // Written right to left: the Italian window must not turn round with it.
    {"Hebrew",
     QLocale(QLocale::Hebrew, QLocale::Israel),
     {"&בטל", "בצע &שוב", "", "&גזור", "הע&תק", "ה&דבק", "מחק", "", "בחר הכל"},
     "אישור"},
};

// Form1 and Qt's texts as the program shows them under a locale.
class Form1Texts {
public:
    explicit Form1Texts(const QLocale &locale) {
        runtime::installQtTranslations(m_translator, locale);
        m_form.show();
    }
    ~Form1Texts() { QGuiApplication::setLayoutDirection(Qt::LayoutDirectionAuto); }
    Form1Texts(const Form1Texts &) = delete;
    Form1Texts &operator=(const Form1Texts &) = delete;

    QWidget &window() { return *m_form.native().window; }

    QStringList contextMenu() {
        const std::unique_ptr<QMenu> menu(
            window().findChild<QLineEdit *>("gradi1")->createStandardContextMenu());
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts << action->text().section(u'\t', 0, 0);
        return texts;
    }

    // The error box of a click on a text that is no number.
    QString okButton() {
        QString text;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            text = box->button(QMessageBox::Ok)->text();
            box->button(QMessageBox::Ok)->click();
        });
        window().findChild<QLineEdit *>("gradi1")->setText("abc");
        QTest::mouseClick(window().findChild<QPushButton *>("cmdcalcola"), Qt::LeftButton);
        return text;
    }

private:
    QTranslator m_translator;
    runtime::Form m_form{ui::form1};
};

class QtTextsIn : public testing::TestWithParam<QtTexts> {};

TEST_P(QtTextsIn, FollowTheLocaleAndTheWindowStaysLeftToRight) {
    Form1Texts texts(GetParam().locale);
    EXPECT_EQ(texts.contextMenu(), GetParam().contextMenu);
    EXPECT_EQ(texts.okButton(), GetParam().okButton);
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_TRUE(texts.window().isLeftToRight());
}

INSTANTIATE_TEST_SUITE_P(Qt, QtTextsIn, testing::ValuesIn(languages), rows::RowName());

// A direction asked for on the command line (-reverse) stays.
TEST(QtTexts, KeepTheDirectionAskedFor) {
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    Form1Texts texts(QLocale(QLocale::Italian, QLocale::Italy));
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::RightToLeft);
}

// Run under a locale set in the environment (LC_ALL, LANGUAGE), as a user's
// session sets it, one row at a time: Qt's texts follow it.
class SystemLocale : public testing::TestWithParam<QtTexts> {};

TEST_P(SystemLocale, GivesQtTextsInItsLanguage) {
    ASSERT_EQ(QLocale().language(), GetParam().locale.language())
        << "run this row under its locale";
    Form1Texts texts{QLocale()};
    EXPECT_EQ(texts.contextMenu(), GetParam().contextMenu);
}

// The locales the setup provides: Italian and C, the first two rows.
INSTANTIATE_TEST_SUITE_P(Environment, SystemLocale,
                         testing::ValuesIn(languages.begin(), languages.begin() + 2),
                         rows::RowName());

} // namespace
