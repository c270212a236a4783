#include "controls/picture_ex.h"

#include "platform/own_module.h"

#include "controls/gif_frames.h"

#include <cstring>

namespace controls {

namespace {
constexpr int kHimetricPerInch = 2540;

// A picture decoder's stream over a copy of bytes in movable global memory.
bool OpenPicture(const std::string& bytes, platform::com_ptr<IPicture>& picture) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) {
        return false;
    }
    void* data = ::GlobalLock(memory);
    std::memcpy(data, bytes.data(), bytes.size());
    ::GlobalUnlock(memory);
    platform::com_ptr<IStream> stream;
    // The stream frees the memory when it is released.
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.put()))) {
        ::GlobalFree(memory);
        return false;
    }
    return SUCCEEDED(::OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE,
                                      IID_IPicture, picture.put_void()));
}
}  // namespace

CPictureEx::CPictureEx()
    : background_(::GetSysColor(COLOR_3DFACE)),
      stop_(::CreateEvent(nullptr, TRUE, FALSE, nullptr)) {}

CPictureEx::~CPictureEx() {
    // The thread draws with the frames and into the window: it ends before either goes.
    Stop();
}

bool CPictureEx::AddPicture(const std::string& bytes, Frame& frame) const {
    if (!OpenPicture(bytes, frame.picture)) {
        return false;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    frame.picture->get_Width(&width);
    frame.picture->get_Height(&height);
    HDC screen = ::GetDC(nullptr);
    frame.size.cx = ::MulDiv(width, ::GetDeviceCaps(screen, LOGPIXELSX), kHimetricPerInch);
    frame.size.cy = ::MulDiv(height, ::GetDeviceCaps(screen, LOGPIXELSY), kHimetricPerInch);
    ::ReleaseDC(nullptr, screen);
    return true;
}

bool CPictureEx::Load(UINT id, HINSTANCE module) {
    module = platform::ResourceModule(module);
    HRSRC found = ::FindResource(module, MAKEINTRESOURCE(id), TEXT("IMAGES"));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) {
        return false;
    }
    return Load(std::string(static_cast<const char*>(data), ::SizeofResource(module, found)));
}

bool CPictureEx::Load(const std::string& bytes) {
    // Built aside first: a picture that can't be read leaves the shown one in place.
    std::vector<Frame> frames;
    SIZE size{};
    GifImage gif;
    if (IsGif(bytes) && ReadGifFrames(bytes, gif) && gif.frames.size() > 1) {
        for (const GifFrame& g : gif.frames) {
            Frame frame;
            if (!AddPicture(g.gif, frame)) {
                return false;
            }
            frame.offset = POINT{g.left, g.top};
            frame.delay = g.delay;
            frame.disposal = g.disposal;
            frames.push_back(std::move(frame));
        }
        size = SIZE{gif.width, gif.height};
    } else {
        // A still picture (or a GIF of one image, which the decoder reads whole).
        Frame still;
        if (!AddPicture(bytes, still)) {
            return false;
        }
        size = still.size;
        frames.push_back(std::move(still));
    }
    UnLoad();
    frames_ = std::move(frames);
    size_ = size;
    return true;
}

void CPictureEx::UnLoad() {
    Stop();
    frames_.clear();
    size_ = SIZE{};
    current_ = 0;
}

void CPictureEx::DrawFrame(HDC dc, size_t index) {
    std::lock_guard lock(drawing_);
    if (index >= frames_.size()) {
        return;
    }
    const Frame& f = frames_[index];
    if (index == 0 || frames_[index - 1].disposal == 2) {
        // Restore-to-background: the area is cleared before the next image.
        RECT area{0, 0, size_.cx, size_.cy};
        platform::unique_hbrush brush(::CreateSolidBrush(background_));
        ::FillRect(dc, &area, brush.get());
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    f.picture->get_Width(&width);
    f.picture->get_Height(&height);
    f.picture->Render(dc, f.offset.x, f.offset.y, f.size.cx, f.size.cy, 0, height, width, -height,
                      nullptr);
}

bool CPictureEx::Draw() {
    if (frames_.empty() || !hwnd()) {
        return false;
    }
    if (frames_.size() == 1) {
        current_ = 0;
        ::InvalidateRect(hwnd(), nullptr, TRUE);
        return true;
    }
    if (thread_) {
        return true;
    }
    ::ResetEvent(stop_.get());
    framesDrawn_ = 0;
    thread_.reset(::CreateThread(nullptr, 0, AnimationThread, this, CREATE_SUSPENDED, nullptr));
    if (!thread_) {
        return false;
    }
    ::ResumeThread(thread_.get());
    return true;
}

void CPictureEx::Stop() {
    if (!thread_) {
        return;
    }
    ::SetEvent(stop_.get());
    // Until the thread has ended it may still be drawing into the window with the frames.
    ::WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
    ::ResetEvent(stop_.get());
}

DWORD WINAPI CPictureEx::AnimationThread(void* self) {
    static_cast<CPictureEx*>(self)->Animate();
    return 0;
}

void CPictureEx::Animate() {
    for (;;) {
        for (size_t i = 0; i < frames_.size(); ++i) {
            current_ = i;
            if (HDC dc = ::GetDC(hwnd())) {
                DrawFrame(dc, i);
                ::ReleaseDC(hwnd(), dc);
            }
            ++framesDrawn_;
            if (::WaitForSingleObject(stop_.get(), FrameWaitMs(frames_[i].delay)) != WAIT_TIMEOUT) {
                return;
            }
        }
    }
}

LRESULT CPictureEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd(), &ps);
        if (!frames_.empty()) {
            DrawFrame(dc, current_);
        }
        ::EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_ERASEBKGND: return TRUE;
    case WM_DESTROY: Stop(); break;
    }
    return CSubclassedWindow::WindowProc(message, wParam, lParam);
}

}  // namespace controls
