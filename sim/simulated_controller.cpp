#include "simulated_controller.h"

#include "mod_strings.h"
#include "numbers.h"
#include "port_catalogue.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPieceBytes = 8;
constexpr qsizetype kLineRoom = 4096; // what we queue ahead while the line is full

QString onOff(bool on) {
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

SimulatedController::SimulatedController(Options options, QTextStream& log, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_log(log) {}

SimulatedController::~SimulatedController() {
    if (!m_linkPath.isEmpty()) {
        QFile::remove(m_linkPath);
    }
    if (m_slave >= 0) {
        ::close(m_slave);
    }
    if (m_master >= 0) {
        ::close(m_master);
    }
}

bool SimulatedController::start(QString* error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = QStringLiteral("cannot make a pseudo-terminal: %1").arg(std::strerror(errno));
        return false;
    }
    const QString terminal = QString::fromLocal8Bit(::ptsname(m_master));
    // Keep our own end of the cable plugged in, so the line survives the utility's Disconnect.
    m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);

    const QString folder = PortCatalogue::virtualPortFolder();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    const QString link = folder + QLatin1Char('/') + m_options.name;
    QFile::remove(link);
    if (!QFile::link(terminal, link)) {
        *error = QStringLiteral("cannot publish %1").arg(link);
        return false;
    }
    m_linkPath = link;
    m_log << "qtrv-sim: virtual port " << link << " -> " << terminal << Qt::endl;
    m_log << "qtrv-sim: settings " << report().trimmed() << Qt::endl;

    m_readable = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &SimulatedController::readRequests);
    m_writable = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, &SimulatedController::writePending);
    if (m_options.fault == Fault::Hangup) {
        QTimer::singleShot(m_options.hangupAfterMs, this, &SimulatedController::hangUp);
    }
    return true;
}

QString SimulatedController::report() const {
    const TuningParameters& s = m_options.settings;
    std::vector<std::string> fields{"P"};
    for (float value : {s.Accel, s.Decel, s.Turn, s.MaxOutput, s.MinOutput, s.LfbThreshold}) {
        fields.push_back(FormatPattern(value, 5));
    }
    for (bool on : {s.TpsReverse, s.EbrakeCutOff, s.CalibrateG}) {
        fields.push_back(on ? "00001" : "00000");
    }
    fields.emplace_back(); // the list ends with a comma before the line end
    return QString::fromStdString(modStrings::JoinEscaped(fields, ",", "\\")) + QLatin1Char('\r');
}

void SimulatedController::readRequests() {
    char buffer[512];
    while (true) {
        const auto n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            m_received.append(buffer, n);
            continue;
        }
        break; // nothing more now (our own end of the cable keeps the line from hanging up)
    }
    qsizetype end;
    while ((end = m_received.indexOf('\r')) >= 0) {
        const QByteArray line = m_received.left(end).trimmed();
        m_received.remove(0, end + 1);
        if (!line.isEmpty()) {
            handleLine(line);
        }
    }
    if (m_received.size() > kLineRoom) {
        m_log << "qtrv-sim: dropped " << m_received.size() << " bytes without a line end"
              << Qt::endl;
        m_received.clear();
    }
}

void SimulatedController::handleLine(const QByteArray& line) {
    if (line == "R") {
        m_log << "qtrv-sim: read request" << Qt::endl;
        const QByteArray answer = report().toLatin1();
        switch (m_options.fault) {
        case Fault::Silent:
            m_log << "qtrv-sim: staying silent" << Qt::endl;
            return;
        case Fault::Short:
            send(answer.left(30));
            return;
        case Fault::Garbage:
            send("ERR:unknown command; controller firmware busy, try again later\r");
            return;
        case Fault::Slow:
            for (qsizetype at = 0; at < answer.size(); at += kPieceBytes) {
                QTimer::singleShot(static_cast<int>(at / kPieceBytes) * m_options.pieceDelayMs,
                                   this,
                                   [this, piece = answer.mid(at, kPieceBytes)] { send(piece); });
            }
            return;
        case Fault::Flood:
            m_flooding = true;
            send(answer);
            return;
        case Fault::None:
        case Fault::Hangup:
            send(answer);
            return;
        }
    }
    if (line.startsWith('S')) {
        takeSaveCommand(line);
        return;
    }
    m_log << "qtrv-sim: unknown command ignored: " << line << Qt::endl;
}

void SimulatedController::takeSaveCommand(const QByteArray& line) {
    const auto fields = modStrings::SplitEscaped(line.toStdString(), ",", "\\", true);
    // Exactly "S", nine five-digit fields and the empty last one.
    bool wellFormed = fields.size() == 10 && fields[0] == "S";
    for (std::size_t i = 1; wellFormed && i < fields.size(); ++i) {
        wellFormed =
            fields[i].size() == 5 && std::all_of(fields[i].begin(), fields[i].end(),
                                                 [](char c) { return c >= '0' && c <= '9'; });
    }
    TuningParameters saved = m_options.settings;
    wellFormed = wellFormed && ReadSettings(std::span(fields).subspan(1, 9), saved);
    if (!wellFormed) {
        m_log << "qtrv-sim: malformed save command ignored: " << line << Qt::endl;
        return;
    }
    m_log << "qtrv-sim: saved accel " << saved.Accel << ", decel " << saved.Decel << ", turn "
          << saved.Turn << ", max " << saved.MaxOutput << ", min " << saved.MinOutput << ", lfb "
          << saved.LfbThreshold << ", tps reverse " << onOff(saved.TpsReverse)
          << ", ebrake cut off " << onOff(saved.EbrakeCutOff) << ", calibrate g "
          << onOff(saved.CalibrateG) << Qt::endl;
    if (saved.CalibrateG) {
        m_log << "qtrv-sim: g-sensor calibrated" << Qt::endl;
        saved.CalibrateG = false;
    }
    m_options.settings = saved;
}

void SimulatedController::send(const QByteArray& bytes) {
    if (m_pending.size() < kLineRoom) {
        m_pending.append(bytes);
    }
    writePending();
}

void SimulatedController::writePending() {
    if (m_master < 0) {
        return;
    }
    while (!m_pending.isEmpty() || m_flooding) {
        if (m_pending.isEmpty()) {
            m_pending = report().toLatin1();
        }
        const auto n = ::write(m_master, m_pending.constData(), m_pending.size());
        if (n <= 0) {
            break; // the line is full: go on when it has room
        }
        m_pending.remove(0, n);
    }
    m_writable->setEnabled(!m_pending.isEmpty() || m_flooding);
}

void SimulatedController::hangUp() {
    m_log << "qtrv-sim: hanging up" << Qt::endl;
    delete m_readable;
    m_readable = nullptr;
    delete m_writable;
    m_writable = nullptr;
    ::close(m_slave);
    m_slave = -1;
    ::close(m_master);
    m_master = -1;
    QFile::remove(m_linkPath);
    m_linkPath.clear();
    emit finished();
}
