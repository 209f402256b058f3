#include "ui/application.h"

#include <cstdint>
#include <objbase.h>

#include <algorithm>

#include "core/file_cache.h"
#include "core/text_file.h"
#include "ui/dialogs.h"
#include "ui/file_replace.h"
#include "ui/form.h"
#include "ui/text.h"

namespace ui {
namespace {

// The system's own wording for the last error.
std::string lastErrorText() { return systemErrorText(GetLastError()); }

void activateForm() {
  Form* form = app().activeForm() ? app().activeForm() : app().mainForm();
  if (form && form->handle() && IsWindowVisible(form->handle())) SetActiveWindow(form->handle());
}

UINT showLaterMessage() {
  static const UINT message = privateMessage(L"ruDOZ.ShowErrorLater");
  return message;
}
UINT settleMessage() {
  static const UINT message = privateMessage(L"ruDOZ.SettleForms");
  return message;
}

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == showLaterMessage()) {
    app().showLaterErrors();
    return 0;
  }
  if (msg == settleMessage()) {
    app().settleForms();
    return 0;
  }
  switch (msg) {
    case WM_ACTIVATE:
      // The taskbar button activates this window: hand the activation on.
      if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd)) activateForm();
      return 0;
    case WM_SYSCOMMAND:
      // The taskbar button minimises and restores the program: its windows go and
      // come back with this one, the last active of them active again.
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          ShowOwnedPopups(hwnd, FALSE);
          DefWindowProcW(hwnd, msg, wParam, lParam);
          return 0;
        case SC_RESTORE:
          DefWindowProcW(hwnd, msg, wParam, lParam);
          ShowOwnedPopups(hwnd, TRUE);
          activateForm();
          return 0;
        default:
          break;
      }
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CLOSE:
      if (Form* main = app().mainForm()) main->close();
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

std::FILE* openWide(const std::string& name) { return _wfopen(widen(name).c_str(), L"rb"); }

bool stampOf(const std::string& name, core::FileStamp& stamp) {
  const auto found = fileStamp(widen(name));
  if (found) stamp = *found;
  return found.has_value();
}

std::uint64_t fileClock() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return (std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

}  // namespace

UINT privateMessage(const wchar_t* name) { return RegisterWindowMessageW(name); }

ULONGLONG messageTickCount() {
  const ULONGLONG now = GetTickCount64();
  // The low 32 bits of both clocks agree. A time ahead of now (another clock's
  // rounding) is now.
  const DWORD age = DWORD(now) - DWORD(GetMessageTime());
  if (age > 0x7FFFFFFFu) return now;
  return age <= now ? now - age : 0;
}

Application& app() {
  static Application instance;
  return instance;
}

void initializeCom() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

void installPlatformHooks() {
  // The platform at core's edges: the system's reason for a failure, file names
  // handed to the system as the characters they hold, and a file's size and write
  // time looked at without opening it, beside the clock they are told by.
  core::setSystemReason(&lastErrorText);
  core::setFileOpener(&openWide);
  core::setFileStamper(&stampOf);
  core::setFileClock(&fileClock);
}

bool Application::highContrast() {
  if (!highContrast_) {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    highContrast_ = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
  }
  return *highContrast_;
}

void Application::setTitle(const std::string& title) {
  title_ = title;
  if (owner_) SetWindowTextW(owner_, screenText(title_).c_str());
}

HWND Application::ownerWindow() {
  if (owner_) return owner_;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &ownerProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  wc.lpszClassName = L"TApplication";
  RegisterClassExW(&wc);
  owner_ = CreateWindowExW(0, L"TApplication", screenText(title_).c_str(),
                           WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
  return owner_;
}

void Application::mainFormShown(bool shown) {
  HWND owner = ownerWindow();
  if (shown != bool(IsWindowVisible(owner))) ShowWindow(owner, shown ? SW_SHOWNA : SW_HIDE);
}

void Application::formCreated(Form& form) {
  if (!mainForm_) mainForm_ = &form;
  forms_.push_back(&form);
}

void Application::formActivated(Form& form) {
  // Like the form's own notion of "active form": coming back from another program
  // does not count, moving between our own windows does.
  if (activeForm_ == &form) return;
  activeForm_ = &form;
  if (form.OnActivate) guard([&] { form.OnActivate(); });
}

void Application::formDestroyed(Form& form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
  settling_.erase(std::remove(settling_.begin(), settling_.end(), &form), settling_.end());
  if (mainForm_ == &form) {
    mainForm_ = nullptr;
    if (owner_) ShowWindow(owner_, SW_HIDE);
  }
  if (activeForm_ == &form) activeForm_ = nullptr;
}

template <class Fn, class... Args>
void Application::runAll(const Handlers<Fn>& handlers, Boundary boundary, Args&... args) {
  for (std::size_t i = 0; i < handlers.size(); ++i) {
    const auto handler = handlers[i];  // stays alive even if it removes itself
    guard([&] { handler->fn(args...); }, boundary);
  }
}

template <class Fn>
void Application::removeById(Handlers<Fn>& handlers, int id) {
  handlers.erase(std::remove_if(handlers.begin(), handlers.end(), [id](const auto& h) { return h->id == id; }),
                 handlers.end());
}

int Application::addMessageHook(MessageHook hook) {
  hooks_.push_back(std::make_shared<const Handler<MessageHook>>(Handler<MessageHook>{nextHandlerId_, std::move(hook)}));
  return nextHandlerId_++;
}

void Application::removeMessageHook(int id) { removeById(hooks_, id); }

int Application::addIdleHandler(std::function<void()> handler) {
  using Idle = Handler<std::function<void()>>;
  idleHandlers_.push_back(std::make_shared<const Idle>(Idle{nextHandlerId_, std::move(handler)}));
  return nextHandlerId_++;
}

void Application::removeIdleHandler(int id) { removeById(idleHandlers_, id); }

void Application::idle() { runAll(idleHandlers_, Boundary::Silent); }

void Application::terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

bool Application::preTranslate(MSG& msg) {
  runAll(hooks_, Boundary::ShowError, msg);
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    if (auto* form = dynamic_cast<Form*>(Control::fromHandle(GetAncestor(msg.hwnd, GA_ROOT))))
      return form->previewKey(msg);
  }
  return false;
}

