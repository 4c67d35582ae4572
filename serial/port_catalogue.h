#pragma once

#include <QList>
#include <QString>

#include <optional>

// A serial device as the user may want to see it: where it is and what it is.
struct PortDevice {
    QString path;        // what the port is opened by: /dev/ttyUSB0, \\.\COM3, ...
    QString description; // adapter or kind, for tooltips
};

// Maps the port numbers of the port box to devices.
//
// Windows: port n is \\.\COMn. Linux: port n is the n-th device of the list made at start-up:
// USB adapters (ttyUSB*, then ttyACM*), then the virtual ports published in the runtime folder
// "qtrv" (links to pseudo-terminals, by name), then the built-in UARTs (ttyS*) and any other
// serial port the system reports, each group in numeric order.
class PortCatalogue {
  public:
    PortCatalogue() = default;
    explicit PortCatalogue(QList<PortDevice> devices) : m_devices(std::move(devices)) {}

    // The catalogue of this machine, made once.
    static PortCatalogue discover();

    // Where programs publish virtual ports for the utility (a folder of links to terminals).
    static QString virtualPortFolder();

    std::optional<PortDevice> device(int portNumber) const;
    const QList<PortDevice>& devices() const { return m_devices; }

  private:
    QList<PortDevice> m_devices;
};
