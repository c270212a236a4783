#include "controls/html/html_layout.h"

#include <algorithm>

namespace controls::html {

bool IsBreakCharacter(char c) {
    for (char b : std::string_view(" -.,!:;)}]?")) {
        if (c == b) {
            return true;
        }
    }
    return false;
}

namespace {

constexpr int kUnbounded = 0x3FFFFFFF;
constexpr int kMaxColumns = 64;
constexpr int kRuleMargin = 3;

struct Block {
    int width = 0;
    int height = 0;
    std::vector<DrawOp> ops;
};

void Translate(std::vector<DrawOp>& ops, int dx, int dy, std::vector<DrawOp>& into) {
    for (auto& op : ops) {
        op.rect.left += dx;
        op.rect.right += dx;
        op.rect.top += dy;
        op.rect.bottom += dy;
        into.push_back(std::move(op));
    }
}

Block LayoutTable(const Table& table, int room, bool bounded, TextMeasure& measure,
                  const std::vector<InlineBox>& boxes);

// Lays out a run of items into lines no wider than width (when bounded).
class FlowLayout {
public:
    FlowLayout(int width, bool bounded, TextMeasure& measure, const std::vector<InlineBox>& boxes)
        : width_(bounded ? std::max(width, 1) : kUnbounded),
          bounded_(bounded),
          m_(measure),
          boxes_(boxes) {}

    Block Run(const std::vector<Item>& items) {
        for (const auto& item : items) {
            Place(item);
        }
        EnterBoxes(-1);
        if (!line_.empty()) {
            EndLine();
        }
        return Finish();
    }

private:
    struct Piece {
        int x = 0, width = 0, ascent = 0, descent = 0;
        VAlign vAlign = VAlign::Baseline;
        std::vector<DrawOp> ops;  // relative to the piece's top-left
        bool stretch = false;     // a rule whose width is a share of the line
        Extent share;
        bool gapAfter = false;  // justified text: the piece ends with blanks
        int trailing = 0;       // the width of those blanks
    };
    // The part of an inline box on one line: x in the line, y from the line's top.
    struct Fragment {
        int box = -1;
        size_t depth = 0;
        Rect rect;
        size_t first = 0, last = 0;  // its pieces
    };
    struct Line {
        int top = 0, height = 0, width = 0;
        HAlign align = HAlign::Left;
        bool justify = false;
        std::vector<Piece> pieces;
        std::vector<Fragment> fragments;  // outer boxes first
    };
    struct OpenBox {
        int box = -1;
        int left = 0;      // x of its fragment on the current line
        size_t first = 0;  // its first piece on the current line
        bool leftEdge = true;
    };

    int Room() const { return width_ - x_; }

    void Place(const Item& item) {
        switch (item.kind) {
        case Item::Kind::Text: PlaceText(item); break;
        case Item::Kind::LineBreak:
            if (line_.empty()) {
                emptyLineHeight_ = m_.Metrics(*item.style).height;
            }
            EndLine();
            break;
        case Item::Kind::Tab: PlaceTab(item); break;
        case Item::Kind::Rule: PlaceRule(item); break;
        case Item::Kind::Picture: PlacePicture(item); break;
        case Item::Kind::Table: PlaceTable(item); break;
        }
    }

    // The boxes a style sits in, outermost first.
    std::vector<int> Chain(int box) const {
        std::vector<int> chain;
        // A box's parent was made before it, so the walk ends.
        for (; box >= 0 && box < static_cast<int>(boxes_.size()); box = boxes_[box].parent) {
            chain.push_back(box);
        }
        std::reverse(chain.begin(), chain.end());
        return chain;
    }

    // Room above and below the content for the margins, borders and padding around it.
    int Lift(int box) const {
        int lift = 0;
        for (; box >= 0 && box < static_cast<int>(boxes_.size()); box = boxes_[box].parent) {
            lift += boxes_[box].margin + boxes_[box].Inset();
        }
        return lift;
    }

