#include "controls/html/style_sheet.h"

#include "controls/html/markup_text.h"

namespace controls::html {

std::string_view DefaultStyleSheetText() {
    return "body {font-size: 10pt; color:black; font-family:Verdana}\n"
           "p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\n"
           "h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\n"
           "h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\n"
           "h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\n"
           "h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\n"
           "h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\n"
           "h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\n"
           "pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\n"
           "code {color:#990000; font-family:Arial}\n"
           "a:link {text-decoration:none; color:blue}\n"
           "a:hover {text-decoration:underline; color:blue}\n"
           "sub {font-size:65%; vertical-align:bottom}\n"
           "sup {font-size:65%; vertical-align:top}\n"
           "big {font-size:125%}\n"
           "small {font-size:75%}\n"
           ".cpp-comment {color:green; font-style:italic}\n";
}

std::vector<Declaration> ParseDeclarations(std::string_view text) {
    std::vector<Declaration> out;
    size_t i = 0;
    while (i <= text.size()) {
        size_t end = FindOutsideQuotes(text, i, ";");
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view item = text.substr(i, end - i);
        const size_t colon = item.find(':');
        if (colon != std::string_view::npos) {
            std::string_view value = TrimSpace(item.substr(colon + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            const std::string property = LowerAscii(TrimSpace(item.substr(0, colon)));
            if (!property.empty()) {
                out.push_back({property, std::string(value)});
            }
        }
        i = end + 1;
    }
    return out;
}

StyleSheet::StyleSheet() { ResetToDefault(); }

void StyleSheet::ResetToDefault() {
    rules_.clear();
    Add(DefaultStyleSheetText());
}

void StyleSheet::Add(std::string_view css) {
    size_t i = 0;
    while (i < css.size()) {
        // Comments may stand between rules.
        if (css.substr(i, 2) == "/*") {
            const size_t end = css.find("*/", i + 2);
            i = end == std::string_view::npos ? css.size() : end + 2;
            continue;
        }
        const size_t open = css.find_first_of("{/", i);
        if (open == std::string_view::npos) {
            break;
        }
        if (css[open] == '/') {
            if (css.substr(open, 2) == "/*") {
                i = open;  // the comment is skipped above; the text before it is no selector
                const size_t end = css.find("*/", open + 2);
                i = end == std::string_view::npos ? css.size() : end + 2;
            } else {
                i = open + 1;
            }
            continue;
        }
        const size_t close = css.find('}', open + 1);
        const size_t end = close == std::string_view::npos ? css.size() : close;
        const std::string_view selectors = css.substr(i, open - i);
        const std::string_view body = TrimSpace(css.substr(open + 1, end - open - 1));
        size_t s = 0;
        while (s <= selectors.size()) {
            size_t comma = selectors.find(',', s);
            if (comma == std::string_view::npos) {
                comma = selectors.size();
            }
            const std::string selector = LowerAscii(TrimSpace(selectors.substr(s, comma - s)));
            if (!selector.empty()) {
                std::string& rule = rules_[selector];
                if (!rule.empty()) {
                    rule += "; ";
                }
                rule += body;
            }
            s = comma + 1;
        }
        i = end == css.size() ? end : end + 1;
    }
}

std::string_view StyleSheet::Find(std::string_view selector) const {
    const auto found = rules_.find(LowerAscii(selector));
    return found == rules_.end() ? std::string_view{} : std::string_view(found->second);
}

}  // namespace controls::html
