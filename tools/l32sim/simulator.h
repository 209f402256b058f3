// Logger32's side of the link: its main window, the five port messages, the command
// windows and the scripted answers, spot feed and frequency reports.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "event_log.h"
#include "options.h"

namespace l32sim {

struct Port {
  int number = 0;
  UINT message = 0;          // registered for "Logger32 N"
  PortScript script;
  HWND linkWnd = nullptr;    // named in the last RegisterRequest
  HWND spotField = nullptr;  // named in the last SpotField
  HWND commandWnd = nullptr; // ours: takes this port's text commands
  bool granted = false;
  bool feedOn = false;
};

class Simulator {
 public:
  Simulator(const Options& options, EventLog& log);
  int run();

 private:
  static LRESULT CALLBACK mainProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK commandProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK clockProc(HWND, UINT, WPARAM, LPARAM);

  void registerClasses();
  void createMainWindow();
  void onLinkMessage(Port& port, WPARAM wParam, LPARAM lParam);
  void onTimer(UINT_PTR id);

  void post(Port& port, HWND to, std::uint32_t wParam, LPARAM lParam);
  void send(Port& port, HWND to, std::uint32_t wParam, LPARAM lParam);
  void writeSpot(const std::string& record);
  void writeSpotAndWatchScreen(const std::string& line);
  bool barPoint(POINT& at);
  long long timedSetText(HWND to, const std::string& record, DWORD_PTR& result);
  HWND bareField();
  void createReceiver();
  void postFrequency(std::uint32_t hz);
  Port* feedingPort();
  Port* linkedPort();

  void pollControlFile();
  void runControlLine(const std::string& line);
  void watchTitle();
  void logChildren();
  void logBoxes();

  Options options_;
  EventLog& log_;
  std::array<Port, 5> ports_;
  std::vector<std::string> spots_;
  std::size_t nextSpot_ = 0;
  std::size_t nextFrequency_ = 0;
  Port* lastLinked_ = nullptr;  // the port that got CommandWindow last
  HWND clock_ = nullptr;        // message-only window that owns the timers
  HWND main_ = nullptr;
  long long controlOffset_ = 0;
  std::string controlPending_;
  HWND watched_ = nullptr;
  std::wstring watchedText_;
  bool watchedSeen_ = false;
  HWND bare_ = nullptr;  // the bare receiver's edit (--bare)
  unsigned spotsWritten_ = 0;
};

}  // namespace l32sim
