#include "core/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "core/text_file.h"

#include <jpeglib.h>  // after <cstdio>: it needs FILE and size_t

namespace core {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it
// jumps back into decodeJpeg with the decoder's message kept here. Only C frames of
// libjpeg lie between, so no destructor is skipped.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf back;
  char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->back, 1);
}

// Warnings (a truncated picture, corrupt data) do not stop the decoder: it fills the
// rest of the picture and the operator still sees what arrived.
void ignoreMessage(j_common_ptr, int) {}

}  // namespace

Image decodeJpeg(std::string_view bytes) {
  // Everything the error path touches is made before setjmp and not changed after
  // it, as longjmp requires; the image itself lives behind the pointer.
  jpeg_decompress_struct info{};
  ErrorManager err{};
  auto image = std::make_unique<Image>();
  bool tooLarge = false;
  info.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = errorExit;
  err.pub.emit_message = ignoreMessage;
  if (setjmp(err.back)) {
    jpeg_destroy_decompress(&info);
    throw JpegError(err.message);
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (info.image_width > unsigned(kMaxJpegSide) || info.image_height > unsigned(kMaxJpegSide)) {
    tooLarge = true;
    std::snprintf(err.message, sizeof err.message, "The picture is %u x %u pixels; pictures above %d x %d are not shown.",
                  info.image_width, info.image_height, kMaxJpegSide, kMaxJpegSide);
  }
  if (!tooLarge) {
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    image->setSize(int(info.output_width), int(info.output_height));
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = image->row(int(info.output_scanline));
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
  }
  jpeg_destroy_decompress(&info);
  if (tooLarge) throw JpegError(err.message);
  return std::move(*image);
}

Image loadJpegFile(const std::string& fileName) {
  const FileBytes bytes = readFileBytes(fileName);
  return decodeJpeg(bytes.view());
}

}  // namespace core
