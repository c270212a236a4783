#include "controls/gif_frames.h"

namespace controls {

namespace {

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    bool Has(size_t count) const { return pos_ + count <= bytes_.size(); }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(bytes_[pos_++]); }
    int Word() {
        const int low = Byte();
        return low | (Byte() << 8);
    }
    size_t pos() const { return pos_; }
    void Skip(size_t count) { pos_ += count; }
    std::string Slice(size_t from, size_t to) const { return bytes_.substr(from, to - from); }
    // Moves past a chain of data sub-blocks and its terminator.
    bool SkipSubBlocks() {
        for (;;) {
            if (!Has(1)) {
                return false;
            }
            const size_t length = Byte();
            if (length == 0) {
                return true;
            }
            if (!Has(length)) {
                return false;
            }
            Skip(length);
        }
    }

private:
    const std::string& bytes_;
    size_t pos_ = 0;
};

void PutWord(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

bool Fail(std::string* error, const char* why) {
    if (error) {
        *error = why;
    }
    return false;
}

}  // namespace

bool IsGif(const std::string& bytes) { return bytes.compare(0, 3, "GIF") == 0; }

bool ReadGifFrames(const std::string& bytes, GifImage& image, std::string* error) {
    Reader in(bytes);
    if (!IsGif(bytes) || !in.Has(13)) {
        return Fail(error, "not a GIF");
    }
    in.Skip(6);
    GifImage result;
    result.width = in.Word();
    result.height = in.Word();
    const std::uint8_t screenFlags = in.Byte();
    const std::uint8_t background = in.Byte();
    const std::uint8_t aspect = in.Byte();
    std::string globalTable;
    if (screenFlags & 0x80) {
        const size_t length = 3u << ((screenFlags & 7) + 1);
        if (!in.Has(length)) {
            return Fail(error, "the colour table is cut short");
        }
        globalTable = in.Slice(in.pos(), in.pos() + length);
        in.Skip(length);
    }

    std::string control;  // the graphic control extension that applies to the next image
    GifFrame pending;
    for (;;) {
        if (!in.Has(1)) {
            return Fail(error, "no trailer");
        }
        const std::uint8_t introducer = in.Byte();
        if (introducer == 0x3B) {
            break;
        }
        if (introducer == 0x21) {
            if (!in.Has(1)) {
                return Fail(error, "extension cut short");
            }
            const std::uint8_t label = in.Byte();
            const size_t start = in.pos();
            if (label == 0xF9 && in.Has(6) && static_cast<std::uint8_t>(bytes[start]) == 4) {
                in.Skip(1);
                const std::uint8_t flags = in.Byte();
                pending.delay = in.Word();
                pending.transparentIndex = in.Byte();
                pending.disposal = (flags >> 2) & 7;
                pending.transparent = (flags & 1) != 0;
                if (!in.SkipSubBlocks()) {
                    return Fail(error, "extension cut short");
                }
                control = "\x21\xF9" + in.Slice(start, in.pos());
            } else if (!in.SkipSubBlocks()) {
                return Fail(error, "extension cut short");
            }
            continue;
        }
        if (introducer != 0x2C) {
            return Fail(error, "unknown block");
        }
        if (!in.Has(9)) {
            return Fail(error, "image descriptor cut short");
        }
        pending.left = in.Word();
        pending.top = in.Word();
        pending.width = in.Word();
        pending.height = in.Word();
        const std::uint8_t imageFlags = in.Byte();
        const size_t tableStart = in.pos();
        if (imageFlags & 0x80) {
            const size_t length = 3u << ((imageFlags & 7) + 1);
            if (!in.Has(length)) {
                return Fail(error, "local colour table cut short");
            }
            in.Skip(length);
        }
        if (!in.Has(1)) {
            return Fail(error, "image data cut short");
        }
        in.Skip(1);  // LZW minimum code size
        if (!in.SkipSubBlocks()) {
            return Fail(error, "image data cut short");
        }

        std::string& gif = pending.gif;
        gif = "GIF89a";
        PutWord(gif, pending.width);
        PutWord(gif, pending.height);
        gif += static_cast<char>(screenFlags);
        gif += static_cast<char>(background);
        gif += static_cast<char>(aspect);
        gif += globalTable;
        gif += control;
        gif += '\x2C';
        PutWord(gif, 0);
        PutWord(gif, 0);
        PutWord(gif, pending.width);
        PutWord(gif, pending.height);
        gif += static_cast<char>(imageFlags);
        gif += in.Slice(tableStart, in.pos());
        gif += '\x3B';
        result.frames.push_back(std::move(pending));
        pending = GifFrame{};
        control.clear();
    }
    if (result.frames.empty()) {
        return Fail(error, "no image");
    }
    image = std::move(result);
    return true;
}

}  // namespace controls
