// The application: message loop, message hooks, key preview and the error boundary
// every handler runs in.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/win.h"

namespace ui {

class Form;

// What an error that escapes a handler does at its boundary.
enum class Boundary {
  ShowError,  // a message box titled with the application title, then go on
  ShowLater,  // the same box, once the message being handled is done (painting)
  Silent,     // swallowed
};

// The one way the toolkit names a message of its own: registered by name, so that no
// number is taken twice.
UINT privateMessage(const wchar_t* name);

// When the message being handled was made (the key pressed, the button gone down,
// the message posted), on GetTickCount64's clock: GetMessageTime's 32 bits, unwrapped.
ULONGLONG messageTickCount();

class Application {
 public:
  using MessageHook = std::function<void(const MSG&)>;

  void setTitle(const std::string& title);
  const std::string& title() const { return title_; }

  // Shows the main form and handles messages until it closes.
  void run(Form& mainForm);
  // Handles every message waiting in the queue, through the hooks, and returns.
  void processMessages();
  // Handles one message taken from the queue as the loop does: the hooks, the key
  // preview, then its window.
  void dispatch(MSG& msg);
  bool terminated() const { return terminated_; }
  void terminate();

  // Sees every message taken from the queue before it is dispatched; it cannot
  // consume it. Returns an id for removeMessageHook.
  int addMessageHook(MessageHook hook);
  void removeMessageHook(int id);

  // Runs whenever the loop of run() finds the queue empty, before it waits: the
  // place for work that follows what the user did, such as noticing which control
  // the mouse is over. Returns an id for removeIdleHandler.
  int addIdleHandler(std::function<void()> handler);
  void removeIdleHandler(int id);
  // Runs the idle handlers once (tests call it where the loop would).
  void idle();
  // True while the program's own loop runs the idle handlers: there a handler may
  // put off what it can do a little later, since the queue empties some hundred
  // times a second under a feed of spots.
  bool pacedIdle() const { return pacedIdle_; }
  // How many mouse messages the program's windows have had.
  unsigned mouseMessages() const { return mouseMessages_; }

  // Runs a handler inside its own error boundary: an exception that escapes it ends
  // that handler only.
  template <class F>
  void guard(F&& handler, Boundary boundary = Boundary::ShowError) noexcept {
    try {
      std::forward<F>(handler)();
    } catch (const std::exception& e) {
      failed(e.what(), boundary);
    } catch (...) {
      failed("Unknown error", boundary);
    }
  }
  // Shows an error in a box titled with the application title; while such a box is
  // open, further errors are counted and not shown (see unshownErrors).
  void showError(const std::string& text) noexcept;
  // Errors raised while an error box was open.
  std::size_t unshownErrors() const { return unshownErrors_; }
  // The error box for a fault met while painting: a box opened from inside painting
  // would paint over what is half painted and run a message loop in the middle of
  // it, so it opens once the paint is over.
  void showErrorLater(const std::string& text);
  void showLaterErrors() noexcept;  // the posted message's handler
  // A form whose held screen work waits for the end of the event: all such forms
  // are settled by one posted message, in the order they asked.
  void settleLater(Form& form);
  void settleForms();  // the posted message's handler
  // While more than zero, the changes being made are a spot's: they reach the screen
  // at their forms' pace (see Form::setDrawPace and PacedChanges).
  void pacedChangesBegin() { ++pacedDepth_; }
  void pacedChangesEnd() { --pacedDepth_; }
  // Some form holds work for its pace's time.
  bool pacedWorkWaiting() const;

  // Runs steps whose failures the operator must not hear of (closing): every error
  // boundary inside, however deep, is silent while it runs.
  template <class F>
  void silently(F&& steps) noexcept {
    ++silentDepth_;
    guard(std::forward<F>(steps), Boundary::Silent);
    --silentDepth_;
  }

  // Windows shows everything in high contrast: the program takes the system's
  // colours. Asked of the system once, and again when its look changes.
  bool highContrast();
  void systemLookChanged() { highContrast_.reset(); }

  // A dialog, a message box or a menu of the program runs its own loop: windows that
  // come up meanwhile stay behind it.
  bool modalOpen() const { return modalDepth_ > 0; }
  void modalBegins() { ++modalDepth_; }
  void modalEnds() { --modalDepth_; }

  // The first form created is the main form: closing it ends the program.
  Form* mainForm() const { return mainForm_; }
  void formCreated(Form& form);
  void formActivated(Form& form);
  void formDestroyed(Form& form);
  Form* activeForm() const { return activeForm_; }
  // Every form that exists, in the order they were made.
  const std::vector<Form*>& forms() const { return forms_; }
  // Owner of every form. Shown with no size while the main form is visible, it is
  // the program's one taskbar button, named with the application title; the forms
  // themselves stay tool windows.
  HWND ownerWindow();
  void mainFormShown(bool shown);

 private:
  void handle(MSG& msg);
  bool preTranslate(MSG& msg);
  void failed(const char* what, Boundary boundary) noexcept;

  std::string title_ = "ruDOZ";
  bool terminated_ = false;
  bool pacedIdle_ = false;
  unsigned mouseMessages_ = 0;
  Form* mainForm_ = nullptr;
  std::vector<Form*> forms_;
  Form* activeForm_ = nullptr;
  HWND owner_ = nullptr;
  bool errorBoxOpen_ = false;
  std::vector<std::string> laterErrors_;
  std::vector<Form*> settling_;
  std::size_t unshownErrors_ = 0;
  int silentDepth_ = 0;
  int modalDepth_ = 0;
  int pacedDepth_ = 0;
  std::optional<bool> highContrast_;
  // Handlers are shared so that one may add or remove handlers while it runs
  // without the list being copied for every message.
  template <class Fn>
  struct Handler {
    int id;
    Fn fn;
  };
  template <class Fn>
  using Handlers = std::vector<std::shared_ptr<const Handler<Fn>>>;
  template <class Fn, class... Args>
  void runAll(const Handlers<Fn>& handlers, Boundary boundary, Args&... args);
  template <class Fn>
  static void removeById(Handlers<Fn>& handlers, int id);

  Handlers<MessageHook> hooks_;
  Handlers<std::function<void()>> idleHandlers_;
  int nextHandlerId_ = 1;
};

Application& app();

// Gives the portable core the platform's ways: the system's wording of a failure,
// and files opened by their wide names. Called once, first thing in main() (and by
// the tests' own start).
void installPlatformHooks();
// COM on this thread, through which screen readers reach the windows and the speech
// speaks. Once, in main() (and by the tests' own start).
void initializeCom();

// Marks the changes a spot makes: drawn at the pace of their forms.
struct PacedChanges {
  PacedChanges() { app().pacedChangesBegin(); }
  ~PacedChanges() { app().pacedChangesEnd(); }
  PacedChanges(const PacedChanges&) = delete;
  PacedChanges& operator=(const PacedChanges&) = delete;
};

// Marks the time a modal loop runs.
struct ModalScope {
  ModalScope() { app().modalBegins(); }
  ~ModalScope() { app().modalEnds(); }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace ui
