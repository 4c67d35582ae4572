#include "qtrv.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qtrv"));
    QApplication::setDesktopFileName(QStringLiteral("example.qtrv.TuningUtility"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/example.qtrv.TuningUtility.png")));
    QTRV window(PortCatalogue::discover());
    window.show();
    return QApplication::exec();
}
