#pragma once
// Lays a document out for a width: positioned text runs, rules, pictures and table boxes, and
// the areas of the links. Text is measured through TextMeasure, so layout needs no screen.

#include "controls/html/html_document.h"

#include <string>
#include <string_view>
#include <vector>

namespace controls::html {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct TextMetrics {
    int height = 0;  // cell height of a line
    int ascent = 0;
};

class TextMeasure : public FontScale {
public:
    virtual int TextWidth(const TextStyle& style, std::string_view text) = 0;
    // How many leading characters of text fit into maxWidth pixels.
    virtual size_t FitCount(const TextStyle& style, std::string_view text, int maxWidth) = 0;
    virtual TextMetrics Metrics(const TextStyle& style) = 0;
    int FontHeightPx(const TextStyle& style) override { return Metrics(style).height; }
};

// One thing to paint, in layout coordinates (0,0 is the top-left of the output).
struct DrawOp {
    enum class Kind { Text, Rule, Picture, Box, Frame };
    Kind kind = Kind::Text;
    Rect rect;
    const TextStyle* style = nullptr;  // Text
    std::string text;                  // Text
    int link = -1;                     // Text, Picture
    Color color = 0;                   // Rule
    PictureRef picture;                // Picture
    const BoxLook* look = nullptr;     // Box: a table's or a cell's background and border
    const InlineBox* box = nullptr;    // Frame: the part of an inline box on one line
};

struct LinkArea {
    Rect rect;
    LinkKind kind = LinkKind::Address;
    int id = -1;  // the link's index in the document: every piece of one link shares it
    std::string text;
};

struct Layout {
    int width = 0;
    int height = 0;
    std::vector<DrawOp> ops;
    std::vector<LinkArea> links;
};

// Lines wrap at width; width 0 or less lays every line out unbroken.
Layout LayoutDocument(const Document& document, int width, TextMeasure& measure);

// Whether a line may be broken after c.
bool IsBreakCharacter(char c);

}  // namespace controls::html
