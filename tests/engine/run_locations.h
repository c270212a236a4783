#pragma once
// The locations the listing gives the Run keys' entries, for the engine's tests.

#include <string>

namespace testing_support {

inline const std::string kRunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string kWowRunPath =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string kHkcuRun = "HKCU\\" + kRunPath;
inline const std::string kHklmRun = "HKLM\\" + kRunPath;
inline const std::string kHklmRunOnce = kHklmRun + "Once";
inline const std::string kWowRun = "HKLM\\" + kWowRunPath;
inline const std::string kWowRunOnce = kWowRun + "Once";

}  // namespace testing_support
