#include "windows_device.h"

#include <windows.h>

namespace windows_device {

std::string DevicePath(int portNumber) {
    return "\\\\.\\COM" + std::to_string(portNumber);
}

Probe ProbeDevice(const std::string& path) {
    SECURITY_ATTRIBUTES security{}; // all zeros: default security, handle not inherited
    const HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &security, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_ACCESS_DENIED ? Probe::Refused : Probe::Missing;
    }
    CloseHandle(handle);
    return Probe::Available;
}

} // namespace windows_device
