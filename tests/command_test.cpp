#include "runtime/command_boundary.h"
#include "runtime/form.h"
#include "ui/form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "tests/qt_print.h"
#include "tests/row_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using rows::PrintTo;

using runtime::ErrorCode;

// Form1 on the offscreen platform, with run-time errors recorded instead of
// shown in a modal box.
class CalculateCommand : public testing::Test {
protected:
    CalculateCommand()
        : m_reporter(
              [this](const runtime::RuntimeError &error) { errors.push_back(error.code()); }) {
        m_form.show();
    }

    template <typename Widget> Widget &control(const char *name) {
        auto *widget = m_form.window()->findChild<Widget *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }

    // Types both measurements and clicks "CALCOLA"; returns the result label's text.
    QString calculate(const QString &degrees, const QString &distance) {
        control<QLineEdit>("gradi1").setText(degrees);
        control<QLineEdit>("centimetri2").setText(distance);
        QTest::mouseClick(&control<QPushButton>("cmdcalcola"), Qt::LeftButton);
        return control<QLabel>("centimetri1").text();
    }

    std::vector<ErrorCode> errors;

private:
    runtime::ScopedErrorReporter m_reporter;
    runtime::Form m_form{ui::form1};
};

TEST_F(CalculateCommand, GoodClickWritesTheTwist) {
    EXPECT_EQ(calculate("90", "10"), "40");
    EXPECT_EQ(calculate("7", "13"), "668,5714");
    EXPECT_EQ(calculate("365", "12"), "11,83562");
    EXPECT_EQ(calculate(" -10 ", "5,0"), "-180");
    EXPECT_TRUE(errors.empty());
}

TEST_F(CalculateCommand, LabelStartsEmpty) {
    EXPECT_EQ(control<QLabel>("centimetri1").text(), "");
}

struct FailingClick {
    std::string name;
    QString degrees;
    QString distance;
    ErrorCode error;
};

class FailingClicks : public CalculateCommand, public testing::WithParamInterface<FailingClick> {};

TEST_P(FailingClicks, ReportTheirErrorAndKeepTheLabelAndFields) {
    const FailingClick &c = GetParam();
    ASSERT_EQ(calculate("90", "10"), "40");

    EXPECT_EQ(calculate(c.degrees, c.distance), "40");
    EXPECT_EQ(errors, std::vector<ErrorCode>{c.error});
    EXPECT_EQ(control<QLineEdit>("gradi1").text(), c.degrees);
    EXPECT_EQ(control<QLineEdit>("centimetri2").text(), c.distance);
}

INSTANTIATE_TEST_SUITE_P(
    Calculate, FailingClicks,
    testing::Values(FailingClick{"RejectedDegrees", "abc", "10", ErrorCode::typeMismatch},
                    // Degrees are read first: their error is the one reported.
                    FailingClick{"RejectedDegreesBeforeOverflowingDistance", "abc", "1e39",
                                 ErrorCode::typeMismatch},
                    FailingClick{"EmptyDegrees", "", "10", ErrorCode::typeMismatch},
                    FailingClick{"RejectedDistance", "90", "dieci", ErrorCode::typeMismatch},
                    FailingClick{"OverflowingDistance", "90", "1e39", ErrorCode::overflow},
                    FailingClick{"ZeroDegrees", "0", "10", ErrorCode::divisionByZero},
                    FailingClick{"ZeroDegreesZeroDistance", "0", "0", ErrorCode::divisionByZero},
                    FailingClick{"TwistBeyondSingleRange", "1e-30", "1e10", ErrorCode::overflow}),
    rows::RowName());

TEST_F(CalculateCommand, SameInputsWriteTheSameText) {
    const QString first = calculate("7", "13");
    EXPECT_EQ(calculate("7", "13"), first);
}

TEST_F(CalculateCommand, GoesOnAfterAnError) {
    calculate("0", "10");
    calculate("abc", "10");
    EXPECT_EQ(calculate("1", "1"), "360");
    EXPECT_EQ(errors, (std::vector<ErrorCode>{ErrorCode::divisionByZero, ErrorCode::typeMismatch}));
}

// Nothing escapes the boundary, not even an exception that is no run-time error.
TEST(CommandBoundary, ReportsForeignExceptionsAsInternalErrors) {
    std::vector<int> numbers;
    runtime::ScopedErrorReporter reporter(
        [&](const runtime::RuntimeError &error) { numbers.push_back(error.number()); });
    runtime::Form form(ui::form1);
    runtime::runCommand([](runtime::Form &) { throw std::bad_alloc(); }, form);
    runtime::runCommand([](runtime::Form &) { throw 42; }, form);
    EXPECT_EQ(numbers, (std::vector<int>{51, 51}));
}

} // namespace
