// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// What only the Qt window has, beside the window suite every backend runs.

#include "runtime/qt/native_form.h"

#include "tests/form1_window.h"
#include "tests/qt/qt_print.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class QtWindow : public Form1Window {
protected:
    template <typename Widget = QWidget> Widget &control(std::string_view name) {
        auto *widget = form.native().window->findChild<Widget *>(qs(name));
        if (widget == nullptr)
            throw std::logic_error("no control " + std::string(name));
        return *widget;
    }
    QLabel &result() { return control<QLabel>("centimetri1"); }
};

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

// The order a screen reader meets the window's children in.
TEST_F(QtWindow, ControlsAreCreatedInReadingOrder) {
    QStringList created;
    for (QObject *child : form.native().window->children())
        if (child->isWidgetType())
            created << child->objectName();
    EXPECT_EQ(created, (QStringList{"Picture1", "Label1", "gradi1", "Label2", "centimetri2",
                                    "Label3", "centimetri1", "Label4", "cmdcalcola"}));
    for (const char *name : {"Picture1", "Label1", "Label2", "Label3", "Label4"})
        EXPECT_EQ(control(name).focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(QtWindow, ResultIsPlainTextInTheEntryColours) {
    EXPECT_EQ(result().font().weight(), QFont::Normal);
    EXPECT_FALSE(result().font().italic() || result().font().underline() ||
                 result().font().strikeOut());
    EXPECT_EQ(result().backgroundRole(), QPalette::Base);
    EXPECT_EQ(result().foregroundRole(), QPalette::Text);
    EXPECT_TRUE(result().autoFillBackground());
    EXPECT_EQ(result().textFormat(), Qt::PlainText);
}

// Only a Qt text box can hold a NUL; it is no blank and no digit.
TEST_F(QtWindow, EmbeddedNulIsNoNumber) {
    control<QLineEdit>("gradi1").setText(QString("90") + QChar(0));
    control<QLineEdit>("centimetri2").setText("10");
    clickCalcola();
    EXPECT_EQ(errors, std::vector<int>{13});
    EXPECT_EQ(result().text(), "");
}

TEST_F(QtWindow, ScreenReadersGetTheResultAndTips) {
    EXPECT_EQ(result().accessibleName(), "");
    EXPECT_EQ(result().accessibleDescription(),
              "Il passo di rigatura della canna è di … cm. / giro");
    EXPECT_FALSE(control("gradi1").toolTip().isEmpty());
    EXPECT_FALSE(control("centimetri2").toolTip().isEmpty());
}

// The logo is wider than its box: drawn from the top-left corner, its right
// edge is cut off and nothing else moves. On a dense screen it is drawn from
// the picture made for it, pixel for pixel.
TEST_F(QtWindow, LogoIsClippedOnTheRight) {
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

} // namespace
