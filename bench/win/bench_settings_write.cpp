// What writing the settings costs when qjSetup.ini is large: a file of 50 MB (a
// section of another program's beside ours) written back as the closing does.
//
//   scripts/wine-run --prefix build/windows/wineprefix build/windows/bench/win/bench_settings_write.exe
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/win.h"

int main() {
  ui::installPlatformHooks();
  ui::initializeCom();
  const std::string path = TVip::SettingsPath();
  {
    std::ofstream out(path, std::ios::binary);
    out << "[RD]\r\nMyCall=R3ABC\r\n[Other]\r\n";
    const std::string line = "SomeKeyOfAnotherProgram=" + std::string(80, 'x') + "\r\n";
    for (std::size_t written = 0; written < (50u << 20); written += line.size()) out << line;
  }
  ui::setMessageBoxHook([](const std::string& text, const std::string&, unsigned) {
    std::fprintf(stderr, "message box: %s\n", text.c_str());
    return IDOK;
  });
  // Each window is the program's global from its creation on, as at start-up.
  auto form1 = std::make_unique<TForm1>();
  auto form2 = std::make_unique<TForm2>();
  auto vip = std::make_unique<TVip>();
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  vip->WriteParams();
  QueryPerformanceCounter(&b);
  std::printf("WriteParams with a 50 MB qjSetup.ini: %.2f s\n", double(b.QuadPart - a.QuadPart) / double(f.QuadPart));
  vip.reset();
  form2.reset();
  form1.reset();
  DeleteFileA(path.c_str());
  return 0;
}
