#include "update/version_answer.h"
#include "update/version_compare.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Pieces(std::string_view text, char separator) {
    std::vector<std::string> out;
    for (const auto piece : update::SplitKeepingEmpty(text, separator)) {
        out.emplace_back(piece);
    }
    return out;
}

using Strings = std::vector<std::string>;

TEST(SplitKeepingEmpty, KeepsEveryEmptyPieceAndCarriageReturns) {
    EXPECT_EQ(Pieces("", '\n'), Strings{""});
    EXPECT_EQ(Pieces("one", '\n'), Strings{"one"});
    EXPECT_EQ(Pieces("a\n", '\n'), (Strings{"a", ""}));
    EXPECT_EQ(Pieces("\n\n", '\n'), (Strings{"", "", ""}));
    EXPECT_EQ(Pieces("a\r\nb", '\n'), (Strings{"a\r", "b"}));
    EXPECT_EQ(Pieces("x\t\ty\t", '\t'), (Strings{"x", "", "y", ""}));
}

struct AnswerCase {
    const char* answer;
    const char* latest;  // nullptr: the answer is not accepted
};

TEST(LatestVersionOfAnswer, AcceptsExactlyThreeLinesWithAFourFieldHeader) {
    const AnswerCase cases[] = {
        {"1\nVelbrook\t1.2.3.4\t1\t0\nfile", "1.2.3.4"},
        {"1\r\nVelbrook\t1.2.3.4\t1\t0\r\nfile\r", "1.2.3.4"},
        {"0\n\t\t\t\n", ""},                              // empty fields still count
        {"1\nVelbrook\t1.2.3.4\t1\t0\nfile\n", nullptr},  // a final line feed makes 4 lines
        {"1\nVelbrook\t1.2.3.4\t1\t0", nullptr},          // no file line
        {"1\nVelbrook\t1.2.3.4\t2\t0\nfile\nfile", nullptr},
        {"1\nVelbrook\t1.2.3.4\t1\t0\t\nfile", nullptr},  // 5 header fields
        {"1\nVelbrook\t1.2.3.4\t1\nfile", nullptr},       // 3 header fields
        {"", nullptr},
        {"Internet is not connected", nullptr},
    };
    for (const auto& c : cases) {
        const auto latest = update::LatestVersionOfAnswer(c.answer);
        if (c.latest) {
            ASSERT_TRUE(latest.has_value()) << c.answer;
            EXPECT_EQ(*latest, c.latest) << c.answer;
        } else {
            EXPECT_FALSE(latest.has_value()) << c.answer << " gave " << latest.value_or("");
        }
    }
}

struct CompareCase {
    const char* a;
    const char* b;
    int order;  // sign of CompareVersions(a, b)
};

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(CompareVersions, ComparesDottedDecimalsNumberByNumber) {
    const CompareCase cases[] = {
        {"1.2.3.4", "1.2.3.4", 0},
        {"1.2.3.4", "1.2.3.5", -1},
        {"1.0.9.0", "1.0.10.0", -1},  // not text order
        {"1.2.3.10", "1.2.3.9", 1},
        {"2.0", "2.0.0.0", 0},  // missing parts count as 0
        {"2", "1.99.99.99", 1},
        {"1.2.3", "1.2.3.1", -1},
        {"01.002", "1.2", 0},
        {"1.0.0.99999999999999999999", "1.0.0.100000000000000000000", -1},  // no overflow
        {"0", "0.0.0.0", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sign(update::CompareVersions(c.a, c.b)), c.order) << c.a << " vs " << c.b;
        EXPECT_EQ(Sign(update::CompareVersions(c.b, c.a)), -c.order) << c.b << " vs " << c.a;
    }
}

TEST(CompareVersions, ComparesAnythingElseAsTextIgnoringCase) {
    const CompareCase cases[] = {
        {"1.0BETA", "1.0beta", 0},
        {"1.0a", "1.0B", -1},          // by letter, not by code of the capital
        {"1.2.3.4", "1.2.3.4a", -1},   // a prefix is lower
        {"1.2.3.4", "1.2.3.4.", -1},   // an empty part is not dotted decimal
        {"1.2.3.10", "1.2.3.9x", -1},  // text order once one side has a letter
        {"", "1.0", -1},               // an empty own version is lower than any remote one
        {"", "", 0},
        {"1. 2", "1.2", -1},
        {"v2", "V10", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sign(update::CompareVersions(c.a, c.b)), c.order) << c.a << " vs " << c.b;
        EXPECT_EQ(Sign(update::CompareVersions(c.b, c.a)), -c.order) << c.b << " vs " << c.a;
    }
}

TEST(IsNewerVersion, OnlyAHigherRemoteVersionIsNewer) {
    EXPECT_TRUE(update::IsNewerVersion("1.2.3.4", "1.2.3.5"));
    EXPECT_FALSE(update::IsNewerVersion("1.2.3.4", "1.2.3.4"));
    EXPECT_FALSE(update::IsNewerVersion("1.2.3.4", "1.2.3.3"));
    EXPECT_FALSE(update::IsNewerVersion("1.2.3.4", "1.2.3.4.0"));
}

}  // namespace
