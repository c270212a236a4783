#pragma once
// The document tree of a markup text: runs of styled text, breaks, rules, pictures and tables,
// built once per text and laid out for any width.

#include "controls/html/fill_effects.h"
#include "controls/html/markup_tokenizer.h"
#include "controls/html/text_style.h"

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace controls::html {

enum class LinkKind { Address = 1, Message = 2 };

struct Link {
    LinkKind kind = LinkKind::Address;
    std::string target;  // the address, or the message text
};

// A picture the host has loaded; id is the host's, -1 when there is none.
struct PictureRef {
    int id = -1;
    int width = 0;
    int height = 0;
};

// A length given in pixels or as a percentage of the room there is.
struct Extent {
    int value = 0;
    bool percent = false;
    bool given = false;
    int Resolve(int room) const {
        return percent ? static_cast<int>(1LL * value * room / 100) : value;
    }
};

// Background and border of a table or a cell.
struct BoxLook {
    std::optional<Color> background, middle, end;
    FillEffect effect = FillEffect::Solid;
    PictureRef picture;
    int border = 0;
    BorderStyle borderStyle = BorderStyle::Solid;
    Color borderColor = 0x808080;
    std::optional<Color> borderLight, borderDark;
    Extent width, height;
    VAlign vAlign = VAlign::Middle;
    HAlign hAlign = HAlign::Left;
};

// The margin, border and padding a tag puts around the text inside it, in pixels. A box that
// is broken across lines shows its left edge on its first line and its right edge on its last.
struct InlineBox {
    int margin = 0;
    int border = 0;  // 0 unless a border style is given
    int padding = 0;
    BorderStyle borderStyle = BorderStyle::None;
    Color borderColor = 0;
    std::optional<Color> background;
    int parent = -1;  // the box this one sits in
    int Inset() const { return border + padding; }
};

struct Table;

struct Item {
    enum class Kind { Text, LineBreak, Tab, Rule, Picture, Table };
    Kind kind = Kind::Text;
    const TextStyle* style = nullptr;
    std::string text;
    int link = -1;  // index into Document::links
    // A rule: its width, thickness and colour.
    Extent ruleWidth;
    int ruleSize = 2;
    Color ruleColor = 0x808080;
    PictureRef picture;
    std::unique_ptr<Table> table;
};

struct Cell {
    BoxLook look;
    int rowSpan = 1;
    int colSpan = 1;
    std::vector<Item> items;
};

struct Row {
    std::vector<Cell> cells;
};

struct Table {
    BoxLook look;
    int cellPadding = 1;
    int cellSpacing = 2;
    std::vector<Row> rows;
};

struct Document {
    std::deque<TextStyle> styles;  // a deque: the items point into it
    std::vector<Item> items;
    std::vector<Link> links;
    std::vector<InlineBox> boxes;
};

// What the markup needs from outside: string resources and pictures.
class MarkupHost {
public:
    virtual ~MarkupHost() = default;
    // The string resource id of the program (module empty) or of the named module; empty
    // when there is none.
    virtual std::string LoadStringResource(unsigned id, std::string_view module) = 0;
    // The picture a "bmp", "icon" or "ilst" tag names, or a table's "background"; id -1 when
    // it cannot be loaded.
    virtual PictureRef LoadPicture(std::string_view kind, const Token& tag) = 0;
};

struct BuildContext {
    const StyleSheet& sheet;
    const ColorTable& colors;
    FontScale& scale;
    MarkupHost* host = nullptr;  // without one, pictures and string resources show nothing
    int hoverLink = -1;          // the link drawn with "a:hover"
};

// Wraps the text as "<body>...</body>", replaces the entities and builds the tree. Tags that
// are not closed end with the text; closing tags without an opening one are ignored.
Document BuildDocument(std::string_view markup, const BuildContext& context);

}  // namespace controls::html
