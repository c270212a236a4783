#pragma once
// The scrap scan: the active startup entries whose names stand in the catalogue.

#include "engine/listing.h"
#include "engine/startup_item.h"
#include "platform/unique_any.h"

#include <windows.h>

#include <optional>
#include <string_view>

namespace cleanup {

// The entry name that the scan never reports besides the product's own.
inline constexpr char kTrayHelperName[] = "KestrovanTray";

// The scrap programs of the last scan, with the automatic run's worker and its window.
struct ScrapProgramList {
    // enabled here means: selected for the automatic run.
    engine::StartupItemArray items;
    platform::unique_handle worker;
    HWND notifyWindow = nullptr;
};

// The one list of the process.
ScrapProgramList& ScrapList();

// Where a name stands in the catalogue, compared whole and without regard to case.
std::optional<size_t> CataloguePosition(std::string_view name);

// The scan collector's rules: not empty, not the product, not the tray helper, not ignored.
bool PassesScrapCollectorRules(const engine::StartupItem& item);

// Empties items and fills it with the matches: in catalogue order, then in source order
// (HKCU Run, HKCU RunOnce, HKLM Run, HKLM RunOnce, Startup, Common Startup), then in
// enumeration order. Registry values match on their name, shortcuts on their file title.
// Each source is read once (the tasks as tasks says). Returns the number found.
size_t FindScrapPrograms(engine::StartupItemArray& items,
                         engine::TaskRead tasks = engine::TaskRead::Service);

// The scan of the process: fills ScrapList().items.
size_t ScanForScrapPrograms(engine::TaskRead tasks = engine::TaskRead::Service);

}  // namespace cleanup
