// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into both start-up benchmark programs, so that the program and its
// baseline stop the clock the same way: once the first top-level window has
// painted and the display server has taken the frame, the process ends at
// once. Tearing down the application afterwards is no part of starting up.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLatin1String>
#include <QMetaObject>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

class FirstFrameExit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!m_painted && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            m_painted = true;
            // The window receives its paint event first, before its children
            // are drawn and the backing store is flushed; a queued call runs
            // only after that whole repaint has returned to the event loop.
            QMetaObject::invokeMethod(this, &FirstFrameExit::exitNow, Qt::QueuedConnection);
        }
        return false;
    }

private:
    static void exitNow() {
        // Qt makes no round trip to a Wayland compositor. It sends the
        // compositor what it has queued as the event loop is about to wait,
        // and the process ends just after that.
        if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
            QObject::connect(QAbstractEventDispatcher::instance(),
                             &QAbstractEventDispatcher::aboutToBlock, &exitAtOnce);
            return;
        }
        // A round trip to the X server: the frame's image requests have been
        // processed when it returns.
        QGuiApplication::sync();
        exitAtOnce();
    }

    static void exitAtOnce() {
        std::fflush(nullptr);
        std::_Exit(0);
    }

    bool m_painted = false;
};

void watchForFirstFrame() {
    QCoreApplication *application = QCoreApplication::instance();
    application->installEventFilter(new FirstFrameExit(application));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchForFirstFrame)
