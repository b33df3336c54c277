// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/accessible_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLatin1String>
#include <QWidget>

namespace runtime {
namespace {

// Qt describes a plain QWidget shown as a window as a client area, which the
// accessibility bus calls a "filler" and screen readers pass over: they
// announce a window by its frame, reading its title as it comes to the front
// and listing it among the open windows. A QDialog or a QMainWindow would be
// announced, but a dialog takes Enter and Esc for its own buttons and a main
// window brings a layout of its own. Only the role changes here: the name
// (the title), the state (active while in front) and the children stay Qt's.
QAccessibleInterface *plainWindowAsFrame(const QString &className, QObject *object) {
    // Qt asks about each class of the object from its own up, each time
    // asking this factory before its own: a widget reaches "QWidget" only
    // when no class of its own was described first.
    if (className != QLatin1String("QWidget") || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (!widget->isWindow())
        return nullptr;
    // Qt's accessibility cache owns the interface and deletes it with the
    // widget.
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void installWindowAccessibility() {
    // Qt asks the factory installed last first, so this comes after the one
    // QApplication installs for its own widgets.
    QAccessible::installFactory(plainWindowAsFrame);
}

} // namespace runtime
