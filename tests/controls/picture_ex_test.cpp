#include "controls/dialog.h"
#include "controls/gif_frames.h"
#include "controls/picture_ex.h"
#include "platform/com.h"
#include "tests/support/dialog_driver.h"
#include "test_ids.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using controls::CPictureEx;

std::string ResourceBytes(UINT id) {
    HMODULE self = ::GetModuleHandle(nullptr);
    HRSRC found = ::FindResourceA(self, MAKEINTRESOURCEA(id), "IMAGES");
    if (!found) {
        return {};
    }
    const void* data = ::LockResource(::LoadResource(self, found));
    return std::string(static_cast<const char*>(data), ::SizeofResource(self, found));
}

class CPictureDlg : public controls::DialogImpl<CPictureDlg> {
public:
    CPictureDlg() : DialogImpl(IDD_CONTROLS) {}
    CPictureEx picture;
    static const controls::MessageTable<CPictureDlg>& Messages() {
        static const controls::MessageTable<CPictureDlg> table = {
            controls::OnMessage(WM_INITDIALOG, &CPictureDlg::OnInitDialog),
        };
        return table;
    }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM) {
        picture.SubclassDlgItem(IDC_PICTURE, hwnd());
        return TRUE;
    }
};

TEST(GifFrames, ThreeFramesWithTheirDelaysDisposalsAndSizes) {
    controls::GifImage gif;
    std::string error;
    ASSERT_TRUE(controls::ReadGifFrames(ResourceBytes(IDR_THREE_FRAMES), gif, &error)) << error;
    EXPECT_EQ(gif.width, 24);
    EXPECT_EQ(gif.height, 12);
    ASSERT_EQ(gif.frames.size(), 3u);
    const int delays[] = {10, 120, 250};
    const int disposals[] = {0, 2, 1};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(gif.frames[i].delay, delays[i]) << i;
        EXPECT_EQ(gif.frames[i].disposal, disposals[i]) << i;
        EXPECT_EQ(gif.frames[i].width, 24) << i;
        EXPECT_TRUE(controls::IsGif(gif.frames[i].gif));
        // Each re-packed frame is a GIF of one image that reads back on its own.
        controls::GifImage single;
        ASSERT_TRUE(controls::ReadGifFrames(gif.frames[i].gif, single)) << i;
        EXPECT_EQ(single.frames.size(), 1u);
        EXPECT_EQ(single.frames[0].delay, delays[i]);
    }
}

TEST(GifFrames, CutShortOrForeignDataIsRefusedAndLeavesTheImageAlone) {
    const std::string bytes = ResourceBytes(IDR_THREE_FRAMES);
    ASSERT_FALSE(bytes.empty());
    for (size_t length = 0; length + 1 < bytes.size(); length += 7) {
        controls::GifImage gif;
        gif.width = -5;
        EXPECT_FALSE(controls::ReadGifFrames(bytes.substr(0, length), gif)) << length;
        EXPECT_EQ(gif.width, -5);
    }
    controls::GifImage gif;
    EXPECT_FALSE(controls::ReadGifFrames(ResourceBytes(IDR_STILL_PICTURE), gif));
}

TEST(GifFrames, RestAfterAFrame) {
    EXPECT_EQ(controls::FrameWaitMs(0), 70u);
    EXPECT_EQ(controls::FrameWaitMs(99), 70u);
    EXPECT_EQ(controls::FrameWaitMs(100), 1000u);
    EXPECT_EQ(controls::FrameWaitMs(250), 2500u);
}

class Picture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog->Create(nullptr)); }
    platform::ComApartment apartment;
    std::unique_ptr<CPictureDlg> dialog = std::make_unique<CPictureDlg>();
};

TEST_F(Picture, GifIsDecodedIntoFramesAndAnimatedByAThreadUntilStopped) {
    CPictureEx& picture = dialog->picture;
    ASSERT_TRUE(picture.Load(IDR_THREE_FRAMES));
    ASSERT_EQ(picture.frameCount(), 3u);
    EXPECT_EQ(picture.frame(1).delay, 120);
    EXPECT_EQ(picture.frame(1).disposal, 2);
    EXPECT_EQ(picture.frame(0).size.cx, 24);
    EXPECT_EQ(picture.frame(0).size.cy, 12);
    EXPECT_EQ(picture.size().cx, 24);
    EXPECT_TRUE(picture.Draw());
    EXPECT_TRUE(picture.isAnimating());
    EXPECT_TRUE(testing_support::PumpUntil([&] { return picture.framesDrawn() >= 2; }, 10000));
    picture.Stop();
    EXPECT_FALSE(picture.isAnimating());
    const unsigned drawn = picture.framesDrawn();
    testing_support::PumpMessages();
    EXPECT_EQ(picture.framesDrawn(), drawn);  // the thread has ended: nothing draws any more
}

TEST_F(Picture, StillPictureIsDrawnOnceWithoutAThread) {
    CPictureEx& picture = dialog->picture;
    ASSERT_TRUE(picture.Load(IDR_STILL_PICTURE));
    EXPECT_EQ(picture.frameCount(), 1u);
    EXPECT_EQ(picture.size().cx, 64);
    EXPECT_EQ(picture.size().cy, 64);
    EXPECT_TRUE(picture.Draw());
    EXPECT_FALSE(picture.isAnimating());
    EXPECT_EQ(picture.framesDrawn(), 0u);
}

TEST_F(Picture, ProgramArtLoadsAsAnimations) {
    CPictureEx& picture = dialog->picture;
    ASSERT_TRUE(picture.Load(217));
    EXPECT_GT(picture.frameCount(), 1u);
    ASSERT_TRUE(picture.Load(1001));
    EXPECT_EQ(picture.size().cx, 400);
    EXPECT_EQ(picture.size().cy, 75);
    // No such resource, or data no decoder reads: the loaded picture stays.
    EXPECT_FALSE(picture.Load(4242));
    EXPECT_FALSE(picture.Load(std::string("GIF89a not really")));
    EXPECT_FALSE(picture.Load(std::string("\x89PNG garbage")));
    EXPECT_EQ(picture.frameCount(), 8u);
    EXPECT_EQ(picture.size().cx, 400);
}

TEST_F(Picture, DestroyingWhileAnimatingWaitsForTheThread) {
    for (int round = 0; round < 5; ++round) {
        auto d = std::make_unique<CPictureDlg>();
        ASSERT_TRUE(d->Create(nullptr));
        ASSERT_TRUE(d->picture.Load(IDR_THREE_FRAMES));
        ASSERT_TRUE(d->picture.Draw());
        testing_support::PumpUntil([&] { return d->picture.framesDrawn() >= 1; });
        // The window goes first, then the object with its frames; neither while drawing.
        d->DestroyWindow();
        EXPECT_FALSE(d->picture.isAnimating());
        d.reset();
    }
}

}  // namespace
