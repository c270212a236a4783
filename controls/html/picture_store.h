#pragma once
// Loads the pictures and string resources a markup text names: from the program's resources,
// from another module (loaded as a data file, used and freed), from handles and from files.

#include "controls/html/html_document.h"
#include "platform/unique_any.h"

#include <commctrl.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace controls::html {

class PictureStore : public MarkupHost {
public:
    enum class Kind { Bitmap, Icon, ImageList };

    struct Picture {
        Kind kind = Kind::Bitmap;
        // Owned images; a picture given by handle is borrowed and only its handle is kept.
        platform::unique_hbitmap ownedBitmap;
        platform::unique_hicon ownedIcon;
        platform::unique_himagelist ownedList;
        HBITMAP bitmap = nullptr;
        HICON icon = nullptr;
        HIMAGELIST list = nullptr;
        int index = 0;         // "index": the first image
        int frame = 0;         // the image shown now
        int frameMs = 0;       // "speed" of an image list; 0: still
        int sinceFrameMs = 0;  // time shown of the current frame
        int width = 0, height = 0;
        std::optional<COLORREF> transparent;  // "mask"
        bool disabled = false;                // "style"
        bool hotDisabled = false;             // "hotstyle", while its link is hovered
    };

    PictureStore(const ColorTable& colors, HINSTANCE resources);
    PictureStore(const PictureStore&) = delete;
    PictureStore& operator=(const PictureStore&) = delete;
    ~PictureStore() override;

    void SetResourceInstance(HINSTANCE resources) { resources_ = resources; }
    void Clear();
    const Picture* Find(int id) const;

    // An image list with a "speed" steps through all its images, from "index" on and round
    // again. The time until the next frame is due (0: nothing moves), and moving the clock on;
    // true when a frame changed.
    static constexpr int kMinFrameMs = 20;
    static constexpr int kMaxFrameMs = 60000;
    int AnimationInterval() const;
    bool AdvanceAnimation(int elapsedMs);

    std::string LoadStringResource(unsigned id, std::string_view module) override;
    PictureRef LoadPicture(std::string_view kind, const Token& tag) override;

private:
    bool Load(Picture& picture, std::string_view kind, const Token& tag);

    const ColorTable& colors_;
    HINSTANCE resources_;
    std::vector<std::unique_ptr<Picture>> pictures_;
    std::map<std::string, int> byTag_;  // the same tag, laid out again, reuses its picture
};

}  // namespace controls::html
