// Time from the last byte of a report written at the far end of the line to the window showing
// Connected, next to the bare time for the same bytes to reach a QSerialPort readyRead handler,
// and next to one character's time on the wire.
#include "bare_port.h"
#include "bench_stats.h"
#include "indicator_shape.h"
#include "window_driver.h"

#include <QApplication>
#include <QLabel>

#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kReports = 400;

QByteArray reportNumber(int i) {
    return WindowDriver::report(QString("P,%1,95,120,100,10,50,1,0,0").arg(100 + i % 2));
}

std::vector<double> windowLatencies() {
    WindowDriver driver;
    QTRV& w = driver.window();
    if (driver.connectLink() != "R\r") {
        std::fprintf(stderr, "the window did not ask for a report\n");
        return {};
    }
    // The moment the window has taken the report in: right after its notification handler,
    // which is connected first, has run.
    Clock::time_point connectedAt;
    QObject::connect(w.MSComm1, &SerialLink::onComm, [&] {
        if (w.Shape1->fillColor() == QTRV::kGreen) {
            connectedAt = Clock::now();
        }
    });
    std::vector<double> samples;
    for (int i = 0; i < kReports; ++i) {
        w.Shape1->setFillColor(QTRV::kYellow);
        w.repaint(); // paint now, so that no paint from the last round waits in line
        QCoreApplication::processEvents();
        connectedAt = {};
        driver.controller().write(reportNumber(i));
        const auto written = Clock::now();
        while (connectedAt == Clock::time_point{}) {
            QCoreApplication::processEvents();
        }
        samples.push_back(std::chrono::duration<double, std::micro>(connectedAt - written).count());
    }
    return samples;
}

std::vector<double> bareLatencies() {
    PtyPair line;
    QSerialPort port;
    if (!openBarePort(port, line.slavePath())) {
        return {};
    }
    Clock::time_point arrivedAt;
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        if (port.bytesAvailable() >= 49) {
            port.readAll();
            arrivedAt = Clock::now();
        }
    });
    std::vector<double> samples;
    for (int i = 0; i < kReports; ++i) {
        arrivedAt = {};
        line.write(reportNumber(i));
        const auto written = Clock::now();
        while (arrivedAt == Clock::time_point{}) {
            QCoreApplication::processEvents();
        }
        samples.push_back(std::chrono::duration<double, std::micro>(arrivedAt - written).count());
    }
    return samples;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const auto [window, bare] = sideBySide(3, windowLatencies, bareLatencies);
    std::printf("report's last byte at the far end -> window Connected, %zu reports\n",
                window.size());
    std::printf("  window:              median %7.1f us   99th percentile %7.1f us\n",
                percentile(window, 0.5), percentile(window, 0.99));
    std::printf("  bare readyRead:      median %7.1f us   99th percentile %7.1f us\n",
                percentile(bare, 0.5), percentile(bare, 0.99));
    std::printf("  one character on the wire at 57600 baud: %.1f us (target: median <= 100 us, "
                "99th percentile <= 173.6 us)\n",
                kWireCharacterMicroseconds);
    return 0;
}
