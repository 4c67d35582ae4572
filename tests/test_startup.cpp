// Start-up: which port numbers the probe finds, what the port box lists and preselects,
// and that nothing is left open.
#include "indicator_shape.h"
#include "window_driver.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// How many of this process's descriptors point at `path`.
int openDescriptors(const QString& path) {
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        count += fd.symLinkTarget() == path;
    }
    return count;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
  private slots:
    void listsThePortsThatOpen_data();
    void listsThePortsThatOpen();
    void neverProbesAbove16();
    void entriesNameTheirDevice();
    void leavesNothingOpen();
};

void TestStartup::listsThePortsThatOpen_data() {
    QTest::addColumn<QList<int>>("terminals"); // port numbers that are pseudo-terminals
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("text");
    QTest::newRow("3 and 5") << QList<int>{3, 5} << QStringList{"3", "5"} << "3";
    QTest::newRow("only 16") << QList<int>{16} << QStringList{"16"} << "16";
    QTest::newRow("none") << QList<int>{} << QStringList{} << "17";
    QTest::newRow("10 to 16 like 1 to 9")
        << QList<int>{9, 10, 12, 16} << QStringList{"9", "10", "12", "16"} << "9";
    QTest::newRow("1") << QList<int>{1} << QStringList{"1"} << "1";
}

void TestStartup::listsThePortsThatOpen() {
    QFETCH(QList<int>, terminals);
    QFETCH(QStringList, listed);
    QFETCH(QString, text);
    std::vector<std::unique_ptr<PtyPair>> ptys;
    QList<std::pair<int, QString>> devices;
    for (int n : terminals) {
        ptys.push_back(std::make_unique<PtyPair>());
        devices.append({n, ptys.back()->slavePath()});
    }
    QTRV window(catalogueWith(16, devices));
    QStringList entries;
    for (int i = 0; i < window.pCPort->count(); ++i) {
        entries << window.pCPort->itemText(i);
    }
    QCOMPARE(entries, listed);
    QCOMPARE(window.pCPort->currentText(), text);
    QVERIFY(window.bOpen->isEnabled());
    QCOMPARE(window.bOpen->text(), QString("Connect"));
    QCOMPARE(window.tStatus->text(), QString());
    QCOMPARE(window.Shape1->fillColor(), QTRV::kRed);
    QVERIFY(!window.parameters().CalibrateG && !window.parameters().TpsReverse &&
            !window.parameters().EbrakeCutOff);
    QVERIFY(!window.MSComm1->isOpen());
}

void TestStartup::neverProbesAbove16() {
    std::vector<std::unique_ptr<PtyPair>> ptys;
    QList<std::pair<int, QString>> devices;
    for (int n = 1; n <= 20; ++n) {
        ptys.push_back(std::make_unique<PtyPair>());
        devices.append({n, ptys.back()->slavePath()});
    }
    QTRV window(catalogueWith(20, devices));
    QCOMPARE(window.pCPort->count(), 16);
    QCOMPARE(window.pCPort->itemText(15), QString("16"));
}

void TestStartup::entriesNameTheirDevice() {
    PtyPair pty;
    QTRV window(catalogueWith(4, {{4, pty.slavePath()}}));
    const QString tip = window.pCPort->itemData(0, Qt::ToolTipRole).toString();
    QVERIFY2(tip.contains(pty.slavePath()), qPrintable(tip));
    QVERIFY(window.pCPort->toolTip().contains(pty.slavePath()));
    window.pCPort->setEditText("2");
    QVERIFY2(window.pCPort->toolTip().contains("/nonexistent/ttyQTRV2"),
             qPrintable(window.pCPort->toolTip()));
    window.pCPort->setEditText("9");
    QCOMPARE(window.pCPort->toolTip(), QString("No serial device has this number."));
}

void TestStartup::leavesNothingOpen() {
    PtyPair a;
    PtyPair b;
    const int before = openDescriptors(a.slavePath()) + openDescriptors(b.slavePath());
    QTRV window(catalogueWith(16, {{2, a.slavePath()}, {7, b.slavePath()}}));
    QCOMPARE(window.pCPort->count(), 2);
    QCOMPARE(openDescriptors(a.slavePath()) + openDescriptors(b.slavePath()), before);
    for (const PtyPair* pty : {&a, &b}) {
        const QString lock = "/run/lock/LCK.." + pty->slavePath().mid(5).replace('/', '_');
        QVERIFY2(!QFile::exists(lock), qPrintable(lock));
    }
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
