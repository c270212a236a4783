#include "controls/html/markup_tokenizer.h"

#include "controls/html/markup_text.h"

namespace controls::html {

std::string_view Token::Attr(std::string_view name) const {
    for (const auto& a : attributes) {
        if (a.name == name) {
            return a.value;
        }
    }
    return {};
}

bool Token::HasAttr(std::string_view name) const {
    for (const auto& a : attributes) {
        if (a.name == name) {
            return true;
        }
    }
    return false;
}

namespace {

// The end of the tag that starts at open (the "<"), honouring quoted values; npos if none.
size_t FindTagEnd(std::string_view s, size_t open) {
    const size_t end = FindOutsideQuotes(s, open + 1, "<>");
    // A new tag that starts first makes this "<" text.
    return end != std::string_view::npos && s[end] == '>' ? end : std::string_view::npos;
}

bool IsNameChar(char c) {
    return c != '=' && c != '>' && c != '/' && !IsSpace(c) && c != '"' && c != '\'';
}

Token ParseTag(std::string_view body) {
    Token tag;
    tag.kind = Token::Kind::Tag;
    size_t i = 0;
    while (i < body.size() && IsSpace(body[i])) {
        ++i;
    }
    if (i < body.size() && body[i] == '/') {
        tag.closing = true;
        ++i;
    }
    const size_t nameStart = i;
    while (i < body.size() && IsNameChar(body[i])) {
        ++i;
    }
    tag.text = LowerAscii(body.substr(nameStart, i - nameStart));
    while (i < body.size()) {
        while (i < body.size() && (IsSpace(body[i]) || body[i] == '/')) {
            ++i;
        }
        const size_t attrStart = i;
        while (i < body.size() && IsNameChar(body[i])) {
            ++i;
        }
        if (i == attrStart) {
            ++i;  // a stray "=" or quote: skip it
            continue;
        }
        Attribute attr{LowerAscii(body.substr(attrStart, i - attrStart)), {}};
        size_t j = i;
        while (j < body.size() && IsSpace(body[j])) {
            ++j;
        }
        if (j < body.size() && body[j] == '=') {
            ++j;
            while (j < body.size() && IsSpace(body[j])) {
                ++j;
            }
            if (j < body.size() && (body[j] == '"' || body[j] == '\'')) {
                const char quote = body[j];
                const size_t close = body.find(quote, j + 1);
                const size_t end = close == std::string_view::npos ? body.size() : close;
                attr.value = std::string(body.substr(j + 1, end - j - 1));
                j = end == body.size() ? end : end + 1;
            } else {
                const size_t valueStart = j;
                while (j < body.size() && !IsSpace(body[j])) {
                    ++j;
                }
                attr.value = std::string(body.substr(valueStart, j - valueStart));
            }
            i = j;
        }
        tag.attributes.push_back(std::move(attr));
    }
    return tag;
}

}  // namespace

std::vector<Token> TokenizeMarkup(std::string_view s) {
    std::vector<Token> tokens;
    std::string text;
    auto flushText = [&] {
        if (!text.empty()) {
            tokens.push_back(Token{Token::Kind::Text, std::move(text), false, {}});
            text.clear();
        }
    };
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '<') {
            if (i + 1 < s.size() && s[i + 1] == '<') {
                text += '<';
                i += 2;
                continue;
            }
            const size_t end = FindTagEnd(s, i);
            if (end == std::string_view::npos) {
                text += '<';
                ++i;
                continue;
            }
            flushText();
            Token tag = ParseTag(s.substr(i + 1, end - i - 1));
            if (!tag.text.empty()) {
                tokens.push_back(std::move(tag));
            }
            i = end + 1;
        } else if (c == '\n') {
            flushText();
            tokens.push_back(Token{Token::Kind::LineBreak, {}, false, {}});
            ++i;
        } else if (c == '\t') {
            flushText();
            tokens.push_back(Token{Token::Kind::Tab, {}, false, {}});
            ++i;
        } else {
            if (c != '\r') {
                text += c;
            }
            ++i;
        }
    }
    flushText();
    return tokens;
}

}  // namespace controls::html
