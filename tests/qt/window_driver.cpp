// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/window_driver.h"

#include "runtime/qt/native_form.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <malloc.h>

#include <algorithm>
#include <stdexcept>

namespace driver {
namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::size_t rowOf(runtime::Form &form, std::string_view name) {
    const runtime::ControlSpec *row = runtime::findControl(form.table().controls, name);
    if (row == nullptr)
        throw std::logic_error("no control " + std::string(name));
    return static_cast<std::size_t>(row - form.table().controls.data());
}

QWidget &window(runtime::Form &form) {
    return *form.native().window;
}

template <typename Widget = QWidget> Widget &control(runtime::Form &form, std::string_view name) {
    auto *widget = qobject_cast<Widget *>(form.native().controls[rowOf(form, name)]);
    if (widget == nullptr)
        throw std::logic_error("control " + std::string(name) + " is of another kind");
    return *widget;
}

QAccessibleInterface &accessible(QWidget &widget) {
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(&widget);
    if (interface == nullptr)
        throw std::logic_error("no accessible interface");
    return *interface;
}

// A label's or a button's caption, which the driver takes away and puts back
// as it measures what the control draws of it.
QString captionOf(QWidget &widget) {
    if (auto *button = qobject_cast<QAbstractButton *>(&widget))
        return button->text();
    return static_cast<QLabel &>(widget).text();
}

void setCaptionOf(QWidget &widget, const QString &caption) {
    if (auto *button = qobject_cast<QAbstractButton *>(&widget))
        button->setText(caption);
    else
        static_cast<QLabel &>(widget).setText(caption);
}

// The box around the pixels the control's caption leaves when the control is
// drawn at `size`: the control drawn as it is, against the same control
// drawn without its caption.
QRect captionInk(QWidget &widget, QSize size) {
    const QSize shown = widget.size();
    const QString caption = captionOf(widget);
    widget.resize(size);
    const QImage with = widget.grab().toImage();
    setCaptionOf(widget, {});
    const QImage without = widget.grab().toImage();
    setCaptionOf(widget, caption);
    widget.resize(shown);
    QRect ink;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

SeenBox describe(const QMessageBox &box, const QWidget &owner) {
    const QPoint offset = box.frameGeometry().center() - owner.frameGeometry().center();
    return {.title = box.windowTitle().toStdString(),
            .text = box.text().toStdString(),
            .ownedByWindow = box.parentWidget() == &owner,
            .centredOnWindow = offset.manhattanLength() <= 2,
            .buttons = static_cast<int>(box.buttons().size())};
}

} // namespace

void show(runtime::Form &form) {
    form.show();
    window(form).activateWindow();
    if (!QTest::qWaitForWindowActive(&window(form)))
        throw std::runtime_error("the window never became active");
}

void setText(runtime::Form &form, std::string_view textBox, const std::string &text) {
    control<QLineEdit>(form, textBox).setText(qs(text));
}

std::string held(const std::string &typed) {
    return typed;
}

void setTextUtf16(runtime::Form &form, std::string_view textBox, const std::u16string &text) {
    control<QLineEdit>(form, textBox)
        .setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
}

void type(runtime::Form &form, std::string_view textBox, const std::string &text) {
    auto &box = control<QLineEdit>(form, textBox);
    box.setFocus();
    box.selectAll();
    QTest::keyClicks(&box, qs(text));
}

std::string text(runtime::Form &form, std::string_view name) {
    QWidget &widget = control(form, name);
    if (auto *box = qobject_cast<QLineEdit *>(&widget))
        return box->text().toStdString();
    if (auto *button = qobject_cast<QAbstractButton *>(&widget))
        return button->text().toStdString();
    return control<QLabel>(form, name).text().toStdString();
}

void click(runtime::Form &form, std::string_view button) {
    QTest::mouseClick(&control<QPushButton>(form, button), Qt::LeftButton);
}

// The press action clicks the button a moment later, as a user would see
// it go down and up; this waits for that click and what it ran.
void pressByAutomation(runtime::Form &form, std::string_view button) {
    auto &target = control<QPushButton>(form, button);
    QAccessibleActionInterface *actions = accessible(target).actionInterface();
    if (actions == nullptr)
        throw std::logic_error("a button that cannot be pressed");
    bool clicked = false;
    const QMetaObject::Connection watch =
        QObject::connect(&target, &QPushButton::clicked, [&clicked] { clicked = true; });
    actions->doAction(QAccessibleActionInterface::pressAction());
    const bool done = QTest::qWaitFor([&clicked] { return clicked; }, 5000);
    QObject::disconnect(watch);
    if (!done)
        throw std::runtime_error("the press never clicked the button");
}

void press(runtime::Form &, Key key) {
    QWidget *target = QApplication::focusWidget();
    switch (key) {
    case Key::tab:
        QTest::keyClick(target, Qt::Key_Tab);
        break;
    case Key::enter:
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        break;
    case Key::escape:
        QTest::keyClick(target, Qt::Key_Escape);
        break;
    }
}

void focus(runtime::Form &form, std::string_view name) {
    control(form, name).setFocus();
}

std::string focused(runtime::Form &form) {
    const QWidget *widget = QApplication::focusWidget();
    if (widget == nullptr || widget->parentWidget() != &window(form))
        return {};
    return widget->objectName().toStdString();
}

// The other window belongs to this one and goes with it.
void putAnotherWindowInFront(runtime::Form &form) {
    auto *other = new QWidget(&window(form), Qt::Window);
    other->show();
    other->activateWindow();
    if (!QTest::qWaitForWindowActive(other))
        throw std::runtime_error("the other window never became active");
}

bool isOpen(runtime::Form &form) {
    return window(form).isVisible();
}

int layoutDpi(runtime::Form &) {
    return runtime::standardDpi;
}

runtime::PixelRect placement(runtime::Form &form, std::string_view name) {
    const QRect r = control(form, name).geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

runtime::PixelRect clientArea(runtime::Form &form) {
    return {0, 0, window(form).width(), window(form).height()};
}

bool isResizable(runtime::Form &form) {
    return window(form).minimumSize() != window(form).maximumSize();
}

std::string title(runtime::Form &form) {
    return window(form).windowTitle().toStdString();
}

bool hasIcon(runtime::Form &form) {
    return !window(form).windowIcon().isNull();
}

// Whole: the control draws as much of its caption as it would with room to
// spare, four times its size each way.
bool captionFits(runtime::Form &form, std::string_view name) {
    QWidget &widget = control(form, name);
    return captionInk(widget, widget.size()).size() == captionInk(widget, 4 * widget.size()).size();
}

bool atTableSize(runtime::Form &form, std::string_view name) {
    const runtime::ControlSpec &row = form.table().controls[rowOf(form, name)];
    return control(form, name).font().pointSizeF() == runtime::fontOf(form.table(), row).pointSize;
}

std::string fontFamily(runtime::Form &form, std::string_view name) {
    return QFontInfo(control(form, name).font()).family().toStdString();
}

std::string accessibleName(runtime::Form &form, std::string_view name) {
    return accessible(control(form, name)).text(QAccessible::Name).toStdString();
}

// A label selects only what its user may select.
std::string copyAll(runtime::Form &form, std::string_view name) {
    auto &label = control<QLabel>(form, name);
    label.setSelection(0, static_cast<int>(label.text().size()));
    return label.selectedText().toStdString();
}

// Each box is answered from a timer that runs inside its modal loop; the
// second press, if asked for, comes from another, so that a box it opened
// would be found and answered too.
std::vector<SeenBox> pressAndAnswerBoxes(runtime::Form &form, std::string_view button,
                                         bool pressAgain) {
    std::vector<SeenBox> seen;
    std::vector<const QMessageBox *> known;
    bool pressedAgain = !pressAgain;
    QTimer answerer;
    answerer.setInterval(5);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (std::find(known.begin(), known.end(), box) == known.end()) {
            known.push_back(box);
            seen.push_back(describe(*box, window(form)));
        }
        if (!pressedAgain) {
            pressedAgain = true;
            QTimer::singleShot(0, [&form, button] { pressByAutomation(form, button); });
            return;
        }
        box->done(QMessageBox::Ok);
    });
    const bool wasActive = window(form).isActiveWindow();
    answerer.start();
    pressByAutomation(form, button);
    answerer.stop();
    // Once the box has gone, the window manager makes the window active again,
    // as the offscreen platform, which has none, does not.
    if (wasActive) {
        window(form).activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(&window(form), 1000));
    }
    return seen;
}

// Heap bytes in use, whether taken from the heap proper or mapped.
long resourceUse() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<long>(heap.uordblks + heap.hblkhd);
}

long resourceSlack() {
    return 16 * 1024;
}

} // namespace driver
