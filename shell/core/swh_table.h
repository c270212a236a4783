#pragma once
// SwhTable: the named shared-memory block "_SWH" that programs of the maker share, 33,796 bytes
// in every process: a signed 32-bit use count, then 256 slots of a program name (64 UTF-16
// characters, zero-padded) and the 32-bit handle of that program's main window. This program
// never adds a slot; it decrements the count after its main window has closed and clears the
// slot that bears its name at exit.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/unique_any.h"

namespace shell {

inline constexpr std::size_t kSwhSlotCount = 256;
inline constexpr std::size_t kSwhSlotSize = 132;
inline constexpr std::size_t kSwhNameBytes = 128;
inline constexpr std::size_t kSwhTableSize = 4 + kSwhSlotCount * kSwhSlotSize;
static_assert(kSwhTableSize == 33796);

// Over a byte image of the block (kSwhTableSize bytes).
std::int32_t SwhUseCount(const unsigned char* table);
void SetSwhUseCount(unsigned char* table, std::int32_t count);
// The slot's name converted to the ANSI code page.
std::string SwhSlotName(const unsigned char* table, std::size_t slot);
std::uint32_t SwhSlotWindow(const unsigned char* table, std::size_t slot);
// For tests and other writers of the block.
void SetSwhSlot(unsigned char* table, std::size_t slot, const std::wstring& name,
                std::uint32_t window);

// The slot that exit clears for programName: the first matching slot whose window is gone,
// else the last matching slot whose window still exists; -1 when no slot matches.
int ChooseSwhSlotToClear(const unsigned char* table, const std::string& programName,
                         const std::function<bool(std::uint32_t window)>& windowExists);
// Window handle 0 and the 128 name bytes zeroed.
void ClearSwhSlot(unsigned char* table, std::size_t slot);

// The block mapped whole into this process.
class SwhTableView {
public:
    SwhTableView() = default;
    SwhTableView(SwhTableView&&) noexcept;
    SwhTableView& operator=(SwhTableView&&) noexcept;
    ~SwhTableView();

    explicit operator bool() const { return bytes_ != nullptr; }
    unsigned char* bytes() const { return bytes_; }
    // Unmaps the view; the mapping handle is handed to the caller, who decides whether the
    // block should outlive this call.
    platform::unique_handle Unmap();

private:
    friend SwhTableView OpenSwhTable();
    platform::unique_handle mapping_;
    unsigned char* bytes_ = nullptr;
};

// Creates the block backed by the paging file, or opens it when it exists; a new block is
// filled with zeros, an existing one left as it is. Empty on failure.
SwhTableView OpenSwhTable();

// At the end of the main window: the use count goes down by one; the block's handle stays open
// for the life of the process unless the count reached 0.
void ReleaseSwhUse(platform::unique_handle& keptOpen);

// At exit: clears this program's slot (see ChooseSwhSlotToClear).
void ClearOwnSwhSlot(const std::string& programName);

}  // namespace shell
