#include "ui/download.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/http_response.h"
#include "ui/application.h"
#include "ui/file_replace.h"
#include "ui/form.h"
#include "ui/text.h"
#include "ui/win.h"

namespace ui {
namespace {

using DownloadFailure = DownloadError;

std::string secondsText(int ms) {
  char text[32];
  std::snprintf(text, sizeof text, ms % 1000 ? "%.1f s" : "%.0f s", ms / 1000.0);
  return text;
}

// What the windows hold for the end of the event (a spot's row, a title) goes to the
// screen now: the event lasts as long as the download.
void showHeldScreenWork() {
  for (Form* form : app().forms()) form->applyHeld();
}

// Waits until `event` is set or `ms` have passed. Meanwhile the windows repaint and
// what other programs send to them (Logger32 writing a spot) is handled; the
// operator's keys and clicks stay queued, as they would while any handler runs.
bool waitServingWindows(HANDLE event, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  showHeldScreenWork();
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now >= end ? 0 : DWORD(end - now);
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &event, left, QS_SENDMESSAGE | QS_PAINT, 0);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke != WAIT_OBJECT_0 + 1) return false;
    // Peeking handles the sent messages; a few paints per wake, so that a window
    // that never validates cannot keep the download from its bounds.
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    showHeldScreenWork();
    for (int i = 0; i < 16 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) DispatchMessageW(&msg);
  }
}

// The clock of one download: each wait ends at its own bound or at the end of the
// whole download's time, whichever comes first, and says which one it was.
class Timing {
 public:
  explicit Timing(const DownloadBounds& bounds) : bounds_(bounds), end_(GetTickCount64() + bounds.totalMs) {}
  const DownloadBounds& bounds() const { return bounds_; }

  void wait(HANDLE event, int boundMs, const std::string& boundReached) const {
    const ULONGLONG now = GetTickCount64();
    const ULONGLONG totalLeft = now >= end_ ? 0 : end_ - now;
    const bool totalFirst = totalLeft <= ULONGLONG(boundMs);
    if (waitServingWindows(event, DWORD(totalFirst ? totalLeft : boundMs))) return;
    throw DownloadFailure(totalFirst ? "The download took longer than " + secondsText(bounds_.totalMs) + "."
                                     : boundReached);
  }

 private:
  const DownloadBounds& bounds_;
  ULONGLONG end_;
};

// The system's name lookup has no time-out of its own: it runs on a thread of its
// own, which is left to finish alone when the bound comes first.
struct NameLookup {
  std::wstring host, port;
  ADDRINFOW* addresses = nullptr;
  int error = 0;
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);

  ~NameLookup() {
    if (addresses) FreeAddrInfoW(addresses);
    if (done) CloseHandle(done);
  }
};

