// kaldo against damaged, hostile and huge inputs: nothing the user wrote is
// lost, nothing crashes, and every refusal says why on standard error.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "settings/logger_settings.h"
#include "cli/kaldo_run.h"
#include "support/data_file_builder.h"
#include "support/loaded_file_fixtures.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

namespace fs = std::filesystem;
using brevik::testing::TempDir;
using kaldo_test::KaldoRun;
using kaldo_test::runKaldoCommand;

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// A one-channel file of four linear samples whose session is `session`.
std::string fourSamples(std::string session = "Well4;siteB", std::size_t promised = 4) {
  datafile::DataFileHeaderFields h = fixtures::linearHeader(1, 'G', promised);
  h.session = std::move(session);
  return fixtures::buildFile(h, {{10, 20, 30, 40}});
}

// A byte a terminal acts on: C0 controls other than line feed and tab, DEL,
// or a C1 control in UTF-8.
bool holdsTerminalControl(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7F) return true;
    if (b == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
        static_cast<unsigned char>(text[i + 1]) <= 0x9F)
      return true;
  }
  return false;
}

TEST(KaldoHardening, DamagedSettingsAreKeptAsideAndOutOfRangeFieldsNamed) {
  {
    TempDir home;
    home.write("kvlog.ini", std::string("\x80\x25\0\0\x02", 5));
    const KaldoRun r = runKaldoCommand(home, "settings", {"PortNumber=3"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(home.read("kvlog.ini.bad"), std::string("\x80\x25\0\0\x02", 5));
    EXPECT_TRUE(contains(r.err, "kvlog.ini was kept as kvlog.ini.bad")) << r.err;
    EXPECT_TRUE(contains(home.read("QXLOG.TXT"), "kvlog.ini was kept as kvlog.ini.bad"));
  }
  {
    TempDir home;
    std::string record = settings::LoggerSettings().toRecord();
    record.replace(0, 4, "AAAA");  // BaudRate 1094795585
    home.write("kvlog.ini", record);
    const KaldoRun r = runKaldoCommand(home, "status", {"--port", "sim"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.err, "kaldo: warning: kvlog.ini: BaudRate holds a value out of range and reads as its default"))
        << r.err;
    EXPECT_EQ(home.read("kvlog.ini"), record) << "reading changes nothing";
  }
}

TEST(KaldoHardening, ExportNeverWritesOverADataFileUnlessForced) {
  TempDir dir;
  const fs::path source = dir.write("s.qx1", fourSamples());
  const std::string other = fourSamples("Well9;other");
  const struct {
    const char* target;
    const char* existing;  // what the target holds beforehand, or null
    bool force;
    bool written;
  } cases[] = {
      {"copy.qx1", nullptr, false, false},   {"copy.QX2", nullptr, false, false},
      {"copy.Qx1", "kept", false, false},    {"data.csv", other.c_str(), false, false},
      {"data2.csv", other.c_str(), true, true}, {"copy2.qx1", nullptr, true, true},
      {"old.csv", "an earlier export\r\n", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    if (c.existing) dir.write(c.target, c.existing);
    std::vector<std::string> args{source.string(), (dir / c.target).string()};
    if (c.force) args.push_back("--force");
    const KaldoRun r = runKaldoCommand(dir, "export", args);
    EXPECT_EQ(r.status, c.written ? kExitOk : kExitFailed) << r.err;
    if (c.written) {
      EXPECT_TRUE(contains(dir.read(c.target), "10.000")) << dir.read(c.target);
    } else {
      EXPECT_TRUE(contains(r.err, "use --force")) << r.err;
      EXPECT_EQ(dir.read(c.target), c.existing ? c.existing : "");
      EXPECT_EQ(fs::exists(dir / c.target), c.existing != nullptr);
    }
  }
  // "-" is standard output: the table itself, and no file named "-".
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  const KaldoRun r = runKaldoCommand(dir, "export", {source.string(), "-", "--no-header", "--csv"});
  fs::current_path(before);
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "06/03/2003,09:05:00,10.000\r\n06/03/2003,09:06:00,20.000\r\n"
                   "06/03/2003,09:07:00,30.000\r\n06/03/2003,09:08:00,40.000\r\n");
  EXPECT_FALSE(fs::exists(dir / "-"));
}

TEST(KaldoHardening, EndlessOrHugeInputsAreRefusedAsTooLarge) {
  TempDir dir;
  const fs::path big = dir.write("big.qx1", fourSamples() + std::string(600000, '0'));
  const fs::path profile = dir.write("zero.logger", "memory = /dev/zero\n");
  const fs::path statusProfile = dir.write("zero-status.logger", "status = /dev/zero\n");
  const struct {
    const char* command;
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {"info", {"/dev/zero"}, kExitFailed},
      {"samples", {"/dev/zero"}, kExitFailed},
      {"export", {"/dev/zero", (dir / "z.csv").string()}, kExitFailed},
      {"decode-status", {"/dev/zero"}, kExitFailed},
      {"info", {big.string()}, kExitFailed},
      // A --port naming a profile that cannot be used is a usage error.
      {"status", {"--port", "sim:" + profile.string()}, kExitUsage},
      {"status", {"--port", "sim:" + statusProfile.string()}, kExitUsage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.args.back());
    const KaldoRun r = runKaldoCommand(dir, c.command, c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(contains(r.err, "too large") || contains(r.err, "larger than four banks")) << r.err;
  }
}

// A command that lets an exception through still ends with a message.
int throwingCommand(Context& ctx) {
  if (ctx.args.empty()) throw std::bad_alloc();
  throw std::runtime_error("disk on fire");
}
KALDO_COMMAND("test-throw", "", "a command of the tests that throws", throwingCommand);

TEST(KaldoHardening, NoExceptionLeavesKaldo) {
  TempDir home;
  const KaldoRun outOfMemory = runKaldoCommand(home, "test-throw", {});
  EXPECT_EQ(outOfMemory.status, kExitFailed);
  EXPECT_EQ(outOfMemory.err, "kaldo: out of memory\n");
  const KaldoRun other = runKaldoCommand(home, "test-throw", {"x"});
  EXPECT_EQ(other.status, kExitFailed);
  EXPECT_EQ(other.err, "kaldo: internal error: disk on fire\n");
}

TEST(KaldoHardening, ControlBytesFromOutsideNeverReachTheConsoleRaw) {
  TempDir dir;
  const std::string hostile = "W;\x1B]0;pwned\x07\x81" "2J";
  const fs::path file = dir.write("evil.qx1", fourSamples(hostile));
  const fs::path badDate = dir.write("date.qx1", "C\r\n\x1B]0;x\x07\r\n");
  const struct {
    const char* command;
    std::vector<std::string> args;
  } cases[] = {
      {"info", {file.string()}},
      {"setup", {"show", file.string()}},
      {"export", {file.string(), (dir / "evil.csv").string()}},
      {"info", {badDate.string()}},
      {"info", {(dir / "\x1B[2Jnone.qx1").string()}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const KaldoRun r = runKaldoCommand(dir, c.command, c.args);
    EXPECT_FALSE(holdsTerminalControl(r.out)) << r.out;
    EXPECT_FALSE(holdsTerminalControl(r.err)) << r.err;
  }
  EXPECT_TRUE(contains(runKaldoCommand(dir, "info", {file.string()}).out, "W;\\x1B]0;pwned\\x07"));
  // The export file keeps the session's bytes as the format has them.
  EXPECT_TRUE(contains(dir.read("evil.csv"), "\x1B]0;pwned\x07"));
}

TEST(KaldoHardening, ReceiveChecksItsTargetBeforeWakingTheLogger) {
  TempDir dir;
  fs::create_directories(dir / "folder.qx1");
  const struct {
    fs::path target;
    const char* reason;
  } cases[] = {
      {dir / "folder.qx1", "it is a folder"},
      {dir / "no-such-folder" / "site.qx1", "No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target.string());
    const KaldoRun r = runKaldoCommand(dir, "receive", {c.target.string(), "--port", "sim", "--trace"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_TRUE(contains(r.err, "kaldo receive: Cannot write " + c.target.string() + ": " + c.reason)) << r.err;
    EXPECT_FALSE(contains(r.err + r.out, "wake")) << "nothing was sent";
    EXPECT_FALSE(contains(r.err + r.out, ".tmp-")) << "the temporary file is never named";
  }
}

TEST(KaldoHardening, AHomeThatCannotBeSeededStillServesWithAWarning) {
  TempDir home;
  // A file where a shipped folder goes: that folder's files cannot be copied,
  // as in a read-only home.
  home.write("sim", "in the way");
  const fs::path file = home.write("site.qx1", fourSamples());
  const KaldoRun r = runKaldoCommand(home, "info", {file.string()});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(contains(r.err, "kaldo: warning: Cannot copy sim")) << r.err;
  EXPECT_TRUE(contains(r.out, "Well4;siteB"));
  EXPECT_TRUE(fs::exists(home / "default.set")) << "the rest is seeded";
}

TEST(KaldoHardening, TheTableCopyNeverReplacesAnotherFileAndFallsBackToTheHome) {
  TempDir dir;
  const fs::path folder = dir / "site";
  fs::create_directories(folder);
  const fs::path source = folder / "two.qx1";
  { std::ofstream(source, std::ios::binary) << fixtures::twoBankFile(); }
  const struct {
    const char* what;
    bool userTable;  // a .QX2 beside the file that is not its copy
    bool blocked;    // the place beside it cannot take a file (a folder holds the name)
  } cases[] = {{"user's table beside it", true, false}, {"place beside it blocked", false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(folder / "two.QX2");
    fs::remove_all(dir / "home");
    if (c.userTable) { std::ofstream(folder / "two.QX2", std::ios::binary) << "my own table"; }
    if (c.blocked) fs::create_directories(folder / "two.QX2" / "x");
    const KaldoRun r = runKaldoCommand(dir, "export", {source.string(), (dir / "two.csv").string()});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.err, "was written to " + (dir.path() / "two.QX2").string())) << r.err;
    EXPECT_TRUE(fs::exists(dir / "two.QX2"));
    if (c.userTable) {
      std::ifstream in(folder / "two.QX2", std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "my own table");
    }
  }
  // Its own earlier copy is replaced in place, silently.
  fs::remove_all(folder / "two.QX2");
  ASSERT_EQ(runKaldoCommand(dir, "export", {source.string(), (dir / "a.csv").string()}).status, kExitOk);
  const KaldoRun again = runKaldoCommand(dir, "export", {source.string(), (dir / "b.csv").string()});
  EXPECT_EQ(again.status, kExitOk);
  EXPECT_FALSE(contains(again.err, "was written to")) << again.err;
}

TEST(KaldoHardening, MessagesSayWhatFailedAndWhy) {
  TempDir dir;
  fs::create_directories(dir / "folder.qx1");
  const fs::path truncated = dir.write("short.qx1", fourSamples("Well4;siteB", 60));
  const fs::path invalid = dir.write("reply.txt", "short reply\r\n");
  const struct {
    const char* command;
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {"info", {(dir / "folder.qx1").string()}, kExitFailed, "it is a folder, not a file"},
      {"info", {(dir / "none.qx1").string()}, kExitFailed, "File: " + (dir / "none.qx1").string() + " not found"},
      {"decode-status", {invalid.string()}, kExitFailed, "kaldo decode-status: Invalid response"},
      {"export", {truncated.string(), (dir / "t.csv").string()}, kExitOk,
       truncated.string() + " is shorter than its header says: bank A holds 5 of 60 samples per channel"},
      {"export", {(dir / "none.qx1").string(), (dir / "folder.qx1").string(), "--force"}, kExitFailed,
       "Cannot write " + (dir / "folder.qx1").string() + ": it is a folder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.args.front());
    const KaldoRun r = runKaldoCommand(dir, c.command, c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_TRUE(contains(r.err, c.err)) << r.err;
    EXPECT_FALSE(contains(r.out, "Invalid response")) << "failures go to standard error";
  }
}

}  // namespace
}  // namespace brevik::cli
