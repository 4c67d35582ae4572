// Two figures of sturdiness, against the simulated controller:
//  - flood: for ten seconds the controller sends reports back to back; a click is posted every
//    100 ms and timed until the window has handled it, and resident memory is compared;
//  - soak: a thousand cycles of connect, report, save and disconnect; open descriptors, lock
//    files and resident memory before and after.
#include "bench_stats.h"
#include "indicator_shape.h"
#include "qtrv.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double residentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return 0;
}

int openDescriptors() {
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::System).size());
}

int lockFiles() {
    return static_cast<int>(QDir(QStringLiteral("/run/lock")).entryList({"LCK..*"}).size());
}

class Simulator {
  public:
    explicit Simulator(const QStringList& arguments) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QTRV_SIM_PATH), arguments);
        (void)QTest::qWaitFor([&] { return QFile::exists(port()); }, 3000);
    }
    ~Simulator() {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    static QString port() { return PortCatalogue::virtualPortFolder() + QStringLiteral("/sim"); }

  private:
    QProcess m_process;
};

std::unique_ptr<QTRV> windowOnSimulator() {
    auto window = std::make_unique<QTRV>(PortCatalogue({{Simulator::port(), "simulator"}}));
    window->pCPort->setEditText(QStringLiteral("1"));
    window->show();
    return window;
}

bool connected(QTRV& w) {
    QTest::mouseClick(w.bOpen, Qt::LeftButton);
    return QTest::qWaitFor([&] { return w.Shape1->fillColor() == QTRV::kGreen; }, 3000);
}

void flood() {
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("flood")});
    auto w = windowOnSimulator();
    if (!connected(*w)) {
        std::printf("flood: the window did not connect\n");
        return;
    }
    QTest::qWait(500); // let the flood get going
    long long notifications = 0;
    QObject::connect(w->MSComm1, &SerialLink::onComm, [&] { ++notifications; });
    const double memoryBefore = residentMiB();
    Clock::time_point posted;
    std::vector<double> clicks;
    QObject::connect(w->bTPS, &QPushButton::clicked,
                     [&] { clicks.push_back(microsecondsSince(posted) / 1000.0); });
    QElapsedTimer running;
    running.start();
    while (running.elapsed() < 10000) {
        const QPointF centre = QRectF(w->bTPS->rect()).center();
        const QPointF global = w->bTPS->mapToGlobal(centre);
        posted = Clock::now();
        QCoreApplication::postEvent(w->bTPS, new QMouseEvent(QEvent::MouseButtonPress, centre,
                                                             global, Qt::LeftButton, Qt::LeftButton,
                                                             Qt::NoModifier));
        QCoreApplication::postEvent(w->bTPS,
                                    new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        QTest::qWait(100);
    }
    const double memoryAfter = residentMiB();
    std::printf("flood: 10 s of back-to-back reports (%lld receive notifications taken), %zu "
                "clicks posted and handled\n",
                notifications, clicks.size());
    std::printf("  click handled after: median %.2f ms, worst %.2f ms (target within 50 ms)\n",
                percentile(clicks, 0.5), percentile(clicks, 1.0));
    std::printf("  resident memory: %.1f MiB -> %.1f MiB, growth %.2f MiB (target < 2 MiB)\n",
                memoryBefore, memoryAfter, memoryAfter - memoryBefore);
}

void soak() {
    Simulator sim({});
    auto w = windowOnSimulator();
    constexpr int kCycles = 1000;
    // One cycle first, so that what is made once (fonts, caches) is not counted as a leak.
    if (!connected(*w)) {
        std::printf("soak: the window did not connect\n");
        return;
    }
    QTest::mouseClick(w->bOpen, Qt::LeftButton);
    const int fdsBefore = openDescriptors();
    const int locksBefore = lockFiles();
    const double memoryBefore = residentMiB();
    int saved = 0;
    QElapsedTimer running;
    running.start();
    for (int i = 0; i < kCycles; ++i) {
        if (!connected(*w)) {
            std::printf("soak: cycle %d did not connect\n", i);
            break;
        }
        QTest::mouseClick(w->bSave, Qt::LeftButton);
        saved += w->tStatus->text() == QStringLiteral("Save was successful!");
        QTest::mouseClick(w->bOpen, Qt::LeftButton);
    }
    std::printf("soak: %d cycles of connect, report, save, disconnect in %.1f s, %d saves "
                "went out\n",
                kCycles, running.elapsed() / 1000.0, saved);
    std::printf("  open descriptors %d -> %d, lock files %d -> %d\n", fdsBefore, openDescriptors(),
                locksBefore, lockFiles());
    std::printf("  resident memory %.1f MiB -> %.1f MiB, growth %.2f MiB\n", memoryBefore,
                residentMiB(), residentMiB() - memoryBefore);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QApplication app(argc, argv);
    flood();
    soak();
    return 0;
}
