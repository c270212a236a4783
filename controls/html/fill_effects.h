#pragma once
// The fill styles of backgrounds, by the names the markup uses for them.

#include <string_view>

namespace controls::html {

enum class FillEffect {
    Transparent,
    Solid,
    HGradient,
    VGradient,
    HCGradient,
    VCGradient,
    H3Gradient,
    V3Gradient,
    Noise,
    DiagShade,
    HShade,
    VShade,
    HBump,
    VBump,
    SoftBump,
    HardBump,
    Metal,
};

// "transparent", "solid", "hgradient", ... (any case); fallback for an unknown name.
FillEffect ParseFillEffect(std::string_view name, FillEffect fallback);

}  // namespace controls::html
