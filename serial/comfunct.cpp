#include "comfunct.h"

#include "device_check.h"

namespace comfunct {

bool ComPortExists(const PortCatalogue& catalogue, qint16 portNumber) {
    const auto device = catalogue.device(portNumber);
    return device && CheckDevice(device->path) == DeviceState::Available;
}

} // namespace comfunct
