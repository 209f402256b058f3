#include "simulator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace l32sim {
namespace {

enum TimerId : UINT_PTR { kStartTimer = 1, kPollTimer, kExitTimer, kSpotTimer, kFrequencyTimer };

constexpr const char* kMainClass = "Logger32Sim";
constexpr const char* kCommandClass = "Logger32SimCommand";
constexpr const char* kClockClass = "Logger32SimClock";
constexpr const char* kReceiverClass = "Logger32SimReceiver";

// lParam as a 32-bit Logger32 passes it to a 64-bit program: sign-extended.
LPARAM fromLogger32(std::uint32_t value) { return static_cast<LPARAM>(static_cast<LONG>(value)); }

std::vector<std::string> readSpotScript(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the spot script \"" + fileName + "\"");
  std::vector<std::string> records;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    records.push_back(line);
  }
  return records;
}

std::string utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring wide(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), out.data(), n);
  return out;
}

Simulator* self(HWND w) { return reinterpret_cast<Simulator*>(GetWindowLongPtrA(w, GWLP_USERDATA)); }

LRESULT storeSelfOnCreate(HWND w, LPARAM lParam) {
  auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
  SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  return TRUE;
}

}  // namespace

Simulator::Simulator(const Options& options, EventLog& log) : options_(options), log_(log) {
  for (int i = 0; i < 5; ++i) {
    Port& p = ports_[i];
    p.number = i + 1;
    p.script = options_.ports[i];
    const std::string name = "Logger32 " + std::to_string(p.number);
    p.message = RegisterWindowMessageA(name.c_str());
  }
  if (!options_.spotsFile.empty()) spots_ = readSpotScript(options_.spotsFile);
}

void Simulator::registerClasses() {
  WNDCLASSA wc{};
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpfnWndProc = mainProc;
  wc.lpszClassName = kMainClass;
  RegisterClassA(&wc);
  wc.lpfnWndProc = commandProc;
  wc.lpszClassName = kCommandClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  wc.lpfnWndProc = clockProc;
  wc.lpszClassName = kClockClass;
  RegisterClassA(&wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = kReceiverClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&wc);
}

int Simulator::run() {
  registerClasses();
  std::string ports;
  for (const Port& p : ports_) ports += " port" + std::to_string(p.number) + "=" + number(p.message);
  log_.write("start", "pid=" + number(GetCurrentProcessId()) + ports);

  clock_ = CreateWindowExA(0, kClockClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), this);
  if (options_.receiver) createReceiver();
  else if (options_.startDelayMs == 0) createMainWindow();
  else SetTimer(clock_, kStartTimer, options_.startDelayMs, nullptr);
  SetTimer(clock_, kPollTimer, 50, nullptr);
  if (options_.exitAfterSeconds > 0)
    SetTimer(clock_, kExitTimer, static_cast<UINT>(options_.exitAfterSeconds * 1000), nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  log_.write("exit", "");
  return 0;
}

void Simulator::createMainWindow() {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  main_ = CreateWindowExA(0, kMainClass, options_.title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                          420, 40, 420, 200, nullptr, nullptr, inst, this);
  for (Port& p : ports_) {
    p.commandWnd = CreateWindowExA(WS_EX_CLIENTEDGE, kCommandClass, "", WS_CHILD | WS_VISIBLE, 8,
                                   8 + 30 * (p.number - 1), 390, 24, main_, nullptr, inst, this);
    SetPropA(p.commandWnd, "port", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(p.number)));
  }
  log_.write("window", "hwnd=" + number(main_) + " title=" + options_.title);
}

void Simulator::createReceiver() {
  // Nothing but a top-level window and a plain ANSI edit: what a spot send costs
  // when the receiver does no work at all.
  HINSTANCE inst = GetModuleHandleA(nullptr);
  HWND w = CreateWindowExA(0, kReceiverClass, "l32sim receiver", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 300, 320,
                           80, nullptr, nullptr, inst, nullptr);
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 8, 8, 290, 22, w,
                              nullptr, inst, nullptr);
  log_.write("receiver", "hwnd=" + number(w) + " edit=" + number(edit));
}

LRESULT CALLBACK Simulator::clockProc(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
  if (m == WM_NCCREATE) return storeSelfOnCreate(w, lParam);
  if (m == WM_TIMER && self(w)) {
    self(w)->onTimer(wParam);
    return 0;
  }
  return DefWindowProcA(w, m, wParam, lParam);
}

