#include "update/renovix/zip_reader.h"

#include "unzip.h"

#include <cstring>
#include <vector>

namespace renovix {

// Bytes that minizip reads as if they were a file.
struct MemoryArchive {
    std::string bytes;
    ZPOS64_T position = 0;
};

namespace {

voidpf ZCALLBACK OpenMemory64(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong size) {
    auto& archive = *static_cast<MemoryArchive*>(stream);
    const ZPOS64_T left = archive.bytes.size() - archive.position;
    const uLong count = static_cast<uLong>(size < left ? size : left);
    std::memcpy(buffer, archive.bytes.data() + archive.position, count);
    archive.position += count;
    return count;
}

uLong ZCALLBACK WriteMemory(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream) {
    return static_cast<MemoryArchive*>(stream)->position;
}

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto& archive = *static_cast<MemoryArchive*>(stream);
    // minizip moves back by handing over a negative offset as an unsigned number, as fseeko
    // would take it.
    std::int64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
        base = static_cast<std::int64_t>(archive.position);
    } else if (origin == ZLIB_FILEFUNC_SEEK_END) {
        base = static_cast<std::int64_t>(archive.bytes.size());
    }
    const auto move = static_cast<std::int64_t>(offset);
    const auto size = static_cast<std::int64_t>(archive.bytes.size());
    if ((move < 0 && move < -base) || (move > 0 && move > size - base)) {
        return -1;
    }
    archive.position = static_cast<ZPOS64_T>(base + move);
    return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf) { return 0; }
int ZCALLBACK ErrorMemory(voidpf, voidpf) { return 0; }

}  // namespace

ZipReader::ZipReader(void* handle) : handle_(handle) {
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(handle_, &global) == UNZ_OK) {
        count_ = global.number_entry;
    }
}

ZipReader::~ZipReader() { unzClose(handle_); }

std::unique_ptr<ZipReader> ZipReader::Open(const void* path, zlib_filefunc64_def_s* functions) {
    unzFile handle = unzOpen2_64(path, functions);
    return handle ? std::unique_ptr<ZipReader>(new ZipReader(handle)) : nullptr;
}

std::unique_ptr<ZipReader> ZipReader::OpenMemory(std::string_view bytes) {
    auto memory = std::make_unique<MemoryArchive>();
    memory->bytes.assign(bytes);
    zlib_filefunc64_def functions{};
    functions.zopen64_file = OpenMemory64;
    functions.zread_file = ReadMemory;
    functions.zwrite_file = WriteMemory;
    functions.ztell64_file = TellMemory;
    functions.zseek64_file = SeekMemory;
    functions.zclose_file = CloseMemory;
    functions.zerror_file = ErrorMemory;
    functions.opaque = memory.get();
    auto reader = Open("memory", &functions);
    if (reader) {
        reader->memory_ = std::move(memory);
    }
    return reader;
}

bool ZipReader::GoTo(std::uint64_t index) {
    if (index >= count_) {
        return false;
    }
    if (!positioned_ || index < current_) {
        if (unzGoToFirstFile(handle_) != UNZ_OK) {
            return false;
        }
        positioned_ = true;
        current_ = 0;
    }
    while (current_ < index) {
        if (unzGoToNextFile(handle_) != UNZ_OK) {
            positioned_ = false;
            return false;
        }
        ++current_;
    }
    return true;
}

bool ZipReader::ReadInfo(ZipEntryInfo& info) const {
    unz_file_info64 stored{};
    if (unzGetCurrentFileInfo64(handle_, &stored, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return false;
    }
    // Stored lengths are 16-bit: no name or extra field is longer than 65535 bytes.
    std::vector<char> name(stored.size_filename + 1), extra(stored.size_file_extra + 1);
    if (unzGetCurrentFileInfo64(handle_, &stored, name.data(), static_cast<uLong>(name.size()),
                                extra.data(), static_cast<uLong>(extra.size()), nullptr,
                                0) != UNZ_OK) {
        return false;
    }
    info.storedName.assign(name.data(), stored.size_filename);
    info.extraField.assign(extra.data(), stored.size_file_extra);
    info.versionMadeBy = static_cast<std::uint16_t>(stored.version);
    info.externalAttributes = static_cast<std::uint32_t>(stored.external_fa);
    info.dosDate = static_cast<std::uint32_t>(stored.dosDate);
    info.uncompressedSize = stored.uncompressed_size;
    return true;
}

ZipReader::ReadResult ZipReader::ReadData(
    const std::function<bool(const char*, size_t)>& write) const {
    unz_file_info64 stored{};
    if (unzGetCurrentFileInfo64(handle_, &stored, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(handle_) != UNZ_OK) {
        return ReadResult::kBroken;
    }
    std::uint64_t total = 0;
    std::vector<char> piece(kPieceBytes);
    ReadResult result = ReadResult::kWhole;
    while (true) {
        const int read = unzReadCurrentFile(handle_, piece.data(), kPieceBytes);
        if (read < 0) {
            result = ReadResult::kBroken;
            break;
        }
        if (read == 0) {
            break;
        }
        total += static_cast<unsigned>(read);
        if (!write(piece.data(), static_cast<size_t>(read))) {
            result = ReadResult::kWriteFailed;
            break;
        }
    }
    // minizip checks the CRC-32 only when the whole entry was read; data that ends early
    // reads as an end without an error, so the count is compared too.
    if ((unzCloseCurrentFile(handle_) != UNZ_OK || total != stored.uncompressed_size) &&
        result == ReadResult::kWhole) {
        result = ReadResult::kBroken;
    }
    return result;
}

}  // namespace renovix
