// The floor the toolkit costs: a Qt Widgets window of the tuning window's size, empty, or with
// one line of text ("--text") for the floor of any window that draws text.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(358, 436);
    if (QApplication::arguments().contains(QStringLiteral("--text"))) {
        auto* label = new QLabel(QStringLiteral("Tuning Utility V2.0"), &window);
        label->move(20, 20);
    }
    window.show();
    return QApplication::exec();
}
