#include "controls/html/text_style.h"

#include "controls/html/markup_text.h"

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace controls::html {
namespace {

constexpr int kMaxLengthPx = 32000;
constexpr int kMaxFontPt = 500;

int ClampInt(double v, int low, int high) {
    if (!(v >= low)) {  // also NaN
        return low;
    }
    if (v > high) {
        return high;
    }
    return static_cast<int>(std::lround(v));
}

// Splits "12.5pt" into 12.5 and "pt"; false when the text does not start with a number.
bool SplitNumber(std::string_view text, double& number, std::string& unit) {
    text = TrimSpace(text);
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    const size_t digitsStart = i;
    while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) {
        ++i;
    }
    if (i == digitsStart || (i == digitsStart + 1 && text[digitsStart] == '.')) {
        return false;
    }
    number = std::strtod(std::string(text.substr(0, i)).c_str(), nullptr);
    unit = LowerAscii(TrimSpace(text.substr(i)));
    return true;
}

// Pixels of number × unit; nothing for an unknown unit.
std::optional<double> UnitToPixels(double number, const std::string& unit, const TextStyle& style,
                                   FontScale& scale) {
    const double dpi = scale.PixelsPerInchY();
    if (unit.empty() || unit == "px") {
        return number;
    }
    if (unit == "ex") {
        return number * scale.XHeightPx(style);
    }
    if (unit == "em") {
        return number * scale.FontHeightPx(style);
    }
    if (unit == "in") {
        return number * dpi;
    }
    if (unit == "cm") {
        return number * dpi / 2.54;
    }
    if (unit == "mm") {
        return number * dpi / 25.4;
    }
    if (unit == "pt") {
        return number * dpi / 72;
    }
    if (unit == "pc") {
        return number * dpi / 6;
    }
    return std::nullopt;
}

std::optional<bool> ParseItalic(std::string_view v) {
    if (v == "normal") {
        return false;
    }
    if (v == "italic" || v == "oblique") {
        return true;
    }
    return std::nullopt;
}

std::optional<int> ParseWeight(std::string_view v, int current) {
    if (v == "normal") {
        return 400;
    }
    if (v == "bold") {
        return 700;
    }
    if (v == "bolder") {
        return current + 300 > 900 ? 900 : current + 300;
    }
    if (v == "lighter") {
        return current - 300 < 100 ? 100 : current - 300;
    }
    const int n = ParseIntClamped(v, 0, 1000, -1);
    if (n < 0) {
        return std::nullopt;
    }
    return n;
}

void ApplyOne(TextStyle& style, const std::string& property, std::string_view rawValue,
              const ColorTable& colors, FontScale& scale) {
    const std::string value = LowerAscii(rawValue);
    if (property == "font-size") {
        if (const auto pt = ParseFontSize(value, style, scale, false)) {
            style.sizePt = *pt;
        }
    } else if (property == "font-family") {
        if (!rawValue.empty()) {
            style.face = std::string(rawValue.substr(0, 31));  // LOGFONT holds 31 characters
        }
    } else if (property == "font-style") {
        if (const auto italic = ParseItalic(value)) {
            style.italic = *italic;
        }
    } else if (property == "font-weight") {
        if (const auto weight = ParseWeight(value, style.weight)) {
            style.weight = *weight;
        }
    } else if (property == "text-align") {
        if (const auto align = ParseHAlign(value); align && *align != HAlign::Justify) {
            style.hAlign = *align;
        }
    } else if (property == "text-transform") {
        if (value == "none") {
            style.transform = TextTransform::None;
        } else if (value == "uppercase") {
            style.transform = TextTransform::Uppercase;
        } else if (value == "lowercase") {
            style.transform = TextTransform::Lowercase;
        } else if (value == "capitalize") {
            style.transform = TextTransform::Capitalize;
        }
    } else if (property == "color") {
        if (const auto c = ParseColor(value, colors)) {
            style.color = *c;
        }
    } else if (property == "background-color") {
        if (value == "transparent") {
            style.background.reset();
        } else if (const auto c = ParseColor(value, colors)) {
            style.background = *c;
        }
    } else if (property == "text-decoration") {
        if (value == "none") {
            style.underline = style.strikeOut = style.overline = false;
        } else if (value == "underline") {
            style.underline = true;
        } else if (value == "line-through") {
            style.strikeOut = true;
        } else if (value == "overline") {
            style.overline = true;
        }
    } else if (property == "vertical-align") {
        if (const auto align = ParseVAlign(value)) {
            style.vAlign = *align;
        }
    } else if (property == "border-color") {
        if (const auto c = ParseColor(value, colors)) {
            style.borderColor = *c;
        }
    } else if (property == "border-width") {
        if (value == "thin") {
            style.borderWidth = 1;
        } else if (value == "medium") {
            style.borderWidth = 3;
        } else if (value == "thick") {
            style.borderWidth = 5;
        } else if (const auto px = ParseLength(value, style.borderWidth, style, scale)) {
            style.borderWidth = *px < 0 ? 0 : *px;
        }
    } else if (property == "border-style") {
        if (const auto border = ParseBorderStyle(value)) {
            style.borderStyle = *border;
        }
    } else if (property == "margin") {
        if (const auto px = ParseLength(value, style.margin, style, scale)) {
            style.margin = *px < 0 ? 0 : *px;
        }
    } else if (property == "padding") {
        if (const auto px = ParseLength(value, style.padding, style, scale)) {
            style.padding = *px < 0 ? 0 : *px;
        }
    }
}

}  // namespace

