#include "cleanup/scrap_scan.h"

#include "cleanup/ignore_list.h"
#include "cleanup/scrap_catalogue.h"
#include "engine/listing.h"
#include "engine/logon_task_rules.h"
#include "engine/text.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace cleanup {

namespace {

// Upper-cased catalogue names to their position. The catalogue is written in Windows-1252;
// its names are taken into the process's code page (UTF-8 under the manifest) and upper-cased
// there, so the table is built on first use.
const std::unordered_map<std::string, size_t>& CatalogueIndex() {
    static const auto index = [] {
        std::unordered_map<std::string, size_t> table;
        table.reserve(ScrapCatalogue.size() * 2);
        for (size_t i = 0; i < ScrapCatalogue.size(); ++i) {
            table.emplace(engine::UpperAnsi(platform::text::Recode(
                              ScrapCatalogue[i], kScrapCatalogueCodePage, platform::text::kAnsi)),
                          i);
        }
        return table;
    }();
    return index;
}

struct Match {
    size_t position;
    engine::StartupItem item;
};

}  // namespace

ScrapProgramList& ScrapList() {
    static ScrapProgramList list;
    return list;
}

std::optional<size_t> CataloguePosition(std::string_view name) {
    const auto& index = CatalogueIndex();
    const auto found = index.find(engine::UpperAnsi(name));
    if (found == index.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool PassesScrapCollectorRules(const engine::StartupItem& item) {
    return engine::PassesReceiverRules(item) && !engine::EqualsNoCase(item.name, kTrayHelperName) &&
           !IsIgnored(item.name);
}

size_t FindScrapPrograms(engine::StartupItemArray& items, engine::TaskRead tasks) {
    items.Clear();
    // Sources are read in their order and each in enumeration order, so a stable sort by
    // catalogue position alone gives the order of looking up one name after another.
    std::vector<Match> matches;
    engine::EnumerateAllSources(tasks, [&](const engine::StartupItem& item) {
        // Switched-off entries are not where Windows starts them: never scrap.
        if (!item.enabled) {
            return;
        }
        // A task is known to the catalogue by its last path element ("\\Vendor\\Updater").
        const std::string_view name = engine::IsTaskLocation(item.location)
                                          ? engine::TaskLeafName(item.name)
                                          : std::string_view(item.name);
        if (const auto position = CataloguePosition(name);
            position && PassesScrapCollectorRules(item)) {
            matches.push_back({*position, item});
        }
    });
    std::stable_sort(matches.begin(), matches.end(),
                     [](const Match& a, const Match& b) { return a.position < b.position; });
    for (auto& match : matches) {
        match.item.enabled = true;
        items.Append(std::move(match.item));
    }
    return items.size();
}

size_t ScanForScrapPrograms(engine::TaskRead tasks) {
    return FindScrapPrograms(ScrapList().items, tasks);
}

}  // namespace cleanup
