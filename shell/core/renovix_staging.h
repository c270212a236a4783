#pragma once
// A new Renovix arrives as "Renovix_s.dll" beside the program (the install step cannot replace
// the library that is loaded while it runs); the next start puts it in place before anything
// loads the library.

#include <string>

namespace shell {

// When folder (with its trailing backslash) holds "Renovix_s.dll": deletes "Renovix.dll" and
// renames the staged file to it. True when the staged file was put in place; failures are
// otherwise silent, the program starts with what it has.
bool PutStagedRenovixInPlace(const std::string& folder);

}  // namespace shell
