// The alert sound: a wave file, or the system's exclamation sound when no file is
// named or the file cannot be played. It never stops the program with a message: a
// spot feed goes on meanwhile.
#pragma once

#include <functional>
#include <string>

namespace ui {

class AlertSound {
 public:
  AlertSound();
  // Plays `file` without waiting for it to end.
  void play(const std::wstring& file) noexcept;

  // The system's two players; tests count calls in their place, with no audio
  // device. playFile answers false when the system refuses the file.
  std::function<bool(const std::wstring& path)> playFile;
  std::function<void()> playExclamation;
};

}  // namespace ui
