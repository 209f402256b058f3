// Timing for the Windows benchmarks: a microsecond clock, the median of trials, and
// serving the queue that a step leaves.
#pragma once

#include <algorithm>
#include <vector>

#include "ui/win.h"

namespace bench {

inline double now() {
  static const double ticksPerMicrosecond = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(f.QuadPart) / 1e6;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / ticksPerMicrosecond;
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline void drainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace bench
