#include "tests/support/page_test_host.h"

#include "tests/support/dialog_driver.h"

#include <commctrl.h>

#include <algorithm>

namespace testing_support {
namespace {

constexpr char kHostClass[] = "VelbrookPageTestHost";

void RegisterHostClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandle(nullptr);
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kHostClass;
    ::RegisterClassA(&windowClass);  // a second registration fails harmlessly
}

// A 32-bit top-down DIB section selected into a memory DC.
struct DibCanvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    unsigned* bits = nullptr;
    DibCanvas(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* raw = nullptr;
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
        bits = static_cast<unsigned*>(raw);
        previous = ::SelectObject(dc, bitmap);
    }
    ~DibCanvas() {
        ::SelectObject(dc, previous);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    std::vector<unsigned> Pixels(int width, int height) const {
        ::GdiFlush();
        std::vector<unsigned> out(bits, bits + width * height);
        for (unsigned& pixel : out) {
            pixel &= 0xFFFFFF;
        }
        return out;
    }
};

}  // namespace

PageTestHost::PageTestHost(int clientWidth, int clientHeight) {
    // The main window does the same at start: the list views and tool tips of the pages.
    INITCOMMONCONTROLSEX init{sizeof init,
                              ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&init);
    RegisterHostClass();
    RECT frame{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    window_ = ::CreateWindowExA(0, kHostClass, "Page test host",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20, 20,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, ::GetModuleHandle(nullptr), nullptr);
    controls::SetPageHost(this);
    PumpMessages();
}

PageTestHost::~PageTestHost() {
    controls::SetPageHost(nullptr);
    for (auto& [index, page] : pages_) {
        page->DestroyWindow();
    }
    ::DestroyWindow(window_);
    PumpMessages();
}

bool PageTestHost::Add(int index, controls::CDialog& page) {
    if (!page.Create(window_)) {
        return false;
    }
    RECT client{};
    ::GetClientRect(window_, &client);
    ::MoveWindow(page.hwnd(), 0, 0, client.right, client.bottom, TRUE);
    pages_[index] = &page;
    return true;
}

void PageTestHost::SelectPage(int index) {
    selections.push_back(index);
    if (index < 0) {
        return;
    }
    if (controls::CDialog* shown = Page(visible_)) {
        ::ShowWindow(shown->hwnd(), SW_HIDE);
    }
    visible_ = index;
    if (controls::CDialog* page = Page(index)) {
        ::ShowWindow(page->hwnd(), SW_SHOW);
        ::UpdateWindow(page->hwnd());
    }
}

controls::CDialog* PageTestHost::Page(int index) {
    const auto found = pages_.find(index);
    return found == pages_.end() ? nullptr : found->second;
}

int Capture::Count(COLORREF colour, const RECT& area) const {
    const unsigned wanted =
        (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int count = 0;
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, height); ++y) {
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, width); ++x) {
            count += At(x, y) == wanted;
        }
    }
    return count;
}

Capture CaptureClient(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    Capture capture;
    capture.width = client.right;
    capture.height = client.bottom;
    if (capture.width <= 0 || capture.height <= 0) {
        return capture;
    }
    DibCanvas canvas(capture.width, capture.height);
    ::SendMessage(window, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc),
                  PRF_CLIENT | PRF_ERASEBKGND);
    capture.pixels = canvas.Pixels(capture.width, capture.height);
    return capture;
}

std::vector<unsigned> IconPixels(HICON icon, int size) {
    DibCanvas canvas(size, size);
    RECT all{0, 0, size, size};
    ::FillRect(canvas.dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::DrawIconEx(canvas.dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return canvas.Pixels(size, size);
}

}  // namespace testing_support
