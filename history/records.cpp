#include "history/records.h"

namespace history {

std::string EncodeHistoryRecord(const HistoryRecord& record, const FieldText& codec) {
    layout::HistoryRecordBytes bytes;
    WriteTextField(bytes.remarks, sizeof bytes.remarks, record.remarks, codec);
    WriteInt64LE(bytes.fixTime, record.fixTime);
    WriteTextField(bytes.action, sizeof bytes.action, record.action, codec);
    WriteTextField(bytes.fixFilePath, sizeof bytes.fixFilePath, record.fixFilePath, codec);
    return BytesOf(bytes);
}

std::string EncodeFixedItemRecord(const FixedItemRecord& record, const FieldText& codec) {
    layout::FixedItemRecordBytes bytes;
    WriteTextField(bytes.location, sizeof bytes.location, record.location, codec);
    WriteTextField(bytes.name, sizeof bytes.name, record.name, codec);
    WriteTextField(bytes.command, sizeof bytes.command, record.command, codec);
    return BytesOf(bytes);
}

bool FixedItemRecordFits(const FixedItemRecord& record, const FieldText& codec) {
    using Bytes = layout::FixedItemRecordBytes;
    return FitsField(record.location, sizeof Bytes::location, codec) &&
           FitsField(record.name, sizeof Bytes::name, codec) &&
           FitsField(record.command, sizeof Bytes::command, codec);
}

std::vector<HistoryRecord> ParseHistoryRecords(std::string_view data, const FieldText& codec) {
    return ParseRecords<layout::HistoryRecordBytes>(
        data, [&](const layout::HistoryRecordBytes& bytes) {
            return HistoryRecord{ReadTextField(bytes.remarks, sizeof bytes.remarks, codec),
                                 ReadInt64LE(bytes.fixTime),
                                 ReadTextField(bytes.action, sizeof bytes.action, codec),
                                 ReadTextField(bytes.fixFilePath, sizeof bytes.fixFilePath, codec)};
        });
}

std::vector<FixedItemRecord> ParseFixedItemRecords(std::string_view data, const FieldText& codec) {
    return ParseRecords<layout::FixedItemRecordBytes>(
        data, [&](const layout::FixedItemRecordBytes& bytes) {
            return FixedItemRecord{ReadTextField(bytes.location, sizeof bytes.location, codec),
                                   ReadTextField(bytes.name, sizeof bytes.name, codec),
                                   ReadTextField(bytes.command, sizeof bytes.command, codec)};
        });
}

}  // namespace history
