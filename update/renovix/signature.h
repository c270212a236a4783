#pragma once
// Detached Ed25519 signatures of the downloaded update files: every file comes with its
// address followed by ".sig", 64 raw bytes, the maker's key's signature of the file's SHA-512
// digest (tools/sign-update.sh).
// The public key is built in. The check is libgcrypt's.

#include "platform/unique_any.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace renovix {

inline constexpr size_t kSignatureBytes = 64;
// What a downloaded file's signature is saved as, beside it.
inline constexpr wchar_t kSignatureSuffix[] = L".sig";

// True when signature (64 bytes) is the built-in key's signature of data's SHA-512 digest.
bool IsSignedByMaker(std::string_view data, std::string_view signature);

// SHA-512 of data as 128 lower-case hex digits, as the release statement names downloads.
std::string Sha512Hex(std::string_view data);

// The same for a file and its signature file; false when either cannot be read.
bool IsFileSignedByMaker(const std::wstring& file, const std::wstring& signatureFile);

// The whole file, or nothing when it cannot be read (or exceeds maxBytes). It is read through a
// handle that lets nobody write, delete or rename the file; held, when given, keeps that handle
// open afterwards.
bool ReadWholeFile(const std::wstring& path, std::string& bytes, size_t maxBytes,
                   platform::unique_hfile* held = nullptr);

}  // namespace renovix
