#include "core/jpeg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// A JPEG made here with libjpeg's encoder: left half red, right half blue.
std::string encodeHalves(int width, int height) {
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(std::size_t(width) * 3);
  for (int x = 0; x < width; ++x) {
    const bool left = x < width / 2;
    row[x * 3] = left ? 255 : 0;
    row[x * 3 + 2] = left ? 0 : 255;
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<char*>(out), size);
  std::free(out);
  return bytes;
}

bool near(core::Color got, int r, int g, int b) {
  return std::abs(int(got & 0xFF) - r) < 12 && std::abs(int((got >> 8) & 0xFF) - g) < 12 &&
         std::abs(int((got >> 16) & 0xFF) - b) < 12;
}

TEST(Jpeg, DecodesIntoBlueGreenRedRows) {
  const core::Image image = core::decodeJpeg(encodeHalves(600, 400));
  EXPECT_EQ(image.width(), 600);
  EXPECT_EQ(image.height(), 400);
  EXPECT_TRUE(near(image.pixel(10, 10), 255, 0, 0)) << std::hex << image.pixel(10, 10);
  EXPECT_TRUE(near(image.pixel(590, 390), 0, 0, 255)) << std::hex << image.pixel(590, 390);
}

TEST(Jpeg, BrokenOrForeignBytesGiveTheDecodersReport) {
  const std::string good = encodeHalves(64, 48);
  const struct {
    const char* name;
    std::string bytes;
    const char* report;
  } cases[] = {
      {"an error page", "<html><body>404 Not Found</body></html>", "Not a JPEG file"},
      {"nothing", "", "mpty input"},
      {"only the start of the header", good.substr(0, 20), "JPEG"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      core::decodeJpeg(c.bytes);
      ADD_FAILURE() << "decoded";
    } catch (const core::JpegError& e) {
      EXPECT_NE(std::string(e.what()).find(c.report), std::string::npos) << e.what();
    }
  }
}

TEST(Jpeg, AbsurdSizeIsRefusedBeforeDecoding) {
  std::string bytes = encodeHalves(64, 48);
  // The frame header (SOF0 or SOF2) holds height and width as big-endian words.
  std::size_t sof = 2;
  while (sof + 9 < bytes.size() && !(bytes[sof] == '\xFF' && (bytes[sof + 1] == '\xC0' || bytes[sof + 1] == '\xC2')))
    ++sof;
  ASSERT_LT(sof + 9, bytes.size());
  for (std::size_t at : {sof + 5, sof + 7}) {
    bytes[at] = char(60000 >> 8);
    bytes[at + 1] = char(60000 & 0xFF);
  }
  try {
    core::decodeJpeg(bytes);
    ADD_FAILURE() << "decoded";
  } catch (const core::JpegError& e) {
    EXPECT_NE(std::string(e.what()).find("60000 x 60000"), std::string::npos) << e.what();
  }
}

}  // namespace
