#include "controls/dib.h"

namespace controls {

bool CCeXDib::Create(int width, int height) {
    Destroy();
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    section_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section_) {
        return false;
    }
    dc_ = ::CreateCompatibleDC(nullptr);
    if (!dc_) {
        section_.reset();
        return false;
    }
    old_ = ::SelectObject(dc_, section_.get());
    header_ = info.bmiHeader;
    bits_ = static_cast<std::uint8_t*>(bits);
    return true;
}

void CCeXDib::Destroy() {
    if (dc_) {
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
        dc_ = nullptr;
    }
    section_.reset();
    bits_ = nullptr;
    header_ = BITMAPINFOHEADER{};
}

void CCeXDib::Fill(COLORREF colour) {
    ::GdiFlush();
    for (int y = 0; y < height(); ++y) {
        std::uint8_t* row = bits_ + y * rowLength();
        for (int x = 0; x < width(); ++x) {
            row[3 * x] = GetBValue(colour);
            row[3 * x + 1] = GetGValue(colour);
            row[3 * x + 2] = GetRValue(colour);
        }
    }
}

COLORREF CCeXDib::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width() || y >= height()) {
        return CLR_INVALID;
    }
    ::GdiFlush();
    const std::uint8_t* p = bits_ + (height() - 1 - y) * rowLength() + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void CCeXDib::Draw(HDC target, int x, int y) const {
    if (dc_) {
        ::BitBlt(target, x, y, width(), height(), dc_, 0, 0, SRCCOPY);
    }
}

}  // namespace controls
