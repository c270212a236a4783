#pragma once
// The account this process runs as, in the forms the Task Scheduler names a user by.

#include <string>

namespace platform {

// The account's name ("name", no domain); empty when it can't be read.
std::string CurrentUserName();

// The account's SID as a string ("S-1-5-21-..."), from the process token; empty when it can't
// be read.
std::string CurrentUserSid();

}  // namespace platform
