// Finding a short run of bytes in a large text.
#pragma once

#include <cstddef>
#include <string_view>

namespace core {

// Position of the first occurrence of needle in hay at or after from, or npos. It
// tests sixteen positions at a time against the needle's first and last byte, so a
// callbook of megabytes is searched at nearly the speed it is read.
std::size_t findBytes(std::string_view hay, std::string_view needle, std::size_t from = 0);

// The first CR or LF in [p, end), or end.
const char* findLineBreak(const char* p, const char* end);

// The first CR or LF in [p, end) before which the double quotes since p are even
// in number (the end of a CSV record whose quoted fields may hold line breaks), or
// end; `open` tells whether the quotes before end are odd in number.
const char* findEvenQuotesLineBreak(const char* p, const char* end, bool& open);

}  // namespace core