LRESULT CALLBACK Simulator::mainProc(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
  if (m == WM_NCCREATE) storeSelfOnCreate(w, lParam);
  if (Simulator* sim = self(w)) {
    for (Port& p : sim->ports_) {
      if (m == p.message) {
        sim->onLinkMessage(p, wParam, lParam);
        return 0;
      }
    }
  }
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, m, wParam, lParam);
}

LRESULT CALLBACK Simulator::commandProc(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
  if (m == WM_NCCREATE) storeSelfOnCreate(w, lParam);
  Simulator* sim = self(w);
  if (m == WM_SETTEXT && sim) {
    const auto port = reinterpret_cast<INT_PTR>(GetPropA(w, "port"));
    const char* text = reinterpret_cast<const char*>(lParam);
    sim->log_.write("command", "port=" + number(port), text ? text : "");
    InvalidateRect(w, nullptr, TRUE);
  } else if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    // "Port N: " and the last command text received.
    char text[512];
    const int label = std::snprintf(text, sizeof text, "Port %d: ", int(reinterpret_cast<INT_PTR>(GetPropA(w, "port"))));
    const int n = label + GetWindowTextA(w, text + label, int(sizeof text) - label);
    RECT r;
    GetClientRect(w, &r);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, n, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    EndPaint(w, &ps);
    return 0;
  } else if (m == WM_NCDESTROY) {
    RemovePropA(w, "port");
  }
  return DefWindowProcA(w, m, wParam, lParam);
}

void Simulator::onLinkMessage(Port& port, WPARAM wParam, LPARAM lParam) {
  const bool sent = InSendMessage();
  log_.write("recv", "port=" + number(port.number) + " wParam=" + number(static_cast<long long>(wParam)) +
                         " lParam=" + number(static_cast<long long>(lParam)) + (sent ? " sent" : " posted"));
  switch (wParam) {
    case 1: {  // RegisterRequest: lParam names the window that gets our replies
      port.linkWnd = reinterpret_cast<HWND>(lParam);
      log_.write("lookup", "class=TForm2 title=Form2 hwnd=" + number(FindWindowA("TForm2", "Form2")));
      const PortScript& s = port.script;
      if (s.mode == PortMode::Grant || s.mode == PortMode::AcceptOnly) {
        port.granted = true;
        post(port, port.linkWnd, 0, 1);
      } else if (s.mode == PortMode::Zero) {
        post(port, port.linkWnd, 0, 0);
      } else if (s.mode == PortMode::Reply) {
        post(port, port.linkWnd, s.replyW, fromLogger32(s.replyL));
      }
      break;
    }
    case 2: {  // SpotField
      port.spotField = reinterpret_cast<HWND>(lParam);
      char cls[64] = "";
      GetClassNameA(port.spotField, cls, sizeof cls);
      log_.write("field", "hwnd=" + number(port.spotField) + " class=" + cls +
                              " parent=" + number(GetAncestor(port.spotField, GA_PARENT)));
      if (port.granted && port.script.mode == PortMode::Grant && port.linkWnd) {
        post(port, port.linkWnd, 3, reinterpret_cast<LPARAM>(port.commandWnd));
        lastLinked_ = &port;
        if (!options_.frequencies.empty() && nextFrequency_ == 0)
          SetTimer(clock_, kFrequencyTimer, options_.frequencyEveryMs, nullptr);
      }
      break;
    }
    case 3:  // SpotFeed on or off
      port.feedOn = lParam == 1;
      if (port.feedOn && !spots_.empty()) SetTimer(clock_, kSpotTimer, options_.spotRateMs, nullptr);
      break;
    case 4:  // Disconnect
      port.granted = false;
      port.feedOn = false;
      if (lastLinked_ == &port) lastLinked_ = nullptr;
      break;
    default:
      break;
  }
}

void Simulator::onTimer(UINT_PTR id) {
  switch (id) {
    case kStartTimer:
      KillTimer(clock_, kStartTimer);
      createMainWindow();
      break;
    case kPollTimer:
      pollControlFile();
      watchTitle();
      break;
    case kExitTimer:
      KillTimer(clock_, kExitTimer);
      if (main_) DestroyWindow(main_);
      PostQuitMessage(0);
      break;
    case kSpotTimer:
      if (!options_.bareOnly && !feedingPort()) break;  // the feed waits until it is switched on again
      writeSpot(spots_[nextSpot_++]);
      if (nextSpot_ == spots_.size()) {
        nextSpot_ = 0;
        if (!options_.loopSpots) {
          KillTimer(clock_, kSpotTimer);
          spots_.clear();
          log_.write("note", "spots done");
        }
      }
      break;
    case kFrequencyTimer:
      postFrequency(options_.frequencies[nextFrequency_++]);
      if (nextFrequency_ == options_.frequencies.size()) KillTimer(clock_, kFrequencyTimer);
      break;
    default:
      break;
  }
}

