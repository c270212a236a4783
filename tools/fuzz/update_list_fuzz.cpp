// Feeds arbitrary bytes to the readers of the update list file, of the version answer's lines
// as the download dialog reads them, of the release statement, and to the name check of the
// destinations.
#include "update/renovix/archive_entry.h"
#include "update/renovix/release_statement.h"
#include "update/renovix/update_list.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const renovix::UpdateList list = renovix::ParseUpdateList(bytes);
    for (const auto& file : list.files) {
        renovix::DestinationOf(list.programFolder, file);
        renovix::RelativeTargetOf(file.destination);
    }
    const renovix::AnswerHeader header = renovix::ReadAnswerHeader(bytes);
    if (header.outcome == renovix::AnswerHeader::kReady) {
        for (int i = 0; i < header.fileCount && i < 8; ++i) {
            if (const auto line = renovix::AnswerFileLine(bytes, i)) {
                renovix::SplitFileLine(*line);
            }
        }
    }
    renovix::ParseReleaseStatement(bytes);
    renovix::NameInUrl(bytes);
    renovix::ReadExtendedTimestamp(bytes);
    renovix::CleanArchiveName(bytes);
    return 0;
}
