#pragma once
// How a sortable list compares two rows in its sorted column.

#include "controls/text.h"

namespace controls {

// One row as the sort sees it.
struct SortContext {
    int index = -1;
    tstring text;  // the row's text in the sorted column
    LPARAM data = 0;
};

class BaseTextComparer {
public:
    virtual ~BaseTextComparer() = default;
    // Negative, zero or positive as for strcmp.
    virtual int Compare(const SortContext& first, const SortContext& second) const = 0;
};

// Case-insensitive comparison in the multibyte code page (UTF-16 in the wide build).
// Used through Singleton<TextComparerCI>::Instance().
class TextComparerCI : public BaseTextComparer {
public:
    int Compare(const SortContext& first, const SortContext& second) const override;
};

}  // namespace controls
