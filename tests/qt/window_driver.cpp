// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/window_driver.h"

#include "runtime/qt/native_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

namespace driver {
namespace {

template <typename Widget> Widget &control(runtime::Form &form, std::string_view name) {
    auto *widget = form.native().window->findChild<Widget *>(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (widget == nullptr)
        throw std::logic_error("no control " + std::string(name));
    return *widget;
}

} // namespace

void setText(runtime::Form &form, std::string_view textBox, const std::string &text) {
    control<QLineEdit>(form, textBox).setText(QString::fromStdString(text));
}

std::string held(const std::string &typed) {
    return typed;
}

std::string text(runtime::Form &form, std::string_view textBox) {
    return control<QLineEdit>(form, textBox).text().toStdString();
}

void click(runtime::Form &form, std::string_view button) {
    QTest::mouseClick(&control<QPushButton>(form, button), Qt::LeftButton);
}

std::string caption(runtime::Form &form, std::string_view label) {
    return control<QLabel>(form, label).text().toStdString();
}

long resourceUse() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

long resourceSlack() {
    return 1L << 20;
}

} // namespace driver
