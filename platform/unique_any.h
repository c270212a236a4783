#pragma once
// Owning wrappers for Win32 handles: one small template, one alias per handle kind.
// A borrowed handle stays a plain HKEY/HANDLE; only these types free anything.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <utility>

namespace platform {

template <typename Traits>
class unique_any {
public:
    using value_type = typename Traits::type;

    unique_any() = default;
    explicit unique_any(value_type value) : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    value_type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }

    // Frees the current value and hands out the slot for an API to fill.
    value_type* put() {
        reset();
        return &value_;
    }
    void reset(value_type value = Traits::invalid()) {
        if (value_ != Traits::invalid()) {
            Traits::close(value_);
        }
        value_ = value;
    }
    value_type release() { return std::exchange(value_, Traits::invalid()); }

private:
    value_type value_ = Traits::invalid();
};

namespace traits {
struct hkey {
    using type = HKEY;
    static type invalid() { return nullptr; }
    static void close(type k) { ::RegCloseKey(k); }
};
struct handle {
    using type = HANDLE;
    static type invalid() { return nullptr; }
    static void close(type h) { ::CloseHandle(h); }
};
struct hfile {
    using type = HANDLE;
    static type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(type h) { ::CloseHandle(h); }
};
struct hfind {
    using type = HANDLE;
    static type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(type h) { ::FindClose(h); }
};
struct hmodule {
    using type = HMODULE;
    static type invalid() { return nullptr; }
    static void close(type h) { ::FreeLibrary(h); }
};
struct hdc {
    using type = HDC;
    static type invalid() { return nullptr; }
    static void close(type h) { ::DeleteDC(h); }
};
struct hicon {
    using type = HICON;
    static type invalid() { return nullptr; }
    static void close(type h) { ::DestroyIcon(h); }
};
struct hcursor {
    using type = HCURSOR;
    static type invalid() { return nullptr; }
    static void close(type h) { ::DestroyCursor(h); }
};
struct himagelist {
    using type = HIMAGELIST;
    static type invalid() { return nullptr; }
    static void close(type h) { ::ImageList_Destroy(h); }
};
template <typename T>
struct gdiobj {
    using type = T;
    static type invalid() { return nullptr; }
    static void close(type h) { ::DeleteObject(h); }
};
// Memory a Win32 call allocated with LocalAlloc and handed to the caller.
template <typename T>
struct localmem {
    using type = T;
    static type invalid() { return nullptr; }
    static void close(type p) { ::LocalFree(p); }
};
}  // namespace traits

using unique_hkey = unique_any<traits::hkey>;
using unique_handle = unique_any<traits::handle>;
using unique_hfile = unique_any<traits::hfile>;
using unique_hfind = unique_any<traits::hfind>;
using unique_hmodule = unique_any<traits::hmodule>;
using unique_hdc = unique_any<traits::hdc>;  // a DC made by CreateCompatibleDC or CreateDC
using unique_hicon = unique_any<traits::hicon>;
using unique_hcursor = unique_any<traits::hcursor>;
using unique_himagelist = unique_any<traits::himagelist>;
using unique_hbitmap = unique_any<traits::gdiobj<HBITMAP>>;
using unique_hbrush = unique_any<traits::gdiobj<HBRUSH>>;
using unique_hfont = unique_any<traits::gdiobj<HFONT>>;
using unique_hpen = unique_any<traits::gdiobj<HPEN>>;
using unique_hrgn = unique_any<traits::gdiobj<HRGN>>;
using unique_local_text = unique_any<traits::localmem<char*>>;

}  // namespace platform
