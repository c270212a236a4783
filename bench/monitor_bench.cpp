// A monitor pass against one full listing, on the same seeded machine: both read every source;
// the pass also looks each name up among the known entries, which must stay cheap however
// many there are.

#include "bench/seeded_machine.h"
#include "bench/timing.h"
#include "engine/known_items.h"
#include "engine/listing.h"
#include "shell/monitor.h"

#include <cstdio>

int main() {
    // 2,200 entries, 200 of them switched off and half of those put back by their programs.
    bench::SeedPlan plan;
    plan.switchedOff = 200;
    bench::SeedMachine(plan);
    shell::MonitorContext context;  // no notify window: nobody is alerted
    shell::MonitorPass(context);    // the baseline: every entry becomes known
    const size_t known =
        engine::KnownStartupItems().WithItems([](auto& items) { return items.size(); });

    size_t listed = 0, returned = 0, off = 0;
    engine::ListStartupItems().ForEach([&](const engine::StartupItem& item) {
        returned += item.returned;
        off += !item.enabled;
    });
    const auto samples =
        bench::Interleaved(21, {[&] { listed = engine::ListStartupItems().size(); },
                                [&] { shell::MonitorPass(context); }});
    std::printf(
        "entries: listing %zu (%zu switched off, %zu came back), known to the monitor %zu\n",
        listed, off, returned, known);
    bench::PrintTime("full listing", samples[0]);
    bench::PrintTime("monitor pass", samples[1]);
    bench::PrintRatio("pass/listing", bench::Ratios(samples[1], samples[0]), 1.2);
    return 0;
}
