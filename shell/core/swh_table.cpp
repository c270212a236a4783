#include "shell/core/swh_table.h"

#include "platform/text_codec.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <utility>

namespace shell {

namespace {

constexpr const char kSwhName[] = "_SWH";

std::size_t SlotOffset(std::size_t slot) { return 4 + slot * kSwhSlotSize; }

}  // namespace

std::int32_t SwhUseCount(const unsigned char* table) {
    std::int32_t count = 0;
    std::memcpy(&count, table, sizeof count);
    return count;
}

void SetSwhUseCount(unsigned char* table, std::int32_t count) {
    std::memcpy(table, &count, sizeof count);
}

std::string SwhSlotName(const unsigned char* table, std::size_t slot) {
    wchar_t name[kSwhNameBytes / 2 + 1] = {};
    std::memcpy(name, table + SlotOffset(slot), kSwhNameBytes);
    const int length = static_cast<int>(wcsnlen(name, kSwhNameBytes / 2));
    if (length == 0) {
        return {};
    }
    return platform::text::Narrow(std::wstring_view(name, static_cast<std::size_t>(length)));
}

std::uint32_t SwhSlotWindow(const unsigned char* table, std::size_t slot) {
    std::uint32_t window = 0;
    std::memcpy(&window, table + SlotOffset(slot) + kSwhNameBytes, sizeof window);
    return window;
}

void SetSwhSlot(unsigned char* table, std::size_t slot, const std::wstring& name,
                std::uint32_t window) {
    unsigned char* at = table + SlotOffset(slot);
    std::memset(at, 0, kSwhNameBytes);
    std::memcpy(at, name.data(), std::min(name.size() * 2, kSwhNameBytes));
    std::memcpy(at + kSwhNameBytes, &window, sizeof window);
}

int ChooseSwhSlotToClear(const unsigned char* table, const std::string& programName,
                         const std::function<bool(std::uint32_t window)>& windowExists) {
    int live = -1;
    for (std::size_t slot = 0; slot < kSwhSlotCount; ++slot) {
        if (SwhSlotName(table, slot) != programName) {
            continue;
        }
        if (!windowExists(SwhSlotWindow(table, slot))) {
            return static_cast<int>(slot);
        }
        live = static_cast<int>(slot);
    }
    return live;
}

void ClearSwhSlot(unsigned char* table, std::size_t slot) {
    std::memset(table + SlotOffset(slot), 0, kSwhSlotSize);
}

SwhTableView::SwhTableView(SwhTableView&& other) noexcept
    : mapping_(std::move(other.mapping_)), bytes_(std::exchange(other.bytes_, nullptr)) {}

SwhTableView& SwhTableView::operator=(SwhTableView&& other) noexcept {
    if (this != &other) {
        Unmap();
        mapping_ = std::move(other.mapping_);
        bytes_ = std::exchange(other.bytes_, nullptr);
    }
    return *this;
}

SwhTableView::~SwhTableView() { Unmap(); }

platform::unique_handle SwhTableView::Unmap() {
    if (bytes_) {
        ::UnmapViewOfFile(bytes_);
        bytes_ = nullptr;
    }
    return std::move(mapping_);
}

SwhTableView OpenSwhTable() {
    SwhTableView table;
    table.mapping_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              static_cast<DWORD>(kSwhTableSize), kSwhName));
    if (!table.mapping_) {
        return table;
    }
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    table.bytes_ = static_cast<unsigned char*>(
        ::MapViewOfFile(table.mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kSwhTableSize));
    if (!table.bytes_) {
        table.mapping_.reset();
        return table;
    }
    if (!existed) {
        std::memset(table.bytes_, 0, kSwhTableSize);
    }
    return table;
}

void ReleaseSwhUse(platform::unique_handle& keptOpen) {
    SwhTableView table = OpenSwhTable();
    if (!table) {
        return;
    }
    const std::int32_t count = SwhUseCount(table.bytes()) - 1;
    SetSwhUseCount(table.bytes(), count);
    platform::unique_handle mapping = table.Unmap();
    if (count != 0) {
        keptOpen = std::move(mapping);
    }
}

void ClearOwnSwhSlot(const std::string& programName) {
    SwhTableView table = OpenSwhTable();
    if (!table) {
        return;
    }
    const int slot = ChooseSwhSlotToClear(table.bytes(), programName, [](std::uint32_t window) {
        return ::IsWindow(reinterpret_cast<HWND>(static_cast<UINT_PTR>(window))) != FALSE;
    });
    if (slot >= 0) {
        ClearSwhSlot(table.bytes(), static_cast<std::size_t>(slot));
    }
}

}  // namespace shell
