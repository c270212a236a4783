#pragma once
// Flicker-free drawing: everything goes into a compatible bitmap of the target's clip box, which
// is copied onto the target in one block transfer when the CMemDC goes away.

#include "platform/unique_any.h"

namespace controls {

class CMemDC {
public:
    // rect: the area to draw (the target's clip box when null). The memory DC starts filled
    // with the target's background colour.
    explicit CMemDC(HDC target, const RECT* rect = nullptr);
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;
    ~CMemDC();

    HDC dc() const { return memory_ ? memory_ : target_; }
    operator HDC() const { return dc(); }
    const RECT& rect() const { return rect_; }

private:
    HDC target_;
    HDC memory_ = nullptr;
    RECT rect_{};
    platform::unique_hbitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
};

}  // namespace controls
