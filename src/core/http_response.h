// The HTTP side of the downloads: the address, the request, and the answer read as
// its bytes arrive. A body counts as whole only when HTTP says it ended: its
// Content-Length reached, or the last chunk of a chunked body read. A body that ends
// where the server closes the connection cannot be told from a broken one and is
// refused.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Why a download cannot go on, as a sentence for the operator.
class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A plain HTTP address, the only kind the services are reached by.
struct HttpUrl {
  std::string host;    // a name or an address; an IPv6 address without its brackets
  std::string port;    // "80" when the address names none
  std::string target;  // the path and query, "/" at least
};

// Throws HttpError for another scheme or a malformed address.
HttpUrl parseHttpUrl(std::string_view url);
// The address a redirect's Location names, absolute or relative to `from`.
std::string redirectAddress(std::string_view from, std::string_view location);
// A GET for the plain body (no compression), the connection closed after it.
std::string httpGetRequest(const HttpUrl& url);

class HttpResponseReader {
 public:
  explicit HttpResponseReader(std::uint64_t maxBody);

  // Takes the next bytes from the connection and passes the body's bytes to `body`.
  // True once the answer is complete: for status 200 its whole body, for any other
  // status its head (nothing of its body is wanted). Throws HttpError for an answer
  // that is not HTTP, a body over the bound, or one that is compressed or has no
  // stated end.
  bool take(std::string_view bytes, const std::function<void(std::string_view)>& body);
  // The server closed the connection: throws HttpError unless the answer is complete.
  void closed() const;

  int status() const { return status_; }
  const std::string& statusText() const { return statusText_; }
  // The value of a header field (names compare without case); repeated fields
  // joined by ", "; empty when absent.
  std::string header(std::string_view name) const;
  std::uint64_t bodyBytes() const { return bodyBytes_; }

 private:
  enum class State { Head, Sized, ChunkSize, ChunkData, ChunkEnd, Trailer, Done };

  void readHead(std::string_view head);
  void startBody();
  // One line from pending_ (its break removed), or false while it is incomplete.
  bool takeLine(std::string_view& bytes, std::string& line, std::size_t limit, const char* what);
  void addBody(std::string_view bytes, const std::function<void(std::string_view)>& body);

  std::uint64_t maxBody_;
  State state_ = State::Head;
  std::string pending_;  // an unfinished head or line
  int status_ = 0;
  std::string statusText_;
  std::vector<std::pair<std::string, std::string>> headers_;
  std::uint64_t announced_ = 0;  // Content-Length
  std::uint64_t chunkLeft_ = 0;
  std::uint64_t bodyBytes_ = 0;
  std::size_t sectionBytes_ = 0;  // of the head or the trailer so far
};

}  // namespace core
