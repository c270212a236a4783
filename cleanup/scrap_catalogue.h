#pragma once
// The catalogue of known unwanted startup programs, compiled in and never changed.

#include <array>
#include <cstddef>

namespace cleanup {

inline constexpr std::size_t kScrapCatalogueSize = 520;
inline constexpr unsigned kScrapCatalogueCodePage = 1252;

// Whole entry names in Windows-1252, in catalogue order; no two differ only in letter case.
extern const std::array<const char*, kScrapCatalogueSize> ScrapCatalogue;

}  // namespace cleanup
