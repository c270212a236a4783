#pragma once
// Resource ids of the program's art (drawn by tools/make-art.py, listed by the art.rc it
// writes). Button bitmaps come in the order a CXPButton takes them: normal, hot, pressed.

#include <windows.h>

namespace art {

struct ButtonBitmaps {
    UINT normal, hot, pressed;
};

// Windows startups page, by the result of the last scan (none found / some found).
inline constexpr ButtonBitmaps kManualFixIdle{154, 153, 154};
inline constexpr ButtonBitmaps kManualFixActive{211, 210, 211};
inline constexpr ButtonBitmaps kAutomaticFixIdle{213, 212, 213};
inline constexpr ButtonBitmaps kAutomaticFixActive{155, 156, 155};
// Main window header buttons.
inline constexpr ButtonBitmaps kHeaderHome{168, 167, 173};
inline constexpr ButtonBitmaps kHeaderStartups{172, 166, 170};
inline constexpr ButtonBitmaps kHeaderSettings{171, 194, 169};
// Tab-settings page buttons.
inline constexpr ButtonBitmaps kTabSettings{165, 159, 162};
inline constexpr ButtonBitmaps kTabIgnoreList{164, 158, 161};
inline constexpr ButtonBitmaps kTabHistory{160, 157, 163};
// Dialog and page buttons.
inline constexpr ButtonBitmaps kSave{187, 184, 187};
inline constexpr ButtonBitmaps kCancel{186, 185, 186};
inline constexpr ButtonBitmaps kBack{183, 182, 183};
inline constexpr ButtonBitmaps kDetails{189, 188, 189};
inline constexpr ButtonBitmaps kRestore{180, 179, 180};
inline constexpr ButtonBitmaps kClose{181, 178, 181};
inline constexpr ButtonBitmaps kFixNow{192, 193, 192};
inline constexpr ButtonBitmaps kRemove{201, 202, 201};
inline constexpr ButtonBitmaps kFixSelected{206, 205, 206};
inline constexpr ButtonBitmaps kLearnMore{215, 214, 215};
// Renovix update dialog (two faces each).
inline constexpr ButtonBitmaps kUpdateClose{14002, 14003, 0};
inline constexpr ButtonBitmaps kUpdateOk{14004, 14005, 0};

inline constexpr UINT kSplashBitmap = 149;    // 344 x 260, the splash screen's background
inline constexpr UINT kPageLogoBitmap = 208;  // top left of the startup pages
inline constexpr UINT kSortUpBitmap = 133;    // header arrows of older common controls
inline constexpr UINT kSortDownBitmap = 135;
inline constexpr UINT kUpdateBannerBitmap = 14001;  // 500 x 160, 24-bit
inline constexpr UINT kScanAnimation = 217;         // "IMAGES": the automatic fix dialog's GIF
inline constexpr UINT kDownloadAnimation = 1001;    // "IMAGES": 400 x 75, the update dialog's GIF
inline constexpr UINT kMainIcon = 128;

}  // namespace art
