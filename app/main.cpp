#include "qtrv.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qtrv"));
    QApplication::setDesktopFileName(QStringLiteral("qtrv"));
    QTRV window(PortCatalogue::discover());
    window.show();
    return QApplication::exec();
}
