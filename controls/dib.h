#pragma once
// CCeXDib: a 24-bit device-independent bitmap in memory with its own DC, for off-screen work.

#include "platform/unique_any.h"

#include <cstdint>

namespace controls {

class CCeXDib {
public:
    CCeXDib() = default;
    CCeXDib(const CCeXDib&) = delete;
    CCeXDib& operator=(const CCeXDib&) = delete;
    ~CCeXDib() { Destroy(); }

    bool Create(int width, int height);
    void Destroy();

    HDC dc() const { return dc_; }
    int width() const { return header_.biWidth; }
    int height() const { return header_.biHeight; }
    // Bottom-up rows of blue, green, red bytes, each row padded to four bytes.
    std::uint8_t* bits() const { return bits_; }
    int rowLength() const { return ((header_.biWidth * 3) + 3) & ~3; }

    void Fill(COLORREF colour);
    COLORREF Pixel(int x, int y) const;
    // Copies the whole bitmap to target at x, y.
    void Draw(HDC target, int x, int y) const;

private:
    BITMAPINFOHEADER header_{};
    std::uint8_t* bits_ = nullptr;
    platform::unique_hbitmap section_;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace controls
