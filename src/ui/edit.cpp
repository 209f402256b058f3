#include "ui/edit.h"

#include "ui/application.h"
#include "ui/text.h"

namespace ui {

void Edit::create(Control* parent, int left, int top, int width, int height, bool ansi) {
  createSystem(parent, L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, left, top, width, height,
               ansi);
}

std::string Edit::text() const {
  if (!handle()) return {};
  if (isAnsi()) {
    std::string bytes(std::size_t(GetWindowTextLengthA(handle())) + 1, '\0');
    bytes.resize(std::size_t(GetWindowTextA(handle(), bytes.data(), int(bytes.size()))));
    return bytes;
  }
  std::wstring text(std::size_t(GetWindowTextLengthW(handle())) + 1, L'\0');
  text.resize(std::size_t(GetWindowTextW(handle(), text.data(), int(text.size()))));
  return narrow(text);
}

void Edit::write(const std::string& text) {
  // The system's own change notification for our write is replaced by changed(),
  // so that a change runs its handler exactly once, whatever the system sends.
  ++writing_;
  if (isAnsi())
    SetWindowTextA(handle(), text.c_str());
  else
    SetWindowTextW(handle(), widen(text).c_str());
  --writing_;
}

void Edit::setText(const std::string& text) {
  if (!handle() || text == this->text()) return;
  write(text);
  changed();
}

void Edit::clear() {
  if (!handle()) return;
  // An empty field is not written again (that would redraw it), but clearing is
  // still a change.
  if (GetWindowTextLengthW(handle()) > 0) write({});
  changed();
}

bool Edit::onCommand(WORD code) {
  if (code != EN_CHANGE) return false;
  if (!writing_) changed();
  return true;
}

void Edit::changed() {
  if (OnChange) app().guard([this] { OnChange(); });
}

}  // namespace ui
