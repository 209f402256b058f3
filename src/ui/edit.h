// One-line text field.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/control.h"

namespace ui {

class Edit : public Control {
 public:
  // An ANSI field keeps the bytes other programs write into it untouched.
  void create(Control* parent, int left, int top, int width, int height, bool ansi = false);

  // Windows-1251. A text set here reaches the screen once the event is over;
  // reading gives it at once.
  std::string text() const;
  // Setting the text it already holds is no change and runs nothing.
  void setText(const std::string& text);
  // The text as the operator typed it, every character kept: for the file names the
  // operator gives, which go to the system as they are.
  std::wstring wideText() const;
  void setWideText(const std::wstring& text);
  // Always a change, even on an empty field.
  void clear();

  // Runs synchronously, inside its own error boundary, on every change: typed, set
  // here, or written by another program.
  std::function<void()> OnChange;

  // For a field that is never shown, only written and read: it keeps its text
  // itself, and every text written into it is a change. The system's edit would
  // repaint it, unseen, at every write.
  void setKeepsOwnText(bool on) { keepsOwnText_ = on; }

 protected:
  bool onCommand(WORD code) override;
  void applyScreenWork() override;
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string windowText() const;
  void write(const std::string& text);
  void changed();
  int writing_ = 0;
  std::optional<std::string> heldText_;
  bool keepsOwnText_ = false;
  std::string ownText_;  // the text of a field that keeps it itself
};

}  // namespace ui
