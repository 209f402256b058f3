#include "core/http_response.h"

#include <gtest/gtest.h>

#include <cctype>

#include "core/download_body.h"

namespace {

// What a reader makes of an answer, fed whole or one byte at a time: the body, or
// the report of the first error ("closed: " when it came at the close).
std::string readAnswer(std::string_view answer, std::size_t piece, std::uint64_t maxBody = 1000) {
  core::HttpResponseReader reader(maxBody);
  std::string body;
  try {
    bool complete = false;
    for (std::size_t at = 0; at < answer.size() && !complete; at += piece)
      complete = reader.take(answer.substr(at, piece), [&](std::string_view b) { body.append(b); });
    if (!complete) {
      try {
        reader.closed();
      } catch (const core::HttpError& e) {
        return std::string("closed: ") + e.what();
      }
    }
  } catch (const core::HttpError& e) {
    return e.what();
  }
  return std::to_string(reader.status()) + " " + body;
}

TEST(HttpResponse, BodyIsWholeOnlyWhenHttpSaysItEnded) {
  const struct {
    const char* name;
    std::string answer;
    std::string expected;
  } cases[] = {
      {"length met", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello and more", "200 hello"},
      {"length met, bare LF", "HTTP/1.0 200 OK\nContent-length:5\n\nhello", "200 hello"},
      {"repeated equal length", "HTTP/1.1 200 OK\r\nContent-Length: 2, 2\r\n\r\nab", "200 ab"},
      {"empty body", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", "200 "},
      {"chunked with its last chunk",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n3;x=y\r\nhel\r\n2\r\nlo\r\n0\r\nA: b\r\n\r\n", "200 hello"},
      {"interim answer first", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx", "200 x"},
      {"error status: the head is enough", "HTTP/1.1 404 Not Found\r\nContent-Length: 99\r\n\r\n<html>", "404 "},
      {"length cut short", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhello",
       "closed: The transfer broke off after 5 of 9 bytes."},
      {"chunked without its last chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n",
       "closed: The transfer broke off after 5 bytes, before the body's last chunk."},
      {"no stated end", "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nhello", "did not say where the body ends"},
      {"closed before answering", "", "closed: The server closed the connection without an answer."},
      {"closed in the head", "HTTP/1.1 200 OK\r\nContent-Le", "closed: The server closed the connection in the middle"},
      {"not HTTP", "SSH-2.0-OpenSSH\r\n\r\n", "The server's answer is not HTTP."},
      {"status of four digits", "HTTP/1.1 2000 OK\r\nContent-Length: 0\r\n\r\n", "The server's answer is not HTTP."},
      {"compressed", "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 3\r\n\r\nabc", "compressed (gzip)"},
      {"other transfer coding", "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n", "encoded (gzip, chunked)"},
      {"lengths disagree", "HTTP/1.1 200 OK\r\nContent-Length: 2, 3\r\n\r\nab", "malformed Content-Length"},
      {"bad chunk size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", "malformed chunk"},
      {"chunk longer than said", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nab\r\n0\r\n\r\n",
       "malformed chunk"},
      {"announced over the bound", "HTTP/1.1 200 OK\r\nContent-Length: 2147483648\r\n\r\n",
       "The body (2048 MB) is larger than 1000 bytes."},
      {"chunks over the bound", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n300\r\n" + std::string(768, 'a') +
                                    "\r\n300\r\n",
       "The body is larger than 1000 bytes."},
      {"endless head", "HTTP/1.1 200 OK\r\nX: " + std::string(70000, 'a'), "too long"},
  };
  for (const auto& c : cases) {
    for (const std::size_t piece : {std::size_t(100000), std::size_t(1)}) {
      SCOPED_TRACE(std::string(c.name) + (piece == 1 ? ", byte by byte" : ""));
      const std::string got = readAnswer(c.answer, piece);
      // A status and a body are the whole answer; a failure is known by its words.
      if (std::isdigit(static_cast<unsigned char>(c.expected[0]))) EXPECT_EQ(got, c.expected);
      else EXPECT_NE(got.find(c.expected), std::string::npos) << got;
    }
  }
}

TEST(HttpResponse, AddressesRequestsAndRedirects) {
  const core::HttpUrl url = core::parseHttpUrl("HTTP://Example.org:8080/rda/csv?call=UA1 ABC#top");
  EXPECT_EQ(url.host, "Example.org");
  EXPECT_EQ(url.port, "8080");
  EXPECT_EQ(url.target, "/rda/csv?call=UA1%20ABC");
  EXPECT_EQ(core::httpGetRequest(core::parseHttpUrl("http://[::1]:81?x")),
            "GET /?x HTTP/1.1\r\nHost: [::1]:81\r\nUser-Agent: ruDOZ\r\nAccept: */*\r\n"
            "Accept-Encoding: identity\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(core::parseHttpUrl("http://h").target, "/");
  EXPECT_EQ(core::parseHttpUrl("http://h").port, "80");
  for (const char* bad : {"https://h/x", "ftp://h", "http://", "http://h:0/", "http://h:99999", "http://u@h/", "h/x"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(core::parseHttpUrl(bad), core::HttpError);
  }

  const std::string from = "http://h:81/map/3d.jpg?x=1";
  EXPECT_EQ(core::redirectAddress(from, " http://o/x "), "http://o/x");
  EXPECT_EQ(core::redirectAddress(from, "//o/x"), "http://o/x");
  EXPECT_EQ(core::redirectAddress(from, "/y.jpg"), "http://h:81/y.jpg");
  EXPECT_EQ(core::redirectAddress(from, "0u.jpg"), "http://h:81/map/0u.jpg");
  EXPECT_EQ(core::redirectAddress("http://h", "a"), "http://h/a");
  EXPECT_EQ(core::redirectAddress(from, "/next?u=http://x"), "http://h:81/next?u=http://x");
  EXPECT_EQ(core::redirectAddress(from, "?b=2"), "http://h:81/map/3d.jpg?b=2");
}

TEST(DownloadBody, OnlyAPictureIsAMap) {
  EXPECT_EQ(core::jpegRefusal("\xFF\xD8\xFF\xE0 picture"), "");
  EXPECT_EQ(core::jpegRefusal("<html>"), "The server sent no JPEG picture.");
  EXPECT_EQ(core::jpegRefusal(""), "The server sent no JPEG picture.");
}

}  // namespace
