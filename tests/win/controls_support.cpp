#include "controls_support.h"

#include <filesystem>
#include <vector>

#include "support.h"
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
  testing_support::settle();
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
  panel.setGradientType(core::gtVertical);
  panel.setTextShadow(true);
  panel.setTextShadowColor(core::clWhite);
  panel.setCaptionPosition(core::cpTopLeft);
  panel.endLoading();
}

core::Image render(ui::Control& control) {
  ui::DibSurface surface(control.clientWidth(), control.clientHeight());
  SendMessageW(control.handle(), WM_PRINTCLIENT, WPARAM(surface.dc()), PRF_CLIENT);
  return surface.pixels();  // a copy that owns its pixels
}

std::string saveBmp(const core::Image& image, const std::string& fileName) {
  const std::size_t stride = std::size_t(core::Image::alignedStride(image.width()));
  std::vector<unsigned char> rows(stride * std::size_t(image.height()), 0);
  for (int y = 0; y < image.height(); ++y)
    std::copy_n(image.row(y), image.width() * 3, rows.begin() + std::ptrdiff_t(stride * std::size_t(image.height() - 1 - y)));
  const std::string path = (std::filesystem::path(testing_support::outputDir("controls")) / fileName).string();
  testing_support::writeBmp(path, image.width(), image.height(), rows);
  return path;
}

core::Color resolved(core::Color c) { return ui::systemColors().resolve(c); }

}  // namespace test
