#include "controls/html/html_document.h"

#include "controls/html/markup_entities.h"
#include "controls/html/markup_text.h"

#include <algorithm>

namespace controls::html {
namespace {

// Bounds that keep hostile markup from exhausting the stack or the memory.
constexpr size_t kMaxStyleDepth = 256;
constexpr size_t kMaxTableDepth = 6;
constexpr int kMaxSpan = 64;
constexpr int kMaxPixels = 10000;
constexpr int kMaxBoxPx = 200;  // each of a box's margin, border and padding

struct OpenTag {
    std::string name;
    const TextStyle* style;
    int link;
};

struct TableFrame {
    Table* table;
    size_t styleFloor;  // the style stack's depth when the table opened
};

bool IsStyleTag(std::string_view name) {
    static constexpr std::string_view kTags[] = {
        "b",      "i",     "em",      "u",        "s",   "strike",  "font",   "left",
        "center", "right", "justify", "baseline", "top", "vcenter", "middle", "bottom",
        "body",   "h1",    "h2",      "h3",       "h4",  "h5",      "h6",     "code",
        "pre",    "big",   "small",   "sub",      "sup", "span",    "p",      "a",
    };
    for (auto t : kTags) {
        if (t == name) {
            return true;
        }
    }
    return false;
}

bool IsRuleTag(std::string_view name) {
    static constexpr std::string_view kTags[] = {"body", "h1",  "h2",  "h3",    "h4",  "h5",  "h6",
                                                 "code", "pre", "big", "small", "sub", "sup", "p"};
    for (auto t : kTags) {
        if (t == name) {
            return true;
        }
    }
    return false;
}

Extent ParseExtent(std::string_view value, const TextStyle& style, FontScale& scale) {
    Extent e;
    value = TrimSpace(value);
    if (value.empty()) {
        return e;
    }
    if (value.back() == '%') {
        e.value = ParseIntClamped(value, 0, 100, -1);
        e.percent = true;
        e.given = e.value >= 0;
    } else if (const auto px = ParseLength(value, 0, style, scale)) {
        e.value = *px < 0 ? 0 : (*px > kMaxPixels ? kMaxPixels : *px);
        e.given = true;
    }
    return e;
}

class Builder {
public:
    explicit Builder(const BuildContext& context) : c_(context) {
        doc_.styles.emplace_back();
        stack_.push_back({"", &doc_.styles.back(), -1});
    }

    Document Build(std::string_view markup) {
        std::string wrapped = "<body>";
        wrapped += markup;
        wrapped += "</body>";
        for (const auto& token : TokenizeMarkup(DecodeEntities(wrapped))) {
            Handle(token);
        }
        return std::move(doc_);
    }

private:
    const TextStyle& Top() const { return *stack_.back().style; }

    std::vector<Item>& Target() {
        if (tables_.empty()) {
            return doc_.items;
        }
        Table& t = *tables_.back().table;
        if (t.rows.empty()) {
            t.rows.emplace_back();
        }
        if (t.rows.back().cells.empty()) {
            t.rows.back().cells.emplace_back();
        }
        return t.rows.back().cells.back().items;
    }

    size_t Floor() const { return tables_.empty() ? 1 : tables_.back().styleFloor; }

    void TrimStyles(size_t depth) {
        while (stack_.size() > depth && stack_.size() > 1) {
            stack_.pop_back();
        }
    }

    Item& Add(Item::Kind kind) {
        auto& items = Target();
        items.emplace_back();
        Item& item = items.back();
        item.kind = kind;
        item.style = &Top();
        item.link = stack_.back().link;
        return item;
    }

    void Handle(const Token& t) {
        switch (t.kind) {
        case Token::Kind::Text: AddText(t.text); break;
        case Token::Kind::LineBreak: Add(Item::Kind::LineBreak); break;
        case Token::Kind::Tab: Add(Item::Kind::Tab); break;
        case Token::Kind::Tag:
            if (t.closing) {
                Close(t.text);
            } else {
                Open(t);
            }
            break;
        }
    }

