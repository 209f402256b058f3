#include "app/ClusterIntake.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "app/SpotRoad.h"
#include "app/Unit1.h"
#include "core/cluster_session.h"
#include "ui/application.h"

TCluster* Cluster = nullptr;

namespace {

constexpr UINT kEventsWaiting = WM_APP + 33;
constexpr DWORD kConnectMs = 15000;
constexpr DWORD kTickMs = 500;  // the longest the thread sleeps before it looks at its clocks
// A burst of lines (a contest, a skimmer) is let in for this long after its first
// bytes and read in one go: one wake, one read and one post for all of it, where a
// wake per line costs the program's round trips a line.
constexpr core::Millis kGatherMs = 20;

core::Millis now() { return core::Millis(GetTickCount64()); }

}  // namespace

// What the thread and the window share: the events for the window, the stop.
struct TCluster::Shared {
  struct Event {
    std::optional<std::string> title;
    bool ended = false;  // refused or bumped: no reconnect
    core::Spot spot;
  };
  std::mutex mutex;
  std::deque<Event> events;
  HWND window = nullptr;
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Shared() { CloseHandle(stop); }

  void post(Event event) {
    bool first = false;
    {
      const std::lock_guard lock(mutex);
      first = events.empty();
      events.push_back(std::move(event));
    }
    // One message for however many events wait: a flood of spots does not flood
    // the window's queue.
    if (first) PostMessageW(window, kEventsWaiting, 0, 0);
  }
  void title(std::string text, bool ended = false) { post({std::move(text), ended, {}}); }
  bool stopped() const { return WaitForSingleObject(stop, 0) == WAIT_OBJECT_0; }
  // Sleeps up to `ms`; true when the stop came first.
  bool sleep(core::Millis ms) const { return WaitForSingleObject(stop, DWORD(std::max<core::Millis>(ms, 0))) == WAIT_OBJECT_0; }
};

namespace {

struct Job {
  std::string host, port;
  core::ClusterLogin login;
  core::Millis silence, firstWait;
};

// One connected socket, non-blocking, with its event.
class Socket {
 public:
  Socket() : event_(WSACreateEvent()) {}
  ~Socket() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    WSACloseEvent(event_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  // Empty when connected, else why not.
  std::string open(const Job& job, HANDLE stop) {
    ADDRINFOA hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOA* found = nullptr;
    if (getaddrinfo(job.host.c_str(), job.port.c_str(), &hints, &found) != 0 || !found)
      return "cannot find " + job.host;
    std::string why = "no connection to " + job.host + ":" + job.port;
    for (const ADDRINFOA* a = found; a && socket_ == INVALID_SOCKET; a = a->ai_next) {
      socket_ = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
      if (socket_ == INVALID_SOCKET) continue;
      WSAEventSelect(socket_, event_, FD_CONNECT | FD_READ | FD_CLOSE);
      bool connected = connect(socket_, a->ai_addr, int(a->ai_addrlen)) == 0;
      if (!connected && WSAGetLastError() == WSAEWOULDBLOCK && wait(stop, kConnectMs)) {
        WSANETWORKEVENTS happened{};
        WSAEnumNetworkEvents(socket_, event_, &happened);
        connected = (happened.lNetworkEvents & FD_CONNECT) && happened.iErrorCode[FD_CONNECT_BIT] == 0;
        // Data may have come with the connection: the next wait must see it.
        if (happened.lNetworkEvents & (FD_READ | FD_CLOSE)) WSASetEvent(event_);
      }
      if (!connected) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
      }
    }
    freeaddrinfo(found);
    return socket_ == INVALID_SOCKET ? why : std::string();
  }

  // Waits for the socket up to `ms`; false at the stop or the time-out.
  bool wait(HANDLE stop, DWORD ms) {
    const HANDLE handles[] = {stop, event_};
    return WaitForMultipleObjects(2, handles, FALSE, ms) == WAIT_OBJECT_0 + 1;
  }

  // What has come: bytes appended; false when the node closed or the connection broke.
  bool read(std::string& bytes) {
    WSANETWORKEVENTS happened{};
    WSAEnumNetworkEvents(socket_, event_, &happened);
    char buffer[4096];
    for (int i = 0; i < 64; ++i) {
      const int n = recv(socket_, buffer, sizeof buffer, 0);
      if (n > 0) {
        bytes.append(buffer, std::size_t(n));
        continue;
      }
      if (n == 0) return false;
      return WSAGetLastError() == WSAEWOULDBLOCK;
    }
    WSASetEvent(event_);  // more waits: read on at the next turn
    return true;
  }

  bool send(std::string_view text, HANDLE stop) {
    for (int tries = 0; !text.empty() && tries < 50; ++tries) {
      const int n = ::send(socket_, text.data(), int(text.size()), 0);
      if (n > 0) {
        text.remove_prefix(std::size_t(n));
      } else if (WSAGetLastError() != WSAEWOULDBLOCK || WaitForSingleObject(stop, 100) == WAIT_OBJECT_0) {
        return false;
      }
    }
    return text.empty();
  }

