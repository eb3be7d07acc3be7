// French alphabetical comparison of 8-bit spellings of the display code page.
//
// The engine keeps every spelling as bytes of the display code page (Windows-1252 by default).
// Alphabetical order inside a first-letter bucket is decided by a French collator working on
// the Unicode form of those bytes, so the order is the same on every machine whatever its
// locale. Two different byte strings never compare equal: when the collator sees no difference,
// the bytes decide.
#pragma once

#include <string>
#include <string_view>

namespace talmer::platform {

// <0 when a sorts before b, 0 when a and b are the same bytes, >0 otherwise.
int CompareGraphies(std::string_view a, std::string_view b);

// A key whose plain byte order (memcmp, shorter prefix first) equals the order of
// CompareGraphies; the cheap way to sort many spellings.
std::string CleDeTri(std::string_view graphie);

// Windows-1252 bytes to UTF-16 (the five unassigned codes map to the C1 control of the same value).
std::u16string Cp1252VersUtf16(std::string_view octets);

} // namespace talmer::platform
