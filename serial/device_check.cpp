#include "device_check.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include "windows_device.h"
#else
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#ifndef Q_OS_WIN
namespace {

// Whether a character device is a serial port or pseudo-terminal slave, from the kernel's list
// of tty drivers ("name path major minor-range type" a line). Consoles and the like are not.
bool isSerialTerminal(dev_t device) {
    QFile drivers(QStringLiteral("/proc/tty/drivers"));
    if (!drivers.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    const unsigned deviceMajor = major(device);
    const unsigned deviceMinor = minor(device);
    QTextStream lines(&drivers);
    QString line;
    while (lines.readLineInto(&line)) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        if (f.size() < 5 || f[2].toUInt() != deviceMajor) {
            continue;
        }
        if (f[4] != QLatin1String("serial") && f[4] != QLatin1String("pty:slave")) {
            continue;
        }
        const QStringList range = f[3].split(QLatin1Char('-'));
        const unsigned first = range.first().toUInt();
        const unsigned last = range.last().toUInt();
        if (deviceMinor >= first && deviceMinor <= last) {
            return true;
        }
    }
    return false;
}

// A built-in UART entry exists whether or not a chip answers at its address; the serial core
// then reports the port type 0 (unknown).
bool hasHardware(dev_t device) {
    QFile type(QStringLiteral("/sys/dev/char/%1:%2/type").arg(major(device)).arg(minor(device)));
    if (!type.open(QIODevice::ReadOnly)) {
        return true; // not a serial-core port: USB adapters, pseudo-terminals
    }
    return type.readAll().trimmed() != "0";
}

// Serial programs, Qt's QSerialPort among them, leave LCK..<name> in the lock folder while they
// hold a port: /dev/ttyUSB0 gives LCK..ttyUSB0, /run/user/1000/qtrv/sim gives
// LCK.._run_user_1000_qtrv_sim. The file holds the owner's process id.
QString lockFileName(QString path) {
    if (path.startsWith(QLatin1String("/dev/"))) {
        path.remove(0, 5);
    }
    return QStringLiteral("LCK..") + path.replace(QLatin1Char('/'), QLatin1Char('_'));
}

bool lockIsLive(const QString& lockPath) {
    QFile lock(lockPath);
    if (!lock.open(QIODevice::ReadOnly)) {
        return lock.exists(); // present but unreadable: assume its owner is alive
    }
    bool isNumber = false;
    const qint64 pid = QString::fromLatin1(lock.read(64))
                           .section(QLatin1Char('\n'), 0, 0)
                           .trimmed()
                           .toLongLong(&isNumber);
    if (!isNumber || pid <= 0) {
        return true;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool heldByAnotherProgram(const QString& path) {
    const QString resolved = QFileInfo(path).canonicalFilePath();
    for (const QString& folder : {QStringLiteral("/run/lock"), QStringLiteral("/var/lock")}) {
        for (const QString& name : {path, resolved}) {
            if (!name.isEmpty() && lockIsLive(folder + QLatin1Char('/') + lockFileName(name))) {
                return true;
            }
        }
    }
    return false;
}

} // namespace
#endif

DeviceState CheckDevice(const QString& path) {
#ifdef Q_OS_WIN
    switch (windows_device::ProbeDevice(QFile::encodeName(path).toStdString())) {
    case windows_device::Probe::Available:
        return DeviceState::Available;
    case windows_device::Probe::Refused:
        return DeviceState::Busy;
    case windows_device::Probe::Missing:
        break;
    }
    return DeviceState::Missing;
#else
    const QByteArray name = QFile::encodeName(path);
    // O_PATH resolves the node without opening the driver, so the modem lines stay untouched.
    const int fd = ::open(name.constData(), O_PATH | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES ? DeviceState::PermissionDenied : DeviceState::Missing;
    }
    struct stat status {};
    const int statResult = ::fstat(fd, &status);
    ::close(fd);
    if (statResult != 0 || !S_ISCHR(status.st_mode) || !isSerialTerminal(status.st_rdev)) {
        return DeviceState::NotATerminal;
    }
    if (!hasHardware(status.st_rdev)) {
        return DeviceState::NoHardware;
    }
    if (::access(name.constData(), R_OK | W_OK) != 0) {
        return DeviceState::PermissionDenied;
    }
    if (heldByAnotherProgram(path)) {
        return DeviceState::Busy;
    }
    return DeviceState::Available;
#endif
}

QString DescribeDeviceState(DeviceState state) {
    switch (state) {
    case DeviceState::Available:
        return QStringLiteral("it is free");
    case DeviceState::Missing:
        return QStringLiteral("the device is missing");
    case DeviceState::NotATerminal:
        return QStringLiteral("it is not a serial port");
    case DeviceState::NoHardware:
        return QStringLiteral("no serial hardware behind it");
    case DeviceState::PermissionDenied:
        return QStringLiteral("permission denied (join the dialout group)");
    case DeviceState::Busy:
        return QStringLiteral("busy, another program holds it");
    }
    return {};
}
