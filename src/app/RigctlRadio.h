// The radio through Hamlib's rig daemon rigctld: one TCP connection on a thread of
// its own, one command at a time, each given kAnswerMs to be answered. Results come
// back to the window thread as posted messages; no window ever waits on the socket.
//
// Connecting, the daemon is asked for its state (`\dump_state`) and whether it runs
// in VFO mode (`\chk_vfo`); then the radio's frequency is read every kPollMs for the
// frequency panel. A command not answered in time leaves the daemon out of step:
// the title says the radio does not answer, what waits is dropped (nothing stale
// goes out later) and the connection starts again. A lost connection is tried again
// after growing waits.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/Radio.h"
#include "core/rigctl_protocol.h"
#include "ui/form.h"

class RigctlRadio : public Radio {
 public:
  static constexpr unsigned kAnswerMs = 2000;
  static constexpr unsigned kPollMs = 1000;
  static constexpr unsigned kFirstRetryMs = 1000, kLastRetryMs = 30000;

  RigctlRadio(std::string host, int port);
  ~RigctlRadio() override;

  void TuneToSpot(const SpotTune& spot) override;
  void TuneWithMode(const std::string& qrg, Button button) override;
  bool Busy() const override;

  // For what the title says and for tests.
  std::string Address() const { return host_ + ":" + std::to_string(port_); }
  bool Connected() const { return connected_; }
  bool VfoMode() const { return vfoMode_; }
  // How many times a connection was made.
  unsigned Connections() const { return connections_; }

  // What the thread tells the window thread.
  struct Event {
    enum Kind { Connected, Down, NoAnswer, Error, Frequency } kind;
    std::string text;
    std::uint64_t hz = 0;
  };

 private:
  struct Tune {
    std::uint64_t hz;
    core::rigctl::Mode mode;
    bool operator==(const Tune&) const = default;
  };
  void Ask(const Tune& tune);
  void Run();
  // One connection from its start to its end (a throw).
  void Serve(class RigSocket& socket);
  std::string Exchange(RigSocket& socket, const std::string& command);
  void Post(Event event);
  void TakeEvents();
  bool Stopping() const { return stopping_; }
  // Waits until `ms` passed or the radio stops; true when it stops.
  bool RestFor(unsigned ms);

  // The hidden window the thread's results are posted to.
  class Mailbox : public ui::Form {
   public:
    explicit Mailbox(RigctlRadio& owner);
   protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
   private:
    RigctlRadio& owner_;
  };

  const std::string host_;
  const int port_;
  Mailbox mailbox_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Tune> waiting_;  // guarded by mutex_
  std::optional<Tune> running_;  // the tune out; guarded by mutex_
  std::deque<Event> events_;  // guarded by mutex_
  std::atomic<bool> stopping_{false};
  std::atomic<bool> connected_{false};
  std::atomic<bool> vfoMode_{false};
  std::atomic<unsigned> connections_{0};
  std::optional<std::uint64_t> shownHz_;  // window thread
  std::thread thread_;
};
