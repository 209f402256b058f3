// What a downloaded body must look like before it may replace its file: a captive
// portal's page or an empty answer must not take the place of a reference list, nor
// anything but a JPEG picture that of the map.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

enum class ExpectedBody { Anything, TextList, Jpeg };

// The body's first bytes that the check looks at.
inline constexpr std::size_t kBodyStartChecked = 64;

// Why a whole body is refused, as a sentence; empty when it is taken. `start` is the
// body's first bytes (up to kBodyStartChecked), `size` its whole length.
std::string bodyRefusal(ExpectedBody expected, std::string_view start, std::uint64_t size);

}  // namespace core
