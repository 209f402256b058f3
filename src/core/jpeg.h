// Region map pictures: JPEG decoded by libjpeg into a 24-bit image.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "core/image.h"

namespace core {

// A picture that cannot be decoded; the text is the decoder's own report, or says
// that the picture is too large or has too many scans to show.
class JpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The map window shows a picture whole, at its own size: no screen is wider. A
// header that claims more is refused before any memory is taken for the pixels.
inline constexpr int kMaxJpegSide = 4096;
// A progressive picture is read whole once per scan; the usual ones have about ten.
inline constexpr int kMaxJpegScans = 100;

Image decodeJpeg(std::string_view bytes);
// Reads the whole file first, byte for byte; a file that cannot be opened gives
// FileOpenError.
Image loadJpegFile(const std::string& fileName);

}  // namespace core
