#include "controls/html/pp_html_drawer.h"

#include "controls/hand_cursor.h"
#include "controls/html/link_open.h"
#include "platform/gdi_select.h"

namespace controls::html {

CPPHtmlDrawer::CPPHtmlDrawer()
    : colors_([](int index) { return static_cast<Color>(::GetSysColor(index)); }),
      pictures_(colors_, ::GetModuleHandleA(nullptr)) {
    Rebuild();
}

void CPPHtmlDrawer::SetResourceInstance(HINSTANCE instance) {
    pictures_.SetResourceInstance(instance);
    pictures_.Clear();
    Rebuild();
}

void CPPHtmlDrawer::SetText(std::string_view markup) {
    text_ = std::string(markup);
    hoverLink_ = -1;
    pictures_.Clear();
    Rebuild();
}

void CPPHtmlDrawer::SetCssStyles(std::string_view css) {
    sheet_.ResetToDefault();
    sheet_.Add(css);
    Rebuild();
}

void CPPHtmlDrawer::AddCssStyles(std::string_view css) {
    sheet_.Add(css);
    Rebuild();
}

void CPPHtmlDrawer::SetCallbackHyperlink(HWND window, UINT message, LPARAM userValue) {
    linkWindow_ = window;
    linkMessage_ = message;
    linkUserValue_ = userValue;
}

void CPPHtmlDrawer::SetCallbackHover(HWND window, UINT message) {
    hoverWindow_ = window;
    hoverMessage_ = message;
}

void CPPHtmlDrawer::Rebuild() {
    document_ =
        BuildDocument(text_, BuildContext{sheet_, colors_, measure_, &pictures_, hoverLink_});
    layout_ = LayoutDocument(document_, width_, measure_);
}

SIZE CPPHtmlDrawer::PrepareOutput(int width) {
    width_ = width < 0 ? 0 : width;
    Rebuild();
    return {layout_.width, layout_.height};
}

void CPPHtmlDrawer::DrawPreparedOutput(HDC dc, const RECT& rect) {
    origin_ = {rect.left, rect.top};
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    ::SetBkMode(dc, TRANSPARENT);
    for (const auto& op : layout_.ops) {
        DrawOp(dc, op, rect.left, rect.top);
    }
    ::RestoreDC(dc, saved);
}

void CPPHtmlDrawer::DrawOp(HDC dc, const html::DrawOp& op, int dx, int dy) {
    const RECT r{op.rect.left + dx, op.rect.top + dy, op.rect.right + dx, op.rect.bottom + dy};
    switch (op.kind) {
    case html::DrawOp::Kind::Text: {
        const TextStyle& s = *op.style;
        if (s.background) {
            draw_.FillSolid(dc, r, *s.background);
        }
        ::SetTextColor(dc, s.color & 0xFFFFFF);
        platform::SelectedObject font(dc, measure_.FontOf(s));
        ::TextOutA(dc, r.left, r.top, op.text.data(), static_cast<int>(op.text.size()));
        if (s.overline) {
            draw_.DrawLine(dc, r.left, r.top, r.right, r.top, s.color);
        }
        break;
    }
    case html::DrawOp::Kind::Frame: {
        const InlineBox& box = *op.box;
        if (box.background) {
            draw_.FillSolid(dc, r, *box.background);
        }
        if (box.border > 0) {
            draw_.DrawFrame(dc, r, box.borderColor, box.borderColor, box.borderStyle, box.border);
        }
        break;
    }
    case html::DrawOp::Kind::Rule: draw_.FillSolid(dc, r, op.color); break;
    case html::DrawOp::Kind::Picture: {
        const PictureStore::Picture* p = pictures_.Find(op.picture.id);
        if (!p) {
            break;
        }
        const bool disabled = op.link >= 0 && op.link == hoverLink_ ? p->hotDisabled : p->disabled;
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (p->kind == PictureStore::Kind::Bitmap) {
            draw_.DrawBitmap(dc, r.left, r.top, w, h, p->bitmap, p->transparent, disabled);
        } else if (p->kind == PictureStore::Kind::Icon) {
            draw_.DrawIcon(dc, r.left, r.top, w, h, p->icon, disabled);
        } else {
            draw_.DrawImageListImage(dc, r.left, r.top, p->list, p->frame, disabled);
        }
        break;
    }
    case html::DrawOp::Kind::Box: {
        const BoxLook& look = *op.look;
        if (const PictureStore::Picture* p = pictures_.Find(look.picture.id);
            p && p->kind == PictureStore::Kind::Bitmap) {
            draw_.TileBitmap(dc, r, p->bitmap);
        } else if (look.effect != FillEffect::Transparent &&
                   (look.background || look.effect != FillEffect::Solid)) {
            const COLORREF begin = look.background.value_or(::GetSysColor(COLOR_BTNFACE));
            const COLORREF end = look.end.value_or(CPPDrawManager::Darken(begin, 40));
            const COLORREF middle = look.middle.value_or(CPPDrawManager::Mix(begin, end, 1, 2));
            draw_.FillEffect(dc, look.effect, r, begin, middle, end);
        }
        if (look.border > 0) {
            draw_.DrawFrame(dc, r, look.borderLight.value_or(look.borderColor),
                            look.borderDark.value_or(look.borderColor), look.borderStyle,
                            look.border);
        }
        break;
    }
    }
}

int CPPHtmlDrawer::PtInHyperlink(POINT pt) const {
    for (size_t i = 0; i < layout_.links.size(); ++i) {
        if (layout_.links[i].rect.Contains(pt.x - origin_.x, pt.y - origin_.y)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CPPHtmlDrawer::JumpToHyperlink(int area) {
    if (area < 0 || area >= static_cast<int>(layout_.links.size())) {
        return false;
    }
    const LinkArea& hit = layout_.links[area];
    const Link& link = document_.links[hit.id];
    if (link.kind == LinkKind::Message) {
        if (!linkWindow_) {
            return false;
        }
        // A copy: the receiver may change the text and so rebuild the document.
        const std::string text = link.target;
        ::SendMessageA(linkWindow_, linkMessage_, reinterpret_cast<WPARAM>(text.c_str()),
                       linkUserValue_);
        return true;
    }
    ::SetCursor(controls::HandCursor());
    return OpenAddress(link.target);
}

void CPPHtmlDrawer::SetHover(int link) {
    if (link == hoverLink_) {
        return;
    }
    hoverLink_ = link;
    Rebuild();
    if (hoverWindow_) {
        ::SendMessageA(hoverWindow_, hoverMessage_, static_cast<WPARAM>(link >= 0 ? link : kNoLink),
                       0);
    }
}

bool CPPHtmlDrawer::OnMouseMove(POINT pt) {
    const int area = PtInHyperlink(pt);
    const int link = area >= 0 ? layout_.links[area].id : -1;
    const int before = hoverLink_;
    SetHover(link);
    return before != hoverLink_;
}

bool CPPHtmlDrawer::OnMouseLeave() {
    const int before = hoverLink_;
    SetHover(-1);
    return before != hoverLink_;
}

}  // namespace controls::html
