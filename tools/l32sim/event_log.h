// The stand-in's log: one line per event, milliseconds since start first, flushed
// at once so that a test can read it while the program runs.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace l32sim {

class EventLog {
 public:
  explicit EventLog(const std::string& fileName);  // empty: standard output
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  // "MS event fields", then " text=" and the escaped text when one is given.
  void write(std::string_view event, std::string_view fields);
  void write(std::string_view event, std::string_view fields, std::string_view text);

 private:
  std::FILE* file_;
  bool own_;
};

// Handles and message values are logged as decimal numbers, lParam signed.
std::string number(const void* handle);
std::string number(long long value);

}  // namespace l32sim
