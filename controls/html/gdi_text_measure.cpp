#include "controls/html/gdi_text_measure.h"

#include "platform/gdi_select.h"

#include <climits>

namespace controls::html {
namespace {

// Markup can name any number of fonts; the cache stays small by starting over.
constexpr size_t kMaxCachedFonts = 64;

std::string FontKey(const TextStyle& s) {
    return s.face + '\n' + std::to_string(s.sizePt) + '\n' + std::to_string(s.weight) +
           (s.italic ? "i" : "") + (s.underline ? "u" : "") + (s.strikeOut ? "s" : "");
}

int Length(std::string_view text) {
    return text.size() > INT_MAX / 2 ? INT_MAX / 2 : static_cast<int>(text.size());
}

}  // namespace

GdiTextMeasure::GdiTextMeasure() : dc_(::CreateCompatibleDC(nullptr)) {
    if (dc_) {
        dpiY_ = ::GetDeviceCaps(dc_.get(), LOGPIXELSY);
    }
    if (dpiY_ <= 0) {
        dpiY_ = 96;
    }
}

GdiTextMeasure::Font& GdiTextMeasure::FontEntry(const TextStyle& s) {
    std::string key = FontKey(s);
    if (auto found = fonts_.find(key); found != fonts_.end()) {
        return found->second;
    }
    if (fonts_.size() >= kMaxCachedFonts) {
        fonts_.clear();
    }
    Font entry;
    entry.font.reset(::CreateFontA(-::MulDiv(s.sizePt, dpiY_, 72), 0, 0, 0, s.weight, s.italic,
                                   s.underline, s.strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, s.face.c_str()));
    TEXTMETRICA tm{};
    {
        platform::SelectedObject select(dc_.get(), entry.font.get());
        if (::GetTextMetricsA(dc_.get(), &tm)) {
            entry.metrics = {tm.tmHeight, tm.tmAscent};
        }
        GLYPHMETRICS gm{};
        const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        if (::GetGlyphOutlineA(dc_.get(), 'x', GGO_METRICS, &gm, 0, nullptr, &identity) !=
            GDI_ERROR) {
            entry.xHeight = static_cast<int>(gm.gmBlackBoxY);
        }
    }
    if (entry.xHeight <= 0) {
        entry.xHeight = entry.metrics.height / 2;
    }
    return fonts_.emplace(std::move(key), std::move(entry)).first->second;
}

HFONT GdiTextMeasure::FontOf(const TextStyle& style) { return FontEntry(style).font.get(); }

int GdiTextMeasure::TextWidth(const TextStyle& style, std::string_view text) {
    platform::SelectedObject select(dc_.get(), FontOf(style));
    SIZE size{};
    ::GetTextExtentPoint32A(dc_.get(), text.data(), Length(text), &size);
    return size.cx;
}

size_t GdiTextMeasure::FitCount(const TextStyle& style, std::string_view text, int maxWidth) {
    if (maxWidth <= 0) {
        return 0;
    }
    platform::SelectedObject select(dc_.get(), FontOf(style));
    INT fit = 0;
    SIZE size{};
    if (!::GetTextExtentExPointA(dc_.get(), text.data(), Length(text), maxWidth, &fit, nullptr,
                                 &size)) {
        return 0;
    }
    return fit < 0 ? 0 : static_cast<size_t>(fit);
}

TextMetrics GdiTextMeasure::Metrics(const TextStyle& style) { return FontEntry(style).metrics; }

int GdiTextMeasure::XHeightPx(const TextStyle& style) { return FontEntry(style).xHeight; }

}  // namespace controls::html
