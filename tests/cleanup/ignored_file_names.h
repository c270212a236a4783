#pragma once
// The names of data\ignore.dat's records, in file order.

#include "cleanup/ignore_list.h"

#include <string>
#include <vector>

inline std::vector<std::string> IgnoredFileNames() {
    std::vector<std::string> names;
    for (const auto& record : cleanup::ReadIgnoreRecords()) {
        names.push_back(record.name);
    }
    return names;
}