void Simulator::post(Port& port, HWND to, std::uint32_t wParam, LPARAM lParam) {
  PostMessageA(to, port.message, wParam, lParam);
  log_.write("post", "port=" + number(port.number) + " to=" + number(to) + " wParam=" + number(wParam) +
                         " lParam=" + number(static_cast<long long>(lParam)));
}

void Simulator::send(Port& port, HWND to, std::uint32_t wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(to, port.message, wParam, lParam, SMTO_NORMAL, 10000, &result);
  log_.write("sendmsg", "port=" + number(port.number) + " to=" + number(to) + " wParam=" + number(wParam) +
                            " lParam=" + number(static_cast<long long>(lParam)) +
                            " result=" + number(static_cast<long long>(result)));
}

Port* Simulator::feedingPort() {
  for (Port& p : ports_)
    if (p.feedOn && p.spotField) return &p;
  return nullptr;
}

Port* Simulator::linkedPort() { return lastLinked_; }

long long Simulator::timedSetText(HWND to, const std::string& record, DWORD_PTR& result) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  // Logger32 hands the record over synchronously; the timeout only keeps a hung
  // peer from hanging the stand-in.
  SendMessageTimeoutA(to, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.c_str()), SMTO_NORMAL, 10000, &result);
  QueryPerformanceCounter(&end);
  return (end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
}

HWND Simulator::bareField() {
  if (!bare_ || !IsWindow(bare_)) {
    bare_ = nullptr;
    if (HWND w = FindWindowA(kReceiverClass, nullptr)) bare_ = FindWindowExA(w, nullptr, "EDIT", nullptr);
  }
  return bare_;
}

void Simulator::writeSpot(const std::string& record) {
  if (options_.bareOnly) {
    // The baseline: the same send, into the bare receiver only.
    HWND bare = bareField();
    if (!bare) {
      log_.write("note", "no bare receiver");
      return;
    }
    DWORD_PTR result = 0;
    const long long us = timedSetText(bare, record, result);
    log_.write("bare", "to=" + number(bare) + " us=" + number(us));
    return;
  }
  Port* port = feedingPort();
  if (!port) {
    log_.write("note", "spot dropped: no spot field with the feed on");
    return;
  }
  HWND bare = options_.bare ? bareField() : nullptr;
  if (options_.bare && !bare) log_.write("note", "no bare receiver");
  // Which of the two goes first alternates, so that neither always meets the
  // other's painting.
  const bool bareFirst = bare && (spotsWritten_++ % 2 == 1);
  DWORD_PTR bareResult = 0;
  long long bareUs = 0;
  if (bareFirst) bareUs = timedSetText(bare, record, bareResult);
  DWORD_PTR result = 0;
  const long long us = timedSetText(port->spotField, record, result);
  if (bare && !bareFirst) bareUs = timedSetText(bare, record, bareResult);
  log_.write("spot", "port=" + number(port->number) + " to=" + number(port->spotField) +
                         " result=" + number(static_cast<long long>(result)) + " us=" + number(us), record);
  if (bare) log_.write("bare", "to=" + number(bare) + " us=" + number(bareUs));
}

void Simulator::postFrequency(std::uint32_t hz) {
  Port* port = linkedPort();
  if (!port) {
    log_.write("note", "frequency dropped: no link");
    return;
  }
  post(*port, port->linkWnd, 100, fromLogger32(hz));
}

void Simulator::pollControlFile() {
  if (options_.controlFile.empty()) return;
  std::FILE* f = std::fopen(options_.controlFile.c_str(), "rb");
  if (!f) return;  // not written yet
  std::fseek(f, static_cast<long>(controlOffset_), SEEK_SET);
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    controlPending_.append(buf, n);
    controlOffset_ += static_cast<long long>(n);
  }
  std::fclose(f);
  std::size_t eol;
  while ((eol = controlPending_.find('\n')) != std::string::npos) {
    std::string line = controlPending_.substr(0, eol);
    controlPending_.erase(0, eol + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) runControlLine(line);
  }
}

