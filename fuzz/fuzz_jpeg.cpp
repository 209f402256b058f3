// The map decoder on arbitrary bytes: a picture or a JpegError, never a crash, a
// leak on the error path, or a picture above the size limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const core::Image image = core::decodeJpeg(std::string_view(reinterpret_cast<const char*>(data), size));
    if (image.width() > core::kMaxJpegSide || image.height() > core::kMaxJpegSide) std::abort();
  } catch (const core::JpegError&) {
  }
  return 0;
}
