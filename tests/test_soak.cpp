// A thousand cycles of connect, report, save and disconnect leave no descriptor or lock behind.
#include "indicator_shape.h"
#include "window_driver.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestSoak : public QObject {
    Q_OBJECT
  private slots:
    void cyclesLeaveNothingBehind();
};

void TestSoak::cyclesLeaveNothingBehind() {
    WindowDriver d;
    QTRV& w = d.window();
    auto descriptors = [] { return QDir("/proc/self/fd").entryList(QDir::System).size(); };
    auto locks = [] { return QDir("/run/lock").entryList({"LCK..*"}); };
    QVERIFY(d.connectWithReport(WindowDriver::typicalReport()));
    d.click(w.bOpen);
    const auto descriptorsBefore = descriptors();
    const QStringList locksBefore = locks();
    for (int cycle = 0; cycle < 1000; ++cycle) {
        QVERIFY2(d.connectWithReport(WindowDriver::typicalReport()),
                 qPrintable(QString::number(cycle)));
        QCOMPARE(d.save().size(), 57);
        QCOMPARE(w.tStatus->text(), QString("Save was successful!"));
        d.click(w.bOpen);
        QVERIFY(!w.MSComm1->isOpen());
    }
    QCOMPARE(descriptors(), descriptorsBefore);
    QCOMPARE(locks(), locksBefore);
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
