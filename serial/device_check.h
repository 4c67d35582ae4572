#pragma once

#include <QString>

// What the system says about a serial device, found without opening its driver: opening a
// tty raises DTR and RTS, which resets many controller boards.
enum class DeviceState {
    Available,        // a terminal device this user may open and nobody holds
    Missing,          // nothing at that path
    NotATerminal,     // something else than a serial port or pseudo-terminal
    NoHardware,       // a built-in UART entry with no chip behind it
    PermissionDenied, // this user may not read and write it
    Busy,             // another program holds it (a live lock file)
};

DeviceState CheckDevice(const QString& path);

// Why a device cannot be opened, in plain words: "busy, another program holds it".
QString DescribeDeviceState(DeviceState state);
