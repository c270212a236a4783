#pragma once
// CPictureEx: a static control that shows a picture from an "IMAGES" resource. A GIF is split
// into frames that a thread of the control draws in turn until it is stopped; any other
// picture is drawn once, without a thread.

#include "controls/subclassed_window.h"
#include "platform/com.h"
#include "platform/unique_any.h"

#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace controls {

class CPictureEx : public CSubclassedWindow {
public:
    struct Frame {
        platform::com_ptr<IPicture> picture;
        SIZE size{};
        POINT offset{};
        int delay = 0;     // hundredths of a second
        int disposal = 0;  // as the GIF stores it
    };

    CPictureEx();
    ~CPictureEx() override;

    // Loads resource id of type "IMAGES" from module (by default the module these controls
    // are linked into).
    bool Load(UINT id, HINSTANCE module = nullptr);
    bool Load(const std::string& bytes);
    // Starts the animation (several frames) or draws the one picture.
    bool Draw();
    // Ends the animation; returns once its thread has ended.
    void Stop();
    void UnLoad();

    void SetBkColor(COLORREF colour) { background_ = colour; }
    size_t frameCount() const { return frames_.size(); }
    const Frame& frame(size_t index) const { return frames_[index]; }
    SIZE size() const { return size_; }
    bool isAnimating() const { return static_cast<bool>(thread_); }
    // How many frames the thread has drawn since it started.
    unsigned framesDrawn() const { return framesDrawn_.load(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static DWORD WINAPI AnimationThread(void* self);
    void Animate();
    void DrawFrame(HDC dc, size_t index);
    bool AddPicture(const std::string& bytes, Frame& frame) const;

    std::vector<Frame> frames_;
    SIZE size_{};
    COLORREF background_;
    std::mutex drawing_;  // one Render at a time, from the thread or from WM_PAINT
    std::atomic<size_t> current_{0};
    std::atomic<unsigned> framesDrawn_{0};
    platform::unique_handle stop_;
    platform::unique_handle thread_;
};

}  // namespace controls