class Connection {
 public:
  Connection() : event_(WSACreateEvent()) {
    if (event_ == WSA_INVALID_EVENT) throw DownloadFailure("Cannot start a connection: " + systemErrorText(DWORD(WSAGetLastError())));
  }
  ~Connection() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    WSACloseEvent(event_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void open(const core::HttpUrl& url, const Timing& timing) {
    const std::string where = url.host + ":" + url.port;
    const std::string noConnection =
        "No connection to " + where + " within " + secondsText(timing.bounds().connectMs) + ".";
    const ULONGLONG start = GetTickCount64();
    const auto connectLeft = [&] {
      const ULONGLONG spent = GetTickCount64() - start;
      return spent >= ULONGLONG(timing.bounds().connectMs) ? 0 : int(timing.bounds().connectMs - spent);
    };

    auto lookup = std::make_shared<NameLookup>();
    lookup->host = widen(url.host);
    lookup->port = widen(url.port);
    if (!lookup->done) throw DownloadFailure("Cannot look up " + url.host + ": " + systemErrorText(GetLastError()));
    std::thread([lookup] {
      ADDRINFOW hints{};
      hints.ai_family = AF_UNSPEC;
      hints.ai_socktype = SOCK_STREAM;
      hints.ai_protocol = IPPROTO_TCP;
      lookup->error = GetAddrInfoW(lookup->host.c_str(), lookup->port.c_str(), &hints, &lookup->addresses);
      SetEvent(lookup->done);
    }).detach();
    timing.wait(lookup->done, connectLeft(), noConnection);
    if (lookup->error) throw DownloadFailure("Cannot find " + url.host + ": " + systemErrorText(DWORD(lookup->error)) + ".");

    int lastError = 0;
    for (const ADDRINFOW* a = lookup->addresses; a; a = a->ai_next) {
      socket_ = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
      if (socket_ == INVALID_SOCKET) {
        lastError = WSAGetLastError();
        continue;
      }
      // Events for the socket, which also makes it non-blocking.
      WSAEventSelect(socket_, event_, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE);
      if (connect(socket_, a->ai_addr, int(a->ai_addrlen)) == 0) return;
      lastError = WSAGetLastError();
      if (lastError == WSAEWOULDBLOCK) {
        timing.wait(event_, connectLeft(), noConnection);
        WSANETWORKEVENTS happened{};
        WSAEnumNetworkEvents(socket_, event_, &happened);
        lastError = (happened.lNetworkEvents & FD_CONNECT) ? happened.iErrorCode[FD_CONNECT_BIT] : WSAETIMEDOUT;
        if (lastError == 0) return;
      }
      closesocket(socket_);
      socket_ = INVALID_SOCKET;
    }
    if (lastError == WSAECONNREFUSED) throw DownloadFailure(where + " refused the connection.");
    throw DownloadFailure("No connection to " + where + ": " + systemErrorText(DWORD(lastError)) + ".");
  }

  void send(std::string_view bytes, const Timing& timing) {
    while (!bytes.empty()) {
      const int sent = ::send(socket_, bytes.data(), int(bytes.size()), 0);
      if (sent > 0) {
        bytes.remove_prefix(std::size_t(sent));
        continue;
      }
      const int error = WSAGetLastError();
      if (error != WSAEWOULDBLOCK) throw DownloadFailure("The connection broke: " + systemErrorText(DWORD(error)) + ".");
      waitForEvent(timing);
    }
  }

  // The next bytes from the server; 0 when it has closed the connection.
  std::size_t receive(char* buffer, std::size_t size, const Timing& timing) {
    for (;;) {
      const int got = recv(socket_, buffer, int(size), 0);
      if (got >= 0) return std::size_t(got);
      const int error = WSAGetLastError();
      if (error != WSAEWOULDBLOCK) throw DownloadFailure("The connection broke: " + systemErrorText(DWORD(error)) + ".");
      waitForEvent(timing);
    }
  }

 private:
  void waitForEvent(const Timing& timing) {
    timing.wait(event_, timing.bounds().silenceMs,
                "The server sent nothing for " + secondsText(timing.bounds().silenceMs) + ".");
    WSANETWORKEVENTS happened{};
    WSAEnumNetworkEvents(socket_, event_, &happened);  // resets the event for the next wait
  }

  SOCKET socket_ = INVALID_SOCKET;
  WSAEVENT event_;
};

bool isRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

DownloadBounds boundsFromEnvironment() {
  DownloadBounds bounds;
  if (const char* text = std::getenv("RUDOZ_DOWNLOAD_BOUNDS")) {
    int connect = 0, silence = 0, total = 0;
    if (std::sscanf(text, "%d,%d,%d", &connect, &silence, &total) == 3 && connect > 0 && silence > 0 && total > 0)
      bounds.connectMs = connect, bounds.silenceMs = silence, bounds.totalMs = total;
  }
  return bounds;
}

}  // namespace

const DownloadBounds& downloadBounds() {
  static const DownloadBounds bounds = boundsFromEnvironment();
  return bounds;
}

void downloadFile(const std::string& url, const std::string& fileName, const BodyCheck& check,
                  const DownloadBounds& bounds) {
  static const bool socketsReady = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  try {
    if (!socketsReady) throw DownloadFailure("The system's sockets cannot be used.");
    const Timing timing(bounds);
    std::string address = url;
    for (int redirects = 0;; ++redirects) {
      const core::HttpUrl target = core::parseHttpUrl(address);
      Connection connection;
      connection.open(target, timing);
      connection.send(core::httpGetRequest(target), timing);

      // The file is made once the body begins: an error page or a redirect leaves
      // nothing beside the target.
      core::HttpResponseReader reader(bounds.maxBytes);
      std::optional<ReplacingFile> file;
      std::string body;  // kept for the check, within the bound of its size
      const auto keep = [&](std::string_view bytes) {
        if (!file) file.emplace(fileName);
        if (check) body.append(bytes);
        file->write(bytes);
      };
      std::vector<char> buffer(64 * 1024);
      for (bool complete = false; !complete;) {
        const std::size_t got = connection.receive(buffer.data(), buffer.size(), timing);
        if (got == 0) {
          reader.closed();
          break;
        }
        complete = reader.take(std::string_view(buffer.data(), got), keep);
      }

      const std::string answered = "The server answered " + std::to_string(reader.status()) +
                                   (reader.statusText().empty() ? "" : " " + reader.statusText());
      if (isRedirect(reader.status())) {
        const std::string location = reader.header("Location");
        if (location.empty()) throw DownloadFailure(answered + " without the new address.");
        if (redirects == bounds.redirects)
          throw DownloadFailure("The server sent the download on to another address more than " +
                                std::to_string(bounds.redirects) + " times.");
        address = core::redirectAddress(address, location);
        continue;
      }
      if (reader.status() != 200) throw DownloadFailure(answered + ".");
      if (check)
        if (const std::string refusal = check(body); !refusal.empty()) throw DownloadFailure(refusal);
      if (!file) file.emplace(fileName);
      file->commit();
      return;
    }
  } catch (const DownloadError&) {
    throw;
  } catch (const std::runtime_error& e) {
    // The file could not be made or replaced: a failure of the download too.
    throw DownloadError(e.what());
  }
}

}  // namespace ui
