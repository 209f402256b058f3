// Shared by the styled-control tests: a visible test window, the spot list window's
// panel and colour settings, rendering a control through WM_PRINTCLIENT, and saving
// what it drew as a 24-bit BMP file.
#pragma once

#include <string>

#include "controls/RbButton.h"
#include "controls/RbCheckBox.h"
#include "controls/RbPanel.h"
#include "core/image.h"
#include "ui/form.h"

namespace test {

// A plain top-level window, shown, for the controls to sit on; one serves every
// test of a program.
class TestForm : public ui::Form {
 public:
  TestForm();
};
TestForm& form();

// As the spot list window sets up its panels: flat, antialiased, grey frame.
void setUpSpotListPanel(TRbPanel& panel, ui::Control* parent, int left, int top, int width, int height);

// What the control paints, read back through WM_PRINTCLIENT.
core::Image render(ui::Control& control);

// Writes a 24-bit BMP under test-output/controls; returns its path.
std::string saveBmp(const core::Image& image, const std::string& fileName);

// The colour the system gives a system colour.
core::Color resolved(core::Color c);

}  // namespace test
