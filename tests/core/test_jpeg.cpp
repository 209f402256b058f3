#include "core/jpeg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <tuple>
#include <vector>

#include "core/text_file.h"

#include <jpeglib.h>  // after <cstdio>: it needs FILE and size_t

namespace {

const std::string kMaps = std::string(RUDOZ_SAMPLE_DIR) + "/map/";

bool near(core::Color got, int r, int g, int b) {
  return std::abs(int(got & 0xFF) - r) < 12 && std::abs(int((got >> 8) & 0xFF) - g) < 12 &&
         std::abs(int((got >> 16) & 0xFF) - b) < 12;
}

// A picture of one colour made by libjpeg itself. `samples` are the values of one
// pixel in `space` (RGB, or CMYK as Adobe writes it: 255 is no ink); `scans` > 0 asks
// for a progressive picture whose first scan holds the DC values of all components
// and each further scan one AC coefficient of one component, as many as fit.
std::string encodedPicture(int width, int height, J_COLOR_SPACE space, std::vector<JSAMPLE> samples,
                           J_COLOR_SPACE stored, bool adobeMarker = true, int scans = 0) {
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = int(samples.size());
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, stored);
  info.write_Adobe_marker = adobeMarker;
  std::vector<jpeg_scan_info> script;
  if (scans > 0) {
    jpeg_scan_info dc{};
    dc.comps_in_scan = info.num_components;
    for (int c = 0; c < info.num_components; ++c) dc.component_index[c] = c;
    script.push_back(dc);
    for (int k = 1; k <= 63 && int(script.size()) < scans; ++k)
      for (int c = 0; c < info.num_components && int(script.size()) < scans; ++c) {
        jpeg_scan_info ac{};
        ac.comps_in_scan = 1;
        ac.component_index[0] = c;
        ac.Ss = ac.Se = k;
        script.push_back(ac);
      }
    info.scan_info = script.data();
    info.num_scans = int(script.size());
  }
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), samples.begin(), samples.end());
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(out), size);
  std::free(out);
  return bytes;
}

std::string rgbPicture(int width, int height, int scans = 0) {
  return encodedPicture(width, height, JCS_RGB, {0x40, 0x60, 0xa0}, JCS_YCbCr, false, scans);
}

TEST(Jpeg, DecodesIntoBlueGreenRedRows) {
  // The sample map of MO: land #d8e8c8 around a region #4060a0.
  const core::Image image = core::loadJpegFile(kMaps + "3d.jpg");
  EXPECT_EQ(image.width(), 600);
  EXPECT_EQ(image.height(), 400);
  EXPECT_TRUE(near(image.pixel(5, 5), 0xd8, 0xe8, 0xc8)) << std::hex << image.pixel(5, 5);
  EXPECT_TRUE(near(image.pixel(300, 200), 0x40, 0x60, 0xa0)) << std::hex << image.pixel(300, 200);
}

TEST(Jpeg, BrokenForeignOrAbsurdPicturesAreRefusedWithAReason) {
  const std::string good(core::readFileBytes(kMaps + "0u.jpg").view());
  const struct {
    const char* name;
    std::string bytes;
    const char* report;
  } cases[] = {
      {"an error page", "<html><body>404 Not Found</body></html>", "Not a JPEG file"},
      {"nothing", "", "mpty input"},
      {"only the start of the header", good.substr(0, 20), "JPEG"},
      // Its frame header claims 60000 x 60000 pixels: refused before any pixel memory.
      {"absurd size", std::string(core::readFileBytes(kMaps + "huge.jpg").view()), "60000 x 60000"},
      // Far more than the map window shows on any screen.
      {"wider than the limit", rgbPicture(4097, 8), "4097 x 8"},
      // Each scan costs a pass over the whole picture: a few hundred bytes of scans
      // could hold the program for minutes.
      {"too many scans", rgbPicture(64, 64, 101), "more than 100 scans"},
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

TEST(Jpeg, ProgressivePictureOfUsualScansAndSideAtTheLimit) {
  for (const auto& [width, height, scans] : {std::tuple{64, 48, 100}, std::tuple{4096, 16, 10}}) {
    SCOPED_TRACE(scans);
    const core::Image image = core::decodeJpeg(rgbPicture(width, height, scans));
    EXPECT_EQ(image.width(), width);
    EXPECT_TRUE(near(image.pixel(width - 1, height - 1), 0x40, 0x60, 0xa0)) << std::hex << image.pixel(1, 1);
  }
}

TEST(Jpeg, PrintersColoursAreShownInRgb) {
  // Red in CMYK: no cyan, full magenta and yellow, no black.
  const struct {
    const char* name;
    J_COLOR_SPACE stored;
    bool adobe;  // Adobe's pictures store every value inverted
    std::vector<JSAMPLE> samples;
  } cases[] = {
      {"CMYK", JCS_CMYK, true, {255, 0, 0, 255}},
      {"YCCK", JCS_YCCK, true, {255, 0, 0, 255}},
      {"CMYK without Adobe's marker", JCS_CMYK, false, {0, 255, 255, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const core::Image image = core::decodeJpeg(encodedPicture(16, 8, JCS_CMYK, c.samples, c.stored, c.adobe));
    ASSERT_EQ(image.width(), 16);
    EXPECT_TRUE(near(image.pixel(9, 5), 255, 0, 0)) << std::hex << image.pixel(9, 5);
  }
}

TEST(Jpeg, FileIsDecodedAsItsBytes) {
  // Bytes that a text reader would take for UTF-8 and convert; the decoder must see
  // them as the file holds them.
  const std::string name = testing::TempDir() + "bom.jpg";
  std::ofstream(name, std::ios::binary) << "\xEF\xBB\xBF" << rgbPicture(8, 8);
  try {
    core::loadJpegFile(name);
    ADD_FAILURE() << "decoded";
  } catch (const core::JpegError& e) {
    EXPECT_NE(std::string(e.what()).find("0xef 0xbb"), std::string::npos) << e.what();
  }
  std::remove(name.c_str());
}

}  // namespace
