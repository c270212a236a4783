#include "controls/html/picture_store.h"

#include "controls/html/markup_text.h"

#include <algorithm>
#include <cstdlib>

namespace controls::html {
namespace {

// Bounds for sizes the markup asks for, so an absurd value cannot ask GDI for gigabytes.
constexpr int kMaxPictureSide = 4096;

std::string TagKey(std::string_view kind, const Token& tag) {
    std::string key(kind);
    for (const auto& a : tag.attributes) {
        key += '\n' + a.name + '=' + a.value;
    }
    return key;
}

template <typename Handle>
Handle HandleFrom(std::string_view text) {
    const auto value = std::strtoull(std::string(TrimSpace(text)).c_str(), nullptr, 0);
    return reinterpret_cast<Handle>(static_cast<UINT_PTR>(value));
}

int Side(const Token& tag, std::string_view a, std::string_view b) {
    const std::string_view v = tag.HasAttr(a) ? tag.Attr(a) : tag.Attr(b);
    return ParseIntClamped(v, 0, kMaxPictureSide, 0);
}

}  // namespace

PictureStore::PictureStore(const ColorTable& colors, HINSTANCE resources)
    : colors_(colors), resources_(resources) {}

PictureStore::~PictureStore() { Clear(); }

void PictureStore::Clear() {
    pictures_.clear();
    byTag_.clear();
}

const PictureStore::Picture* PictureStore::Find(int id) const {
    return id >= 0 && id < static_cast<int>(pictures_.size()) ? pictures_[id].get() : nullptr;
}

namespace {
// How many images an animated picture steps through; 0 for a still one.
int FrameCount(const PictureStore::Picture& p) {
    if (p.kind != PictureStore::Kind::ImageList || p.frameMs <= 0) {
        return 0;
    }
    const int count = ::ImageList_GetImageCount(p.list);  // a borrowed list may have changed
    return count > 1 ? count : 0;
}
}  // namespace

int PictureStore::AnimationInterval() const {
    int next = 0;
    for (const auto& p : pictures_) {
        if (FrameCount(*p) > 0) {
            const int due = p->frameMs - p->sinceFrameMs;
            next = next == 0 ? due : std::min(next, due);
        }
    }
    return next == 0 ? 0 : std::clamp(next, kMinFrameMs, kMaxFrameMs);
}

bool PictureStore::AdvanceAnimation(int elapsedMs) {
    if (elapsedMs <= 0) {
        return false;
    }
    bool changed = false;
    for (auto& p : pictures_) {
        const int count = FrameCount(*p);
        if (count == 0) {
            continue;
        }
        const long long total = static_cast<long long>(p->sinceFrameMs) + elapsedMs;
        p->sinceFrameMs = static_cast<int>(total % p->frameMs);
        const int steps = static_cast<int>((total / p->frameMs) % count);
        const int next = (p->frame % count + steps) % count;
        changed = changed || next != p->frame;
        p->frame = next;
    }
    return changed;
}

std::string PictureStore::LoadStringResource(unsigned id, std::string_view module) {
    platform::unique_hmodule loaded;
    HINSTANCE from = resources_;
    if (!module.empty()) {
        loaded.reset(
            ::LoadLibraryExA(std::string(module).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (!loaded) {
            return {};
        }
        from = loaded.get();
    }
    // A string resource holds at most 65535 characters.
    std::string text(65536, '\0');
    const int length = ::LoadStringA(from, id, text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

PictureRef PictureStore::LoadPicture(std::string_view kind, const Token& tag) {
    const std::string key = TagKey(kind, tag);
    if (const auto found = byTag_.find(key); found != byTag_.end()) {
        if (found->second < 0) {
            return {};
        }
        const Picture& p = *pictures_[found->second];
        return {found->second, p.width, p.height};
    }
    auto picture = std::make_unique<Picture>();
    int id = -1;
    if (Load(*picture, kind, tag)) {
        id = static_cast<int>(pictures_.size());
        pictures_.push_back(std::move(picture));
    }
    byTag_[key] = id;  // a failure is remembered too: the file is not tried on every hover
    if (id < 0) {
        return {};
    }
    const Picture& p = *pictures_[id];
    return {id, p.width, p.height};
}

bool PictureStore::Load(Picture& p, std::string_view kind, const Token& tag) {
    const int wantWidth = Side(tag, "width", "cx");
    const int wantHeight = Side(tag, "height", "cy");
    const std::string file(tag.Attr("file"));
    const bool fromDll = tag.HasAttr("iddll") && !tag.Attr("srcdll").empty();
    const auto resourceId = static_cast<WORD>(
        ParseIntClamped(fromDll ? tag.Attr("iddll") : tag.Attr("idres"), 0, 65535, 0));
    platform::unique_hmodule dll;
    HINSTANCE module = resources_;
    if (fromDll) {
        dll.reset(::LoadLibraryExA(std::string(tag.Attr("srcdll")).c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE));
        if (!dll) {
            return false;
        }
        module = dll.get();
    }
    const bool fromResource = fromDll || tag.HasAttr("idres");
    if (const auto mask = ParseColor(tag.Attr("mask"), colors_)) {
        p.transparent = *mask;
    }
    p.disabled = EqualsAsciiNoCase(TrimSpace(tag.Attr("style")), "disabled");
    p.hotDisabled = EqualsAsciiNoCase(TrimSpace(tag.Attr("hotstyle")), "disabled");

    if (kind == "icon") {
        p.kind = Kind::Icon;
        const int cx = wantWidth ? wantWidth : ::GetSystemMetrics(SM_CXICON);
        const int cy = wantHeight ? wantHeight : ::GetSystemMetrics(SM_CYICON);
        if (tag.HasAttr("handle")) {
            // A number in the markup need not be an icon: ask before using it.
            const HICON given = HandleFrom<HICON>(tag.Attr("handle"));
            ICONINFO info{};
            if (given && ::GetIconInfo(given, &info)) {
                platform::unique_hbitmap mask(info.hbmMask), color(info.hbmColor);
                p.icon = given;
            }
        } else if (fromResource) {
            p.ownedIcon.reset(static_cast<HICON>(
                ::LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, cx, cy, 0)));
            p.icon = p.ownedIcon.get();
        } else if (!file.empty()) {
            p.ownedIcon.reset(static_cast<HICON>(
                ::LoadImageA(nullptr, file.c_str(), IMAGE_ICON, cx, cy, LR_LOADFROMFILE)));
            p.icon = p.ownedIcon.get();
        }
        p.width = cx;
        p.height = cy;
        return p.icon != nullptr;
    }
    if (kind == "ilst") {
        p.kind = Kind::ImageList;
        p.index = ParseIntClamped(tag.Attr("index"), 0, 65535, 0);
        const int cx = wantWidth ? wantWidth : 16;
        const COLORREF mask = p.transparent.value_or(CLR_DEFAULT);
        if (tag.HasAttr("handle")) {
            p.list = HandleFrom<HIMAGELIST>(tag.Attr("handle"));
        } else if (fromResource) {
            p.ownedList.reset(::ImageList_LoadImageA(module, MAKEINTRESOURCEA(resourceId), cx, 0,
                                                     mask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
            p.list = p.ownedList.get();
        } else if (!file.empty()) {
            p.ownedList.reset(::ImageList_LoadImageA(nullptr, file.c_str(), cx, 0, mask,
                                                     IMAGE_BITMAP,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
            p.list = p.ownedList.get();
        }
        int w = 0, h = 0;
        if (!p.list || !::ImageList_GetIconSize(p.list, &w, &h) ||
            p.index >= ::ImageList_GetImageCount(p.list)) {
            return false;
        }
        p.width = w;
        p.height = h;
        p.frame = p.index;
        // A frame faster than the timer can show, or slower than a minute, is held to the bound.
        const int speed = ParseIntClamped(tag.Attr("speed"), 0, kMaxFrameMs, 0);
        p.frameMs = speed > 0 ? std::max(speed, kMinFrameMs) : 0;
        return true;
    }
    // "bmp" and table backgrounds.
    p.kind = Kind::Bitmap;
    if (tag.HasAttr("handle") && kind != "background") {
        p.bitmap = HandleFrom<HBITMAP>(tag.Attr("handle"));
    } else if (fromResource) {
        p.ownedBitmap.reset(static_cast<HBITMAP>(::LoadImageA(
            module, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        p.bitmap = p.ownedBitmap.get();
    } else if (!file.empty()) {
        p.ownedBitmap.reset(static_cast<HBITMAP>(::LoadImageA(
            nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        p.bitmap = p.ownedBitmap.get();
    }
    BITMAP info{};
    if (!p.bitmap || !::GetObjectA(p.bitmap, sizeof(info), &info)) {
        return false;
    }
    p.width = wantWidth ? wantWidth : std::min<int>(info.bmWidth, kMaxPictureSide);
    p.height = wantHeight ? wantHeight : std::min<int>(info.bmHeight, kMaxPictureSide);
    return true;
}

}  // namespace controls::html
