// SPDX-License-Identifier: MIT
// What the two commands read from and write to the window, so they can run without one.
#pragma once

#include <QString>
#include <cstddef>

namespace quillon {

class HeaderFormView {
public:
    virtual ~HeaderFormView() = default;

    virtual QString romPath() const = 0;
    virtual void setRomPath(const QString& path) = 0;
    virtual QString fieldText(std::size_t index) const = 0;
    virtual void setFieldText(std::size_t index, const QString& text) = 0;
    virtual QString checksumText() const = 0;
    virtual void setChecksumText(const QString& text) = 0;
    virtual void setCalculatedChecksum(const QString& text) = 0;
    virtual void setSaveEnabled(bool enabled) = 0;
};

} // namespace quillon