 private:
  SOCKET socket_ = INVALID_SOCKET;
  WSAEVENT event_;
};

struct Outcome {
  bool ended = false;  // by the node's word
  core::Millis upFor = 0;
};

// One session, from the connection to its end.
Outcome session(TCluster::Shared& shared, const Job& job) {
  Outcome outcome;
  Socket socket;
  if (!socket.open(job, shared.stop).empty()) return outcome;
  core::ClusterSession session(job.login);
  const core::Millis keepalive = std::max<core::Millis>(job.silence / 4, 1000);
  core::Millis heard = now(), spoke = now(), connectedAt = 0;
  const auto send = [&](std::string_view text) {
    spoke = now();
    return socket.send(text, shared.stop);
  };
  for (;;) {
    const bool ready = socket.wait(shared.stop, kTickMs);
    if (!ready && shared.stopped()) break;
    if (ready) {
      if (shared.sleep(kGatherMs)) break;
      std::string bytes;
      const bool open = socket.read(bytes);
      if (!bytes.empty()) {
        heard = now();
        core::ClusterSession::Output out;
        session.received(bytes, out);
        for (core::Spot& spot : out.spots) shared.post({std::nullopt, false, std::move(spot)});
        if (out.state == core::ClusterState::Connected) {
          connectedAt = now();
          shared.title(core::clusterConnectedTitle(session.node().empty() ? job.host : session.node()));
        }
        if (session.final()) {
          shared.title(core::clusterRefusedTitle(session.reason()), true);
          outcome.ended = true;
          break;
        }
        bool sent = true;
        for (const std::string& text : out.send) sent = sent && send(text);
        if (!sent) break;
      }
      if (!open) break;
    }
    // No data for so long: the connection is dead though nobody closed it.
    if (now() - heard >= job.silence) break;
    // Idle both ways: an empty line, which a node answers with its prompt.
    if (session.state() == core::ClusterState::Connected && now() - std::max(heard, spoke) >= keepalive &&
        !send(core::ClusterSession::kKeepalive))
      break;
  }
  if (connectedAt) outcome.upFor = now() - connectedAt;
  return outcome;
}

void run(std::shared_ptr<TCluster::Shared> shared, Job job) {
  static const bool socketsReady = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!socketsReady) return shared->title(core::clusterRefusedTitle("the system's sockets cannot be used"), true);
  int failures = 0;
  // Bounded: at the longest wait, years of reconnects.
  for (int attempt = 0; attempt < 1000000 && !shared->stopped(); ++attempt) {
    shared->title(core::clusterConnectingTitle(job.host));
    const Outcome outcome = session(*shared, job);
    if (outcome.ended || shared->stopped()) return;
    failures = core::failuresAfter(failures, outcome.upFor, job.firstWait);
    const core::Millis wait = core::reconnectWait(failures++, job.firstWait);
    shared->title(core::clusterLostTitle(wait));
    if (shared->sleep(wait)) return;
  }
}

}  // namespace

TCluster::TCluster() {
  create({.className = "TCluster", .caption = "Cluster", .width = 10, .height = 10, .border = ui::BorderStyle::None});
  Cluster = this;
}

TCluster::~TCluster() {
  // The program ends: what was read goes with it.
  if (shared_) SetEvent(shared_->stop);
  if (thread_.joinable()) thread_.join();
  if (Cluster == this) Cluster = nullptr;
}

void TCluster::Start(const ClusterSettings& settings, const std::string& myCall) {
  const std::string call = settings.call.empty() ? myCall : settings.call;
  if (thread_.joinable() && settings == running_ && call == call_ && !ended_) return;
  Stop();
  running_ = settings;
  call_ = call;
  ended_ = false;
  if (settings.host.empty()) return;
  shared_ = std::make_shared<Shared>();
  shared_->window = handle();
  Job job{settings.host,
          std::to_string(settings.port),
          {call, settings.password, core::clusterCommands(settings.commands), settings.backlog},
          core::Millis(std::max(settings.silenceSeconds, 1)) * 1000,
          core::Millis(std::max(settings.retrySeconds, 1)) * 1000};
  thread_ = std::thread(run, shared_, std::move(job));
}

void TCluster::Stop() {
  if (!thread_.joinable()) return;
  SetEvent(shared_->stop);
  thread_.join();
  // Spots already read still count; the titles of a connection gone do not.
  takeEvents(/*titles=*/false);
  shared_.reset();
}

void TCluster::takeEvents(bool titles) {
  const std::shared_ptr<Shared> shared = shared_;  // a spot's lookup may restart the connection
  if (!shared) return;
  // One at a time, taken before it is handled: a lookup may open a box whose loop
  // brings this message again.
  for (int i = 0; i < 100000; ++i) {
    Shared::Event event;
    {
      const std::lock_guard lock(shared->mutex);
      if (shared->events.empty()) return;
      event = std::move(shared->events.front());
      shared->events.pop_front();
    }
    if (event.title) {
      if (!titles || shared_ != shared) continue;
      title_ = *event.title;
      ended_ = event.ended;
      if (Form1) Form1->setCaption(title_);
    } else {
      DeliverSpot(event.spot);
    }
  }
}

LRESULT TCluster::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kEventsWaiting) {
    ui::app().guard([this] { takeEvents(); });
    return 0;
  }
  return Form::handleMessage(msg, wParam, lParam);
}
