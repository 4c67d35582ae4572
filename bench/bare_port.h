#pragma once

#include <QSerialPort>
#include <QString>

// A QSerialPort on `path` at the line's speed and nothing more: what a bare Qt program does,
// the floor the utility is measured against.
inline bool openBarePort(QSerialPort& port, const QString& path) {
    port.setPortName(path);
    port.setBaudRate(57600);
    return port.open(QIODevice::ReadWrite);
}
