// kaldo phonebook and kaldo com-test, in-process against a test home (the
// com test against the virtual line in virtual time).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/kaldo_run.h"
#include "settings/logger_settings.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;
using kaldo_test::KaldoRun;

struct Step {
  std::vector<std::string> args;  // after "phonebook"
  int status;
  std::string out;  // exactly
  std::string err;  // contained ("" : nothing at all)
};

TEST(KaldoPhonebook, ChangesTheListsAsTheDialogsDo) {
  TempDir home;
  const std::vector<Step> steps = {
      {{"phone", "add", "Mill", "5552000"}, 0, "", ""},
      {{"phone", "add", "Harbour", "5551000"}, 0, "", ""},
      {{"phone", "add", "mill", "1"}, 1, "", "A record with that name already exists"},
      {{"phone", "add", "", "1"}, 1, "", "You must enter a Name"},
      {{"phone", "add", "Quay", ""}, 1, "", "You must enter a Phone Number"},
      {{"phone", "add", "a=b", "1"}, 1, "", "A name cannot contain"},
      {{"local", "add", "Hayes", ""}, 1, "", "You must enter a Setup String"},
      {{"remote", "add", "Site", "ATS0=1"}, 0, "", ""},
      {{"phone", "list"}, 0, "* Harbour\t5551000\n  Mill\t5552000\n", ""},
      {{"phone", "select", "MILL"}, 0, "", ""},
      {{"phone", "list"}, 0, "  Harbour\t5551000\n* Mill\t5552000\n", ""},
      {{"phone", "modify", "Harbour", "Dock", "5550000"}, 0, "", ""},
      {{"phone", "delete", "Nowhere"}, 1, "", "no entry called \"Nowhere\" in Phone.ini"},
      {{"phone", "delete", "Mill"}, 0, "", ""},
      {{"phone", "list"}, 0, "* Dock\t5550000\n", ""},
      {{"remote", "select", "Site"}, 0, "", ""},
      {{"phone"}, 2, "", "usage: kaldo phonebook"},
      {{"fax", "list"}, 2, "", "usage: kaldo phonebook"},
      {{"phone", "add", "OnlyName"}, 2, "", "usage: kaldo phonebook"},
  };
  for (const Step& s : steps) {
    const KaldoRun r = kaldo_test::runKaldoCommand(home, "phonebook", s.args);
    const std::string line = s.args.empty() ? "" : s.args.size() > 1 ? s.args[0] + " " + s.args[1] : s.args[0];
    EXPECT_EQ(r.status, s.status) << line << "\n" << r.err;
    EXPECT_EQ(r.out, s.out) << line;
    if (s.err.empty()) EXPECT_EQ(r.err, "") << line;
    else EXPECT_NE(r.err.find(s.err), std::string::npos) << line << ": " << r.err;
  }
  EXPECT_EQ(home.read("Phone.ini"), "[Defaults]\r\n_Entries=1\r\n\r\n[Index]\r\nDock=#\r\n\r\n[Dock]\r\nNumber=5550000\r\n");
  const settings::LoggerSettings saved = settings::loadSettings(home.path());
  EXPECT_EQ(saved.PhoneIndex, 1u);
  EXPECT_EQ(saved.PhoneNumber, "5552000");  // chosen before Mill was deleted
  EXPECT_EQ(saved.RemoteModemIndex, 0u);
  EXPECT_EQ(saved.RemoteModemInit, "ATS0=1");
}

TEST(KaldoPhonebook, AHandDamagedFileSaysWhichLinesItSkipped) {
  TempDir home;
  home.write("Local.ini", "[Index]\nHayes=#\ngarbage\n[Hayes]\nSetup=AT&F\n");
  const KaldoRun r = kaldo_test::runKaldoCommand(home, "phonebook", {"local", "list"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "* Hayes\tAT&F\n");
  EXPECT_EQ(r.err, "Local.ini: 1 line skipped, the other records are kept:\nline 3: neither a section nor a key = value line\n");
}

TEST(KaldoComTest, ExitsZeroOnlyWhenTheCableLoopsBack) {
  struct Case {
    const char* port;
    int status;
    std::string out;
  };
  const std::vector<Case> cases = {
      {"sim:loopback", 0, "! Com Test OK\n"},
      {"sim:hayes-modem", 1, "! A modem is connected to the selected Com Port.\n"},
      {"sim", 1, "! Test \xC3\xA9" "chec  - Pas de r\xC3\xA9" "ception.\n"},
  };
  for (const Case& c : cases) {
    TempDir home;
    const KaldoRun r = kaldo_test::runKaldoCommand(home, "com-test", {"--port", c.port, "--trace"});
    EXPECT_EQ(r.status, c.status) << c.port << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.port;
    EXPECT_NE(r.err.find("open COM1 @1200"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("> AT"), std::string::npos) << r.err;
  }
  TempDir home;
  EXPECT_EQ(kaldo_test::runKaldoCommand(home, "com-test", {"extra"}).status, 2);
}

}  // namespace
}  // namespace brevik::cli
