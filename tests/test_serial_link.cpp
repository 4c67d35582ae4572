// The serial layer over a real pseudo-terminal: settings, the receive threshold, the read
// buffer, writing, closing, open failures and a line that dies.
#include "pty_pair.h"
#include "serial_link.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>

namespace {

// A link on port 1 of a catalogue holding only `pty`, set up as the window sets it up.
std::unique_ptr<SerialLink> openLink(PtyPair& pty) {
    auto link = std::make_unique<SerialLink>(PortCatalogue({{pty.slavePath(), "pty"}}));
    link->setCommPort(1);
    link->setSettings("57600,N,8,1");
    link->setInputLen(0);
    link->setRThreshold(49);
    if (!link->open().opened) {
        return nullptr;
    }
    return link;
}

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT
  private slots:
    void appliesTheLineSettings();
    void refusesSettingsItDoesNotKnow_data();
    void refusesSettingsItDoesNotKnow();
    void notifiesAtTheThreshold();
    void readsAllWaitingInBoundedPieces();
    void writesExactlyTheBytes();
    void closeSendsWhatIsQueued();
    void writeOnAClosedPortIsRefused();
    void explainsWhyAPortDoesNotOpen();
    void aPulledCableEndsTheLinkOnce();
};

void TestSerialLink::appliesTheLineSettings() {
    PtyPair pty;
    auto link = openLink(pty);
    QVERIFY(link);
    const termios line = pty.lineSettings();
    QCOMPARE(cfgetospeed(&line), speed_t(B57600));
    QCOMPARE(cfgetispeed(&line), speed_t(B57600));
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(line.c_cflag & PARENB, tcflag_t(0));
    QCOMPARE(line.c_cflag & CSTOPB, tcflag_t(0));
    QCOMPARE(line.c_cflag & CRTSCTS, tcflag_t(0));
}

void TestSerialLink::refusesSettingsItDoesNotKnow_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("taken");
    QTest::newRow("57600,N,8,1") << "57600,N,8,1" << true;
    QTest::newRow("9600,e,7,2") << "9600,e,7,2" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("no baud") << ",N,8,1" << false;
    QTest::newRow("parity X") << "57600,X,8,1" << false;
    QTest::newRow("9 data bits") << "57600,N,9,1" << false;
    QTest::newRow("3 stop bits") << "57600,N,8,3" << false;
}

void TestSerialLink::refusesSettingsItDoesNotKnow() {
    QFETCH(QString, settings);
    QFETCH(bool, taken);
    SerialLink link{PortCatalogue()};
    QCOMPARE(link.setSettings(settings), taken);
}

void TestSerialLink::notifiesAtTheThreshold() {
    PtyPair pty;
    auto link = openLink(pty);
    QVERIFY(link);
    QSignalSpy notified(link.get(), &SerialLink::onComm);
    pty.write(QByteArray(48, 'a'));
    QTest::qWait(150);
    QCOMPARE(notified.count(), 0);
    pty.write("bc");
    QVERIFY(notified.wait(1000));
    QCOMPARE(link->commEvent(), SerialLink::CommEvent::Receive);
    QCOMPARE(link->input(), QByteArray(48, 'a') + "bc");
    QCOMPARE(link->input(), QByteArray());
}

void TestSerialLink::readsAllWaitingInBoundedPieces() {
    PtyPair pty;
    auto link = openLink(pty);
    QVERIFY(link);
    QByteArray received;
    qsizetype largestRead = 0;
    connect(link.get(), &SerialLink::onComm, this, [&] {
        const QByteArray piece = link->input();
        largestRead = std::max(largestRead, piece.size());
        received += piece;
    });
    QByteArray flood;
    for (int i = 0; i < 20000; ++i) {
        flood += char('a' + i % 26);
    }
    pty.write(flood);
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), flood.size(), 5000);
    QCOMPARE(received, flood);
    QVERIFY2(largestRead <= 1024, qPrintable(QString::number(largestRead)));
}

void TestSerialLink::writesExactlyTheBytes() {
    PtyPair pty;
    auto link = openLink(pty);
    QVERIFY(link);
    QVERIFY(link->output("R\r"));
    QCOMPARE(pty.read(300), QByteArray("R\r"));
}

void TestSerialLink::closeSendsWhatIsQueued() {
    PtyPair pty;
    auto link = openLink(pty);
    QVERIFY(link);
    const QByteArray command = "S,00100,00095,00120,00100,00010,00050,00000,00001,00000,\r";
    QVERIFY(link->output(command));
    link->close();
    QVERIFY(!link->isOpen());
    QCOMPARE(pty.read(300), command);
}

void TestSerialLink::writeOnAClosedPortIsRefused() {
    PtyPair pty;
    auto link = openLink(pty);
    QVERIFY(link);
    link->close();
    QVERIFY(!link->output("R\r"));
    QCOMPARE(pty.read(100), QByteArray());
}

void TestSerialLink::explainsWhyAPortDoesNotOpen() {
    PtyPair pty;
    SerialLink link(PortCatalogue({{pty.slavePath(), "pty"}, {"/nonexistent/ttyUSB9", "gone"}}));
    link.setCommPort(3);
    QCOMPARE(link.open().reason, QString("no device has that number"));
    link.setCommPort(0);
    QCOMPARE(link.open().reason, QString("no device has that number"));
    link.setCommPort(2);
    QCOMPARE(link.open().reason, QString("the device is missing"));
    QSerialPort other;
    other.setPortName(pty.slavePath());
    QVERIFY(other.open(QIODevice::ReadWrite));
    link.setCommPort(1);
    const SerialLink::OpenResult held = link.open();
    QVERIFY(!held.opened);
    QCOMPARE(held.reason, QString("busy, another program holds it"));
    QVERIFY(!link.isOpen());
    other.close();
    QVERIFY(link.open().opened);
}

void TestSerialLink::aPulledCableEndsTheLinkOnce() {
    PtyPair pty;
    auto link = openLink(pty);
    QVERIFY(link);
    QSignalSpy notified(link.get(), &SerialLink::onComm);
    pty.pullCable();
    QVERIFY(notified.wait(1000));
    QCOMPARE(link->commEvent(), SerialLink::CommEvent::LinkLost);
    QVERIFY(!link->isOpen());
    QTest::qWait(200); // a port left open would report errors without end meanwhile
    QCOMPARE(notified.count(), 1);
    QVERIFY(!link->output("R\r"));
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "test_serial_link.moc"
