#pragma once

#include "port_catalogue.h"

#include <QtGlobal>

namespace comfunct {

// True when serial port `portNumber` maps to a device that could be opened now. Opens nothing
// that would disturb the device, and leaves nothing open.
bool ComPortExists(const PortCatalogue& catalogue, qint16 portNumber);

} // namespace comfunct
