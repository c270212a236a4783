#pragma once
// Splits a GIF into its frames, each re-packed as a single-image GIF that a picture decoder can
// read on its own. Window-free; takes the bytes of an untrusted file.

#include <cstdint>
#include <string>
#include <vector>

namespace controls {

struct GifFrame {
    std::string gif;  // a complete single-image GIF
    int left = 0, top = 0, width = 0, height = 0;
    int delay = 0;     // hundredths of a second, from the graphic control extension
    int disposal = 0;  // 0..7 as stored
    bool transparent = false;
    int transparentIndex = 0;
};

struct GifImage {
    int width = 0, height = 0;  // the logical screen
    std::vector<GifFrame> frames;
};

bool IsGif(const std::string& bytes);

// False (and image untouched) when the data is not a GIF or ends inside a block.
bool ReadGifFrames(const std::string& bytes, GifImage& image, std::string* error = nullptr);

// How long the animation rests after a frame of this delay, in milliseconds: the delay
// itself (d x 10 ms) from one second up, 70 ms below that.
inline unsigned FrameWaitMs(int delay) {
    return delay >= 100 ? static_cast<unsigned>(delay) * 10 : 70;
}

}  // namespace controls
