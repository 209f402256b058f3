#include "app/RigctlRadio.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <utility>

#include "ui/application.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace rig = core::rigctl;

UINT eventsMessage() {
  static const UINT message = ui::privateMessage(L"ruDOZ.RigctlEvents");
  return message;
}

// The daemon said nothing within the time given: it is out of step from here on.
struct Silence : std::runtime_error {
  Silence() : std::runtime_error("no answer") {}
};
// The connection ended or failed; the text says how.
struct Lost : std::runtime_error {
  using std::runtime_error::runtime_error;
};

constexpr unsigned kSliceMs = 100;  // how soon the thread notices that it is to stop

}  // namespace

// One TCP connection to the daemon, with the lines it has sent and not yet been read.
class RigSocket {
 public:
  explicit RigSocket(const std::atomic<bool>& stopping) : stopping_(stopping) {
    WSADATA data{};
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~RigSocket() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    if (started_) WSACleanup();
  }
  RigSocket(const RigSocket&) = delete;
  RigSocket& operator=(const RigSocket&) = delete;

  // Connects within kAnswerMs; throws Lost saying why not.
  void open(const std::string& host, int port) {
    if (!started_) throw Lost("Winsock does not start");
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
      throw Lost("unknown host");
    std::unique_ptr<addrinfo, void (*)(addrinfo*)> addresses(found, freeaddrinfo);
    socket_ = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    if (socket_ == INVALID_SOCKET) throw Lost("no socket");
    u_long nonBlocking = 1;
    ioctlsocket(socket_, FIONBIO, &nonBlocking);
    if (connect(socket_, found->ai_addr, int(found->ai_addrlen)) != 0 && WSAGetLastError() != WSAEWOULDBLOCK)
      throw Lost("not reached");
    const auto deadline = Clock::now() + std::chrono::milliseconds(RigctlRadio::kAnswerMs);
    for (;;) {
      fd_set writable, failed;
      FD_ZERO(&writable);
      FD_ZERO(&failed);
      FD_SET(socket_, &writable);
      FD_SET(socket_, &failed);
      timeval slice{0, long(kSliceMs) * 1000};
      if (select(0, nullptr, &writable, &failed, &slice) > 0) {
        if (FD_ISSET(socket_, &failed)) throw Lost("not reached");
        break;
      }
      if (stopping_ || Clock::now() >= deadline) throw Lost("not reached");
    }
  }

  void send(const std::string& line) {
    std::size_t sent = 0;
    while (sent < line.size()) {
      const int n = ::send(socket_, line.data() + sent, int(line.size() - sent), 0);
      if (n > 0) {
        sent += std::size_t(n);
        continue;
      }
      if (WSAGetLastError() != WSAEWOULDBLOCK) throw Lost("connection lost");
      waitReadable(false, Clock::now() + std::chrono::milliseconds(RigctlRadio::kAnswerMs));
    }
  }

  // The next answer line within kAnswerMs.
  std::string line() {
    const auto deadline = Clock::now() + std::chrono::milliseconds(RigctlRadio::kAnswerMs);
    for (;;) {
      if (auto next = framer_.next()) return *next;
      waitReadable(true, deadline);
      char buffer[1024];
      const int n = recv(socket_, buffer, int(sizeof buffer), 0);
      if (n == 0) throw Lost("connection lost");
      if (n < 0) {
        if (WSAGetLastError() == WSAEWOULDBLOCK) continue;
        throw Lost("connection lost");
      }
      framer_.feed(std::string_view(buffer, std::size_t(n)));
    }
  }

  // What came unasked (lines of an answer we no longer wait for) is not an answer to
  // the next command.
  void forgetUnread() {
    framer_.clear();
    for (;;) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(socket_, &readable);
      timeval now{0, 0};
      if (select(0, &readable, nullptr, nullptr, &now) <= 0) return;
      char buffer[1024];
      if (recv(socket_, buffer, int(sizeof buffer), 0) <= 0) throw Lost("connection lost");
    }
  }

 private:
  void waitReadable(bool read, Clock::time_point deadline) {
    for (;;) {
      fd_set set;
      FD_ZERO(&set);
      FD_SET(socket_, &set);
      timeval slice{0, long(kSliceMs) * 1000};
      const int ready = read ? select(0, &set, nullptr, nullptr, &slice) : select(0, nullptr, &set, nullptr, &slice);
      if (ready > 0) return;
      if (ready < 0) throw Lost("connection lost");
      if (stopping_) throw Lost("stopped");
      if (Clock::now() >= deadline) throw Silence();
    }
  }

  const std::atomic<bool>& stopping_;
  bool started_ = false;
  SOCKET socket_ = INVALID_SOCKET;
  rig::LineFramer framer_;
};

RigctlRadio::Mailbox::Mailbox(RigctlRadio& owner) : owner_(owner) {
  create({.className = "TRigctl", .caption = "rigctld", .width = 10, .height = 10, .border = ui::BorderStyle::None});
}

LRESULT RigctlRadio::Mailbox::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == eventsMessage()) {
    owner_.TakeEvents();
    return 0;
  }
  return Form::handleMessage(msg, wParam, lParam);
}

RigctlRadio::RigctlRadio(std::string host, int port)
    : host_(std::move(host)), port_(port), mailbox_(*this), thread_([this] { Run(); }) {}

RigctlRadio::~RigctlRadio() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.clear();
  }
  wake_.notify_all();
  thread_.join();
}