    void AddText(std::string_view text) {
        const TextStyle& style = Top();
        std::string shown = TransformText(text, style.transform, wordStart_);
        if (!shown.empty()) {
            wordStart_ = IsSpace(shown.back());
        }
        auto& items = Target();
        // Consecutive runs of one style and link join, so word wrap sees them whole.
        if (!items.empty() && items.back().kind == Item::Kind::Text &&
            items.back().style == &style && items.back().link == stack_.back().link) {
            items.back().text += shown;
            return;
        }
        Add(Item::Kind::Text).text = std::move(shown);
    }

    void Close(const std::string& name) {
        if (name == "table") {
            if (!tables_.empty()) {
                TrimStyles(tables_.back().styleFloor);
                tables_.pop_back();
            }
            return;
        }
        if (name == "td" || name == "tr") {
            if (!tables_.empty()) {
                TrimStyles(tables_.back().styleFloor);
            }
            return;
        }
        for (size_t i = stack_.size(); i-- > Floor();) {
            if (stack_[i].name == name) {
                TrimStyles(i);
                return;
            }
        }
    }

    void Open(const Token& t) {
        const std::string& name = t.text;
        if (name == "br") {
            Add(Item::Kind::LineBreak);
        } else if (name == "t") {
            Add(Item::Kind::Tab);
        } else if (name == "hr") {
            OpenRule(t);
        } else if (name == "bmp" || name == "icon" || name == "ilst") {
            if (c_.host) {
                const PictureRef picture = c_.host->LoadPicture(name, t);
                if (picture.id >= 0) {
                    Add(Item::Kind::Picture).picture = picture;
                }
            }
        } else if (name == "string") {
            OpenString(t);
        } else if (name == "table") {
            OpenTable(t);
        } else if (name == "tr") {
            OpenRow();
        } else if (name == "td") {
            OpenCell(t);
        } else if (IsStyleTag(name)) {
            OpenStyle(t);
        }
    }

    void OpenRule(const Token& t) {
        Item& rule = Add(Item::Kind::Rule);
        rule.ruleWidth = ParseExtent(t.Attr("width"), Top(), c_.scale);
        if (!rule.ruleWidth.given) {
            rule.ruleWidth = Extent{100, true, true};
        }
        if (t.HasAttr("size")) {
            rule.ruleSize = ParseIntClamped(t.Attr("size"), 1, 100, 2);
        }
        if (const auto color = ParseColor(t.Attr("color"), c_.colors)) {
            rule.ruleColor = *color;
        }
    }

    void OpenString(const Token& t) {
        if (!c_.host) {
            return;
        }
        std::string text;
        if (t.HasAttr("idres")) {
            text = c_.host->LoadStringResource(
                static_cast<unsigned>(ParseIntClamped(t.Attr("idres"), 0, 65535, 0)), {});
        } else if (t.HasAttr("iddll") && !t.Attr("srcdll").empty()) {
            text = c_.host->LoadStringResource(
                static_cast<unsigned>(ParseIntClamped(t.Attr("iddll"), 0, 65535, 0)),
                t.Attr("srcdll"));
        }
        // The resource is text, not markup.
        AddText(text);
    }

