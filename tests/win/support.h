// Helpers for the Windows tests: a scratch working directory with reference files,
// recorded message boxes, message pumping and window snapshots.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/win.h"

namespace ui {
class Form;
}

namespace testing_support {

// A fresh directory that becomes the working directory while the object lives.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // Writes bytes exactly as given (Windows-1251, line breaks included).
  void write(const std::string& name, const std::string& bytes) const;
  // Writes lines, each followed by CR LF.
  void writeLines(const std::string& name, const std::vector<std::string>& lines) const;
  // The lines of a file, without their line ends.
  std::vector<std::string> readLines(const std::string& name) const;
  void remove(const std::string& name) const;
  // Copies a file of the sample reference data.
  void copySample(const std::string& name) const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

struct ShownMessage {
  std::string text;
  std::string caption;
};

// Records message boxes instead of showing them, while it lives.
class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  const std::vector<ShownMessage>& messages() const { return messages_; }
  void clear() { messages_.clear(); }

 private:
  std::vector<ShownMessage> messages_;
};

// Removes a settings file (or a folder standing in its place) and makes the
// system's profile functions forget what they cached of it.
void removeSettingsFile(const std::string& path);

// Handles the messages queued now.
void pump();
// Handles messages until what the program had to do in this thread is done: a
// message posted behind all that is queued has come back, and nothing more waits
// (no posted or sent message, input, painting or timer that is due). A program
// still busy after timeoutMs fails the test.
void settle(unsigned timeoutMs = 10000);
// Puts what the form holds onto the screen now and paints it, handling no other
// message: the state a press meets once the screen shows the last change.
void drawNow(ui::Form& form);
// Handles messages until the condition holds; false when it still does not after
// timeoutMs.
bool waitUntil(const std::function<bool()>& condition, unsigned timeoutMs = 10000);

// Writes a 24-bit BMP file from rows stored bottom-up, DWORD-aligned, as the file
// keeps them.
void writeBmp(const std::string& path, int width, int height, const std::vector<unsigned char>& bottomUpRows);

// The folder test pictures go to (RUDOZ_TEST_OUTPUT, else the current one), made
// if missing.
std::string outputDir(const std::string& subfolder = {});

// Pixels read from the screen: rows bottom-up and DWORD-aligned, as a BMP file
// keeps them.
struct ScreenImage {
  int width = 0, height = 0;
  std::vector<unsigned char> rows;
  // The pixel at x, y counted from the top left corner; CLR_INVALID outside.
  COLORREF pixel(int x, int y) const;
  // How many pixels of a rectangle satisfy pred.
  template <class Pred>
  int count(RECT r, Pred pred) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (const COLORREF c = pixel(x, y); c != CLR_INVALID && pred(c)) ++n;
    return n;
  }
};
// What the screen shows in a rectangle of screen coordinates.
ScreenImage captureScreen(const RECT& screenRect);
// What the screen shows of a window's client area, or of a part of it.
ScreenImage captureClient(HWND window);
ScreenImage captureClient(HWND window, RECT clientRect);

// Saves what the window shows on screen, frame included, as a 24-bit BMP under the
// test output directory; returns the file's path.
std::string snapshot(HWND window, const std::string& name);

// Reads the pixel at a point of the window's client area from the screen.
COLORREF screenPixel(HWND window, int clientX, int clientY);

}  // namespace testing_support
