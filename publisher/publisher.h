#pragma once
// Who made the program a startup entry starts: the file the command names, its signature and
// the company and description its version resource claims. Answers are kept for the life of
// the process, by path, size and last-write time, so a changed file is checked again.
// Nothing here says whether an entry is wanted: a publisher is shown, never judged.

#include "publisher/program_of_command.h"
#include "publisher/signature.h"

#include <string>

namespace publisher {

struct Publisher {
    // The file the command starts (as the command names it when it was not found).
    std::string file;
    SignatureState signature = SignatureState::NotFound;
    std::string signer;
    // What the file says about itself: no proof of anything.
    std::string company;
    std::string description;
};

// The file a startup command starts, looked up on this machine.
ProgramFile ProgramOfStartupCommand(const std::string& command);

// Safe from any thread; slow the first time for each file (the signature check).
Publisher PublisherOfCommand(const std::string& command);
// The same with the machine's answers from lookups (a FolderListingLookups for a list's fill).
Publisher PublisherOfCommand(const std::string& command, const ProgramLookups& lookups);

// "verified", "unsigned", "invalid" or "not found".
const char* SignatureName(SignatureState state);
// The details pane's words for the state.
const char* SignatureDescription(SignatureState state);

// The Publisher column: the verified signer; else the company with "(not verified)"; else
// empty text. unverified (optional) tells whether the text is the file's own claim.
std::string PublisherText(const Publisher& publisher, bool* unverified = nullptr);

}  // namespace publisher
