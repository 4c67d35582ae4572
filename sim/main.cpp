// qtrv-sim: a simulated QTRV controller on a pseudo-terminal, published as a virtual port in
// the runtime folder "qtrv", where the tuning utility finds it.
#include "controller_messages.h"
#include "simulated_controller.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

bool readSettings(const QString& text, TuningParameters& settings) {
    std::vector<std::string> parts;
    for (const QString& part : text.split(QLatin1Char(','))) {
        parts.push_back(part.toStdString());
    }
    return ReadSettings(parts, settings);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qtrv-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A simulated QTRV controller. It prints the virtual port it publishes; the tuning "
        "utility lists it among its ports."));
    parser.addHelpOption();
    const QCommandLineOption name({QStringLiteral("n"), QStringLiteral("name")},
                                  QStringLiteral("Name of the virtual port (default sim)."),
                                  QStringLiteral("name"), QStringLiteral("sim"));
    const QCommandLineOption settings(
        {QStringLiteral("s"), QStringLiteral("settings")},
        QStringLiteral("Starting settings: accel,decel,turn,max,min,lfb,tps,ebrake,calibrate "
                       "(default 100,100,100,100,0,33,0,0,0)."),
        QStringLiteral("list"), QStringLiteral("100,100,100,100,0,33,0,0,0"));
    const QCommandLineOption fault(
        {QStringLiteral("f"), QStringLiteral("fault")},
        QStringLiteral("Misbehave: none, silent, short, garbage, slow, hangup or flood."),
        QStringLiteral("fault"), QStringLiteral("none"));
    const QCommandLineOption hangupAfter(QStringLiteral("hangup-after"),
                                         QStringLiteral("Seconds before hanging up (default 5)."),
                                         QStringLiteral("seconds"), QStringLiteral("5"));
    const QCommandLineOption pieceDelay(
        QStringLiteral("piece-delay"),
        QStringLiteral("Milliseconds between the pieces of a slow report (default 100)."),
        QStringLiteral("ms"), QStringLiteral("100"));
    parser.addOptions({name, settings, fault, hangupAfter, pieceDelay});
    parser.process(app);

    static const QMap<QString, SimulatedController::Fault> faults{
        {QStringLiteral("none"), SimulatedController::Fault::None},
        {QStringLiteral("silent"), SimulatedController::Fault::Silent},
        {QStringLiteral("short"), SimulatedController::Fault::Short},
        {QStringLiteral("garbage"), SimulatedController::Fault::Garbage},
        {QStringLiteral("slow"), SimulatedController::Fault::Slow},
        {QStringLiteral("hangup"), SimulatedController::Fault::Hangup},
        {QStringLiteral("flood"), SimulatedController::Fault::Flood}};
    SimulatedController::Options options;
    options.name = parser.value(name);
    if (!faults.contains(parser.value(fault))) {
        std::fprintf(stderr, "qtrv-sim: unknown fault %s\n", qPrintable(parser.value(fault)));
        return 2;
    }
    options.fault = faults.value(parser.value(fault));
    if (!readSettings(parser.value(settings), options.settings)) {
        std::fprintf(stderr, "qtrv-sim: settings must be nine values, six numbers and three "
                             "switches\n");
        return 2;
    }
    options.hangupAfterMs = qRound(parser.value(hangupAfter).toDouble() * 1000);
    options.pieceDelayMs = parser.value(pieceDelay).toInt();

    // Ctrl-C and kill end the event loop, so the virtual port is removed on the way out.
    if (::pipe(signalPipe) != 0) {
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGHUP, onSignal);
    QSocketNotifier stopRequests(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopRequests, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    QTextStream log(stdout);
    SimulatedController controller(options, log);
    QObject::connect(&controller, &SimulatedController::finished, &app, &QCoreApplication::quit);
    QString error;
    if (!controller.start(&error)) {
        std::fprintf(stderr, "qtrv-sim: %s\n", qPrintable(error));
        return 1;
    }
    return QCoreApplication::exec();
}
