#include "serial_link.h"

#include "device_check.h"

#include <QDeadlineTimer>
#include <QHash>

#ifndef Q_OS_WIN
#include <termios.h>
#endif

namespace {

// What the port keeps of received text before the rest waits in the system: a controller that
// floods the line cannot grow memory.
constexpr qint64 kReceiveBuffer = 1024;
// How long closing may wait for queued bytes to reach the system.
constexpr int kDrainMilliseconds = 1000;

} // namespace

SerialLink::SerialLink(PortCatalogue catalogue, QObject* parent)
    : QObject(parent), m_catalogue(std::move(catalogue)) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialLink::dataArrived);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLink::portError);
}

SerialLink::~SerialLink() {
    close();
}

void SerialLink::setCommPort(qint16 portNumber) {
    m_portNumber = portNumber;
}

bool SerialLink::setSettings(const QString& settings) {
    const QStringList parts = settings.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return false;
    }
    bool baudOk = false;
    const int baud = parts[0].trimmed().toInt(&baudOk);
    const QString parity = parts[1].trimmed().toUpper();
    const int dataBits = parts[2].trimmed().toInt();
    const QString stopBits = parts[3].trimmed();
    static const QHash<QString, QSerialPort::Parity> parities{
        {QStringLiteral("N"), QSerialPort::NoParity},
        {QStringLiteral("E"), QSerialPort::EvenParity},
        {QStringLiteral("O"), QSerialPort::OddParity},
        {QStringLiteral("M"), QSerialPort::MarkParity},
        {QStringLiteral("S"), QSerialPort::SpaceParity}};
    if (!baudOk || baud <= 0 || !parities.contains(parity) || dataBits < 5 || dataBits > 8 ||
        (stopBits != QLatin1String("1") && stopBits != QLatin1String("2") &&
         stopBits != QLatin1String("1.5"))) {
        return false;
    }
    m_baud = baud;
    m_parity = parities.value(parity);
    m_dataBits = static_cast<QSerialPort::DataBits>(dataBits);
    m_stopBits = stopBits == QLatin1String("1")   ? QSerialPort::OneStop
                 : stopBits == QLatin1String("2") ? QSerialPort::TwoStop
                                                  : QSerialPort::OneAndHalfStop;
    return true;
}

SerialLink::OpenResult SerialLink::open() {
    if (m_port.isOpen()) {
        return {false, QStringLiteral("it is open already")};
    }
    const auto device = m_catalogue.device(m_portNumber);
    if (!device) {
        return {false, QStringLiteral("no device has that number")};
    }
    m_port.setPortName(device->path);
    m_port.setBaudRate(m_baud);
    m_port.setParity(m_parity);
    m_port.setDataBits(m_dataBits);
    m_port.setStopBits(m_stopBits);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(kReceiveBuffer);
    if (m_port.open(QIODevice::ReadWrite)) {
        m_event = CommEvent::None;
        return {true, {}};
    }
    // Say why in the user's words: the system's view of the device is more precise than Qt's
    // error code, which calls a busy port a permission problem.
    const DeviceState state = CheckDevice(device->path);
    const QString reason =
        state == DeviceState::Available ? m_port.errorString() : DescribeDeviceState(state);
    m_port.clearError();
    return {false, reason};
}

bool SerialLink::output(const QByteArray& bytes) {
    if (!m_port.isOpen() || m_port.write(bytes) != bytes.size()) {
        return false;
    }
    // write() only queues; hand the bytes to the system now, so a dead line shows here.
    m_port.flush();
    return m_port.isOpen();
}

QByteArray SerialLink::input() {
    if (!m_port.isOpen()) {
        return {};
    }
    return m_inputLen > 0 ? m_port.read(m_inputLen) : m_port.readAll();
}

void SerialLink::close() {
    if (!m_port.isOpen()) {
        return;
    }
    // QSerialPort::close() drops what is still queued: send it first.
    const QDeadlineTimer deadline(kDrainMilliseconds);
    while (m_port.isOpen() && m_port.bytesToWrite() > 0 && !deadline.hasExpired() &&
           m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
    }
    if (!m_port.isOpen()) {
        return;
    }
#ifndef Q_OS_WIN
    // Closing restores the line settings the port had before; let the system send the last
    // bytes at our speed first. Without flow control this ends after a few milliseconds.
    ::tcdrain(m_port.handle());
#endif
    m_port.close();
}

void SerialLink::dataArrived() {
    if (m_threshold > 0 && m_port.bytesAvailable() >= m_threshold) {
        notify(CommEvent::Receive);
    }
}

void SerialLink::portError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        // A hung-up terminal keeps reporting this in a tight loop until the port is closed:
        // close at the first report, without waiting for bytes that can no longer go out.
        if (m_port.isOpen()) {
            m_port.close();
            notify(CommEvent::LinkLost);
        }
        break;
    default:
        break; // line errors and the NoError of every open leave the port usable
    }
}

void SerialLink::notify(CommEvent event) {
    m_event = event;
    emit onComm();
}
