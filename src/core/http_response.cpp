#include "core/http_response.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "core/text.h"

namespace core {
namespace {

// "64 MB" for whole megabytes, else "N bytes".
std::string byteCountText(std::uint64_t bytes) {
  constexpr std::uint64_t mb = 1024 * 1024;
  return bytes >= mb && bytes % mb == 0 ? std::to_string(bytes / mb) + " MB" : std::to_string(bytes) + " bytes";
}

// Far above any real answer's head or a chunk's size line; a server that sends more
// is not answering a download.
constexpr std::size_t kMaxHead = 64 * 1024;
constexpr std::size_t kMaxLine = 4 * 1024;

bool startsNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && equalNoCase(s.substr(0, prefix.size()), prefix);
}

// Bytes a request line must not carry as they are.
std::string percentEncodedTarget(std::string_view target) {
  return percentEncode(target, [](unsigned char c) { return c > 0x20 && c < 0x7F; });
}

bool parseDecimal(std::string_view s, std::uint64_t& value) {
  if (s.empty() || s.size() > 18) return false;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  return error == std::errc() && end == s.data() + s.size();
}

}  // namespace

HttpUrl parseHttpUrl(std::string_view url) {
  const std::string_view scheme = "http://";
  if (!startsNoCase(url, scheme))
    throw HttpError("The address " + std::string(url) + " is not a plain http:// address.");
  std::string_view rest = url.substr(scheme.size());
  rest = rest.substr(0, rest.find('#'));
  const std::size_t pathStart = std::min(rest.find('/'), rest.find('?'));
  const std::string_view authority = rest.substr(0, pathStart);
  const std::string_view path = pathStart == std::string_view::npos ? std::string_view() : rest.substr(pathStart);
  const auto bad = [&] { return HttpError("The address " + std::string(url) + " is not a valid one."); };

  HttpUrl out;
  std::string_view port;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) throw bad();
    out.host = authority.substr(1, close - 1);
    const std::string_view after = authority.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') throw bad();
      port = after.substr(1);
    }
  } else {
    const std::size_t colon = authority.rfind(':');
    out.host = authority.substr(0, colon);
    if (colon != std::string_view::npos) port = authority.substr(colon + 1);
  }
  std::uint64_t number = 80;
  if (!port.empty() && (!parseDecimal(port, number) || number < 1 || number > 65535)) throw bad();
  if (out.host.empty() || out.host.find_first_of("@ \t\r\n") != std::string::npos) throw bad();
  out.port = std::to_string(number);
  out.target = percentEncodedTarget(path.empty() ? "/" : path.front() == '?' ? "/" + std::string(path) : path);
  return out;
}

std::string redirectAddress(std::string_view from, std::string_view location) {
  location = trimBlanks(location);
  // An address of its own names its scheme before any path, query or fragment.
  const std::size_t scheme = location.find("://");
  if (scheme != std::string_view::npos && scheme < location.find_first_of("/?#")) return std::string(location);
  if (location.substr(0, 2) == "//") return "http:" + std::string(location);
  const std::size_t authorityStart = from.find("://") + 3;
  const std::size_t pathStart = std::min(from.find_first_of("/?#", authorityStart), from.size());
  const std::string_view origin = from.substr(0, pathStart);
  if (!location.empty() && location.front() == '/') return std::string(origin) + std::string(location);
  std::string_view path = from.substr(pathStart);
  path = path.substr(0, path.find_first_of("?#"));
  // A query alone goes with the path that was asked for; anything else is relative
  // to its folder.
  if (!location.empty() && location.front() == '?') return std::string(origin) + std::string(path) + std::string(location);
  const std::size_t folderEnd = path.rfind('/');
  const std::string_view folder = folderEnd == std::string_view::npos ? "/" : path.substr(0, folderEnd + 1);
  return std::string(origin) + std::string(folder) + std::string(location);
}

