// The scrap scan against a plain listing and against looking up one catalogue name after
// another, each source opened anew for every name (the baseline, kept only here).

#include "bench/seeded_machine.h"
#include "bench/timing.h"
#include "cleanup/ignore_list.h"
#include "cleanup/scrap_catalogue.h"
#include "cleanup/scrap_scan.h"
#include "engine/listing.h"
#include "engine/run_values.h"
#include "engine/startup_folders.h"
#include "engine/text.h"

#include <cstdio>
#include <string>

namespace {

// For each name in catalogue order, every source in order, keeping what equals the name.
void PerNameScan(engine::StartupItemArray& items) {
    items.Clear();
    for (const char* name : cleanup::ScrapCatalogue) {
        const engine::EntrySink collect = [&](const engine::StartupItem& item) {
            if (engine::EqualsNoCase(item.name, name) && cleanup::PassesScrapCollectorRules(item)) {
                items.Append(item);
            }
        };
        for (const auto& source : engine::RunSources()) {
            engine::EnumerateRunSource(source, collect);
        }
        engine::EnumerateStartupFolder(HKEY_CURRENT_USER, engine::kUserStartupLabel, collect);
        engine::EnumerateStartupFolder(HKEY_LOCAL_MACHINE, engine::kCommonStartupLabel, collect);
    }
}

bool SameEntries(const engine::StartupItemArray& a, const engine::StartupItemArray& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].command != b[i].command ||
            a[i].location != b[i].location) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main() {
    bench::SeedPlan plan;
    // A few dozen catalogue names, spread over the four keys and in no particular order. The
    // first eight come again in upper case under the other root (the seed alternates roots),
    // so that those names are found in two sources.
    for (size_t i = 0; i < 40; ++i) {
        plan.chosenNames.push_back(
            cleanup::ScrapCatalogue[(i * 131) % cleanup::kScrapCatalogueSize]);
    }
    plan.chosenNames.push_back("BenchFiller");
    for (size_t i = 0; i < 8; ++i) {
        plan.chosenNames.push_back(engine::UpperAnsi(plan.chosenNames[i]));
    }
    bench::SeedMachine(plan);
    cleanup::LoadIgnoreList();

    engine::StartupItemArray scanned, baseline;
    size_t listed = 0;
    const auto samples =
        bench::Interleaved(21, {[&] { cleanup::FindScrapPrograms(scanned); },
                                [&] { listed = engine::ListStartupItems().size(); }});
    // The baseline takes half a minute: once, against the scan's median.
    const double perName = bench::Milliseconds([&] { PerNameScan(baseline); });

    std::printf("entries: listing %zu, scan found %zu, per-name found %zu (%s)\n", listed,
                scanned.size(), baseline.size(),
                SameEntries(scanned, baseline) ? "same entries, same order" : "DIFFERENT");
    bench::PrintTime("scan", samples[0]);
    bench::PrintTime("listing", samples[1]);
    std::printf("%-22s %8.1f ms  (once)\n", "per-name scan", perName);
    bench::PrintRatio("scan/listing", bench::Ratios(samples[0], samples[1]), 1.3);
    std::printf("ratio per-name/scan %.1f (goal >= 50)\n", perName / samples[0].Median());
    return SameEntries(scanned, baseline) ? 0 : 1;
}
