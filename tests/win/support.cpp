#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace testing_support {
namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static int counter = 0;
  const fs::path dir = fs::temp_directory_path() / ("rudoz-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                                                    std::to_string(++counter));
  fs::create_directories(dir);
  path_ = dir.string();
  previous_ = fs::current_path().string();
  fs::current_path(dir);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::remove_all(path_, ec);
}

void ScratchDir::write(const std::string& name, const std::string& bytes) const {
  std::ofstream(fs::path(path_) / name, std::ios::binary) << bytes;
}

void ScratchDir::writeLines(const std::string& name, const std::vector<std::string>& lines) const {
  std::string bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  write(name, bytes);
}

std::vector<std::string> ScratchDir::readLines(const std::string& name) const {
  std::ifstream in(fs::path(path_) / name, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void ScratchDir::remove(const std::string& name) const { fs::remove(fs::path(path_) / name); }

void ScratchDir::copySample(const std::string& name) const {
  fs::copy_file(fs::path(RUDOZ_SAMPLE_DIR) / name, fs::path(path_) / name, fs::copy_options::overwrite_existing);
}

MessageRecorder::MessageRecorder() {
  ui::setMessageBoxHook([this](const std::string& text, const std::string& caption, unsigned) {
    messages_.push_back({text, caption});
    return IDOK;
  });
}

MessageRecorder::~MessageRecorder() { ui::setMessageBoxHook(nullptr); }

void removeSettingsFile(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

void pump() { ui::app().processMessages(); }

namespace {

// The window the marker of settle() is posted to; it belongs to the tests' thread.
constexpr UINT kMarker = WM_APP + 0x5E7;
bool markerBack = false;

LRESULT CALLBACK markerProc(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
  if (m == kMarker) {
    markerBack = true;
    return 0;
  }
  return DefWindowProcW(w, m, wParam, lParam);
}

HWND markerWindow() {
  static const HWND window = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &markerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TestSettleMarker";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }();
  return window;
}

}  // namespace

void settle(unsigned timeoutMs) {
  markerBack = false;
  PostMessageW(markerWindow(), kMarker, 0, 0);
  const bool done = waitUntil(
      [] {
        MSG m;
        // A flood's changes wait for their windows' pace, which comes as a timer.
        return markerBack && !PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE) && !ui::app().pacedWorkWaiting();
      },
      timeoutMs);
  if (!done) ADD_FAILURE() << "the program was still busy after " << timeoutMs << " ms";
}

void drawNow(ui::Form& form) {
  form.applyHeld();
  RedrawWindow(form.handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool waitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    pump();
    if (condition()) return true;
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs) return false;
    // Until a message arrives; what other threads and programs do is looked at
    // again after a short while.
    MsgWaitForMultipleObjectsEx(0, nullptr, std::min<DWORD>(timeoutMs - spent, 20), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void writeBmp(const std::string& path, int width, int height, const std::vector<unsigned char>& bottomUpRows) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = DWORD(stride * height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(bottomUpRows.data()), std::streamsize(bottomUpRows.size()));
}

std::string outputDir(const std::string& subfolder) {
  const char* out = std::getenv("RUDOZ_TEST_OUTPUT");
  const fs::path dir = (out ? fs::path(out) : fs::current_path()) / subfolder;
  fs::create_directories(dir);
  return dir.string();
}

COLORREF ScreenImage::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  const int stride = (width * 3 + 3) & ~3;
  const unsigned char* p = &rows[std::size_t((height - 1 - y) * stride + x * 3)];
  return RGB(p[2], p[1], p[0]);
}

ScreenImage captureScreen(const RECT& r) {
  ScreenImage image;
  image.width = r.right - r.left;
  image.height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = image.height;  // bottom-up, as a BMP file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, image.width, image.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const int stride = (image.width * 3 + 3) & ~3;
  image.rows.assign(static_cast<unsigned char*>(bits), static_cast<unsigned char*>(bits) + stride * image.height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return image;
}

ScreenImage captureClient(HWND window, RECT r) {
  UpdateWindow(window);
  settle();
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return captureScreen(r);
}

ScreenImage captureClient(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return captureClient(window, r);
}

std::string snapshot(HWND window, const std::string& name) {
  UpdateWindow(window);
  settle();
  RECT r{};
  GetWindowRect(window, &r);
  const ScreenImage image = captureScreen(r);
  const std::string path = (fs::path(outputDir()) / (name + ".bmp")).string();
  writeBmp(path, image.width, image.height, image.rows);
  return path;
}

COLORREF screenPixel(HWND window, int clientX, int clientY) {
  UpdateWindow(window);
  settle();
  POINT pt{clientX, clientY};
  ClientToScreen(window, &pt);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, pt.x, pt.y);
  ReleaseDC(nullptr, screen);
  return c;
}

}  // namespace testing_support