    // Closes the open boxes the next piece is not in and opens those it is in.
    void EnterBoxes(int box) {
        if (open_.empty() ? box < 0 : open_.back().box == box) {
            return;  // still in the same box: the open ones are its chain
        }
        const std::vector<int> chain = Chain(box);
        size_t common = 0;
        while (common < open_.size() && common < chain.size() &&
               open_[common].box == chain[common]) {
            ++common;
        }
        while (open_.size() > common) {
            const OpenBox o = open_.back();
            open_.pop_back();
            const InlineBox& b = boxes_[o.box];
            x_ += b.Inset();
            if (o.first < line_.size()) {
                fragments_.push_back(
                    {o.box, open_.size(), {o.left, 0, x_, 0}, o.first, line_.size()});
            }
            x_ += b.margin;
        }
        for (size_t i = common; i < chain.size(); ++i) {
            const InlineBox& b = boxes_[chain[i]];
            x_ += b.margin;
            open_.push_back({chain[i], x_, line_.size(), true});
            x_ += b.Inset();
        }
    }

    void Add(Piece piece, const TextStyle& style) {
        if (line_.empty()) {
            lineAlign_ = style.hAlign;
        }
        piece.x = x_;
        x_ += piece.width;
        line_.push_back(std::move(piece));
    }

    // Justified text is placed a word at a time, so the blanks between words can grow.
    void AddText(const Item& item, std::string_view text, int width) {
        const TextStyle& style = *item.style;
        if (style.hAlign != HAlign::Justify) {
            AddWord(item, text, width, 0);
            return;
        }
        while (!text.empty()) {
            size_t end = text.find(' ');
            end = end == std::string_view::npos ? text.size() : text.find_first_not_of(' ', end);
            end = end == std::string_view::npos ? text.size() : end;
            const std::string_view word = text.substr(0, end);
            const size_t last = word.find_last_not_of(' ');
            const size_t blanks =
                last == std::string_view::npos ? word.size() : word.size() - last - 1;
            const int trailing =
                blanks > 0 ? m_.TextWidth(style, word.substr(word.size() - blanks)) : 0;
            AddWord(item, word, m_.TextWidth(style, word), trailing);
            text = text.substr(end);
        }
    }

    void AddWord(const Item& item, std::string_view text, int width, int trailing) {
        const TextMetrics metrics = m_.Metrics(*item.style);
        const int lift = Lift(item.style->box);
        Piece piece;
        piece.width = width;
        piece.ascent = metrics.ascent + lift;
        piece.descent = metrics.height - metrics.ascent + lift;
        piece.vAlign = item.style->vAlign;
        piece.gapAfter = !text.empty() && text.back() == ' ';
        piece.trailing = trailing;
        DrawOp op;
        op.kind = DrawOp::Kind::Text;
        op.rect = {0, lift, width, lift + metrics.height};
        op.style = item.style;
        op.text = std::string(text);
        op.link = item.link;
        piece.ops.push_back(std::move(op));
        Add(std::move(piece), *item.style);
    }

    void PlaceText(const Item& item) {
        std::string_view rest = item.text;
        while (!rest.empty()) {
            if (wrapped_) {
                // A line that begins at a wrap does not begin with blanks.
                const size_t first = rest.find_first_not_of(' ');
                rest = first == std::string_view::npos ? std::string_view{} : rest.substr(first);
                if (rest.empty()) {
                    return;
                }
            }
            EnterBoxes(item.style->box);
            const int whole = m_.TextWidth(*item.style, rest);
            if (!bounded_ || whole <= Room()) {
                AddText(item, rest, whole);
                wrapped_ = false;
                return;
            }
            const size_t fit = std::min(m_.FitCount(*item.style, rest, Room()), rest.size());
            size_t cut = fit;
            while (cut > 0 && !IsBreakCharacter(rest[cut - 1])) {
                --cut;
            }
            if (cut == 0) {
                if (!line_.empty()) {
                    // The word may fit a fresh line.
                    EndLine(true);
                    wrapped_ = true;
                    continue;
                }
                cut = std::max<size_t>(fit, 1);  // a word longer than the line is split
            }
            const std::string_view head = rest.substr(0, cut);
            AddText(item, head, m_.TextWidth(*item.style, head));
            rest = rest.substr(cut);
            EndLine(true);
            wrapped_ = true;
        }
    }

