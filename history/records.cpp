#include "history/records.h"

namespace history {

std::string EncodeHistoryRecord(const HistoryRecord& record, const LeadBytePredicate& isLeadByte) {
    layout::HistoryRecordBytes bytes;
    WriteTextField(bytes.remarks, sizeof bytes.remarks, record.remarks, isLeadByte);
    WriteInt64LE(bytes.fixTime, record.fixTime);
    WriteTextField(bytes.action, sizeof bytes.action, record.action, isLeadByte);
    WriteTextField(bytes.fixFilePath, sizeof bytes.fixFilePath, record.fixFilePath, isLeadByte);
    return BytesOf(bytes);
}

std::string EncodeFixedItemRecord(const FixedItemRecord& record,
                                  const LeadBytePredicate& isLeadByte) {
    layout::FixedItemRecordBytes bytes;
    WriteTextField(bytes.location, sizeof bytes.location, record.location, isLeadByte);
    WriteTextField(bytes.name, sizeof bytes.name, record.name, isLeadByte);
    WriteTextField(bytes.command, sizeof bytes.command, record.command, isLeadByte);
    return BytesOf(bytes);
}

std::vector<HistoryRecord> ParseHistoryRecords(std::string_view data) {
    return ParseRecords<layout::HistoryRecordBytes>(
        data, [](const layout::HistoryRecordBytes& bytes) {
            return HistoryRecord{ReadTextField(bytes.remarks, sizeof bytes.remarks),
                                 ReadInt64LE(bytes.fixTime),
                                 ReadTextField(bytes.action, sizeof bytes.action),
                                 ReadTextField(bytes.fixFilePath, sizeof bytes.fixFilePath)};
        });
}

std::vector<FixedItemRecord> ParseFixedItemRecords(std::string_view data) {
    return ParseRecords<layout::FixedItemRecordBytes>(
        data, [](const layout::FixedItemRecordBytes& bytes) {
            return FixedItemRecord{ReadTextField(bytes.location, sizeof bytes.location),
                                   ReadTextField(bytes.name, sizeof bytes.name),
                                   ReadTextField(bytes.command, sizeof bytes.command)};
        });
}

}  // namespace history
