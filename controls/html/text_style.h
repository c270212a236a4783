#pragma once
// The style state of the markup while it is parsed: one copy per open tag.

#include "controls/html/html_colors.h"
#include "controls/html/style_sheet.h"

#include <optional>
#include <string>
#include <string_view>

namespace controls::html {

enum class HAlign { Left, Center, Right, Justify };
enum class VAlign { Baseline, Top, Middle, Bottom };
enum class TextTransform { None, Uppercase, Lowercase, Capitalize };
enum class BorderStyle { None, Solid, Dotted, Dashed, Double };

struct TextStyle {
    std::string face = "Verdana";
    int sizePt = 10;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool overline = false;
    Color color = 0;
    std::optional<Color> background;  // nothing: transparent
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Baseline;
    TextTransform transform = TextTransform::None;
    Color borderColor = 0;
    int borderWidth = 0;  // pixels
    BorderStyle borderStyle = BorderStyle::None;
    // Margin, border and padding belong to the tag that gives them, not to the tags inside it:
    // a pushed copy starts them afresh, and box names the inline box the text is in.
    int margin = 0;   // pixels
    int padding = 0;  // pixels
    int box = -1;     // index into Document::boxes, -1 outside every box
};

// What lengths in font-relative and physical units are measured against.
struct FontScale {
    virtual ~FontScale() = default;
    virtual int FontHeightPx(const TextStyle& style) = 0;  // cell height of the style's font
    virtual int XHeightPx(const TextStyle& style) = 0;     // height of "x"
    virtual int PixelsPerInchY() = 0;
};

// A length in pixels: "N%" of percentOf, or a number with px, ex, em, in, cm, mm, pt, pc (a
// bare number is pixels). Nothing for a value that is no length.
std::optional<int> ParseLength(std::string_view value, int percentOf, const TextStyle& style,
                               FontScale& scale);

// A font size in points. "N%" of the current size; with htmlSizes, a bare 1 to 7 is an HTML
// font size (8, 10, 12, 14, 18, 24, 36 points). Nothing for a value that is no size.
std::optional<int> ParseFontSize(std::string_view value, const TextStyle& style, FontScale& scale,
                                 bool htmlSizes);

// The keywords of alignment and border style (lower case); nothing for another word.
std::optional<HAlign> ParseHAlign(std::string_view v);
std::optional<VAlign> ParseVAlign(std::string_view v);
std::optional<BorderStyle> ParseBorderStyle(std::string_view v);

// Applies the declarations; a property or value that is not understood keeps what was inherited.
void ApplyDeclarations(TextStyle& style, std::string_view declarations, const ColorTable& colors,
                       FontScale& scale);

// The text as the style's text-transform shows it.
std::string TransformText(std::string_view text, TextTransform transform, bool atWordStart);

}  // namespace controls::html
