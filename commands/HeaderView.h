// SPDX-License-Identifier: MIT
// What the two commands read from and write to a window, so they run the same on any toolkit
// and without one. Editor texts are code points; the checksum texts are ASCII; paths are as
// the header core takes them.
#pragma once

#include <cstddef>
#include <string>

namespace quillon {

class HeaderView {
public:
    virtual ~HeaderView() = default;

    virtual std::string romPath() const = 0;
    virtual void setRomPath(const std::string& path) = 0;
    virtual std::u32string fieldText(std::size_t index) const = 0;
    virtual void setFieldText(std::size_t index, const std::u32string& text) = 0;
    virtual std::string checksumText() const = 0; // UTF-8
    virtual void setChecksumText(const std::string& text) = 0;
    virtual void setCalculatedChecksum(const std::string& text) = 0;
    virtual void setSaveEnabled(bool enabled) = 0;
};

} // namespace quillon
