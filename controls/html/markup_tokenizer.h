#pragma once
// Splits markup (entities already decoded) into text runs, tags, line feeds and tabs.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace controls::html {

struct Attribute {
    std::string name;  // lower case
    std::string value;
};

struct Token {
    enum class Kind { Text, Tag, LineBreak, Tab };
    Kind kind = Kind::Text;
    std::string text;      // the run for Text, the lower-case name for Tag
    bool closing = false;  // "</name>"
    std::vector<Attribute> attributes;

    // The value of the attribute, or empty when the tag has none of that name.
    std::string_view Attr(std::string_view name) const;
    bool HasAttr(std::string_view name) const;
};

// "<<" is a literal "<"; a "<" that never meets its ">" is text. "\r" is dropped.
std::vector<Token> TokenizeMarkup(std::string_view markup);

}  // namespace controls::html
