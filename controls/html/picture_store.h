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
        HIMAGELIST ownedList = nullptr;
        HBITMAP bitmap = nullptr;
        HICON icon = nullptr;
        HIMAGELIST list = nullptr;
        int index = 0;
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
