#include "tests/update/renovix/zip_maker.h"

#include "zip.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace testing_support {

std::string MakeZip(const std::vector<ZipEntrySpec>& entries) {
    static std::random_device random;
    const std::string name = "zip_maker_" + std::to_string(random()) + ".zip";
    const char* path = name.c_str();
    zipFile zip = zipOpen64(path, APPEND_STATUS_CREATE);
    if (!zip) {
        throw std::runtime_error("zipOpen64 failed");
    }
    for (const auto& entry : entries) {
        zip_fileinfo info{};
        info.dosDate = entry.dosDate;
        info.external_fa = entry.externalAttributes;
        const auto extraSize = static_cast<uInt>(entry.extraField.size());
        const int method = entry.deflate ? Z_DEFLATED : 0;
        if (zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, entry.extraField.data(),
                                    extraSize, entry.extraField.data(), extraSize, nullptr, method,
                                    entry.deflate ? Z_DEFAULT_COMPRESSION : 0, 0, -MAX_WBITS,
                                    DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0,
                                    entry.versionMadeBy, 0, 0) != ZIP_OK ||
            zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())) !=
                ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK) {
            zipClose(zip, nullptr);
            throw std::runtime_error("minizip could not write " + entry.name);
        }
    }
    zipClose(zip, nullptr);
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    in.close();
    std::remove(path);
    return bytes.str();
}

std::string CorruptStoredData(std::string archive, const std::string& data) {
    const size_t at = archive.find(data);
    if (at == std::string::npos) {
        throw std::runtime_error("stored data not found");
    }
    archive[at] = static_cast<char>(archive[at] ^ 0x55);
    return archive;
}

}  // namespace testing_support
