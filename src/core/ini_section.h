// Setting keys of one section of an INI file's text in place: the first line of a
// key in the section takes the new value, a key the section lacks gets a line at the
// section's end (after its last line that is not blank), and a missing section is
// added at the end of the file. Every other byte stays as it was: comments, lines
// without "=", other sections, the file's own line ends. Key and section names
// match as the system's profile functions match them: letter case (a-z) and the
// blanks around them aside.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace core {

template <class Char>
using IniKeys = std::vector<std::pair<std::basic_string<Char>, std::basic_string<Char>>>;

// For ANSI files (char) and UTF-16 ones (wchar_t).
template <class Char>
std::basic_string<Char> setIniKeys(std::basic_string_view<Char> file, std::basic_string_view<Char> section,
                                   const IniKeys<Char>& keys);

}  // namespace core