void RigctlRadio::TuneToSpot(const SpotTune& spot) {
  // The district has no place in the daemon: it goes nowhere.
  try {
    const std::uint64_t hz = rig::frequencyOfText(spot.freq);
    Ask({hz, rig::spotMode(hz, spot.comment.empty() ? SpotComment(spot.call, spot.freq) : spot.comment)});
  } catch (const std::invalid_argument& e) {
    RadioStatus(texts::radioProblem(e.what()));
  }
}

void RigctlRadio::TuneWithMode(const std::string& qrg, Button button) {
  try {
    const std::uint64_t hz = rig::frequencyOfText(qrg);
    Ask({hz, button == Button::CW ? rig::Mode::CW : rig::sidebandFor(hz)});
  } catch (const std::invalid_argument& e) {
    RadioStatus(texts::radioProblem(e.what()));
  }
}

bool RigctlRadio::Busy() const {
  std::lock_guard lock(mutex_);
  return running_ || !waiting_.empty();
}

void RigctlRadio::Ask(const Tune& tune) {
  {
    std::lock_guard lock(mutex_);
    // A double click asks once.
    const std::optional<Tune>& last = !waiting_.empty() ? waiting_.back() : running_;
    if (last == tune) return;
    waiting_.push_back(tune);
  }
  wake_.notify_all();
}

void RigctlRadio::Post(Event event) {
  {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
  }
  PostMessageW(mailbox_.handle(), eventsMessage(), 0, 0);
}

void RigctlRadio::TakeEvents() {
  std::deque<Event> events;
  {
    std::lock_guard lock(mutex_);
    events.swap(events_);
  }
  for (const Event& e : events) {
    ui::app().guard([&] {
      switch (e.kind) {
        case Event::Frequency:
          if (shownHz_ != e.hz) ReportFrequency(e.hz, RadioSettings::Way::Rigctld);
          shownHz_ = e.hz;
          break;
        case Event::Connected:
          shownHz_.reset();
          RadioStatus(texts::radioConnected(Address()));
          break;
        case Event::Down:
          RadioStatus(texts::radioDown(Address(), e.text));
          break;
        case Event::NoAnswer:
          RadioStatus(texts::kNoRadioAnswer);
          break;
        case Event::Error:
          RadioStatus(texts::radioProblem(e.text));
          break;
      }
    });
  }
}

bool RigctlRadio::RestFor(unsigned ms) {
  std::unique_lock lock(mutex_);
  return wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return bool(stopping_); });
}

void RigctlRadio::Run() {
  unsigned retryMs = kFirstRetryMs;
  std::string lastDown;
  while (!Stopping()) {
    RigSocket socket(stopping_);
    try {
      socket.open(host_, port_);
      Serve(socket);
    } catch (const Silence&) {
      Post({Event::NoAnswer, {}});
      lastDown.clear();
    } catch (const Lost& e) {
      // Said once, not at every try.
      if (!Stopping() && (connected_ || lastDown != e.what())) Post({Event::Down, e.what()});
      lastDown = e.what();
    } catch (const std::exception& e) {
      Post({Event::Error, e.what()});
    }
    if (connected_) retryMs = kFirstRetryMs;
    connected_ = false;
    {
      // Nothing asked before the end goes out on the next connection.
      std::lock_guard lock(mutex_);
      waiting_.clear();
      running_.reset();
    }
    if (RestFor(retryMs)) break;
    retryMs = std::min(retryMs * 2, kLastRetryMs);
  }
}

std::string RigctlRadio::Exchange(RigSocket& socket, const std::string& command) {
  socket.forgetUnread();
  socket.send(command);
  return socket.line();
}

void RigctlRadio::Serve(RigSocket& socket) {
  // The state first, as clients do; then the protocol's VFO mode.
  socket.send(std::string(rig::kDumpState));
  rig::DumpState state;
  while (!state.take(socket.line())) {
  }
  socket.send(std::string(rig::kCheckVfo));
  std::optional<bool> vfo;
  while (!(vfo = rig::parseCheckVfo(socket.line()))) {
  }
  vfoMode_ = *vfo;
  connected_ = true;
  ++connections_;
  Post({Event::Connected, {}});
  auto nextPoll = Clock::now();
  while (!Stopping()) {
    std::optional<Tune> tune;
    {
      std::unique_lock lock(mutex_);
      wake_.wait_until(lock, nextPoll, [this] { return stopping_ || !waiting_.empty(); });
      if (stopping_) return;
      if (!waiting_.empty()) {
        tune = running_ = waiting_.front();
        waiting_.pop_front();
      }
    }
    if (tune) {
      for (const std::string& command :
           {rig::setFrequency(tune->hz, vfoMode_), rig::setMode(tune->mode, vfoMode_)}) {
        const auto reply = rig::report(Exchange(socket, command));
        if (reply && !reply->ok) {
          Post({Event::Error, reply->reason});
          break;  // a mode for a frequency the radio refused would be out of place
        }
      }
      {
        std::lock_guard lock(mutex_);
        running_.reset();
      }
      nextPoll = Clock::now();  // the panel shows the new frequency at once
      continue;
    }
    try {
      Post({Event::Frequency, {}, rig::parseFrequency(Exchange(socket, rig::getFrequency(vfoMode_)))});
    } catch (const Silence&) {
      throw;
    } catch (const Lost&) {
      throw;
    } catch (const std::runtime_error& e) {
      Post({Event::Error, e.what()});
    }
    nextPoll = Clock::now() + std::chrono::milliseconds(kPollMs);
  }
}