namespace {
template <typename T>
std::optional<T> LookUpKeyword(std::string_view v,
                               std::initializer_list<std::pair<std::string_view, T>> words) {
    for (const auto& [word, value] : words) {
        if (v == word) {
            return value;
        }
    }
    return std::nullopt;
}
}  // namespace

std::optional<VAlign> ParseVAlign(std::string_view v) {
    return LookUpKeyword<VAlign>(v, {{"baseline", VAlign::Baseline},
                                     {"middle", VAlign::Middle},
                                     {"vcenter", VAlign::Middle},
                                     {"top", VAlign::Top},
                                     {"bottom", VAlign::Bottom}});
}

std::optional<HAlign> ParseHAlign(std::string_view v) {
    return LookUpKeyword<HAlign>(v, {{"left", HAlign::Left},
                                     {"center", HAlign::Center},
                                     {"right", HAlign::Right},
                                     {"justify", HAlign::Justify}});
}

std::optional<BorderStyle> ParseBorderStyle(std::string_view v) {
    return LookUpKeyword<BorderStyle>(v, {{"none", BorderStyle::None},
                                          {"solid", BorderStyle::Solid},
                                          {"dotted", BorderStyle::Dotted},
                                          {"dashed", BorderStyle::Dashed},
                                          {"double", BorderStyle::Double}});
}

std::optional<int> ParseLength(std::string_view value, int percentOf, const TextStyle& style,
                               FontScale& scale) {
    double number = 0;
    std::string unit;
    if (!SplitNumber(value, number, unit)) {
        return std::nullopt;
    }
    if (unit == "%") {
        // Integer multiply-divide, as for font sizes.
        const long long n = ClampInt(number, -100000, 100000);
        return ClampInt(static_cast<double>(n * percentOf / 100), -kMaxLengthPx, kMaxLengthPx);
    }
    const auto px = UnitToPixels(number, unit, style, scale);
    if (!px) {
        return std::nullopt;
    }
    return ClampInt(*px, -kMaxLengthPx, kMaxLengthPx);
}

std::optional<int> ParseFontSize(std::string_view value, const TextStyle& style, FontScale& scale,
                                 bool htmlSizes) {
    static constexpr int kHtmlSizes[] = {8, 10, 12, 14, 18, 24, 36};
    double number = 0;
    std::string unit;
    if (!SplitNumber(value, number, unit)) {
        return std::nullopt;
    }
    int pt = 0;
    if (unit == "%") {
        const long long n = ClampInt(number, 0, 100000);
        pt = static_cast<int>(n * style.sizePt / 100);
    } else if (unit == "pt") {
        pt = ClampInt(number, 0, kMaxFontPt);
    } else if (unit.empty() && htmlSizes && number >= 1 && number <= 7 &&
               number == std::floor(number)) {
        pt = kHtmlSizes[static_cast<int>(number) - 1];
    } else {
        const auto px = UnitToPixels(number, unit, style, scale);
        if (!px) {
            return std::nullopt;
        }
        const int dpi = scale.PixelsPerInchY();
        pt = ClampInt(*px * 72 / (dpi > 0 ? dpi : 96), 0, kMaxFontPt);
    }
    if (pt < 1) {
        pt = 1;
    }
    return pt > kMaxFontPt ? kMaxFontPt : pt;
}

void ApplyDeclarations(TextStyle& style, std::string_view declarations, const ColorTable& colors,
                       FontScale& scale) {
    for (const auto& d : ParseDeclarations(declarations)) {
        ApplyOne(style, d.property, d.value, colors, scale);
    }
}

std::string TransformText(std::string_view text, TextTransform transform, bool atWordStart) {
    std::string out(text);
    bool wordStart = atWordStart;
    for (char& c : out) {
        const bool lower = c >= 'a' && c <= 'z';
        const bool upper = c >= 'A' && c <= 'Z';
        switch (transform) {
        case TextTransform::Uppercase:
            if (lower) {
                c = static_cast<char>(c - 'a' + 'A');
            }
            break;
        case TextTransform::Lowercase:
            if (upper) {
                c = static_cast<char>(c - 'A' + 'a');
            }
            break;
        case TextTransform::Capitalize:
            if (wordStart && lower) {
                c = static_cast<char>(c - 'a' + 'A');
            }
            break;
        case TextTransform::None: break;
        }
        wordStart = IsSpace(c);
    }
    return out;
}

}  // namespace controls::html
