#pragma once
// Colour names and colour values of the markup. Colours are 0x00BBGGRR, as GDI takes them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace controls::html {

using Color = std::uint32_t;

constexpr Color Rgb(unsigned r, unsigned g, unsigned b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// The web colour names with fixed values and the names of the system colours, whose values
// are asked for once, when the table is made (systemColor takes a GetSysColor index).
class ColorTable {
public:
    explicit ColorTable(const std::function<Color(int)>& systemColor);

    std::optional<Color> Find(std::string_view name) const;  // any case
    std::size_t CountNames() const { return colors_.size(); }

private:
    std::unordered_map<std::string, Color> colors_;
};

// "#RRGGBB" (exactly seven characters); a number with automatic base ("0x" hex, leading "0"
// octal, else decimal) taken as 0x00BBGGRR; else a name of the table. Nothing for anything else.
std::optional<Color> ParseColor(std::string_view value, const ColorTable& table);

}  // namespace controls::html
