#include "port_catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
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

QString readSysfs(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

// What the system knows of a tty's hardware: for a USB adapter its maker, product and ids.
QString describe(const QString& sysfsEntry) {
    QDir dir(QFileInfo(sysfsEntry + QStringLiteral("/device")).canonicalFilePath());
    for (int up = 0; up < 4 && !dir.isRoot(); ++up, dir.cdUp()) {
        const QString vendor = readSysfs(dir.filePath(QStringLiteral("idVendor")));
        if (vendor.isEmpty()) {
            continue;
        }
        QStringList parts;
        for (const char* name : {"manufacturer", "product"}) {
            const QString part = readSysfs(dir.filePath(QString::fromLatin1(name)));
            if (!part.isEmpty()) {
                parts << part;
            }
        }
        parts << QStringLiteral("USB %1:%2")
                     .arg(vendor, readSysfs(dir.filePath(QStringLiteral("idProduct"))));
        return parts.join(QStringLiteral(", "));
    }
    return QStringLiteral("built-in serial port");
}

// The serial ports the system reports: ttys with a device behind them. Built-in UART entries
// whose chip is absent (type 0) are left out, so they take no port number.
QList<Ranked> systemPorts() {
    QList<Ranked> ports;
    const QDir ttys(QStringLiteral("/sys/class/tty"));
    for (const QString& name : ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        const QString entry = ttys.filePath(name);
        if (!QFileInfo::exists(entry + QStringLiteral("/device"))) {
            continue; // consoles and other ttys without hardware
        }
        const int group = systemPortGroup(name);
        if (group == 3 && readSysfs(entry + QStringLiteral("/type")) == QLatin1String("0")) {
            continue;
        }
        ports.append({group, trailingNumber(name),
                      PortDevice{QStringLiteral("/dev/") + name, describe(entry)}});
    }
    return ports;
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
    // Read from sysfs directly: QSerialPortInfo::availablePorts() costs about 10 ms.
    QList<Ranked> ranked = systemPorts();
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