    void PlaceTab(const Item& item) {
        EnterBoxes(item.style->box);
        const int stop = std::max(1, 8 * m_.TextWidth(*item.style, "x"));
        const int next = (x_ / stop + 1) * stop;
        if (bounded_ && next > width_) {
            EndLine(true);
            return;
        }
        const TextMetrics metrics = m_.Metrics(*item.style);
        const int lift = Lift(item.style->box);
        Piece piece;
        piece.width = next - x_;
        piece.ascent = metrics.ascent + lift;
        piece.descent = metrics.height - metrics.ascent + lift;
        Add(std::move(piece), *item.style);
    }

    void PlaceRule(const Item& item) {
        EnterBoxes(-1);
        if (!line_.empty()) {
            EndLine();
        }
        Piece piece;
        piece.stretch = item.ruleWidth.percent;
        piece.share = item.ruleWidth;
        piece.width = item.ruleWidth.percent ? 0 : item.ruleWidth.value;
        piece.ascent = item.ruleSize + 2 * kRuleMargin;
        DrawOp op;
        op.kind = DrawOp::Kind::Rule;
        op.rect = {0, kRuleMargin, piece.width, kRuleMargin + item.ruleSize};
        op.color = item.ruleColor;
        piece.ops.push_back(std::move(op));
        Add(std::move(piece), *item.style);
        lineAlign_ = HAlign::Center;
        EndLine();
    }

    void PlacePicture(const Item& item) {
        EnterBoxes(item.style->box);
        if (bounded_ && !line_.empty() && item.picture.width > Room()) {
            EndLine(true);
        }
        const int lift = Lift(item.style->box);
        Piece piece;
        piece.width = item.picture.width;
        piece.ascent = item.picture.height + lift;
        piece.descent = lift;
        piece.vAlign = item.style->vAlign;
        DrawOp op;
        op.kind = DrawOp::Kind::Picture;
        op.rect = {0, lift, item.picture.width, lift + item.picture.height};
        op.picture = item.picture;
        op.link = item.link;
        piece.ops.push_back(std::move(op));
        Add(std::move(piece), *item.style);
        wrapped_ = false;
    }

    void PlaceTable(const Item& item) {
        EnterBoxes(-1);
        if (!line_.empty()) {
            EndLine();
        }
        Block block = LayoutTable(*item.table, bounded_ ? width_ : 0, bounded_, m_, boxes_);
        Piece piece;
        piece.width = block.width;
        piece.ascent = block.height;
        piece.vAlign = VAlign::Top;
        piece.ops = std::move(block.ops);
        Add(std::move(piece), *item.style);
        lineAlign_ = item.table->look.hAlign;
        EndLine();
    }

    // wrapped: the line ends because the next piece does not fit (a justified line fills it).
    void EndLine(bool wrapped = false) {
        // Boxes still open go on at the start of the next line.
        for (size_t i = open_.size(); i-- > 0;) {
            if (open_[i].first < line_.size()) {
                fragments_.push_back(
                    {open_[i].box, i, {open_[i].left, 0, x_, 0}, open_[i].first, line_.size()});
            }
        }
        Line line;
        line.top = y_;
        line.align = lineAlign_;
        line.justify = wrapped && lineAlign_ == HAlign::Justify;
        int above = 0, below = 0, other = 0;
        for (const auto& p : line_) {
            if (p.vAlign == VAlign::Baseline) {
                above = std::max(above, p.ascent);
                below = std::max(below, p.descent);
            } else {
                other = std::max(other, p.ascent + p.descent);
            }
        }
        line.height = line_.empty() ? emptyLineHeight_ : std::max(above + below, other);
        for (auto& p : line_) {
            const int h = p.ascent + p.descent;
            const int top = p.vAlign == VAlign::Baseline ? above - p.ascent
                            : p.vAlign == VAlign::Top    ? 0
                            : p.vAlign == VAlign::Bottom ? line.height - h
                                                         : (line.height - h) / 2;
            for (auto& op : p.ops) {
                op.rect.top += top;
                op.rect.bottom += top;
            }
            line.width = std::max(line.width, p.x + p.width);
        }
        const size_t pieceCount = line_.size();
        line.pieces = std::move(line_);
        line_.clear();
        line.fragments = FrameFragments(line.pieces, line.height);
        y_ += line.height;
        maxWidth_ = std::max(maxWidth_, line.width);
        lines_.push_back(std::move(line));
        x_ = 0;
        for (auto& o : open_) {
            // A box none of whose content made it onto the line shows its left edge on the next.
            o.leftEdge = o.leftEdge && o.first >= pieceCount;
            o.first = 0;
            const InlineBox& b = boxes_[o.box];
            if (o.leftEdge) {
                x_ += b.margin;
            }
            o.left = x_;
            if (o.leftEdge) {
                x_ += b.Inset();
            }
        }
        wrapped_ = false;
    }

