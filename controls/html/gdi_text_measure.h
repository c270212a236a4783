#pragma once
// Measures markup text with GDI fonts in a memory DC; also hands out the fonts for painting.

#include "controls/html/html_layout.h"
#include "platform/unique_any.h"

#include <map>
#include <string>

namespace controls::html {

class GdiTextMeasure : public TextMeasure {
public:
    GdiTextMeasure();  // a memory DC compatible with the screen

    // The font of the style; owned by the measure, valid until the next call that makes one.
    HFONT FontOf(const TextStyle& style);

    int TextWidth(const TextStyle& style, std::string_view text) override;
    size_t FitCount(const TextStyle& style, std::string_view text, int maxWidth) override;
    TextMetrics Metrics(const TextStyle& style) override;
    int XHeightPx(const TextStyle& style) override;
    int PixelsPerInchY() override { return dpiY_; }

private:
    struct Font {
        platform::unique_hfont font;
        TextMetrics metrics;
        int xHeight = 0;
    };
    Font& FontEntry(const TextStyle& style);

    platform::unique_hdc dc_;
    int dpiY_ = 96;
    std::map<std::string, Font> fonts_;
};

}  // namespace controls::html