std::string httpGetRequest(const HttpUrl& url) {
  const bool v6 = url.host.find(':') != std::string::npos;
  std::string host = v6 ? "[" + url.host + "]" : url.host;
  if (url.port != "80") host += ":" + url.port;
  return "GET " + url.target + " HTTP/1.1\r\nHost: " + host +
         "\r\nUser-Agent: ruDOZ\r\nAccept: */*\r\nAccept-Encoding: identity\r\nConnection: close\r\n\r\n";
}


HttpResponseReader::HttpResponseReader(std::uint64_t maxBody) : maxBody_(maxBody) {}

std::string HttpResponseReader::header(std::string_view name) const {
  std::string out;
  for (const auto& [n, v] : headers_)
    if (equalNoCase(n, name)) out += (out.empty() ? "" : ", ") + v;
  return out;
}

bool HttpResponseReader::takeLine(std::string_view& bytes, std::string& line, std::size_t limit, const char* what) {
  const std::size_t lf = bytes.find('\n');
  const std::size_t n = lf == std::string_view::npos ? bytes.size() : lf + 1;
  if (pending_.size() + n > limit + 2) throw HttpError(std::string("The server's ") + what + " is too long.");
  pending_.append(bytes.substr(0, n));
  bytes.remove_prefix(n);
  if (lf == std::string_view::npos) return false;
  pending_.pop_back();
  if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
  line = std::move(pending_);
  pending_.clear();
  return true;
}

void HttpResponseReader::readHead(std::string_view line) {
  if (status_ == 0) {
    // "HTTP/1.1 200 OK"
    if (!line.starts_with("HTTP/")) throw HttpError("The server's answer is not HTTP.");
    const std::size_t blank = line.find(' ');
    std::uint64_t code = 0;
    const std::string_view rest = blank == std::string_view::npos ? "" : line.substr(blank + 1);
    if (rest.size() < 3 || (rest.size() > 3 && rest[3] != ' ') || !parseDecimal(rest.substr(0, 3), code) || code < 100)
      throw HttpError("The server's answer is not HTTP.");
    status_ = int(code);
    statusText_ = trimBlanks(rest.substr(3)).substr(0, 80);  // it goes into a message
    return;
  }
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) throw HttpError("The server's answer has a malformed head.");
  headers_.emplace_back(std::string(trimBlanks(line.substr(0, colon))), std::string(trimBlanks(line.substr(colon + 1))));
}

