#include "port_catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_WIN
#include "windows_device.h"
#endif

namespace {

// Sort key: group first, then the number the name ends in, then the name.
struct Ranked {
    int group;
    qint64 number;
    PortDevice device;
};

qint64 trailingNumber(const QString& name) {
    static const QRegularExpression digits(QStringLiteral("(\\d+)$"));
    const auto match = digits.match(name);
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

int systemPortGroup(const QString& name) {
    if (name.startsWith(QLatin1String("ttyUSB"))) {
        return 0;
    }
    if (name.startsWith(QLatin1String("ttyACM"))) {
        return 1;
    }
    if (name.startsWith(QLatin1String("ttyS"))) {
        return 3;
    }
    return 4;
}

QString describe(const QSerialPortInfo& info) {
    QStringList parts;
    for (const QString& part : {info.description(), info.manufacturer()}) {
        if (!part.isEmpty() && !parts.contains(part)) {
            parts << part;
        }
    }
    if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
        parts << QStringLiteral("USB %1:%2")
                     .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                     .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
    }
    return parts.isEmpty() ? QStringLiteral("serial port") : parts.join(QStringLiteral(", "));
}

} // namespace

QString PortCatalogue::virtualPortFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/qtrv");
}

PortCatalogue PortCatalogue::discover() {
#ifdef Q_OS_WIN
    return PortCatalogue();
#else
    QList<Ranked> ranked;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString name = info.portName();
        ranked.append({systemPortGroup(name), trailingNumber(name),
                       PortDevice{info.systemLocation(), describe(info)}});
    }
    const QDir folder(virtualPortFolder());
    for (const QFileInfo& entry : folder.entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
        const QString target = entry.isSymLink() ? entry.symLinkTarget() : entry.filePath();
        ranked.append(
            {2, 0, PortDevice{entry.filePath(), QStringLiteral("virtual port (%1)").arg(target)}});
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        if (a.group != b.group) {
            return a.group < b.group;
        }
        if (a.number != b.number) {
            return a.number < b.number;
        }
        return a.device.path < b.device.path;
    });
    QList<PortDevice> devices;
    for (const Ranked& r : ranked) {
        devices.append(r.device);
    }
    return PortCatalogue(devices);
#endif
}

std::optional<PortDevice> PortCatalogue::device(int portNumber) const {
#ifdef Q_OS_WIN
    if (portNumber < 1) {
        return std::nullopt;
    }
    return PortDevice{QString::fromStdString(windows_device::DevicePath(portNumber)),
                      QStringLiteral("serial port COM%1").arg(portNumber)};
#else
    if (portNumber < 1 || portNumber > m_devices.size()) {
        return std::nullopt;
    }
    return m_devices.at(portNumber - 1);
#endif
}