void Simulator::runControlLine(const std::string& line) {
  const auto space = line.find(' ');
  const std::string verb = line.substr(0, space);
  const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
  log_.write("control", "", line);
  std::istringstream args(rest);
  if (verb == "freq") {
    unsigned long long hz = 0;
    if (args >> hz && hz <= 0xFFFFFFFFull) postFrequency(static_cast<std::uint32_t>(hz));
    else log_.write("note", "bad frequency", rest);
  } else if (verb == "spot") {
    writeSpot(rest);
  } else if (verb == "spots") {
    // A feed that starts when the one driving the stand-in says so (a benchmark,
    // once it has seen the program ready).
    try {
      spots_ = readSpotScript(rest);
    } catch (const std::exception& e) {
      spots_.clear();
      log_.write("note", e.what());
    }
    nextSpot_ = 0;
    if (spots_.empty()) log_.write("note", "no spots in", rest);
    else SetTimer(clock_, kSpotTimer, options_.spotRateMs, nullptr);
  } else if (verb == "post" || verb == "send") {
    int p = 0;
    unsigned long long w = 0;
    long long l = 0;
    if (!(args >> p >> w >> l) || p < 1 || p > 5) {
      log_.write("note", "bad link message", rest);
      return;
    }
    Port& port = ports_[p - 1];
    HWND to = port.linkWnd;
    for (const Port& other : ports_)
      if (!to) to = other.linkWnd;
    if (verb == "post") post(port, to, static_cast<std::uint32_t>(w), static_cast<LPARAM>(l));
    else send(port, to, static_cast<std::uint32_t>(w), static_cast<LPARAM>(l));
  } else if (verb == "settitle") {
    if (!watched_) {
      log_.write("note", "no watched window");
    } else if (SetWindowTextW(watched_, wide(rest).c_str())) {
      // The window had this title when the call returned; logged now, since its
      // program may write its own again before the next poll looks.
      watchedText_ = wide(rest);
      log_.write("title", "hwnd=" + number(watched_), rest);
    }
  } else if (verb == "create") {
    if (!main_) {
      KillTimer(clock_, kStartTimer);
      createMainWindow();
    }
  } else if (verb == "paint") {
    writeSpotAndWatchScreen(rest);
  } else if (verb == "fields") {
    logChildren();
  } else if (verb == "close") {
    if (watched_) PostMessageW(watched_, WM_CLOSE, 0, 0);
    else log_.write("note", "no watched window");
  } else if (verb == "hang") {
    // A hung Logger32: its thread busy, no message handled, sent ones waiting.
    unsigned long long ms = 0;
    if (args >> ms) Sleep(static_cast<DWORD>(ms));
    log_.write("note", "hang over");
  } else if (verb == "crash") {
    // As a killed Logger32: gone at once, no window of it closes itself.
    log_.write("note", "crash");
    TerminateProcess(GetCurrentProcess(), 3);
  } else if (verb == "boxes") {
    logBoxes();
  } else if (verb == "quit") {
    if (main_) DestroyWindow(main_);
    PostQuitMessage(0);
  } else {
    log_.write("note", "unknown control command", line);
  }
}

