#include "support/trace_lines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace brevik::testing {

namespace {

void recordForComparison(std::string_view line) {
  const char* folder = std::getenv("BREVIK_TRACE_RECORD");
  if (!folder || !*folder) return;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "outside-a-test";
  for (char& c : name)
    if (c == '/') c = '_';
  std::ofstream out(std::string(folder) + "/" + name + ".trace", std::ios::binary | std::ios::app);
  out << line << '\n';
}

}  // namespace

void TraceLines::traceLine(std::string_view line) {
  lines.emplace_back(line);
  recordForComparison(line);
}

}  // namespace brevik::testing
