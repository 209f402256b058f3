// Region map pictures: JPEG decoded by libjpeg into a 24-bit image.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "core/image.h"

namespace core {

// A picture that cannot be decoded; the text is the decoder's own report, or says
// that the picture is too large to show.
class JpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// No map is anywhere near this; a header that claims more is refused before any
// memory is taken for the pixels.
inline constexpr int kMaxJpegSide = 8192;

Image decodeJpeg(std::string_view bytes);
// Reads the whole file first; a file that cannot be opened gives FileOpenError.
Image loadJpegFile(const std::string& fileName);

}  // namespace core