    // The fragments of the line get their height: their content (and the boxes inside them)
    // with their border and padding around it. Outer boxes come first, so they are drawn first.
    std::vector<Fragment> FrameFragments(const std::vector<Piece>& pieces, int lineHeight) {
        std::vector<Fragment> fragments = std::move(fragments_);
        fragments_.clear();
        std::stable_sort(fragments.begin(), fragments.end(),
                         [](const Fragment& a, const Fragment& b) { return a.depth > b.depth; });
        for (size_t i = 0; i < fragments.size(); ++i) {
            Fragment& f = fragments[i];
            int top = lineHeight, bottom = 0;
            for (size_t k = f.first; k < f.last && k < pieces.size(); ++k) {
                for (const auto& op : pieces[k].ops) {
                    top = std::min(top, op.rect.top);
                    bottom = std::max(bottom, op.rect.bottom);
                }
            }
            for (size_t j = 0; j < i; ++j) {
                const Fragment& inner = fragments[j];
                if (inner.depth > f.depth && inner.first >= f.first && inner.last <= f.last) {
                    top = std::min(top, inner.rect.top);
                    bottom = std::max(bottom, inner.rect.bottom);
                }
            }
            if (top > bottom) {
                top = bottom = lineHeight / 2;
            }
            const int inset = boxes_[f.box].Inset();
            f.rect.top = top - inset;
            f.rect.bottom = bottom + inset;
        }
        std::reverse(fragments.begin(), fragments.end());
        return fragments;
    }

    // How far each piece of a justified line moves right: the slack shared by its gaps.
    static std::vector<int> JustifyShifts(const Line& line, int room) {
        std::vector<int> shifts(line.pieces.size(), 0);
        if (!line.justify || line.pieces.size() < 2) {
            return shifts;
        }
        int gaps = 0;
        for (size_t i = 0; i + 1 < line.pieces.size(); ++i) {
            gaps += line.pieces[i].gapAfter ? 1 : 0;
        }
        const int slack = room - (line.width - line.pieces.back().trailing);
        if (gaps == 0 || slack <= 0) {
            return shifts;
        }
        int seen = 0;
        for (size_t i = 0; i < line.pieces.size(); ++i) {
            shifts[i] = static_cast<int>(1LL * slack * seen / gaps);
            seen += line.pieces[i].gapAfter ? 1 : 0;
        }
        return shifts;
    }

    Block Finish() {
        Block block;
        const int room = bounded_ ? width_ : maxWidth_;
        for (auto& line : lines_) {
            for (auto& p : line.pieces) {
                if (p.stretch) {
                    p.width = p.share.Resolve(room);
                    for (auto& op : p.ops) {
                        op.rect.right = op.rect.left + p.width;
                    }
                    line.width = std::max(line.width, p.width);
                }
            }
            const std::vector<int> shifts = JustifyShifts(line, room);
            const int slack = std::max(0, room - line.width);
            const int dx = line.align == HAlign::Center  ? slack / 2
                           : line.align == HAlign::Right ? slack
                                                         : 0;
            for (const auto& f : line.fragments) {
                DrawOp frame;
                frame.kind = DrawOp::Kind::Frame;
                frame.rect = f.rect;
                // A fragment holds at least one piece of its line.
                frame.rect.left += dx + shifts[f.first];
                frame.rect.right += dx + shifts[f.last - 1];
                frame.rect.top += line.top;
                frame.rect.bottom += line.top;
                frame.box = &boxes_[f.box];
                block.ops.push_back(std::move(frame));
            }
            for (size_t i = 0; i < line.pieces.size(); ++i) {
                Translate(line.pieces[i].ops, dx + line.pieces[i].x + shifts[i], line.top,
                          block.ops);
            }
            const bool filled = !shifts.empty() && shifts.back() > 0;
            block.width = std::max(block.width, filled ? room : std::min(line.width, room) + dx);
        }
        block.width = std::max(block.width, maxWidth_ > room ? room : maxWidth_);
        block.height = y_;
        return block;
    }

