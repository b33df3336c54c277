// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/command_boundary.h"
#include "runtime/form.h"
#include "runtime/qt/native_form.h"
#include "ui/form1.h"

#include "tests/qt/qt_print.h"
#include "tests/row_name.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using rows::PrintTo;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Form1 shown and active on the offscreen platform; run-time errors are
// recorded instead of shown.
class Form1Window : public testing::Test {
protected:
    Form1Window()
        : m_reporter([this](runtime::Form &, const runtime::RuntimeError &error) {
              errors.push_back(error.number());
          }) {
        m_form.show();
        window().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
    }

    QWidget &window() { return *m_form.native().window; }

    template <typename Widget = QWidget> Widget &control(std::string_view name) {
        auto *widget = window().findChild<Widget *>(qs(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }

    QLineEdit &degrees() { return control<QLineEdit>("gradi1"); }
    QLineEdit &distance() { return control<QLineEdit>("centimetri2"); }
    QLabel &result() { return control<QLabel>("centimetri1"); }
    void clickCalcola() { QTest::mouseClick(&control<QPushButton>("cmdcalcola"), Qt::LeftButton); }

    void type(QLineEdit &box, const QString &text) {
        box.setFocus();
        box.selectAll();
        QTest::keyClicks(&box, text);
    }

    // Every control's visible text, by name.
    std::map<QString, QString> texts() {
        std::map<QString, QString> all;
        for (auto *label : window().findChildren<QLabel *>())
            all[label->objectName()] = label->text();
        for (auto *box : window().findChildren<QLineEdit *>())
            all[box->objectName()] = box->text();
        for (auto *button : window().findChildren<QAbstractButton *>())
            all[button->objectName()] = button->text();
        return all;
    }

    std::vector<int> errors;

private:
    runtime::ScopedErrorReporter m_reporter;
    runtime::Form m_form{ui::form1};
};

TEST_F(Form1Window, ClientAreaIsFixedAt347By295) {
    EXPECT_EQ(window().size(), QSize(347, 295));
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
    window().resize(600, 400);
    EXPECT_EQ(window().size(), QSize(347, 295));
    EXPECT_EQ(window().windowTitle(), "Calcolo passo della rigatura");
    EXPECT_FALSE(window().windowIcon().isNull());
}

// A picture missing from the program's resources would just not show.
TEST(Form1Table, EveryPictureItNamesIsBuiltIn) {
    for (std::string_view file : ui::form1.iconFiles)
        EXPECT_TRUE(QImageReader(":/" + qs(file)).canRead()) << file;
    for (const runtime::ControlSpec &row : ui::form1.controls) {
        if (!row.picture.empty()) {
            EXPECT_TRUE(QImageReader(":/" + qs(row.picture)).canRead()) << row.picture;
        }
    }
}

TEST_F(Form1Window, ControlsSitAtTheirTwipsOverFifteen) {
    for (const runtime::ControlSpec &row : ui::form1.controls) {
        const runtime::TwipRect &b = row.bounds;
        EXPECT_EQ(control(row.name).geometry(),
                  QRect(b.left / 15, b.top / 15, b.width / 15, b.height / 15))
            << row.name;
    }
    // Two rows checked against the window's drawing, not against the table.
    EXPECT_EQ(control("cmdcalcola").geometry(), QRect(240, 240, 73, 41));
    EXPECT_EQ(control("centimetri1").geometry(), QRect(24, 256, 113, 25));
}

TEST_F(Form1Window, NoTwoControlsOverlap) {
    const auto children = window().findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i < children.size(); ++i)
        for (qsizetype j = i + 1; j < children.size(); ++j)
            EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
                << children[i]->objectName().toStdString() << " overlaps "
                << children[j]->objectName().toStdString();
}

TEST_F(Form1Window, ControlsAreCreatedAndStackedInTableOrder) {
    QStringList created;
    for (QObject *child : window().children())
        if (child->isWidgetType())
            created << child->objectName();
    EXPECT_EQ(created, (QStringList{"Picture1", "centimetri2", "gradi1", "cmdcalcola", "Label4",
                                    "Label3", "Label2", "Label1", "centimetri1"}));
}

TEST_F(Form1Window, FocusStartsOnCalcolaAndTabsThroughTheBoxes) {
    EXPECT_EQ(QApplication::focusWidget(), &control("cmdcalcola"));
    const QStringList expected{"gradi1", "centimetri2", "cmdcalcola"};
    for (const QString &name : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
    }
    for (const char *name : {"Picture1", "Label1", "Label2", "Label3", "Label4"})
        EXPECT_EQ(control(name).focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(Form1Window, EnterAndEscInABoxDoNothing) {
    type(degrees(), "90");
    type(distance(), "10");
    const auto before = texts();
    for (QLineEdit *box : {&degrees(), &distance()})
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(box, key);
    EXPECT_EQ(texts(), before);
    EXPECT_TRUE(errors.empty());
}

TEST_F(Form1Window, ClicksChangeOnlyTheResult) {
    auto expected = texts();
    EXPECT_EQ(expected.at("centimetri1"), "");
    type(degrees(), "90");
    type(distance(), "10");
    for (int click = 0; click < 3; ++click)
        clickCalcola();
    type(degrees(), "abc");
    clickCalcola();
    expected["gradi1"] = "abc";
    expected["centimetri2"] = "10";
    expected["centimetri1"] = "40";
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(errors, std::vector<int>{13});
}

struct CaptionFit {
    std::string name;
    QString degrees;
    QString distance;
    QString shown;
};

class ResultFits : public Form1Window, public testing::WithParamInterface<CaptionFit> {};

// A long result is shown whole in a smaller size, never cut into another number.
TEST_P(ResultFits, IsShownWhole) {
    type(degrees(), GetParam().degrees);
    type(distance(), GetParam().distance);
    clickCalcola();
    EXPECT_EQ(result().text(), GetParam().shown);
    EXPECT_LE(QFontMetricsF(result().font()).horizontalAdvance(result().text()),
              result().contentsRect().width());
    EXPECT_LE(QFontMetricsF(result().font()).height(), result().contentsRect().height());
}

INSTANTIATE_TEST_SUITE_P(Window, ResultFits,
                         testing::Values(CaptionFit{"Short", "90", "10", "40"},
                                         CaptionFit{"Widest", "-360", "3,4028235E+38",
                                                    "-3,402823E+38"},
                                         CaptionFit{"ExponentForm", "-360", "1E-30", "-1E-30"}),
                         rows::RowName());

TEST_F(Form1Window, ShortResultKeepsTheFullSizeAfterALongOne) {
    type(degrees(), "-360");
    type(distance(), "3,4028235E+38");
    clickCalcola();
    type(degrees(), "90");
    type(distance(), "10");
    clickCalcola();
    EXPECT_DOUBLE_EQ(result().font().pointSizeF(), 14.25);
}

TEST_F(Form1Window, NoCaptionIsClipped) {
    for (QLabel *label : window().findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue;
        const QFontMetricsF metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
            << label->objectName().toStdString();
        EXPECT_LE(metrics.height(), label->contentsRect().height())
            << label->objectName().toStdString();
    }
    auto &button = control<QPushButton>("cmdcalcola");
    const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    EXPECT_LE(QFontMetricsF(button.font()).horizontalAdvance(button.text()),
              button.width() - 2 * margin);
}

TEST_F(Form1Window, ResultUsesVerdanaOrItsStandInAndTheEntryColours) {
    const QFontInfo font(result().font());
    EXPECT_TRUE(font.family() == "Verdana" || font.family() == "DejaVu Sans")
        << font.family().toStdString();
    EXPECT_DOUBLE_EQ(result().font().pointSizeF(), 14.25);
    EXPECT_EQ(result().font().weight(), QFont::Normal);
    EXPECT_FALSE(result().font().italic() || result().font().underline() ||
                 result().font().strikeOut());
    EXPECT_EQ(result().backgroundRole(), QPalette::Base);
    EXPECT_EQ(result().foregroundRole(), QPalette::Text);
    EXPECT_TRUE(result().autoFillBackground());
}

// Only a Qt text box can hold a NUL; it is no blank and no digit.
TEST_F(Form1Window, EmbeddedNulIsNoNumber) {
    degrees().setText(QString("90") + QChar(0));
    distance().setText("10");
    clickCalcola();
    EXPECT_EQ(errors, std::vector<int>{13});
    EXPECT_EQ(result().text(), "");
}

TEST_F(Form1Window, ResultCanBeSelectedAndCopied) {
    EXPECT_TRUE(result().textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    EXPECT_EQ(result().textFormat(), Qt::PlainText);
}

TEST_F(Form1Window, ScreenReadersGetNamesAndDescriptions) {
    EXPECT_EQ(degrees().accessibleName(), "GRADI MISURATI");
    EXPECT_EQ(distance().accessibleName(), "SPAZIO MISURATO in centimetri");
    EXPECT_EQ(result().accessibleName(), "");
    EXPECT_EQ(result().accessibleDescription(),
              "Il passo di rigatura della canna è di … cm. / giro");
    EXPECT_FALSE(degrees().toolTip().isEmpty());
    EXPECT_FALSE(distance().toolTip().isEmpty());
}

// The logo is wider than its box: drawn from the top-left corner, its right
// edge is cut off and nothing else moves. On a dense screen it is drawn from
// the picture made for it, pixel for pixel.
TEST_F(Form1Window, LogoIsClippedOnTheRight) {
    auto &picture = control<QLabel>("Picture1");
    const QPixmap logo = picture.pixmap();
    ASSERT_FALSE(logo.isNull());
    const qreal density = qApp->devicePixelRatio() > 1.0 ? 2.0 : 1.0;
    EXPECT_EQ(logo.devicePixelRatio(), density);
    EXPECT_EQ(logo.deviceIndependentSize().toSize(), QSize(222, 90));
    EXPECT_EQ(picture.size(), QSize(217, 97));

    const QImage drawn = picture.grab().toImage();
    const QImage source = logo.toImage();
    const int visibleWidth = static_cast<int>(217 * density);
    int opaqueChecked = 0;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < visibleWidth; ++x)
            if (qAlpha(source.pixel(x, y)) == 255) {
                EXPECT_EQ(drawn.pixel(x, y), source.pixel(x, y)) << x << "," << y;
                ++opaqueChecked;
            }
    EXPECT_GT(opaqueChecked, 500);
}

struct ErrorBoxCase {
    std::string name;
    QString degrees;
    QString distance;
    QString text;
};

class ErrorBoxes : public testing::TestWithParam<ErrorBoxCase> {};

// The real box, as the user sees it: the error, then what to change.
TEST_P(ErrorBoxes, ShowTheErrorAndWhatToChangeAndGoOn) {
    const ErrorBoxCase &c = GetParam();
    QApplication::setApplicationDisplayName("Calcolo passo della rigatura");
    runtime::Form form(ui::form1);
    form.show();
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        EXPECT_EQ(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    QWidget &window = *form.native().window;
    window.findChild<QLineEdit *>("gradi1")->setText(c.degrees);
    window.findChild<QLineEdit *>("centimetri2")->setText(c.distance);
    QTest::mouseClick(window.findChild<QPushButton *>("cmdcalcola"), Qt::LeftButton);
    EXPECT_EQ(title, "Calcolo passo della rigatura");
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(window.findChild<QLabel *>("centimetri1")->text(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Window, ErrorBoxes,
    testing::Values(
        ErrorBoxCase{"DegreesNotANumber", "abc", "10",
                     "Errore di run-time '13':\n\nTipo non corrispondente\n"
                     "GRADI MISURATI deve essere un numero, come 90 o 12,5"},
        ErrorBoxCase{"DistanceNotANumber", "90", "",
                     "Errore di run-time '13':\n\nTipo non corrispondente\n"
                     "SPAZIO MISURATO in centimetri deve essere un numero, come 10 o 12,5"},
        ErrorBoxCase{"DegreesOutOfRange", "-1e39", "10",
                     "Errore di run-time '6':\n\nOverflow\n"
                     "GRADI MISURATI è fuori dall'intervallo ammesso, da -3,402823E+38 a "
                     "3,402823E+38"},
        ErrorBoxCase{"DistanceOutOfRange", "90", "1e39",
                     "Errore di run-time '6':\n\nOverflow\n"
                     "SPAZIO MISURATO in centimetri è fuori dall'intervallo ammesso, da "
                     "-3,402823E+38 a 3,402823E+38"},
        ErrorBoxCase{"ZeroDegrees", "0", "10",
                     "Errore di run-time '11':\n\nDivisione per zero\n"
                     "GRADI MISURATI non può essere zero"},
        ErrorBoxCase{"TwistTooLarge", "1e-30", "1e10",
                     "Errore di run-time '6':\n\nOverflow\nIl passo risultante è troppo grande"}),
    rows::RowName());

} // namespace
