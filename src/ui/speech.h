// Spoken alerts through the system's speech (SAPI): a screen reader drops what a
// program in the background announces, and Logger32 holds the focus.
#pragma once

#include <functional>
#include <string>

namespace ui {

class Speech {
 public:
  Speech();
  ~Speech();
  Speech(const Speech&) = delete;
  Speech& operator=(const Speech&) = delete;

  // Says the text without waiting, cutting short what it was saying. Where the
  // system has no voice it stays silent, and says so once to the debugger's log.
  void say(const std::wstring& text) noexcept;

  // The system's voice; tests count calls in its place. False when nothing could be
  // said.
  std::function<bool(const std::wstring& text)> speak;

 private:
  bool systemSpeak(const std::wstring& text);
  void* voice_ = nullptr;  // the system's ISpVoice, made at the first word
  bool noVoice_ = false;
};

}  // namespace ui