    const int width_;
    const bool bounded_;
    TextMeasure& m_;
    const std::vector<InlineBox>& boxes_;
    int x_ = 0, y_ = 0, maxWidth_ = 0;
    int emptyLineHeight_ = 0;
    bool wrapped_ = false;
    HAlign lineAlign_ = HAlign::Left;
    std::vector<Piece> line_;
    std::vector<OpenBox> open_;
    std::vector<Fragment> fragments_;  // of the current line
    std::vector<Line> lines_;
};

Block LayoutFlow(const std::vector<Item>& items, int width, bool bounded, TextMeasure& measure,
                 const std::vector<InlineBox>& boxes) {
    return FlowLayout(width, bounded, measure, boxes).Run(items);
}

struct PlacedCell {
    const Cell* cell;
    int row, col, rowSpan, colSpan;
};

// Rows keep their cells in order; a cell takes the next column not covered from above.
// Spans are cut to the grid, so no span can make the grid larger than the markup is.
std::vector<PlacedCell> PlaceCells(const Table& table, int& columnCount) {
    const int rowCount = static_cast<int>(table.rows.size());
    std::vector<std::vector<bool>> taken(rowCount, std::vector<bool>(kMaxColumns, false));
    std::vector<PlacedCell> placed;
    columnCount = 0;
    for (int r = 0; r < rowCount; ++r) {
        int col = 0;
        for (const auto& cell : table.rows[r].cells) {
            while (col < kMaxColumns && taken[r][col]) {
                ++col;
            }
            if (col >= kMaxColumns) {
                break;
            }
            const int rowSpan = std::min(cell.rowSpan, rowCount - r);
            int colSpan = 1;
            while (colSpan < cell.colSpan && col + colSpan < kMaxColumns &&
                   !taken[r][col + colSpan]) {
                ++colSpan;
            }
            for (int rr = r; rr < r + rowSpan; ++rr) {
                for (int cc = col; cc < col + colSpan; ++cc) {
                    taken[rr][cc] = true;
                }
            }
            placed.push_back({&cell, r, col, rowSpan, colSpan});
            col += colSpan;
            columnCount = std::max(columnCount, col);
        }
    }
    return placed;
}

// Grows columns (or rows) until every cell has what it needs: cells of one column first, then
// each spanning cell shares what is still missing evenly among the columns it spans.
void GrowToFit(std::vector<int>& sizes, const std::vector<PlacedCell>& cells,
               const std::vector<int>& need, int spacing, int PlacedCell::*first,
               int PlacedCell::*span) {
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < cells.size(); ++i) {
            const int start = cells[i].*first;
            const int count = cells[i].*span;
            if ((pass == 0) != (count == 1)) {
                continue;
            }
            int have = (count - 1) * spacing;
            for (int k = start; k < start + count; ++k) {
                have += sizes[k];
            }
            const int extra = need[i] - have;
            for (int k = 0; extra > 0 && k < count; ++k) {
                sizes[start + k] += extra / count + (k < extra % count ? 1 : 0);
            }
        }
    }
}

