#include "app/Unit2.h"

#include "app/Radio.h"
#include "app/SpotRoad.h"
#include "app/Unit1.h"
#include "app/VipU.h"
#include "core/color.h"
#include "core/spot.h"
#include "core/spot_record.h"
#include "ui/application.h"

TForm2* Form2 = nullptr;

namespace {

// Link codes in wParam.
constexpr WPARAM kRegisterRequest = 1;
constexpr WPARAM kSpotField = 2;
constexpr WPARAM kSpotFeed = 3;
constexpr WPARAM kDisconnect = 4;
constexpr std::int32_t kCommandWindow = 3;
constexpr std::int32_t kFrequencyReport = 100;
constexpr int kLastPort = 5;

// Logger32 handles the disconnection at once; a hung one must not keep this program
// from closing (Alt+Q means gone now).
constexpr UINT kSendTimeoutMs = 2000;

void setStatus(const std::string& text) {
  if (Form1) Form1->setCaption(text);
}

}  // namespace

TForm2::TForm2() {
  create({.className = "TForm2", .caption = "Form2", .width = 158, .height = 20, .border = ui::BorderStyle::None});
  setClientSize(158, 20);
  Edit1.create(this, 0, 0, 158, 20, /*ansi=*/true);
  Edit1.setKeepsOwnText(true);  // never shown: written by Logger32, read by the lookup
  Edit1.OnChange = [this] { Edit1Change(); };

  Timer2.create(*this, 1500, false);
  Timer2.OnTimer = [this] { Timer2Timer(); };
  Timer3.create(*this, 2000, false);
  Timer3.OnTimer = [this] { Timer3Timer(); };
  Timer4.create(*this, 10000, true);
  Timer4.OnTimer = [this] { Timer4Timer(); };
  createCommandTimers();

  // Replies posted to this window are handled by its window procedure; the hook
  // takes those Logger32 posts to another window of the program, or to none.
  hookId_ = ui::app().addMessageHook([this](const MSG& msg) {
    if (msg.hwnd && msg.hwnd == handle()) return;
    bool handled = false;
    ApplicationEvents1Message(msg, handled);
  });
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  Form2 = this;  // before the creation handler: it writes the main window's title
  ui::app().guard([this] { FormCreate(); });
}

TForm2::~TForm2() {
  ui::app().removeMessageHook(hookId_);
  if (Form2 == this) Form2 = nullptr;
}

void TForm2::StopTimers() {
  for (ui::Timer* t : {&Timer2, &Timer3, &Timer4}) t->setInterval(0);
}

void TForm2::findLogger32() {
  LinkWnd = FindWindowA("TForm2", "Form2");
  Logger32Wnd = FindWindowA(nullptr, "Logger32");
}

void TForm2::FormCreate() {
  findLogger32();
  if (!Logger32Wnd) {
    setStatus(texts::kNoLogger32);
    Timer3.setEnabled(true);
  } else {
    setStatus(texts::kLookingForCat);
    PortTry = 0;
    Timer2.setEnabled(true);
  }
}

void TForm2::Timer3Timer() {
  // While the link is up this tick only watches that Logger32 is still there.
  if (CommandWnd) {
    if (!IsWindow(Logger32Wnd)) lostLogger32();
    return;
  }
  findLogger32();
  if (!Logger32Wnd) {
    setStatus(texts::kNoLogger32);
    return;
  }
  setStatus(texts::kLookingForCat);
  PortTry = 0;
  Timer2.setEnabled(true);
  Timer3.setEnabled(false);
}

void TForm2::lostLogger32() {
  // Nothing of the old link counts any more: the next Logger32 gets the whole
  // handshake, from port 1.
  CommandWnd = nullptr;
  Logger32Wnd = nullptr;
  LinkMsg.reset();
  LastWParam = 0;
  LastLParam = 0;
  PortTry = 0;
  PortName = "Logger32 1";
  Timer2.setEnabled(false);
  setStatus(texts::kNoLogger32);
  Timer3.setEnabled(true);
}

void TForm2::Timer2Timer() {
  if (!IsWindow(Logger32Wnd)) {
    lostLogger32();
  } else if (CommandWnd) {
    setStatus(texts::connected(PortName));
    Timer2.setEnabled(false);
    Timer3.setEnabled(true);  // from now on it watches that Logger32 stays
  } else if (PortTry == kLastPort) {
    setStatus(texts::kAllPortsBusy);
    Timer2.setEnabled(false);
  } else if (LastWParam == 0 && LastLParam == 0) {
    // Silence or a (0, 0) reply: on to the next port.
    ++PortTry;
    PortName = "Logger32 " + std::to_string(PortTry);
    if (PortTry > 1) setStatus(texts::kTryingPorts);
    LinkMsg = RegisterWindowMessageA(PortName.c_str());
    postLink(kRegisterRequest, reinterpret_cast<LPARAM>(LinkWnd));
  }
  // Any other reply: the port is waited for.
}

void TForm2::ApplicationEvents1Message(const MSG& msg, bool& handled) {
  handled = false;
  if (!LinkMsg || msg.message != *LinkMsg) return;
  LastWParam = static_cast<std::int32_t>(msg.wParam);
  LastLParam = static_cast<std::uint32_t>(msg.lParam);
  if (LastWParam == 0 && LastLParam == 1) {  // Accepted
    postLink(kSpotField, reinterpret_cast<LPARAM>(Edit1.handle()));
    postLink(kSpotFeed, 1);
  }
  if (LastWParam == kFrequencyReport) ReportFrequency(LastLParam, RadioSettings::Way::Logger32);
  if (LastWParam == kCommandWindow) CommandWnd = reinterpret_cast<HWND>(msg.lParam);
}

LRESULT TForm2::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (LinkMsg && msg == *LinkMsg) {
    const MSG message{handle(), msg, wParam, lParam, 0, {}};
    bool handled = false;
    ApplicationEvents1Message(message, handled);
    return 0;
  }
  if (handleCommandMessage(msg, wParam, lParam)) return 0;
  return Form::handleMessage(msg, wParam, lParam);
}

void TForm2::Edit1Change() {
  // The record is read here, once; the main window takes the spot from there on.
  DeliverSpot(core::readSpot(Edit1.text()));
}

void TForm2::Timer4Timer() {
  if (Form1) setBounds(Form1->left(), Form1->top(), width(), height());
}

void TForm2::FormClose(ui::CloseAction& action) {
  sayGoodbye();
  if (LastWParam != 0 && LinkMsg) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(Logger32Wnd, *LinkMsg, kDisconnect, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs,
                        &result);
  }
  action = ui::CloseAction::Free;
}

void TForm2::ClxOn() { postLink(kSpotFeed, 1); }

void TForm2::ClxOf() { postLink(kSpotFeed, 0); }

void TForm2::postLink(WPARAM code, LPARAM value) const {
  if (LinkMsg) PostMessageA(Logger32Wnd, *LinkMsg, code, value);
}

void TForm2::findClx(const std::string& record, std::string& result) { core::findClx(record, result); }
void TForm2::findFreq(const std::string& record, std::string& result) { core::findFreq(record, result); }
void TForm2::findComent(const std::string& record, std::string& result) { core::findComent(record, result); }
void TForm2::findTime(const std::string& record, std::string& result) { core::findTime(record, result); }
