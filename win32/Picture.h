// SPDX-License-Identifier: MIT
// The window's logo: a GIF from the program's resources, decoded by GDI+ so that its
// transparent colour lets the window's background show through.
#pragma once

#include <memory>
#include <windows.h>

namespace quillon::win32 {

class Picture {
public:
    Picture(HINSTANCE instance, const wchar_t* resourceName);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    void draw(HDC dc, const RECT& place) const;

private:
    struct Image;
    std::unique_ptr<Image> m_image;
};

// GDI+ is started for as long as one of these lives.
class GdiPlusSession {
public:
    GdiPlusSession();
    ~GdiPlusSession();
    GdiPlusSession(const GdiPlusSession&) = delete;
    GdiPlusSession& operator=(const GdiPlusSession&) = delete;

private:
    ULONG_PTR m_token = 0;
};

} // namespace quillon::win32
