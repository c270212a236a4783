#include "controls/text_comparer.h"

#include <mbstring.h>
#include <wchar.h>

namespace controls {

int TextComparerCI::Compare(const SortContext& first, const SortContext& second) const {
#ifdef UNICODE
    return ::_wcsicmp(first.text.c_str(), second.text.c_str());
#else
    return ::_mbsicmp(reinterpret_cast<const unsigned char*>(first.text.c_str()),
                      reinterpret_cast<const unsigned char*>(second.text.c_str()));
#endif
}

}  // namespace controls
