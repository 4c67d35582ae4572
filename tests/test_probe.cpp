// The port probe: what counts as a port that can be opened, found without opening the driver.
#include "comfunct.h"
#include "device_check.h"
#include "pty_pair.h"

#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

Q_DECLARE_METATYPE(DeviceState)

class TestProbe : public QObject {
    Q_OBJECT
  private slots:
    void statesOfThingsThatAreNotPorts_data();
    void statesOfThingsThatAreNotPorts();
    void aPseudoTerminalIsAvailable();
    void aLinkToAPseudoTerminalIsAvailable();
    void aPortHeldByASerialProgramIsBusy();
    void aStaleLockDoesNotCount();
    void aDeviceThisUserMayNotUseIsRefused();
    void portNumbersOutsideTheCatalogue_data();
    void portNumbersOutsideTheCatalogue();
    void theCatalogueOrdersAdaptersVirtualPortsAndUarts();

  private:
    QTemporaryDir m_dir;
};

void TestProbe::statesOfThingsThatAreNotPorts_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<DeviceState>("state");
    QFile plain(m_dir.filePath("plain-file"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    QFile::link(m_dir.filePath("nowhere"), m_dir.filePath("dangling-link"));
    QTest::newRow("missing") << "/nonexistent/ttyUSB0" << DeviceState::Missing;
    QTest::newRow("dangling link") << m_dir.filePath("dangling-link") << DeviceState::Missing;
    QTest::newRow("plain file") << m_dir.filePath("plain-file") << DeviceState::NotATerminal;
    QTest::newRow("folder") << m_dir.path() << DeviceState::NotATerminal;
    QTest::newRow("/dev/null") << "/dev/null" << DeviceState::NotATerminal;
    QTest::newRow("the console") << "/dev/console" << DeviceState::NotATerminal;
    QTest::newRow("the controlling terminal") << "/dev/tty" << DeviceState::NotATerminal;
}

void TestProbe::statesOfThingsThatAreNotPorts() {
    QFETCH(QString, path);
    QFETCH(DeviceState, state);
    QCOMPARE(CheckDevice(path), state);
}

void TestProbe::aPseudoTerminalIsAvailable() {
    PtyPair pty;
    QCOMPARE(CheckDevice(pty.slavePath()), DeviceState::Available);
}

void TestProbe::aLinkToAPseudoTerminalIsAvailable() {
    PtyPair pty;
    const QString link = m_dir.filePath("virtual-port");
    QVERIFY(QFile::link(pty.slavePath(), link));
    QCOMPARE(CheckDevice(link), DeviceState::Available);
    QFile::remove(link);
}

void TestProbe::aPortHeldByASerialProgramIsBusy() {
    PtyPair pty;
    const QString link = m_dir.filePath("held-port");
    QVERIFY(QFile::link(pty.slavePath(), link));
    {
        // Held under its device name, the port is busy under every name.
        QSerialPort other;
        other.setPortName(pty.slavePath());
        QVERIFY(other.open(QIODevice::ReadWrite));
        QCOMPARE(CheckDevice(pty.slavePath()), DeviceState::Busy);
        QCOMPARE(CheckDevice(link), DeviceState::Busy);
    }
    QCOMPARE(CheckDevice(pty.slavePath()), DeviceState::Available);
    {
        // Held under the link the catalogue lists, it is busy under that link.
        QSerialPort other;
        other.setPortName(link);
        QVERIFY(other.open(QIODevice::ReadWrite));
        QCOMPARE(CheckDevice(link), DeviceState::Busy);
    }
    QCOMPARE(CheckDevice(link), DeviceState::Available);
    QFile::remove(link);
}

void TestProbe::aStaleLockDoesNotCount() {
    PtyPair pty;
    const QString lockPath =
        "/run/lock/LCK.." + pty.slavePath().mid(5).replace('/', '_'); // LCK..pts_N
    QFile lock(lockPath);
    if (!lock.open(QIODevice::WriteOnly)) {
        QSKIP("the lock folder is not writable here");
    }
    lock.write("2147483646\nqtrv-test\nhost\n"); // no such process
    lock.close();
    QCOMPARE(CheckDevice(pty.slavePath()), DeviceState::Available);
    QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
    lock.write(QByteArray::number(::getpid()) + "\n");
    lock.close();
    QCOMPARE(CheckDevice(pty.slavePath()), DeviceState::Busy);
    QFile::remove(lockPath);
}

void TestProbe::aDeviceThisUserMayNotUseIsRefused() {
    if (::geteuid() == 0) {
        QSKIP("root may use every device");
    }
    PtyPair pty;
    QFile::setPermissions(pty.slavePath(), QFileDevice::ReadOwner);
    QCOMPARE(CheckDevice(pty.slavePath()), DeviceState::PermissionDenied);
}

void TestProbe::portNumbersOutsideTheCatalogue_data() {
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("exists");
    QTest::newRow("0") << 0 << false;
    QTest::newRow("-1") << -1 << false;
    QTest::newRow("1") << 1 << true;
    QTest::newRow("2, absent") << 2 << false;
    QTest::newRow("3, beyond the list") << 3 << false;
}

void TestProbe::portNumbersOutsideTheCatalogue() {
    QFETCH(int, port);
    QFETCH(bool, exists);
    PtyPair pty;
    const PortCatalogue catalogue(
        {{pty.slavePath(), "pseudo-terminal"}, {"/nonexistent/ttyUSB1", "absent"}});
    QCOMPARE(comfunct::ComPortExists(catalogue, static_cast<qint16>(port)), exists);
}

void TestProbe::theCatalogueOrdersAdaptersVirtualPortsAndUarts() {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    PtyPair a;
    PtyPair b;
    QVERIFY(QDir().mkpath(PortCatalogue::virtualPortFolder()));
    QVERIFY(QFile::link(b.slavePath(), PortCatalogue::virtualPortFolder() + "/b-sim"));
    QVERIFY(QFile::link(a.slavePath(), PortCatalogue::virtualPortFolder() + "/a-sim"));
    const QList<PortDevice> devices = PortCatalogue::discover().devices();
    // Ranks: USB adapters 0, virtual ports 1, built-in UARTs and the rest 2.
    auto rank = [](const QString& path) {
        if (path.startsWith("/dev/ttyUSB") || path.startsWith("/dev/ttyACM")) {
            return 0;
        }
        return path.startsWith("/dev/") ? 2 : 1;
    };
    QStringList virtualPorts;
    for (qsizetype i = 0; i < devices.size(); ++i) {
        QVERIFY(!devices[i].description.isEmpty());
        if (i > 0) {
            QVERIFY2(rank(devices[i - 1].path) <= rank(devices[i].path),
                     qPrintable(devices[i].path));
        }
        if (rank(devices[i].path) == 1) {
            virtualPorts << devices[i].path.section('/', -1);
            QVERIFY(devices[i].description.contains("/dev/pts/"));
        }
    }
    QCOMPARE(virtualPorts, (QStringList{"a-sim", "b-sim"}));
    qunsetenv("XDG_RUNTIME_DIR");
}

QTEST_GUILESS_MAIN(TestProbe)
#include "test_probe.moc"
