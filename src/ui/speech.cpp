#include "ui/speech.h"

#include "ui/win.h"

#include <sapi.h>

namespace ui {
namespace {

// Written out, as the toolchain's import names are no GUIDs when linked statically.
// {96749377-3391-11D2-9EE3-00C04F797396}
const CLSID kCLSID_SpVoice = {0x96749377, 0x3391, 0x11D2, {0x9E, 0xE3, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};
// {6C44DF74-72B9-4992-A1EC-EF996E0422D4}
const IID kIID_ISpVoice = {0x6C44DF74, 0x72B9, 0x4992, {0xA1, 0xEC, 0xEF, 0x99, 0x6E, 0x04, 0x22, 0xD4}};

}  // namespace

Speech::Speech() : speak([this](const std::wstring& text) { return systemSpeak(text); }) {}

Speech::~Speech() {
  if (voice_) static_cast<ISpVoice*>(voice_)->Release();
}

bool Speech::systemSpeak(const std::wstring& text) {
  if (!voice_ &&
      FAILED(CoCreateInstance(kCLSID_SpVoice, nullptr, CLSCTX_ALL, kIID_ISpVoice, reinterpret_cast<void**>(&voice_))))
    return false;
  return SUCCEEDED(static_cast<ISpVoice*>(voice_)->Speak(text.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr));
}

void Speech::say(const std::wstring& text) noexcept {
  try {
    if (noVoice_ || !speak) return;
    if (!speak(text)) {
      noVoice_ = true;
      OutputDebugStringW(L"ruDOZ: no voice to speak alerts with; they stay silent\n");
    }
  } catch (...) {
  }
}

}  // namespace ui
