// Renders the window as it stands after start-up into a PNG file, for the documentation:
//   QT_QPA_PLATFORM=offscreen qtrv-screenshot docs/window.png
#include "qtrv.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qtrv-screenshot FILE.png\n");
        return 2;
    }
    QTRV window(PortCatalogue::discover());
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(args.at(1))) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
