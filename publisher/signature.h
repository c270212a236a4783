#pragma once
// The Authenticode signature of a file: embedded, or through the system's catalogues.
// Revocation is not checked, so nothing goes to the network.

#include <windows.h>

#include <string>

namespace publisher {

enum class SignatureState { Verified, Unsigned, Invalid, NotFound };

struct SignatureCheck {
    SignatureState state = SignatureState::NotFound;
    // The signing certificate's name, for a verified signature only.
    std::string signer;
};

// Checks the file open as file (read access), whose path is path; the file is read through
// the handle only, so what is checked is what was opened.
SignatureCheck CheckSignature(HANDLE file, const std::wstring& path);

}  // namespace publisher
