#include "core/jpeg.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/text_file.h"

#include <jpeglib.h>  // after <cstdio>: it needs FILE and size_t

namespace core {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it
// jumps back into decodeSteps with the decoder's message kept here. Only C frames of
// libjpeg lie between, so no destructor is skipped.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf back;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->back, 1);
}

// Warnings (a truncated picture, corrupt data) do not stop the decoder: it fills the
// rest of the picture and the operator still sees what arrived.
void ignoreMessage(j_common_ptr, int) {}

// Called between the steps of reading the input: a progressive picture is read whole
// before its first row comes out, one pass over it per scan.
void watchScans(j_common_ptr common) {
  auto* info = reinterpret_cast<j_decompress_ptr>(common);
  if (info->input_scan_number <= kMaxJpegScans) return;
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  std::snprintf(err->message, sizeof err->message, "The picture has more than %d scans; it is not shown.",
                kMaxJpegScans);
  std::longjmp(err->back, 1);
}

// The decoder and its memory, released on every way out, an exception included.
struct Decoder {
  jpeg_decompress_struct info{};
  ErrorManager err{};
  jpeg_progress_mgr progress{};
  bool created = false;

  Decoder() = default;
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
  ~Decoder() {
    if (created) jpeg_destroy_decompress(&info);
  }
};

std::uint8_t scaled(unsigned a, unsigned b) { return std::uint8_t((a * b + 127) / 255); }

// Printers' colours in a row of C, M, Y, K values to blue, green, red. Adobe's
// programs store every value inverted (255 is no ink).
void cmykToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    const unsigned c = inverted ? cmyk[0] : 255u - cmyk[0], m = inverted ? cmyk[1] : 255u - cmyk[1],
                   y = inverted ? cmyk[2] : 255u - cmyk[2], k = inverted ? cmyk[3] : 255u - cmyk[3];
    bgr[0] = scaled(y, k);
    bgr[1] = scaled(m, k);
    bgr[2] = scaled(c, k);
  }
}

// Every libjpeg call lives here, under setjmp; its locals are plain values, so the
// jump back skips no destructor. False when libjpeg gave up (the report is in
// d.err.message); the side limit throws.
bool decodeSteps(Decoder& d, std::string_view bytes, Image& image, std::vector<JSAMPLE>& cmykRow) {
  if (setjmp(d.err.back)) return false;
  jpeg_create_decompress(&d.info);
  d.created = true;
  d.info.progress = &d.progress;
  jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&d.info, TRUE);
  if (d.info.image_width > unsigned(kMaxJpegSide) || d.info.image_height > unsigned(kMaxJpegSide)) {
    std::snprintf(d.err.message, sizeof d.err.message,
                  "The picture is %u x %u pixels; pictures above %d x %d are not shown.", d.info.image_width,
                  d.info.image_height, kMaxJpegSide, kMaxJpegSide);
    throw JpegError(d.err.message);
  }
  // The decoder gives printers' colours only as CMYK; they become RGB here.
  const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
  d.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&d.info);
  image.setSize(int(d.info.output_width), int(d.info.output_height));
  if (cmyk) cmykRow.resize(std::size_t(d.info.output_width) * 4);
  while (d.info.output_scanline < d.info.output_height) {
    const int y = int(d.info.output_scanline);
    JSAMPROW row = cmyk ? cmykRow.data() : image.row(y);
    jpeg_read_scanlines(&d.info, &row, 1);
    if (cmyk) cmykToBgr(cmykRow.data(), image.row(y), image.width(), d.info.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&d.info);
  return true;
}

}  // namespace

Image decodeJpeg(std::string_view bytes) {
  Decoder d;
  d.info.err = jpeg_std_error(&d.err.pub);
  d.err.pub.error_exit = errorExit;
  d.err.pub.emit_message = ignoreMessage;
  d.progress.progress_monitor = watchScans;
  Image image;
  std::vector<JSAMPLE> cmykRow;
  if (!decodeSteps(d, bytes, image, cmykRow)) throw JpegError(d.err.message);
  return image;
}

Image loadJpegFile(const std::string& fileName) {
  // A picture is bytes, not text: read as the file holds them.
  const FileBytes bytes = readRawFileBytes(fileName);
  return decodeJpeg(bytes.view());
}

}  // namespace core