bool Simulator::barPoint(POINT& at) {
  // The verdict bar is the watched window's bottom strip: of its visible children the
  // one that reaches lowest (the widest of those). Read a little inside its right
  // end, clear of the text at its left and of its bevel.
  struct Lowest {
    HWND parent;
    RECT rect{};
    bool found = false;
  } lowest{watched_};
  EnumChildWindows(
      watched_,
      [](HWND child, LPARAM param) -> BOOL {
        auto* l = reinterpret_cast<Lowest*>(param);
        RECT r{};
        if (GetAncestor(child, GA_PARENT) != l->parent || !IsWindowVisible(child) || !GetWindowRect(child, &r))
          return TRUE;
        if (!l->found || r.bottom > l->rect.bottom ||
            (r.bottom == l->rect.bottom && r.right - r.left > l->rect.right - l->rect.left)) {
          l->rect = r;
          l->found = true;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&lowest));
  if (!lowest.found || lowest.rect.right - lowest.rect.left < 12) return false;
  at = {lowest.rect.right - 6, (lowest.rect.top + lowest.rect.bottom) / 2};
  return true;
}

void Simulator::writeSpotAndWatchScreen(const std::string& line) {
  // "RRGGBB RECORD": how long after the send's start the screen (what X shows, read
  // back through the desktop's DC) has the verdict bar in that colour, and the
  // watched window's title changed.
  const auto space = line.find(' ');
  unsigned long rgbValue = 0;
  char* end = nullptr;
  if (space != 6 || (rgbValue = std::strtoul(line.substr(0, 6).c_str(), &end, 16), *end != '\0')) {
    log_.write("note", "bad paint line", line);
    return;
  }
  const COLORREF wanted = RGB((rgbValue >> 16) & 0xFF, (rgbValue >> 8) & 0xFF, rgbValue & 0xFF);
  Port* port = feedingPort();
  if (!port || !watched_) {
    log_.write("note", "paint: no spot field or no watched window");
    return;
  }
  std::wstring before(static_cast<std::size_t>(GetWindowTextLengthW(watched_)) + 1, L'\0');
  before.resize(static_cast<std::size_t>(GetWindowTextW(watched_, before.data(), int(before.size()))));
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  const std::string record = line.substr(space + 1);
  QueryPerformanceCounter(&start);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(port->spotField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.c_str()), SMTO_NORMAL, 10000,
                      &result);
  auto since = [&] {
    QueryPerformanceCounter(&now);
    return (now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
  };
  const long long sendUs = since();
  long long paintedUs = -1, titleUs = -1;
  POINT at{-1, -1};
  HDC screen = GetDC(nullptr);
  // Bounded: 2 s, a read about every millisecond.
  for (int i = 0; i < 4000 && (paintedUs < 0 || titleUs < 0) && since() < 2000000; ++i) {
    // Messages sent to us by other programs are answered while we wait.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (paintedUs < 0 && barPoint(at) && GetPixel(screen, at.x, at.y) == wanted) paintedUs = since();
    if (titleUs < 0) {
      wchar_t text[512] = L"";
      const int n = GetWindowTextW(watched_, text, 512);
      if (std::wstring(text, static_cast<std::size_t>(n)) != before) titleUs = since();
    }
    if (paintedUs < 0 || titleUs < 0) Sleep(1);
  }
  const COLORREF last = at.x >= 0 ? GetPixel(screen, at.x, at.y) : CLR_INVALID;
  ReleaseDC(nullptr, screen);
  char seen[16];
  std::snprintf(seen, sizeof seen, "%02X%02X%02X", unsigned(GetRValue(last)), unsigned(GetGValue(last)),
                unsigned(GetBValue(last)));
  log_.write("painted", "send=" + number(sendUs) + " colour=" + line.substr(0, 6) + " us=" + number(paintedUs) +
                            " title=" + number(titleUs) + " x=" + number(at.x) + " y=" + number(at.y) +
                            " seen=" + seen);
}

void Simulator::logChildren() {
  if (!watched_) {
    log_.write("note", "no watched window");
    return;
  }
  EnumChildWindows(
      watched_,
      [](HWND child, LPARAM self) -> BOOL {
        auto* sim = reinterpret_cast<Simulator*>(self);
        char cls[64] = "";
        GetClassNameA(child, cls, sizeof cls);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, GetAncestor(child, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
        // Another program's control answers WM_GETTEXT only when asked directly.
        wchar_t text[512] = L"";
        DWORD_PTR n = 0;
        SendMessageTimeoutW(child, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &n);
        sim->log_.write("child",
                        "hwnd=" + number(child) + " class=" + cls + " x=" + number(r.left) + " y=" + number(r.top) +
                            " visible=" + number(IsWindowVisible(child) ? 1 : 0),
                        utf8(std::wstring(text, n < 512 ? n : 511)));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
  log_.write("listed", "");
}

void Simulator::watchTitle() {
  if (options_.watchClass.empty()) return;
  HWND w = FindWindowW(wide(options_.watchClass).c_str(), nullptr);
  std::wstring text;
  if (w) {
    text.resize(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1);
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), int(text.size()))));
  }
  if (watchedSeen_ && w == watched_ && text == watchedText_) return;
  watchedSeen_ = true;
  watched_ = w;
  watchedText_ = text;
  if (w) log_.write("title", "hwnd=" + number(w), utf8(text));
  else log_.write("title", "gone");
}

void Simulator::logBoxes() {
  // Message boxes of every program on the desktop: visible dialogs of the system's
  // dialog class, ours excepted.
  struct Count {
    DWORD self;
    long long boxes = 0;
  } count{GetCurrentProcessId()};
  EnumWindows(
      [](HWND w, LPARAM param) -> BOOL {
        auto* c = reinterpret_cast<Count*>(param);
        char cls[16] = "";
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != c->self && IsWindowVisible(w) && GetClassNameA(w, cls, sizeof cls) && std::string(cls) == "#32770")
          ++c->boxes;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  log_.write("boxes", "count=" + number(count.boxes));
}

}  // namespace l32sim
