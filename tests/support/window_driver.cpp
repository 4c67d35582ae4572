#include "window_driver.h"

#include "indicator_shape.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

PortCatalogue catalogueWith(int count, const QList<std::pair<int, QString>>& devices) {
    QList<PortDevice> list;
    for (int n = 1; n <= count; ++n) {
        list.append({QStringLiteral("/nonexistent/ttyQTRV%1").arg(n), QStringLiteral("absent")});
    }
    for (const auto& [number, path] : devices) {
        list[number - 1] = {path, QStringLiteral("pseudo-terminal")};
    }
    return PortCatalogue(list);
}

WindowDriver::WindowDriver()
    : m_controller(std::make_unique<PtyPair>()),
      m_window(std::make_unique<QTRV>(catalogueWith(1, {{1, m_controller->slavePath()}}))) {
    m_window->show();
}

void WindowDriver::click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton);
}

void WindowDriver::type(QWidget* box, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(box);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QByteArray WindowDriver::connectLink() {
    click(m_window->bOpen);
    return m_controller->read(2000, 2);
}

bool WindowDriver::connectWithReport(const QByteArray& report) {
    if (connectLink() != "R\r") {
        return false;
    }
    m_controller->write(report);
    return QTest::qWaitFor([&] { return m_window->Shape1->fillColor() == QTRV::kGreen; }, 2000);
}

QByteArray WindowDriver::save() {
    click(m_window->bSave);
    return m_controller->read(300, 57); // a save command is 57 bytes
}

QByteArray WindowDriver::report(const QString& fields) {
    QByteArray text = fields.toLatin1();
    while (text.size() < 48) {
        text.append(',');
    }
    return text + ",\r";
}

QByteArray WindowDriver::typicalReport() {
    return "P,00100,00095,00120,00100,00010,00050,00001,00000,00000,\r";
}