void HttpResponseReader::startBody() {
  if (status_ < 200) {  // "100 Continue" and its like: the answer follows
    *this = HttpResponseReader(maxBody_);
    return;
  }
  if (status_ != 200) {
    state_ = State::Done;
    return;
  }
  const std::string encoding(trimBlanks(header("Content-Encoding")));
  if (!encoding.empty() && !equalNoCase(encoding, "identity"))
    throw HttpError("The server sent the body compressed (" + encoding + "), not as the plain file.");
  const std::string transfer(trimBlanks(header("Transfer-Encoding")));
  if (!transfer.empty()) {
    if (!equalNoCase(transfer, "chunked"))
      throw HttpError("The server sent the body encoded (" + transfer + "), not as the plain file.");
    state_ = State::ChunkSize;
    return;
  }
  const std::string length = header("Content-Length");
  if (length.empty()) throw HttpError("The server did not say where the body ends, so it cannot be known whole.");
  // Repeated fields must agree: "10, 10" is one length, "10, 20" none.
  std::optional<std::uint64_t> announced;
  for (std::string_view rest = length;;) {
    const std::size_t comma = rest.find(',');
    std::uint64_t value = 0;
    if (!parseDecimal(trimBlanks(rest.substr(0, comma)), value) || (announced && *announced != value))
      throw HttpError("The server's answer has a malformed Content-Length.");
    announced = value;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  if (*announced > maxBody_)
    throw HttpError("The body (" + byteCountText(*announced) + ") is larger than " + byteCountText(maxBody_) + ".");
  announced_ = *announced;
  state_ = announced_ == 0 ? State::Done : State::Sized;
}

void HttpResponseReader::addBody(std::string_view bytes, const std::function<void(std::string_view)>& body) {
  bodyBytes_ += bytes.size();
  body(bytes);
}

bool HttpResponseReader::take(std::string_view bytes, const std::function<void(std::string_view)>& body) {
  std::string line;
  while (!bytes.empty() && state_ != State::Done) {
    switch (state_) {
      case State::Head: {
        const std::size_t before = bytes.size();
        const bool whole = takeLine(bytes, line, kMaxHead, "answer head");
        sectionBytes_ += before - bytes.size();
        if (sectionBytes_ > kMaxHead) throw HttpError("The server's answer head is too long.");
        if (!whole) break;
        if (!line.empty()) {
          readHead(line);
        } else if (status_ != 0) {
          sectionBytes_ = 0;
          startBody();
        }
        break;
      }
      case State::Sized: {
        const std::string_view piece = bytes.substr(0, std::size_t(std::min<std::uint64_t>(bytes.size(),
                                                                                           announced_ - bodyBytes_)));
        addBody(piece, body);
        bytes.remove_prefix(piece.size());
        if (bodyBytes_ == announced_) state_ = State::Done;
        break;
      }
      case State::ChunkSize: {
        if (!takeLine(bytes, line, kMaxLine, "chunk size")) break;
        // "1a2b" and maybe ";name=value" after it.
        const std::string_view digits = trimBlanks(std::string_view(line).substr(0, line.find(';')));
        std::uint64_t size = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size, 16);
        if (digits.empty() || digits.size() > 15 || error != std::errc() || end != digits.data() + digits.size())
          throw HttpError("The server's body has a malformed chunk.");
        if (size > maxBody_ - bodyBytes_) throw HttpError("The body is larger than " + byteCountText(maxBody_) + ".");
        chunkLeft_ = size;
        state_ = size == 0 ? State::Trailer : State::ChunkData;
        break;
      }
      case State::ChunkData: {
        const std::string_view piece =
            bytes.substr(0, std::size_t(std::min<std::uint64_t>(bytes.size(), chunkLeft_)));
        addBody(piece, body);
        bytes.remove_prefix(piece.size());
        chunkLeft_ -= piece.size();
        if (chunkLeft_ == 0) state_ = State::ChunkEnd;
        break;
      }
      case State::ChunkEnd:
        if (!takeLine(bytes, line, kMaxLine, "chunk end")) break;
        if (!line.empty()) throw HttpError("The server's body has a malformed chunk.");
        state_ = State::ChunkSize;
        break;
      case State::Trailer: {
        const std::size_t before = bytes.size();
        const bool whole = takeLine(bytes, line, kMaxLine, "trailer");
        sectionBytes_ += before - bytes.size();
        if (sectionBytes_ > kMaxHead) throw HttpError("The server's trailer is too long.");
        if (whole && line.empty()) state_ = State::Done;
        break;
      }
      case State::Done:
        break;
    }
  }
  return state_ == State::Done;
}

void HttpResponseReader::closed() const {
  switch (state_) {
    case State::Done:
      return;
    case State::Head:
      throw HttpError(status_ == 0 && pending_.empty()
                          ? "The server closed the connection without an answer."
                          : "The server closed the connection in the middle of its answer's head.");
    case State::Sized:
      throw HttpError("The transfer broke off after " + std::to_string(bodyBytes_) + " of " +
                      std::to_string(announced_) + " bytes.");
    case State::Trailer:
      throw HttpError("The transfer broke off after the body's last chunk, in the lines that follow it.");
    default:
      throw HttpError("The transfer broke off after " + std::to_string(bodyBytes_) +
                      " bytes, before the body's last chunk.");
  }
}

}  // namespace core