Block LayoutTable(const Table& table, int room, bool bounded, TextMeasure& measure,
                  const std::vector<InlineBox>& boxes) {
    int columnCount = 0;
    const auto cells = PlaceCells(table, columnCount);
    const int rowCount = static_cast<int>(table.rows.size());
    const int spacing = table.cellSpacing;
    const int pad = table.cellPadding;
    const int border = table.look.border;
    const auto inset = [&](const Cell& c) { return 2 * (pad + c.look.border); };

    // Column widths: what each cell needs unbroken, or its own width.
    std::vector<int> columns(columnCount, 0);
    std::vector<int> wanted(cells.size(), 0);
    for (size_t i = 0; i < cells.size(); ++i) {
        const Cell& c = *cells[i].cell;
        int want = LayoutFlow(c.items, 0, false, measure, boxes).width + inset(c);
        if (c.look.width.given) {
            want = c.look.width.Resolve(bounded ? room : want);
        }
        wanted[i] = want;
    }
    GrowToFit(columns, cells, wanted, spacing, &PlacedCell::col, &PlacedCell::colSpan);
    const int chrome = (columnCount + 1) * spacing + 2 * border;
    int natural = chrome;
    for (int w : columns) {
        natural += w;
    }
    int target = natural;
    if (table.look.width.given) {
        target = table.look.width.Resolve(bounded ? room : natural);
    } else if (bounded && natural > room) {
        target = room;
    }
    target = std::max(target, chrome + columnCount);
    if (target != natural && columnCount > 0) {
        const long long inner = natural - chrome;
        const long long want = target - chrome;
        long long given = 0;
        for (int c = 0; c < columnCount; ++c) {
            columns[c] = inner > 0 ? static_cast<int>(columns[c] * want / inner)
                                   : static_cast<int>(want / columnCount);
            given += columns[c];
        }
        columns[columnCount - 1] += static_cast<int>(want - given);
    }

    // Lay out every cell at its width; rows take the tallest cell.
    std::vector<Block> contents(cells.size());
    std::vector<int> cellWidths(cells.size());
    std::vector<int> rows(rowCount, 0);
    std::vector<int> tall(cells.size(), 0);
    for (size_t i = 0; i < cells.size(); ++i) {
        const auto& p = cells[i];
        int w = (p.colSpan - 1) * spacing;
        for (int c = p.col; c < p.col + p.colSpan; ++c) {
            w += columns[c];
        }
        cellWidths[i] = w;
        contents[i] =
            LayoutFlow(p.cell->items, std::max(1, w - inset(*p.cell)), true, measure, boxes);
        tall[i] = contents[i].height + inset(*p.cell);
        if (p.cell->look.height.given && !p.cell->look.height.percent) {
            tall[i] = std::max(tall[i], p.cell->look.height.value);
        }
    }
    GrowToFit(rows, cells, tall, spacing, &PlacedCell::row, &PlacedCell::rowSpan);

    std::vector<int> colX(columnCount + 1, border + spacing);
    for (int c = 0; c < columnCount; ++c) {
        colX[c + 1] = colX[c] + columns[c] + spacing;
    }
    std::vector<int> rowY(rowCount + 1, border + spacing);
    for (int r = 0; r < rowCount; ++r) {
        rowY[r + 1] = rowY[r] + rows[r] + spacing;
    }
    Block block;
    block.width = columnCount > 0 ? colX[columnCount] + border : target;
    block.height = rowY[rowCount] + border;
    if (table.look.height.given && !table.look.height.percent) {
        block.height = std::max(block.height, table.look.height.value);
    }
    DrawOp frame;
    frame.kind = DrawOp::Kind::Box;
    frame.rect = {0, 0, block.width, block.height};
    frame.look = &table.look;
    block.ops.push_back(std::move(frame));
    for (size_t i = 0; i < cells.size(); ++i) {
        const auto& p = cells[i];
        const Cell& cell = *p.cell;
        const int x = colX[p.col];
        const int y = rowY[p.row];
        const int h = rowY[p.row + p.rowSpan] - spacing - y;
        DrawOp box;
        box.kind = DrawOp::Kind::Box;
        box.rect = {x, y, x + cellWidths[i], y + h};
        box.look = &cell.look;
        block.ops.push_back(std::move(box));
        const int slack = std::max(0, h - inset(cell) - contents[i].height);
        const int dy = cell.look.vAlign == VAlign::Top      ? 0
                       : cell.look.vAlign == VAlign::Bottom ? slack
                                                            : slack / 2;
        const int in = pad + cell.look.border;
        Translate(contents[i].ops, x + in, y + in + dy, block.ops);
    }
    return block;
}

}  // namespace

Layout LayoutDocument(const Document& document, int width, TextMeasure& measure) {
    Block block = LayoutFlow(document.items, width, width > 0, measure, document.boxes);
    Layout layout;
    layout.width = block.width;
    layout.height = block.height;
    layout.ops = std::move(block.ops);
    for (const auto& op : layout.ops) {
        if (op.link >= 0 && op.link < static_cast<int>(document.links.size())) {
            const Link& link = document.links[op.link];
            layout.links.push_back({op.rect, link.kind, op.link, op.text});
        }
    }
    return layout;
}

}  // namespace controls::html
