#include "ui/dialogs.h"

#include "ui/application.h"
#include "ui/text.h"
#include "ui/win.h"

namespace ui {
namespace {
MessageBoxHook& hook() {
  static MessageBoxHook h;
  return h;
}
}  // namespace

void setMessageBoxHook(MessageBoxHook h) { hook() = std::move(h); }

int messageBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (hook()) return hook()(text, caption, flags);
  const ModalScope modal;
  return MessageBoxW(GetActiveWindow(), widen(text).c_str(), widen(caption).c_str(), flags | MB_TASKMODAL);
}

void showMessage(const std::string& text) { messageBox(text, app().title(), MB_OK); }

}  // namespace ui
