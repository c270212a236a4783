#include "controls/html/fill_effects.h"

#include "controls/html/markup_text.h"

namespace controls::html {

FillEffect ParseFillEffect(std::string_view name, FillEffect fallback) {
    struct Named {
        std::string_view name;
        FillEffect effect;
    };
    static constexpr Named kNames[] = {
        {"transparent", FillEffect::Transparent},
        {"solid", FillEffect::Solid},
        {"hgradient", FillEffect::HGradient},
        {"vgradient", FillEffect::VGradient},
        {"hcgradient", FillEffect::HCGradient},
        {"vcgradient", FillEffect::VCGradient},
        {"3hgradient", FillEffect::H3Gradient},
        {"3vgradient", FillEffect::V3Gradient},
        {"noise", FillEffect::Noise},
        {"diagshade", FillEffect::DiagShade},
        {"hshade", FillEffect::HShade},
        {"vshade", FillEffect::VShade},
        {"hbump", FillEffect::HBump},
        {"vbump", FillEffect::VBump},
        {"softbump", FillEffect::SoftBump},
        {"hardbump", FillEffect::HardBump},
        {"metal", FillEffect::Metal},
    };
    const std::string lower = LowerAscii(TrimSpace(name));
    for (const auto& n : kNames) {
        if (n.name == lower) {
            return n.effect;
        }
    }
    return fallback;
}

}  // namespace controls::html
