// The utility against the simulated controller, end to end: the real program's catalogue
// finds the virtual port, and the window connects, reads, saves and survives each fault.
#include "indicator_shape.h"
#include "qtrv.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestSimulator : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanup();
    void connectsReadsAndSaves();
    void faults_data();
    void faults();
    void removesItsPortWhenStopped();

  private:
    // Starts qtrv-sim with `arguments` and returns the virtual port it published.
    QString startSimulator(const QStringList& arguments);
    // A window on this machine's catalogue, its port box set to the simulator's port.
    std::unique_ptr<QTRV> windowOn(const QString& port);
    QTemporaryDir m_runtime;
    QProcess m_sim;
    QByteArray m_simOutput;
};

void TestSimulator::initTestCase() {
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    connect(&m_sim, &QProcess::readyReadStandardOutput, this,
            [this] { m_simOutput += m_sim.readAllStandardOutput(); });
}

void TestSimulator::cleanup() {
    if (m_sim.state() != QProcess::NotRunning) {
        m_sim.terminate();
        m_sim.waitForFinished(3000);
    }
    m_simOutput.clear();
}

QString TestSimulator::startSimulator(const QStringList& arguments) {
    m_sim.start(QStringLiteral(QTRV_SIM_PATH), arguments);
    if (!m_sim.waitForStarted(3000)) {
        return {};
    }
    const QString link = PortCatalogue::virtualPortFolder() + "/sim";
    const bool published =
        QTest::qWaitFor([&] { return m_simOutput.contains("virtual port"); }, 3000);
    return published && QFile::exists(link) ? link : QString();
}

std::unique_ptr<QTRV> TestSimulator::windowOn(const QString& port) {
    const PortCatalogue catalogue = PortCatalogue::discover();
    int number = 0;
    for (int i = 0; i < catalogue.devices().size(); ++i) {
        if (catalogue.devices()[i].path == port) {
            number = i + 1;
        }
    }
    auto window = std::make_unique<QTRV>(catalogue);
    window->pCPort->setEditText(QString::number(number));
    window->show();
    return window;
}

void TestSimulator::connectsReadsAndSaves() {
    const QString port = startSimulator({"--settings", "120,95,130,100,10,50,1,0,0"});
    QVERIFY2(!port.isEmpty(), m_simOutput.constData());
    auto w = windowOn(port);
    QTest::mouseClick(w->bOpen, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w->Shape1->fillColor(), QTRV::kGreen, 3000);
    QCOMPARE(w->tAccel->text(), QString("120"));
    QCOMPARE(w->bTPS->text(), QString("TPS = Reverse"));

    w->tAccel->setText("150");
    QTest::mouseClick(w->bEbrk, Qt::LeftButton);
    QTest::mouseClick(w->bSave, Qt::LeftButton);
    QCOMPARE(w->tStatus->text(), QString("Save was successful!"));
    QTRY_VERIFY_WITH_TIMEOUT(m_simOutput.contains("saved accel 150"), 3000);
    QVERIFY(m_simOutput.contains("ebrake cut off on"));

    // The controller keeps what was saved: a new connection reads it back.
    QTest::mouseClick(w->bOpen, Qt::LeftButton);
    QCOMPARE(w->Shape1->fillColor(), QTRV::kRed);
    QTest::mouseClick(w->bOpen, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w->Shape1->fillColor(), QTRV::kGreen, 3000);
    QCOMPARE(w->tAccel->text(), QString("150"));
    QCOMPARE(w->bEbrk->text(), QString("Ebrake Cut = Off"));
}

void TestSimulator::faults_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QString>("status");
    const QString waiting = "Waiting for QTRV to respond... check your com port!";
    QTest::newRow("silent") << QStringList{"--fault", "silent"} << QTRV::kYellow << waiting;
    QTest::newRow("short") << QStringList{"--fault", "short"} << QTRV::kYellow << waiting;
    QTest::newRow("garbage") << QStringList{"--fault", "garbage"} << QTRV::kYellow
                             << "Could not read QTRV's answer; nothing was changed.";
    QTest::newRow("slow") << QStringList{"--fault", "slow", "--piece-delay", "20"} << QTRV::kGreen
                          << "Parmeters Received from Controller.";
    QTest::newRow("hangup") << QStringList{"--fault", "hangup", "--hangup-after", "0.5"}
                            << QTRV::kRed
                            << "Link to QTRV lost. Check the cable and power, then Connect.";
    // Reads that start inside a report do not parse; the window keeps what it had.
    QTest::newRow("flood") << QStringList{"--fault", "flood"} << QTRV::kGreen << QString();
}

void TestSimulator::faults() {
    QFETCH(QStringList, arguments);
    QFETCH(quint32, colour);
    QFETCH(QString, status);
    const QString port = startSimulator(arguments);
    QVERIFY2(!port.isEmpty(), m_simOutput.constData());
    auto w = windowOn(port);
    QTest::mouseClick(w->bOpen, Qt::LeftButton);
    // A second for what must not happen (a silent controller stays silent), then as long as a
    // slow machine needs for what must.
    QTest::qWait(1000);
    QTRY_COMPARE_WITH_TIMEOUT(w->Shape1->fillColor(), colour, 5000);
    if (!status.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(w->tStatus->text(), status, 5000);
    }
    // Whatever the controller did, the user can always end the link.
    QTest::mouseClick(w->bOpen, Qt::LeftButton);
    QVERIFY(!w->MSComm1->isOpen());
}

void TestSimulator::removesItsPortWhenStopped() {
    const QString port = startSimulator({});
    QVERIFY(!port.isEmpty());
    ::kill(static_cast<pid_t>(m_sim.processId()), SIGINT);
    QVERIFY(m_sim.waitForFinished(3000));
    QCOMPARE(m_sim.exitCode(), 0);
    QVERIFY(!QFile::exists(port));
}

QTEST_MAIN(TestSimulator)
#include "test_simulator.moc"
