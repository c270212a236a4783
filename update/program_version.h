#pragma once
// The version text of a program file: its fixed file version as "%d.%d.%d.%d".

#include <string>

namespace update {

// Empty text when the file has no version resource or it cannot be read.
std::string FileVersionText(const std::string& path);

// The version text of the running program file.
std::string GetProgramVersion();

}  // namespace update
