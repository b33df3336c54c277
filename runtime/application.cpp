#include "runtime/application.h"

#include <QApplication>
#include <QString>

namespace runtime {

int run(int &argc, char **argv, const ApplicationDescription &application) {
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(application.title));
    QApplication::setApplicationDisplayName(QString::fromUtf8(application.title));
    QApplication::setApplicationVersion(QString::fromUtf8(application.version));

    Form form(application.startupForm);
    form.show();
    return QApplication::exec();
}

} // namespace runtime
