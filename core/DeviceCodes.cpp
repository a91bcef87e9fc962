// SPDX-License-Identifier: MIT
#include "DeviceCodes.h"

#include <algorithm>

namespace quillon {

std::vector<DeviceEntry> ReadDevices(std::span<const std::uint8_t> field, std::uint32_t offset) {
    std::vector<DeviceEntry> devices;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char code = static_cast<char>(field[i]);
        if (code == ' ' || code == '\0' ||
            std::any_of(devices.begin(), devices.end(),
                        [code](const DeviceEntry& seen) { return seen.code == code; }))
            continue;
        const auto row =
            std::find_if(DeviceTable.begin(), DeviceTable.end(),
                         [code](const DeviceCode& device) { return device.code == code; });
        const bool known = row != DeviceTable.end();
        devices.push_back(
            {code, known ? row->name : "unknown", known, offset + static_cast<std::uint32_t>(i)});
    }
    return devices;
}

} // namespace quillon
