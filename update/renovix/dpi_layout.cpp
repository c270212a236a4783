#include "update/renovix/dpi_layout.h"

#include <cstring>
#include <string>

namespace renovix {

namespace {

// Reads the DLGTEMPLATEEX of a resource, checking every step against its size.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    template <typename T>
    T Read() {
        T value{};
        if (at_ + sizeof(T) > size_) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, data_ + at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }
    std::wstring ReadString() {
        std::wstring text;
        for (wchar_t c = Read<wchar_t>(); ok_ && c; c = Read<wchar_t>()) {
            text += c;
        }
        return text;
    }
    // A name or an ordinal (0xFFFF and a WORD), or nothing (one zero WORD).
    void SkipNameOrOrdinal() {
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) {
            Read<WORD>();
        } else if (first != 0) {
            ReadString();
        }
    }
    void AlignToDword() { at_ = (at_ + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t count) {
        at_ += count;
        ok_ = ok_ && at_ <= size_;
    }

private:
    const BYTE* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

int Rounded(double value) { return static_cast<int>(value + 0.5); }

}  // namespace

FixedDpiLayout::~FixedDpiLayout() { Restore(); }

int FixedDpiLayout::X(int units) const { return Rounded(units * charWidth_ / 4.0); }
int FixedDpiLayout::Y(int units) const { return Rounded(units * charHeight_ / 8.0); }

bool FixedDpiLayout::Apply(HWND dialog, HINSTANCE module, UINT templateId) {
    HRSRC found =
        ::FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!data) {
        return false;
    }
    TemplateReader reader(data, ::SizeofResource(module, found));
    const WORD version = reader.Read<WORD>();
    const WORD signature = reader.Read<WORD>();
    if (version != 1 || signature != 0xFFFF) {
        return false;  // only extended templates are laid out
    }
    reader.Read<DWORD>();  // help id
    const DWORD exStyle = reader.Read<DWORD>();
    const DWORD style = reader.Read<DWORD>();
    const WORD items = reader.Read<WORD>();
    reader.Skip(2 * sizeof(short));  // x, y
    const short width = reader.Read<short>();
    const short height = reader.Read<short>();
    reader.SkipNameOrOrdinal();  // menu
    reader.SkipNameOrOrdinal();  // class
    reader.ReadString();         // title
    LOGFONTW font{};
    int points = 9;
    font.lfWeight = FW_NORMAL;
    std::wstring face = L"Arial";
    if (style & DS_SETFONT) {
        points = reader.Read<WORD>();
        font.lfWeight = reader.Read<WORD>();
        font.lfItalic = reader.Read<BYTE>();
        reader.Read<BYTE>();  // character set
        face = reader.ReadString();
    }
    if (!reader.ok()) {
        return false;
    }
    font.lfHeight = -static_cast<LONG>(points * 96 / 72.0 + 0.5);
    font.lfCharSet = DEFAULT_CHARSET;
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    dialog_ = dialog;
    font_.reset(::CreateFontIndirectW(&font));
    previous_ = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    ::SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    // The font's average size, measured as the dialog manager does.
    HDC dc = ::GetDC(dialog);
    HGDIOBJ old = ::SelectObject(dc, font_.get());
    static const wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, kLetters, 52, &extent);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(dialog, dc);
    charWidth_ = (extent.cx / 26 + 1) / 2;
    charHeight_ = metrics.tmHeight;

    RECT frame{0, 0, X(width), Y(height)};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    ::SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (WORD i = 0; i < items && reader.ok(); ++i) {
        reader.AlignToDword();
        reader.Read<DWORD>();  // help id
        reader.Read<DWORD>();  // extended style
        reader.Read<DWORD>();  // style
        const short x = reader.Read<short>(), y = reader.Read<short>();
        const short cx = reader.Read<short>(), cy = reader.Read<short>();
        const DWORD id = reader.Read<DWORD>();
        reader.SkipNameOrOrdinal();        // class
        reader.SkipNameOrOrdinal();        // title
        reader.Skip(reader.Read<WORD>());  // creation data
        HWND control = reader.ok() ? ::GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
        if (control) {
            ::MoveWindow(control, X(x), Y(y), X(cx), Y(cy), TRUE);
            ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        }
    }
    return true;
}

void FixedDpiLayout::Restore() {
    if (!dialog_ || !font_) {
        return;
    }
    if (::IsWindow(dialog_)) {
        ::SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(previous_), FALSE);
        for (HWND child = ::GetWindow(dialog_, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(previous_), FALSE);
        }
    }
    font_.reset();
    dialog_ = nullptr;
}

}  // namespace renovix
