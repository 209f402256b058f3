#include "ui/sound.h"

#include <string_view>

#include "core/spot_list_options.h"
#include "ui/win.h"

#include <mmsystem.h>

namespace ui {
namespace {

// A file whose first bytes are not a wave file's is not handed to the player,
// which would stay silent.
bool isWaveFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char head[12] = {};
  DWORD got = 0;
  const bool read = ReadFile(file, head, sizeof head, &got, nullptr);
  CloseHandle(file);
  return read && core::looksLikeWave(std::string_view(head, got));
}

}  // namespace

AlertSound::AlertSound()
    : playFile([](const std::wstring& path) {
        return PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
      }),
      playExclamation([] { MessageBeep(MB_ICONEXCLAMATION); }) {}

void AlertSound::play(const std::wstring& file) noexcept {
  try {
    if (!file.empty() && isWaveFile(file) && playFile(file)) return;
    playExclamation();
  } catch (...) {
  }
}

}  // namespace ui
