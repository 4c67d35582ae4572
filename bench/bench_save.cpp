// Time from a click on Save to the whole save command being readable at the far end of the
// line, next to a bare Qt button that writes the same bytes on click, and next to the time the
// 57 bytes take on the wire.
#include "bare_port.h"
#include "bench_stats.h"
#include "window_driver.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSaves = 300;
const QByteArray kCommand = "S,00100,00095,00120,00100,00010,00050,00001,00000,00000,\r";

// Clicks `button` and waits until `line` has the whole command.
double clickToFarEnd(QPushButton* button, PtyPair& line) {
    const auto clicked = Clock::now();
    QTest::mouseClick(button, Qt::LeftButton);
    const QByteArray got = line.read(2000, static_cast<int>(kCommand.size()));
    const double spent = microsecondsSince(clicked);
    return got == kCommand ? spent : -1;
}

std::vector<double> windowSaves() {
    WindowDriver driver;
    if (!driver.connectWithReport(WindowDriver::typicalReport())) {
        std::fprintf(stderr, "the window did not connect\n");
        return {};
    }
    std::vector<double> samples;
    for (int i = 0; i < kSaves; ++i) {
        samples.push_back(clickToFarEnd(driver.window().bSave, driver.controller()));
    }
    return samples;
}

std::vector<double> bareSaves() {
    PtyPair line;
    QSerialPort port;
    if (!openBarePort(port, line.slavePath())) {
        return {};
    }
    QPushButton button(QStringLiteral("Save"));
    button.show();
    QObject::connect(&button, &QPushButton::clicked, [&] { port.write(kCommand); });
    std::vector<double> samples;
    for (int i = 0; i < kSaves; ++i) {
        samples.push_back(clickToFarEnd(&button, line));
    }
    return samples;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const auto [window, bare] = sideBySide(3, windowSaves, bareSaves);
    const auto failed = std::count(window.begin(), window.end(), -1.0);
    const double windowMedian = percentile(window, 0.5);
    const double bareMedian = percentile(bare, 0.5);
    std::printf("click on Save -> %lld bytes readable at the far end, %zu saves\n",
                static_cast<long long>(kCommand.size()), window.size());
    std::printf("  window:            median %7.1f us   99th percentile %7.1f us\n", windowMedian,
                percentile(window, 0.99));
    std::printf("  bare Qt button:    median %7.1f us   99th percentile %7.1f us\n", bareMedian,
                percentile(bare, 0.99));
    std::printf("  ratio window / bare: %.2f (target at most 1.2)\n", windowMedian / bareMedian);
    std::printf("  the same bytes on the wire at 57600 baud: %.0f us\n",
                kCommand.size() * kWireCharacterMicroseconds);
    if (failed > 0) {
        std::printf("  %lld saves did not arrive whole\n", static_cast<long long>(failed));
    }
    return 0;
}
