// Feeds arbitrary bytes to the markup parser and lays them out at a few widths.
#include "controls/html/html_layout.h"
#include "tests/controls/html/fixed_measure.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace controls::html;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ColorTable colors([](int index) { return Color(index * 0x010101); });
    StyleSheet sheet;
    test_html::FixedMeasure measure;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first line is taken as a style sheet, so the sheet parser gets its share too.
    const size_t split = bytes.find('\n');
    const std::string_view css =
        split == std::string_view::npos ? std::string_view{} : bytes.substr(0, split);
    sheet.Add(css);
    const std::string_view markup =
        split == std::string_view::npos ? bytes : bytes.substr(split + 1);
    const Document document =
        BuildDocument(markup, BuildContext{sheet, colors, measure, nullptr, size % 3 ? 0 : -1});
    for (int width : {0, 1, 200}) {
        const Layout layout = LayoutDocument(document, width, measure);
        for (const auto& op : layout.ops) {
            if (op.rect.left > op.rect.right || op.rect.top > op.rect.bottom) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
