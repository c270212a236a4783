#pragma once
// Lays a dialog out as its template would be at 96 DPI, whatever the screen's DPI: its font at
// 96 DPI, the template's dialog units converted with that font's average size. The font goes
// back to the controls when the layout ends.

#include <windows.h>

#include "platform/unique_any.h"

#include <vector>

namespace renovix {

class FixedDpiLayout {
public:
    FixedDpiLayout() = default;
    ~FixedDpiLayout();
    FixedDpiLayout(const FixedDpiLayout&) = delete;
    FixedDpiLayout& operator=(const FixedDpiLayout&) = delete;

    // Reads template templateId of module and applies it to dialog. False when the template
    // cannot be read.
    bool Apply(HWND dialog, HINSTANCE module, UINT templateId);
    // Gives every control its previous font back and deletes the created one.
    void Restore();

    // Dialog units to pixels with the measured font.
    int X(int units) const;
    int Y(int units) const;

private:
    HWND dialog_ = nullptr;
    platform::unique_hfont font_;
    HFONT previous_ = nullptr;
    int charWidth_ = 0;
    int charHeight_ = 0;
};

}  // namespace renovix
