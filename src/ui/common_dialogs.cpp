#include "ui/common_dialogs.h"

#include "ui/application.h"

#include <commdlg.h>

#include <algorithm>

#include "ui/text.h"

namespace ui {
namespace {

FontDialogHook& fontHook() {
  static FontDialogHook h;
  return h;
}
ColorDialogHook& colorHook() {
  static ColorDialogHook h;
  return h;
}

}  // namespace

void setFontDialogHook(FontDialogHook hook) { fontHook() = std::move(hook); }
void setColorDialogHook(ColorDialogHook hook) { colorHook() = std::move(hook); }

bool FontDialog::execute(HWND owner) {
  if (fontHook()) {
    Font choice = font;
    if (!fontHook()(choice)) return false;
    font = choice;
    return true;
  }
  LOGFONTW lf{};
  lf.lfHeight = -font.height;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic;
  lf.lfUnderline = font.underline;
  lf.lfStrikeOut = font.strikeOut;
  lf.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = widen(font.name);
  std::copy_n(face.c_str(), std::min<std::size_t>(face.size() + 1, LF_FACESIZE - 1), lf.lfFaceName);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = owner;
  cf.lpLogFont = &lf;
  cf.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_EFFECTS;
  cf.rgbColors = colorRef(font.color);
  const ModalScope modal;
  if (!ChooseFontW(&cf)) return false;
  font.name = narrow(lf.lfFaceName);
  font.height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
  font.bold = lf.lfWeight >= FW_BOLD;
  font.italic = lf.lfItalic != 0;
  font.underline = lf.lfUnderline != 0;
  font.strikeOut = lf.lfStrikeOut != 0;
  font.color = cf.rgbColors & 0xFFFFFF;
  return true;
}

bool ColorDialog::execute(HWND owner) {
  if (colorHook()) {
    core::Color choice = color;
    if (!colorHook()(choice)) return false;
    color = choice;
    return true;
  }
  static COLORREF custom[16] = {};
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner;
  cc.rgbResult = colorRef(color);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  const ModalScope modal;
  if (!ChooseColorW(&cc)) return false;
  color = cc.rgbResult & 0xFFFFFF;
  return true;
}

}  // namespace ui
