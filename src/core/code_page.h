// Reference files saved as UTF-8, as today's Notepad saves them, read in the
// program's own code page, Windows-1251.
#pragma once

#include <string>
#include <string_view>

namespace core {

// A file's text is UTF-8 when it begins with the UTF-8 byte order mark, or when it
// has bytes above 127 and every one of them belongs to a well-formed UTF-8
// sequence. Windows-1251 text (Cyrillic letters alone are never such sequences) and
// plain ASCII are not.
bool isUtf8Text(std::string_view text);

// The same text in Windows-1251, byte order mark dropped; a character the code page
// lacks becomes '?'.
std::string utf8ToCp1251(std::string_view text);

}  // namespace core
