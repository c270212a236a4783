#pragma once
// A text measure without a screen: every character is as wide as a tenth of the font size
// in pixels times six, lines are twice the point size high. Predictable widths for layout tests.

#include "controls/html/html_layout.h"

namespace test_html {

class FixedMeasure : public controls::html::TextMeasure {
public:
    static int CharWidth(const controls::html::TextStyle& s) { return s.sizePt * 6 / 10; }
    int TextWidth(const controls::html::TextStyle& s, std::string_view text) override {
        return static_cast<int>(text.size()) * CharWidth(s);
    }
    size_t FitCount(const controls::html::TextStyle& s, std::string_view text,
                    int maxWidth) override {
        const int w = CharWidth(s);
        if (maxWidth <= 0 || w <= 0) {
            return 0;
        }
        return std::min(text.size(), static_cast<size_t>(maxWidth / w));
    }
    controls::html::TextMetrics Metrics(const controls::html::TextStyle& s) override {
        return {2 * s.sizePt, 2 * s.sizePt * 4 / 5};
    }
    int XHeightPx(const controls::html::TextStyle& s) override { return s.sizePt; }
    int PixelsPerInchY() override { return 96; }
};

}  // namespace test_html
