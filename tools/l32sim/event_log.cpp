#include "event_log.h"

#include <windows.h>

#include <stdexcept>

namespace l32sim {
namespace {

LARGE_INTEGER startCount() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return c;
}
const LARGE_INTEGER kStart = startCount();

long long millisecondsSinceStart() {
  LARGE_INTEGER now, freq;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&freq);
  return (now.QuadPart - kStart.QuadPart) * 1000 / freq.QuadPart;
}

// Control bytes and the backslash escaped, so that every event stays on one line.
std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (c < 32 || c == '\\') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

EventLog::EventLog(const std::string& fileName)
    : file_(fileName.empty() ? stdout : std::fopen(fileName.c_str(), "wb")), own_(!fileName.empty()) {
  if (!file_) throw std::runtime_error("cannot write the log file \"" + fileName + "\"");
}

EventLog::~EventLog() {
  if (own_) std::fclose(file_);
}

void EventLog::write(std::string_view event, std::string_view fields) {
  std::fprintf(file_, "%lld %.*s%s%.*s\n", millisecondsSinceStart(), int(event.size()), event.data(),
               fields.empty() ? "" : " ", int(fields.size()), fields.data());
  std::fflush(file_);
}

void EventLog::write(std::string_view event, std::string_view fields, std::string_view text) {
  std::string all(fields);
  if (!all.empty()) all += ' ';
  all += "text=";
  all += escaped(text);
  write(event, all);
}

std::string number(const void* handle) {
  return std::to_string(static_cast<long long>(reinterpret_cast<std::intptr_t>(handle)));
}

std::string number(long long value) { return std::to_string(value); }

}  // namespace l32sim
