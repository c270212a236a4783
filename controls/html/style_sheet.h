#pragma once
// The style sheet of the markup: rules from selector ("b", "a:link", ".name") to declarations.

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace controls::html {

struct Declaration {
    std::string property;  // lower case
    std::string value;     // trimmed, surrounding quotes removed
};

// "property: value; ..." with ";" inside quotes kept in the value.
std::vector<Declaration> ParseDeclarations(std::string_view text);

class StyleSheet {
public:
    StyleSheet();  // holds the default rules

    // Rules "selector { declarations }"; several selectors may share a rule ("h1, h2").
    // Declarations for a selector that already has a rule are appended, so they win.
    void Add(std::string_view css);
    void ResetToDefault();
    void Clear() { rules_.clear(); }

    // The declarations of the selector (any case), or empty.
    std::string_view Find(std::string_view selector) const;

private:
    std::map<std::string, std::string, std::less<>> rules_;
};

// The default rules the renderer starts with.
std::string_view DefaultStyleSheetText();

}  // namespace controls::html