    void ReadLook(const Token& t, BoxLook& look) {
        const auto color = [&](std::string_view attr) {
            return ParseColor(t.Attr(attr), c_.colors);
        };
        if (const auto c = color("bgcolor")) {
            look.background = *c;
        }
        if (const auto c = color("bgmidcolor")) {
            look.middle = *c;
        }
        if (const auto c = color("bgendcolor")) {
            look.end = *c;
        }
        if (t.HasAttr("bgeffect")) {
            look.effect = ParseFillEffect(t.Attr("bgeffect"), look.effect);
        }
        if (t.HasAttr("border")) {
            look.border = ParseIntClamped(t.Attr("border"), 0, 50, 1);
        }
        if (t.HasAttr("borderstyle")) {
            look.borderStyle =
                ParseBorderStyle(LowerAscii(t.Attr("borderstyle"))).value_or(BorderStyle::Solid);
        }
        if (const auto c = color("bordercolor")) {
            look.borderColor = *c;
        }
        if (const auto c = color("bordercolorlight")) {
            look.borderLight = *c;
        }
        if (const auto c = color("bordercolordark")) {
            look.borderDark = *c;
        }
        look.width = ParseExtent(t.Attr("width"), Top(), c_.scale);
        look.height = ParseExtent(t.Attr("height"), Top(), c_.scale);
        const std::string a = LowerAscii(t.Attr("align"));
        look.hAlign = a == "center" ? HAlign::Center : a == "right" ? HAlign::Right : HAlign::Left;
        if (t.HasAttr("valign")) {
            const std::string v = LowerAscii(t.Attr("valign"));
            look.vAlign = (v == "top" || v == "baseline") ? VAlign::Top
                          : v == "bottom"                 ? VAlign::Bottom
                                                          : VAlign::Middle;
        }
        if (c_.host && (t.HasAttr("idres") || t.HasAttr("iddll") || t.HasAttr("file"))) {
            look.picture = c_.host->LoadPicture("background", t);
        }
    }

    void OpenTable(const Token& t) {
        if (tables_.size() >= kMaxTableDepth) {
            return;
        }
        Item& item = Add(Item::Kind::Table);
        item.table = std::make_unique<Table>();
        Table& table = *item.table;
        ReadLook(t, table.look);
        if (!t.HasAttr("align")) {
            table.look.hAlign = Top().hAlign;  // "<center><table>" centres the table
        }
        if (!t.HasAttr("bgeffect") && !table.look.background) {
            table.look.effect = FillEffect::Transparent;
        }
        table.cellPadding = ParseIntClamped(t.Attr("cellpadding"), 0, 100, 1);
        table.cellSpacing = ParseIntClamped(t.Attr("cellspacing"), 0, 100, 2);
        tables_.push_back({&table, stack_.size()});
    }

    void OpenRow() {
        if (tables_.empty()) {
            return;
        }
        TrimStyles(tables_.back().styleFloor);
        tables_.back().table->rows.emplace_back();
    }

    void OpenCell(const Token& t) {
        if (tables_.empty()) {
            return;
        }
        TrimStyles(tables_.back().styleFloor);
        Table& table = *tables_.back().table;
        if (table.rows.empty()) {
            table.rows.emplace_back();
        }
        auto& cells = table.rows.back().cells;
        cells.emplace_back();
        Cell& cell = cells.back();
        cell.look.border = table.look.border > 0 ? 1 : 0;
        cell.look.borderColor = table.look.borderColor;
        cell.look.borderLight = table.look.borderDark;  // a cell looks sunk into its table
        cell.look.borderDark = table.look.borderLight;
        cell.look.effect = FillEffect::Transparent;
        ReadLook(t, cell.look);
        if (t.HasAttr("bgcolor") && !t.HasAttr("bgeffect")) {
            cell.look.effect = FillEffect::Solid;
        }
        cell.colSpan = ParseIntClamped(t.Attr("colspan"), 1, kMaxSpan, 1);
        cell.rowSpan = ParseIntClamped(t.Attr("rowspan"), 1, kMaxSpan, 1);
        // The cell's alignment is its text's starting alignment.
        PushStyle("td", [&](TextStyle& s) {
            s.hAlign = cell.look.hAlign;
            s.box = -1;  // a box around the table does not reach into its cells
        });
    }

    template <typename Change>
    void PushStyle(const std::string& name, Change change, int link = -2) {
        if (stack_.size() >= kMaxStyleDepth) {
            return;
        }
        TextStyle style = Top();
        style.margin = style.padding = style.borderWidth = 0;
        style.borderStyle = BorderStyle::None;
        change(style);
        OpenBoxIfAny(style);
        doc_.styles.push_back(std::move(style));
        stack_.push_back({name, &doc_.styles.back(), link == -2 ? stack_.back().link : link});
    }

