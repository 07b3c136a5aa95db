// The auto-answer soak: a thousand calls answered by `kaldo answer` in
// virtual time, every kind of call of the virtual modem in turn, and what
// the run left counted. Built and run by tools/answer-soak.sh; not part of
// the test suite, which runs a short one (AnswerSoak in tests/cli).
//
//   brevik_answer_soak [--calls N] [--keep DIR]
//
// A short run first warms the process up, so that the start figures of the
// measured run are those of a program that has served calls already.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "support/answer_soak.h"

namespace {

int usage() {
  std::cerr << "usage: brevik_answer_soak [--calls N] [--keep DIR]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t calls = 1000;
  std::filesystem::path keep;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--calls" && i + 1 < argc) {
      calls = std::strtoull(argv[++i], nullptr, 10);
      if (calls == 0) return usage();
    } else if (a == "--keep" && i + 1 < argc) {
      keep = argv[++i];
    } else {
      return usage();
    }
  }
  const std::filesystem::path bin = std::filesystem::absolute(argv[0]).parent_path();
  const std::filesystem::path root =
      keep.empty() ? std::filesystem::temp_directory_path() / ("brevik-soak-" + std::to_string(::getpid())) : keep;
  std::filesystem::remove_all(root);

  const brevik::soak::SoakResult warm = brevik::soak::runAnswerSoak(root / "warm-up", 30, bin);
  if (warm.status != 0) {
    std::cerr << "the warm-up run failed (" << warm.status << "): " << warm.errors;
    return 1;
  }
  const brevik::soak::SoakResult r = brevik::soak::runAnswerSoak(root / "home", calls, bin);

  std::printf("| figure | start | end | goal |\n|---|---|---|---|\n");
  std::printf("| calls served | | %llu | %llu |\n", static_cast<unsigned long long>(r.status == 0 ? r.plan.served : 0),
              static_cast<unsigned long long>(r.plan.served));
  std::printf("| log lines (QXLOG.TXT / printed) | | %llu / %llu | %llu |\n",
              static_cast<unsigned long long>(r.logLines), static_cast<unsigned long long>(r.printedLines),
              static_cast<unsigned long long>(r.plan.logLines));
  std::printf("| data files | | %llu | %llu (calls with data) |\n", static_cast<unsigned long long>(r.dataFiles),
              static_cast<unsigned long long>(r.plan.callsWithData));
  std::printf("| partial files | | %llu | 0 |\n", static_cast<unsigned long long>(r.partialFiles));
  std::printf("| open file descriptors | %ld | %ld | flat |\n", r.start.openFds, r.end.openFds);
  std::printf("| resident memory | %ld kB | %ld kB | flat |\n", r.start.residentKb, r.end.residentKb);
  std::printf("| run time | | %.1f s | under 60 s |\n", r.seconds);
  if (!r.errors.empty()) std::cerr << r.errors;
  if (keep.empty()) std::filesystem::remove_all(root);
  const bool met = r.goalsMet() && r.seconds < 60.0;
  std::printf("\n%s\n", met ? "every goal met" : "GOALS MISSED");
  return met ? 0 : 1;
}
