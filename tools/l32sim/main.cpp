// l32sim: a stand-in for Logger32 that plays its side of the ruDOZ link.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "event_log.h"
#include "options.h"
#include "simulator.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    const l32sim::Options options = l32sim::parseOptions(args);
    if (options.help) {
      std::fputs(l32sim::kHelpText, stdout);
      return 0;
    }
    l32sim::EventLog log(options.logFile);
    l32sim::Simulator sim(options, log);
    return sim.run();
  } catch (const l32sim::UsageError& e) {
    std::fprintf(stderr, "l32sim: %s\n", e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "l32sim: %s\n", e.what());
    return 1;
  }
}
