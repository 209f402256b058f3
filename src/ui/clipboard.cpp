#include "ui/clipboard.h"

#include <cstring>
#include <stdexcept>

#include "ui/text.h"

namespace ui {
namespace {

// OpenClipboard ... CloseClipboard. Another program may hold the clipboard for a
// moment: a few tries before giving up.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) {
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner);
      if (!open_) Sleep(20);
    }
  }
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool open() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

void copyToClipboard(HWND owner, const std::string& text) {
  const std::wstring wide = widen(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) throw std::runtime_error("Not enough memory for the clipboard");
  std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
  GlobalUnlock(memory);
  const OpenedClipboard clipboard(owner);
  if (!clipboard.open() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
    GlobalFree(memory);
    throw std::runtime_error("The clipboard is busy; try again");
  }
}

}  // namespace ui
