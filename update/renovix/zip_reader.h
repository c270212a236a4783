#pragma once
// Walks a ZIP archive with minizip: the entries in central-directory order, the information the
// install step needs of each, and an entry's data in pieces. Window-free: the archive comes
// through minizip's file functions (a file, or bytes in memory for the fuzzer and the tests).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct zlib_filefunc64_def_s;  // minizip's file functions

namespace renovix {

struct MemoryArchive;

struct ZipEntryInfo {
    std::string storedName;  // UTF-8 (or whatever the maker stored)
    std::string extraField;  // the central directory's copy
    std::uint16_t versionMadeBy = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t dosDate = 0;  // date in the high word, time in the low word, local time
    std::uint64_t uncompressedSize = 0;
};

class ZipReader {
public:
    // The size of the pieces an entry is read in.
    static constexpr unsigned kPieceBytes = 16384;

    // Null when the bytes are not a ZIP archive that minizip can open; the reader keeps a copy.
    static std::unique_ptr<ZipReader> OpenMemory(std::string_view bytes);
    // path and functions as minizip's unzOpen2_64 takes them.
    static std::unique_ptr<ZipReader> Open(const void* path, zlib_filefunc64_def_s* functions);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    std::uint64_t EntryCount() const { return count_; }
    // Moves to entry index (0 first, then each next one in turn); false when there is none.
    bool GoTo(std::uint64_t index);
    bool ReadInfo(ZipEntryInfo& info) const;

    enum class ReadResult {
        kWhole,        // every byte read and handed on, and the CRC-32 matched
        kBroken,       // the entry could not be opened or decompressed, or its CRC-32 differs
        kWriteFailed,  // the receiver refused a piece
    };
    // Hands the current entry's data to write piece by piece (at most kPieceBytes each);
    // write returns false to stop.
    ReadResult ReadData(const std::function<bool(const char*, size_t)>& write) const;

private:
    explicit ZipReader(void* handle);
    void* handle_;
    std::uint64_t count_ = 0;
    std::uint64_t current_ = 0;
    bool positioned_ = false;
    std::unique_ptr<MemoryArchive> memory_;
};

}  // namespace renovix
