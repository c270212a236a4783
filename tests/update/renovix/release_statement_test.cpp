// The release statement's reader: what a statement must hold, and what makes it worthless.
#include "update/renovix/release_statement.h"

#include <gtest/gtest.h>

namespace renovix {
namespace {

const std::string kDigest(128, 'a');
const std::string kHead = "Velbrook release statement\nproduct\tVelbrook\nversion\t2.1.0.0\n";
const std::string kFile = "file\tV-2.1-update.zip\tV-2.1-update.zip\t1\t" + kDigest + "\n";

TEST(ReleaseStatementTest, ReadsEveryFieldWithEitherLineEnd) {
    const std::string text =
        kHead + kFile + "file\tnotes.txt\tdocs\\notes.txt\t0\t" + std::string(128, 'f') + "\n";
    for (const std::string& bytes : {text, text.substr(0, text.size() - 1)}) {
        const auto statement = ParseReleaseStatement(bytes);
        ASSERT_TRUE(statement);
        EXPECT_EQ(statement->product, "Velbrook");
        EXPECT_EQ(statement->version, "2.1.0.0");
        ASSERT_EQ(statement->files.size(), 2u);
        const StatementFile* notes = statement->FileNamed("notes.txt");
        ASSERT_TRUE(notes);
        EXPECT_EQ(notes->destination, "docs\\notes.txt");
        EXPECT_FALSE(notes->isArchive);
        EXPECT_EQ(notes->digest, std::string(128, 'f'));
        EXPECT_TRUE(statement->FileNamed("V-2.1-update.zip")->isArchive);
        EXPECT_FALSE(statement->FileNamed("V-2.1-update"));
    }
    std::string crlf;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_TRUE(ParseReleaseStatement(crlf));
}

TEST(ReleaseStatementTest, RefusesAnythingMalformedMissingOrRepeated) {
    const std::string cases[] = {
        "",
        kHead,                                                          // no file
        "Velbrook statement\nproduct\tVelbrook\nversion\t2\n" + kFile,  // first line
        "Velbrook release statement\nversion\t2\n" + kFile,             // no product
        "Velbrook release statement\nproduct\tVelbrook\n" + kFile,      // no version
        kHead + "version\t9.0\n" + kFile,                               // a second version
        kHead + kFile + kFile,                                          // a name twice
        kHead + "file\ta\\b.zip\tx\t1\t" + kDigest + "\n",              // a name with a separator
        kHead + "file\t..\tx\t1\t" + kDigest + "\n",
        kHead + "file\ta.zip\t\t1\t" + kDigest + "\n",                 // no destination
        kHead + "file\ta.zip\tx\t2\t" + kDigest + "\n",                // archive flag
        kHead + "file\ta.zip\tx\t1\t" + kDigest.substr(1) + "\n",      // short digest
        kHead + "file\ta.zip\tx\t1\t" + std::string(128, 'A') + "\n",  // upper case
        kHead + "file\ta.zip\tx\t1\t" + kDigest + "\t1\n",  // a run flag it does not have
        kHead + kFile + "run\ta.zip\n",                     // an unknown line
        kHead + kFile + "\n",                               // an empty line
        kHead + kFile + std::string(kMaxStatementBytes, ' '),
    };
    for (const auto& bytes : cases) {
        EXPECT_FALSE(ParseReleaseStatement(bytes)) << bytes.substr(0, 200);
    }
}

TEST(ReleaseStatementTest, NameInUrlIsTheLastPartOfThePath) {
    EXPECT_EQ(NameInUrl("https://h/a/b/V-2.zip"), "V-2.zip");
    EXPECT_EQ(NameInUrl("https://h/a/V-2.zip?x=/y#z"), "V-2.zip");
    EXPECT_EQ(NameInUrl("plain"), "plain");
    EXPECT_EQ(HexOf(std::string("\x00\x7f\xff", 3)), "007fff");
}

}  // namespace
}  // namespace renovix
