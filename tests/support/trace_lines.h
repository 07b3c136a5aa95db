#pragma once
// The exchange trace of a test, kept as lines. With BREVIK_TRACE_RECORD set
// to a folder, every line is also appended to "<folder>/<Suite>.<Test>.trace":
// two runs of the suite, before and after a change to the link, can then be
// compared trace by trace.

#include <string>
#include <string_view>
#include <vector>

#include "link/exchange_trace.h"

namespace brevik::testing {

class TraceLines final : public link::TraceSink {
 public:
  void traceLine(std::string_view line) override;
  std::vector<std::string> lines;
};

}  // namespace brevik::testing
