#include "controls/html/markup_entities.h"

namespace controls::html {
namespace {

struct Entity {
    std::string_view name;  // with "&" and ";"
    std::string_view replacement;
};

constexpr Entity kEntities[] = {
    {"&amp;", "&"},      {"&bull;", "\x95"},   {"&copy;", "\xA9"}, {"&euro;", "\x80"},
    {"&gt;", ">"},       {"&iquest;", "\xBF"}, {"&lt;", "<<"},     {"&nbsp;", " "},
    {"&para;", "\xB6"},  {"&pound;", "\xA3"},  {"&quot;", "\""},   {"&reg;", "\xAE"},
    {"&trade;", "\x99"},
};

}  // namespace

std::string DecodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '&') {
            const Entity* match = nullptr;
            for (const auto& e : kEntities) {
                if (text.substr(i, e.name.size()) == e.name) {
                    match = &e;
                    break;
                }
            }
            if (match) {
                out += match->replacement;
                i += match->name.size();
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

}  // namespace controls::html
