// SPDX-License-Identifier: MIT
#include "Picture.h"

#include <algorithm>
// GDI+'s headers use min and max unqualified.
using std::max;
using std::min;
#include <gdiplus.h>
#include <shlwapi.h>

namespace quillon::win32 {

struct Picture::Image {
    std::unique_ptr<Gdiplus::Bitmap> image;
};

Picture::Picture(HINSTANCE instance, const wchar_t* resourceName)
    : m_image(std::make_unique<Image>()) {
    const HRSRC resource = ::FindResourceW(instance, resourceName, RT_RCDATA);
    const HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return;
    IStream* stream =
        ::SHCreateMemStream(static_cast<const BYTE*>(bytes), ::SizeofResource(instance, resource));
    if (!stream)
        return;
    Gdiplus::Bitmap decoded(stream);
    stream->Release();
    if (decoded.GetLastStatus() != Gdiplus::Ok)
        return;
    // With its colours spelled out, the transparent one is drawn as transparent by every GDI+;
    // a palette image's transparency is not honoured by all of them.
    std::unique_ptr<Gdiplus::Bitmap> image(decoded.Clone(0, 0, static_cast<INT>(decoded.GetWidth()),
                                                         static_cast<INT>(decoded.GetHeight()),
                                                         PixelFormat32bppARGB));
    if (image && image->GetLastStatus() == Gdiplus::Ok)
        m_image->image = std::move(image);
}

Picture::~Picture() = default;

void Picture::draw(HDC dc, const RECT& place) const {
    if (!m_image->image)
        return;
    Gdiplus::Graphics graphics(dc);
    // Whole pixels, as the picture is drawn at its own size at 96 dots per inch.
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.DrawImage(m_image->image.get(), static_cast<INT>(place.left),
                       static_cast<INT>(place.top), static_cast<INT>(place.right - place.left),
                       static_cast<INT>(place.bottom - place.top));
}

GdiPlusSession::GdiPlusSession() {
    const Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
}

GdiPlusSession::~GdiPlusSession() { Gdiplus::GdiplusShutdown(m_token); }

} // namespace quillon::win32
