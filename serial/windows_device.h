#pragma once

#include <string>

// The Windows side of the serial devices, in plain C++ so that it can be checked with a cross
// compiler without a Windows build of Qt.
namespace windows_device {

// Serial port n is the device \\.\COMn.
std::string DevicePath(int portNumber);

enum class Probe {
    Available, // the device opened
    Missing,   // no such device
    Refused,   // it exists, but access was refused: another program holds it
};

// Opens the device with no data access, sharing reading and writing, and lets it go at once.
Probe ProbeDevice(const std::string& path);

} // namespace windows_device
