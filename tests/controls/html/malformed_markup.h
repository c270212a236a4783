#pragma once
// Generated broken markup for the robustness tests.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

namespace test_html {

// A small deterministic generator, so a failure can be replayed from its seed.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    size_t Below(size_t n) { return Next() % n; }

private:
    std::uint32_t state_;
};

inline const char* const kPieces[] = {
    "<b>",     "</b>",       "<i>",        "</i>",    "<u>",      "<s>",       "</strike>",
    "<font",   "</font>",    "<hr",        "<br>",    "<t>",      "<center>",  "</center>",
    "<right>", "<top>",      "</vcenter>", "<bmp",    "<icon",    "<ilst",     "<string",
    "<h1>",    "</h6>",      "<code>",     "<pre>",   "<big>",    "<small>",   "<sub>",
    "</sup>",  "<span",      "<a",         "</a>",    "<table",   "</table>",  "<tr>",
    "</tr>",   "<td",        "</td>",      "<<",      "<",        ">",         "&lt;",
    "&gt;",    "&amp",       "&nbsp;",     "&bogus;", "\n",       "\t",        " ",
    "word ",   "long-word,", "x",          "\"",      "'",        "=",         "/",
    "</",      "<body>",     "</body>",    "<p>",     "\xA9\x80", "<justify>", "</justify>",
};
inline const char* const kAttributes[] = {
    " color=",   " size=",        " face=",        " width=",  " height=",  " colspan=",
    " rowspan=", " cellpadding=", " cellspacing=", " border=", " bgcolor=", " bgeffect=",
    " href=",    " msg=",         " class=",       " idres=",  " iddll=",   " srcdll=",
    " file=",    " style=",       " weight=",      " bkgnd=",  " align=",   " valign=",
    " index=",   " speed=",
};
inline const char* const kValues[] = {
    "0",
    "1",
    "7",
    "-5",
    "150%",
    "9999999999999",
    "#FF0000",
    "#F",
    "0x7fffffff",
    "red",
    "\"unterminated",
    "'x'",
    "\"a b\"",
    "100%",
    "1e9px",
    "12pt",
    "3em",
    "hardbump",
    "",
    "%",
    "box",
};

inline std::string MakeDocument(Random& r) {
    std::string doc;
    const size_t parts = 1 + r.Below(120);
    for (size_t i = 0; i < parts; ++i) {
        doc += kPieces[r.Below(std::size(kPieces))];
        for (size_t a = r.Below(3); a > 0; --a) {
            doc += kAttributes[r.Below(std::size(kAttributes))];
            doc += kValues[r.Below(std::size(kValues))];
        }
        if (r.Below(4) == 0) {
            doc += ">";
        }
    }
    return doc;
}

}  // namespace test_html
