#pragma once
// The release statement: the small text the maker signs for each release (beside the version
// answer, as "release-statement" with its signature "release-statement.sig"). It names the
// product, the version and, for each file to download, its name (the last part of its
// address), its destination, whether it is an archive and its SHA-512 digest; an archive's
// entries are covered by the archive's digest. The answer and the list file are not signed:
// what gets installed is what the statement lists. Window-free: it works on the bytes.
//
//   Velbrook release statement
//   product<TAB>Velbrook
//   version<TAB>2.1.0.0
//   file<TAB>Velbrook-2.1.0.0-update.zip<TAB>Velbrook-2.1.0.0-update.zip<TAB>1<TAB><128 hex>
//
// Lines end in LF (CR LF is read too); nothing else may appear.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace renovix {

inline constexpr char kStatementFirstLine[] = "Velbrook release statement";
// A statement names a handful of files; anything far longer is not one.
inline constexpr size_t kMaxStatementBytes = 64u << 10;
// What the download job keeps the statement as in the temporary folder, beside the update list,
// with its signature as this name and ".sig"; the install step checks both again.
inline constexpr wchar_t kStatementTempName[] = L"updatetmp.statement";
// The product a statement must name.
inline constexpr char kStatementProduct[] = "Velbrook";

struct StatementFile {
    std::string name;         // the last part of the download's address
    std::string destination;  // relative to the program folder
    bool isArchive = false;
    std::string digest;  // SHA-512 of the download, 128 lower-case hex digits
};

struct ReleaseStatement {
    std::string product;
    std::string version;
    std::vector<StatementFile> files;  // at least one, names unique

    // The entry of a download's name, or nothing.
    const StatementFile* FileNamed(std::string_view name) const;
};

// The whole statement, or nothing when any line is malformed, unknown or repeated, a name
// repeats, or product, version or files are missing.
std::optional<ReleaseStatement> ParseReleaseStatement(std::string_view bytes);

// The last part of an address (after its last '/', before any '?' or '#').
std::string_view NameInUrl(std::string_view url);

// Bytes as lower-case hex digits.
std::string HexOf(std::string_view bytes);

}  // namespace renovix
