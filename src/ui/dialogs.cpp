#include "ui/dialogs.h"

#include <vector>

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

namespace {

// Keys the operator typed before a box came up, for instance during a download that
// ends in one: the box must not take them (Enter would close it unread). They are
// taken out of the queue before it opens and reach their fields once it is gone,
// each with the keyboard state it was typed in, so that Shift and Alt count as they
// did.
class TypedAhead {
 public:
  TypedAhead() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      keys_.push_back({msg, {}});
      GetKeyboardState(keys_.back().state);
    }
  }
  ~TypedAhead() {
    if (keys_.empty()) return;
    BYTE now[256];
    GetKeyboardState(now);
    for (Key& key : keys_) {
      if (!IsWindow(key.msg.hwnd)) continue;
      SetKeyboardState(key.state);
      app().dispatch(key.msg);
      // The characters the key made, before the next key.
      MSG ch;
      while (PeekMessageW(&ch, key.msg.hwnd, WM_CHAR, WM_DEADCHAR, PM_REMOVE) ||
             PeekMessageW(&ch, key.msg.hwnd, WM_SYSCHAR, WM_SYSDEADCHAR, PM_REMOVE))
        app().dispatch(ch);
    }
    SetKeyboardState(now);
  }
  TypedAhead(const TypedAhead&) = delete;
  TypedAhead& operator=(const TypedAhead&) = delete;

 private:
  struct Key {
    MSG msg;
    BYTE state[256];
  };
  std::vector<Key> keys_;
};

}  // namespace

int messageBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (hook()) return hook()(text, caption, flags);
  const TypedAhead typedAhead;
  const ModalScope modal;
  return MessageBoxW(GetActiveWindow(), widen(text).c_str(), widen(caption).c_str(), flags | MB_TASKMODAL);
}

void showMessage(const std::string& text) { messageBox(text, app().title(), MB_OK); }

}  // namespace ui
