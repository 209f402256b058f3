#include "ui/edit.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/text.h"

namespace ui {

void Edit::create(Control* parent, int left, int top, int width, int height, bool ansi) {
  createSystem(parent, L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, left, top, width, height,
               ansi);
}

std::string Edit::text() const {
  if (heldText_) return *heldText_;
  return windowText();
}

std::string Edit::windowText() const {
  if (keepsOwnText_) return ownText_;
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
  if (keepsOwnText_) {
    ownText_ = text;
    return;
  }
  heldText_ = text;
  holdScreenWork();
}

void Edit::applyScreenWork() {
  Control::applyScreenWork();
  if (!heldText_ || !handle()) return;
  const std::string text = std::move(*heldText_);
  heldText_.reset();
  if (text == windowText()) return;  // changed and changed back within the event
  // The system's own change notification for our write is replaced by changed(),
  // so that a change runs its handler exactly once, whatever the system sends.
  ++writing_;
  if (isAnsi())
    SetWindowTextA(handle(), text.c_str());
  else
    SetWindowTextW(handle(), widen(text).c_str());
  --writing_;
}

std::wstring Edit::wideText() const {
  if (heldText_ || keepsOwnText_ || !handle() || isAnsi()) return widen(text());
  std::wstring text(std::size_t(GetWindowTextLengthW(handle())) + 1, L'\0');
  text.resize(std::size_t(GetWindowTextW(handle(), text.data(), int(text.size()))));
  return text;
}

void Edit::setWideText(const std::wstring& text) {
  if (keepsOwnText_ || !handle() || isAnsi()) return setText(narrow(text));
  if (text == wideText()) return;
  // Written at once: the code page would lose what it lacks on the way through a
  // held text.
  heldText_.reset();
  ++writing_;
  SetWindowTextW(handle(), text.c_str());
  --writing_;
  changed();
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
  if (!text().empty()) write({});
  changed();
}

LRESULT Edit::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (keepsOwnText_) {
    // The field's own window gets these in single bytes when it is ANSI, in UTF-16
    // otherwise.
    switch (msg) {
      case WM_SETTEXT:
        ownText_ = !lParam ? std::string()
                   : isAnsi() ? std::string(reinterpret_cast<const char*>(lParam))
                              : narrow(reinterpret_cast<const wchar_t*>(lParam));
        changed();
        return TRUE;
      case WM_GETTEXTLENGTH:
        return LRESULT(isAnsi() ? ownText_.size() : widen(ownText_).size());
      case WM_GETTEXT:
        if (isAnsi()) return LRESULT(copyTextOut<char>(ownText_, std::size_t(wParam), reinterpret_cast<char*>(lParam)));
        return LRESULT(copyTextOut<wchar_t>(widen(ownText_), std::size_t(wParam), reinterpret_cast<wchar_t*>(lParam)));
      default:
        break;
    }
  }
  return Control::handleMessage(msg, wParam, lParam);
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
