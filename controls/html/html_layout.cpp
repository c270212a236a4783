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

Block LayoutTable(const Table& table, int room, bool bounded, TextMeasure& measure);

// Lays out a run of items into lines no wider than width (when bounded).
class FlowLayout {
  public:
    FlowLayout(int width, bool bounded, TextMeasure& measure)
        : width_(bounded ? std::max(width, 1) : kUnbounded), bounded_(bounded), m_(measure) {}

    Block Run(const std::vector<Item>& items) {
        for (const auto& item : items) {
            Place(item);
        }
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
    };
    struct Line {
        int top = 0, height = 0, width = 0;
        HAlign align = HAlign::Left;
        std::vector<Piece> pieces;
    };

    int Room() const { return width_ - x_; }

    void Place(const Item& item) {
        switch (item.kind) {
        case Item::Kind::Text:
            PlaceText(item);
            break;
        case Item::Kind::LineBreak:
            if (line_.empty()) {
                emptyLineHeight_ = m_.Metrics(*item.style).height;
            }
            EndLine();
            break;
        case Item::Kind::Tab:
            PlaceTab(item);
            break;
        case Item::Kind::Rule:
            PlaceRule(item);
            break;
        case Item::Kind::Picture:
            PlacePicture(item);
            break;
        case Item::Kind::Table:
            PlaceTable(item);
            break;
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

    void AddText(const Item& item, std::string_view text, int width) {
        const TextMetrics metrics = m_.Metrics(*item.style);
        Piece piece;
        piece.width = width;
        piece.ascent = metrics.ascent;
        piece.descent = metrics.height - metrics.ascent;
        piece.vAlign = item.style->vAlign;
        DrawOp op;
        op.kind = DrawOp::Kind::Text;
        op.rect = {0, 0, width, metrics.height};
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
                    EndLine();
                    wrapped_ = true;
                    continue;
                }
                cut = std::max<size_t>(fit, 1);  // a word longer than the line is split
            }
            const std::string_view head = rest.substr(0, cut);
            AddText(item, head, m_.TextWidth(*item.style, head));
            rest = rest.substr(cut);
            EndLine();
            wrapped_ = true;
        }
    }

    void PlaceTab(const Item& item) {
        const int stop = std::max(1, 8 * m_.TextWidth(*item.style, "x"));
        const int next = (x_ / stop + 1) * stop;
        if (bounded_ && next > width_) {
            EndLine();
            return;
        }
        const TextMetrics metrics = m_.Metrics(*item.style);
        Piece piece;
        piece.width = next - x_;
        piece.ascent = metrics.ascent;
        piece.descent = metrics.height - metrics.ascent;
        Add(std::move(piece), *item.style);
    }

    void PlaceRule(const Item& item) {
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
        if (bounded_ && !line_.empty() && item.picture.width > Room()) {
            EndLine();
        }
        Piece piece;
        piece.width = item.picture.width;
        piece.ascent = item.picture.height;
        piece.vAlign = item.style->vAlign;
        DrawOp op;
        op.kind = DrawOp::Kind::Picture;
        op.rect = {0, 0, item.picture.width, item.picture.height};
        op.picture = item.picture;
        op.link = item.link;
        piece.ops.push_back(std::move(op));
        Add(std::move(piece), *item.style);
        wrapped_ = false;
    }

    void PlaceTable(const Item& item) {
        if (!line_.empty()) {
            EndLine();
        }
        Block block = LayoutTable(*item.table, bounded_ ? width_ : 0, bounded_, m_);
        Piece piece;
        piece.width = block.width;
        piece.ascent = block.height;
        piece.vAlign = VAlign::Top;
        piece.ops = std::move(block.ops);
        Add(std::move(piece), *item.style);
        lineAlign_ = item.table->look.hAlign;
        EndLine();
    }

    void EndLine() {
        Line line;
        line.top = y_;
        line.align = lineAlign_;
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
        line.pieces = std::move(line_);
        line_.clear();
        y_ += line.height;
        maxWidth_ = std::max(maxWidth_, line.width);
        lines_.push_back(std::move(line));
        x_ = 0;
        wrapped_ = false;
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
            const int slack = std::max(0, room - line.width);
            const int dx = line.align == HAlign::Center  ? slack / 2
                           : line.align == HAlign::Right ? slack
                                                         : 0;
            for (auto& p : line.pieces) {
                Translate(p.ops, dx + p.x, line.top, block.ops);
            }
            block.width = std::max(block.width, std::min(line.width, room) + dx);
        }
        block.width = std::max(block.width, maxWidth_ > room ? room : maxWidth_);
        block.height = y_;
        return block;
    }

    const int width_;
    const bool bounded_;
    TextMeasure& m_;
    int x_ = 0, y_ = 0, maxWidth_ = 0;
    int emptyLineHeight_ = 0;
    bool wrapped_ = false;
    HAlign lineAlign_ = HAlign::Left;
    std::vector<Piece> line_;
    std::vector<Line> lines_;
};

Block LayoutFlow(const std::vector<Item>& items, int width, bool bounded, TextMeasure& measure) {
    return FlowLayout(width, bounded, measure).Run(items);
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

Block LayoutTable(const Table& table, int room, bool bounded, TextMeasure& measure) {
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
        int want = LayoutFlow(c.items, 0, false, measure).width + inset(c);
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
        contents[i] = LayoutFlow(p.cell->items, std::max(1, w - inset(*p.cell)), true, measure);
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
    Block block = LayoutFlow(document.items, width, width > 0, measure);
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
