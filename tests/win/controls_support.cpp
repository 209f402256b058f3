#include "controls_support.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "ui/application.h"
#include "ui/dib_surface.h"

namespace test {

TestForm::TestForm() {
  ui::FormParams p;
  p.className = "TControlsTestForm";
  p.caption = "Styled controls";
  p.left = 40;
  p.top = 40;
  p.width = 500;
  p.height = 300;
  create(p);
  bringToFront();
  pump();
}

TestForm& form() {
  static TestForm* shared = new TestForm;  // lives until the program ends
  return *shared;
}

void setUpSpotListPanel(TRbPanel& panel, ui::Control* parent, int left, int top, int width, int height) {
  panel.beginLoading();
  panel.create(parent, left, top, width, height);
  panel.setColor(14933983);
  ui::Font font = panel.font();
  font.color = 13500416;
  panel.setFont(font);
  panel.setCornerWidth(10);
  panel.setBorderWidth(2);
  panel.setBorderColor(core::clGray);
  panel.setOuterColor(core::clBtnFace);
  panel.setAntialiased(true);
  panel.setGradient(false);
  panel.setDefaultFrom(core::clWhite);
  panel.setDefaultTo(14933983);
  panel.setGradientType(gtVertical);
  panel.setTextShadow(true);
  panel.setTextShadowColor(core::clWhite);
  panel.setCaptionPosition(cpTopLeft);
  panel.endLoading();
}

core::Image render(ui::Control& control) {
  ui::DibSurface surface(control.clientWidth(), control.clientHeight());
  SendMessageW(control.handle(), WM_PRINTCLIENT, WPARAM(surface.dc()), PRF_CLIENT);
  return surface.pixels();  // a copy that owns its pixels
}

std::string saveBmp(const core::Image& image, const std::string& fileName) {
  const std::filesystem::path dir = RUDOZ_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(dir);
  const std::filesystem::path path = dir / fileName;
  const std::uint32_t stride = std::uint32_t(core::Image::alignedStride(image.width()));
  const std::uint32_t pixelBytes = stride * std::uint32_t(image.height());
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + pixelBytes;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = image.width();
  info.biHeight = image.height();  // bottom-up, as most viewers expect
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = pixelBytes;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<char> row(stride, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    std::copy_n(reinterpret_cast<const char*>(image.row(y)), image.width() * 3, row.begin());
    out.write(row.data(), std::streamsize(row.size()));
  }
  if (!out) throw std::runtime_error("Cannot write " + path.string());
  return path.string();
}

void pump() {
  for (int i = 0; i < 3; ++i) {
    ui::app().processMessages();
    Sleep(5);
  }
}

core::Color resolved(core::Color c) { return ui::systemColors().resolve(c); }

}  // namespace test
