#include "cleanup/ignore_record.h"

namespace cleanup {

std::string EncodeIgnoreRecord(const IgnoreRecord& record,
                               const history::LeadBytePredicate& isLeadByte) {
    layout::IgnoreRecordBytes bytes;
    history::WriteTextField(bytes.name, sizeof bytes.name, record.name, isLeadByte);
    history::WriteTextField(bytes.command, sizeof bytes.command, record.command, isLeadByte);
    return history::BytesOf(bytes);
}

std::vector<IgnoreRecord> ParseIgnoreRecords(std::string_view data) {
    return history::ParseRecords<layout::IgnoreRecordBytes>(
        data, [](const layout::IgnoreRecordBytes& bytes) {
            return IgnoreRecord{history::ReadTextField(bytes.name, sizeof bytes.name),
                                history::ReadTextField(bytes.command, sizeof bytes.command)};
        });
}

}  // namespace cleanup
