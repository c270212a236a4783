#include "cleanup/ignore_record.h"

namespace cleanup {

bool IgnoreNameFits(std::string_view name, const history::FieldText& codec) {
    return history::FitsField(name, sizeof layout::IgnoreRecordBytes::name, codec);
}

std::string EncodeIgnoreRecord(const IgnoreRecord& record, const history::FieldText& codec) {
    layout::IgnoreRecordBytes bytes;
    history::WriteTextField(bytes.name, sizeof bytes.name, record.name, codec);
    history::WriteTextField(bytes.command, sizeof bytes.command, record.command, codec);
    return history::BytesOf(bytes);
}

std::vector<IgnoreRecord> ParseIgnoreRecords(std::string_view data,
                                             const history::FieldText& codec) {
    return history::ParseRecords<layout::IgnoreRecordBytes>(
        data, [&](const layout::IgnoreRecordBytes& bytes) {
            return IgnoreRecord{history::ReadTextField(bytes.name, sizeof bytes.name, codec),
                                history::ReadTextField(bytes.command, sizeof bytes.command, codec)};
        });
}

}  // namespace cleanup