void Application::dispatch(MSG& msg) { handle(msg); }

void Application::handle(MSG& msg) {
  if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) || msg.message == WM_NCMOUSEMOVE ||
      msg.message == WM_MOUSELEAVE)
    ++mouseMessages_;
  if (preTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Application::run(Form& mainForm) {
  terminated_ = false;
  mainForm.bringToFront();
  MSG msg;
  while (!terminated_) {
    // What waits is taken at once; only an empty queue is idle, and then waited on.
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) break;
      handle(msg);
      continue;
    }
    pacedIdle_ = true;
    idle();
    pacedIdle_ = false;
    const BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) break;
    handle(msg);
  }
  terminated_ = true;
}

void Application::processMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    handle(msg);
  }
}

void Application::showError(const std::string& text) noexcept {
  // One box at a time. Its own loop goes on running timers and the handlers of what
  // Logger32 sends, so a fault that lasts (a missing file) fails again and again
  // while the box is open. Those errors are counted, not stacked and not kept for
  // later: the open box already names the fault, every reference file is tried
  // again at its next use, and a backlog of stale boxes after OK would only stand
  // between the operator and the spots.
  if (errorBoxOpen_) {
    ++unshownErrors_;
    return;
  }
  errorBoxOpen_ = true;
  // Raised while handling a message another program sent (Logger32 writing a spot):
  // that program gets its answer now, not when the operator has read the box.
  if (InSendMessage()) ReplyMessage(0);
  try {
    messageBox(text, title_, MB_OK | MB_ICONERROR);
  } catch (...) {
  }
  errorBoxOpen_ = false;
}

void Application::failed(const char* what, Boundary boundary) noexcept {
  if (boundary == Boundary::Silent || silentDepth_ > 0) return;
  const std::string text = what ? what : "Unknown error";
  if (boundary == Boundary::ShowLater) {
    try {
      showErrorLater(text);
    } catch (...) {
    }
    return;
  }
  showError(text);
}

void Application::showErrorLater(const std::string& text) {
  const bool posted = !laterErrors_.empty();
  laterErrors_.push_back(text);
  // A queue too full to take the message: shown now rather than lost.
  if (!posted && !PostMessageW(ownerWindow(), showLaterMessage(), 0, 0)) showLaterErrors();
}

void Application::settleLater(Form& form) {
  if (std::find(settling_.begin(), settling_.end(), &form) != settling_.end()) return;
  if (pacedDepth_ > 0 && form.holdsForPace()) return;
  settling_.push_back(&form);
  // One message for every form the event changed. A queue too full to take it:
  // settled now rather than left waiting.
  if (settling_.size() == 1 && !PostMessageW(ownerWindow(), settleMessage(), 0, 0)) settleForms();
}

void Application::settleForms() {
  // A form settled may hold more work, and so ask again: that goes with the next
  // message.
  std::vector<Form*> forms;
  forms.swap(settling_);
  for (Form* form : forms)
    if (std::find(forms_.begin(), forms_.end(), form) != forms_.end()) guard([form] { form->applyHeld(); });
}

bool Application::pacedWorkWaiting() const {
  return std::any_of(forms_.begin(), forms_.end(), [](const Form* f) { return f->pacedWorkWaiting(); });
}

void Application::showLaterErrors() noexcept {
  std::vector<std::string> errors;
  errors.swap(laterErrors_);
  for (const std::string& e : errors) showError(e);
}

}  // namespace ui
