#include "runtime/command_boundary.h"

#include "runtime/qt_conversions.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace runtime {
namespace {

QString errorBoxText(const RuntimeError &error) {
    return QStringLiteral("Errore di run-time '%1':\n\n%2")
        .arg(error.number())
        .arg(toQString(error.description()));
}

void showErrorBox(const RuntimeError &error) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    errorBoxText(error), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

ErrorReporter &currentReporter() {
    static ErrorReporter reporter = showErrorBox;
    return reporter;
}

void reportUnhandled(const RuntimeError &error) noexcept {
    try {
        currentReporter()(error);
    } catch (...) {
        // Reporting failed too (out of memory, most likely); the command has
        // already stopped and the window is intact, so the program goes on.
    }
}

} // namespace

ScopedErrorReporter::ScopedErrorReporter(ErrorReporter reporter)
    : m_previous(std::exchange(currentReporter(), std::move(reporter))) {}

ScopedErrorReporter::~ScopedErrorReporter() {
    currentReporter() = std::move(m_previous);
}

void runCommand(Command command, Form &form) noexcept {
    try {
        command(form);
    } catch (const RuntimeError &error) {
        reportUnhandled(error);
    } catch (...) {
        reportUnhandled(RuntimeError(ErrorCode::internalError));
    }
}

} // namespace runtime