    // A style that gives a margin, a visible border or padding opens an inline box around the
    // text inside its tag.
    void OpenBoxIfAny(TextStyle& s) {
        InlineBox box;
        box.margin = std::min(s.margin, kMaxBoxPx);
        box.padding = std::min(s.padding, kMaxBoxPx);
        if (s.borderStyle != BorderStyle::None) {
            box.border = std::min(s.borderWidth, kMaxBoxPx);
        }
        if (box.margin == 0 && box.padding == 0 && box.border == 0) {
            return;
        }
        box.borderStyle = s.borderStyle;
        box.borderColor = s.borderColor;
        box.background = s.background;
        box.parent = s.box;
        s.box = static_cast<int>(doc_.boxes.size());
        doc_.boxes.push_back(box);
    }

    void ApplyRule(TextStyle& s, std::string_view selector) {
        ApplyDeclarations(s, c_.sheet.Find(selector), c_.colors, c_.scale);
    }

    void OpenStyle(const Token& t) {
        const std::string& name = t.text;
        if (name == "a") {
            OpenLink(t);
            return;
        }
        PushStyle(name, [&](TextStyle& s) {
            if (IsRuleTag(name)) {
                ApplyRule(s, name);
            }
            if (name == "b") {
                s.weight = 700;
            } else if (name == "i" || name == "em") {
                s.italic = true;
            } else if (name == "u") {
                s.underline = true;
            } else if (name == "s" || name == "strike") {
                s.strikeOut = true;
            } else if (const auto h = ParseHAlign(name)) {
                s.hAlign = *h;
            } else if (const auto v = ParseVAlign(name)) {
                s.vAlign = *v;
            } else if (name == "span") {
                const std::string_view cls = TrimSpace(t.Attr("class"));
                if (!cls.empty()) {
                    ApplyRule(s, "." + std::string(cls));
                }
            } else if (name == "font") {
                ApplyFontAttributes(t, s);
            }
        });
    }

    void ApplyFontAttributes(const Token& t, TextStyle& s) {
        if (!TrimSpace(t.Attr("face")).empty()) {
            s.face = std::string(TrimSpace(t.Attr("face")).substr(0, 31));
        }
        if (const auto pt = ParseFontSize(t.Attr("size"), s, c_.scale, true)) {
            s.sizePt = *pt;
        }
        if (const auto color = ParseColor(t.Attr("color"), c_.colors)) {
            s.color = *color;
        }
        if (t.HasAttr("style")) {
            const std::string_view style = t.Attr("style");
            if (style.find(':') != std::string_view::npos) {
                ApplyDeclarations(s, style, c_.colors, c_.scale);
            } else {
                ApplyDeclarations(s, "font-style:" + std::string(style), c_.colors, c_.scale);
            }
        }
        if (t.HasAttr("weight")) {
            ApplyDeclarations(s, "font-weight:" + std::string(t.Attr("weight")), c_.colors,
                              c_.scale);
        }
        if (t.HasAttr("bkgnd")) {
            ApplyDeclarations(s, "background-color:" + std::string(t.Attr("bkgnd")), c_.colors,
                              c_.scale);
        }
    }

    void OpenLink(const Token& t) {
        Link link;
        if (t.HasAttr("href")) {
            link = {LinkKind::Address, std::string(t.Attr("href"))};
        } else if (t.HasAttr("msg")) {
            link = {LinkKind::Message, std::string(t.Attr("msg"))};
        } else {
            PushStyle("a", [](TextStyle&) {});
            return;
        }
        const int index = static_cast<int>(doc_.links.size());
        doc_.links.push_back(std::move(link));
        PushStyle(
            "a", [&](TextStyle& s) { ApplyRule(s, index == c_.hoverLink ? "a:hover" : "a:link"); },
            index);
    }

    const BuildContext& c_;
    Document doc_;
    std::vector<OpenTag> stack_;
    std::vector<TableFrame> tables_;
    bool wordStart_ = true;
};

}  // namespace

Document BuildDocument(std::string_view markup, const BuildContext& context) {
    return Builder(context).Build(markup);
}

}  // namespace controls::html
