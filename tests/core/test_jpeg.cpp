#include "core/jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/text_file.h"

namespace {

const std::string kMaps = std::string(RUDOZ_SAMPLE_DIR) + "/map/";

bool near(core::Color got, int r, int g, int b) {
  return std::abs(int(got & 0xFF) - r) < 12 && std::abs(int((got >> 8) & 0xFF) - g) < 12 &&
         std::abs(int((got >> 16) & 0xFF) - b) < 12;
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

}  // namespace
