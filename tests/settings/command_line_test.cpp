#include "settings/command_line.h"

#include <gtest/gtest.h>

#include <functional>

namespace brevik::settings {
namespace {

// Settings that differ from every value the command line may write, so each
// rule shows whether it ran.
LoggerSettings startingSettings() {
  LoggerSettings s;
  s.UseModem = 1;
  s.NetworkMode = 1;
  s.StationAddress = 99;
  s.PhoneIndex = 7;
  s.PhoneNumber = "old number";
  s.SetupFileName = "old.set";
  s.DataFileName = "old.qx1";
  return s;
}

struct Case {
  std::string label;
  std::vector<std::string> args;
  StartupAction action;
  std::function<void(const CommandLineOutcome&)> check;
};

void unchangedLinkFields(const CommandLineOutcome& o) {
  EXPECT_EQ(o.settings.UseModem, 1);
  EXPECT_EQ(o.settings.NetworkMode, 1);
  EXPECT_EQ(o.settings.StationAddress, 99);
  EXPECT_EQ(o.settings.PhoneIndex, 7u);
  EXPECT_EQ(o.settings.PhoneNumber, "old number");
}

TEST(CommandLine, EveryRule) {
  using A = StartupAction;
  const std::vector<Case> cases = {
      {"no arguments", {}, A::None,
       [](const CommandLineOutcome& o) {
         unchangedLinkFields(o);
         EXPECT_EQ(o.flags, CommandLineFlags{});
         EXPECT_EQ(o.currentDataFileName, "old.qx1");
       }},
      {"data file alone opens its graph", {"site2.qx1"}, A::GraphFile,
       [](const CommandLineOutcome& o) {
         unchangedLinkFields(o);
         EXPECT_EQ(o.settings.DataFileName, "site2.qx1");
         EXPECT_EQ(o.currentDataFileName, "site2.qx1");
         EXPECT_TRUE(o.flags.openGraph);
       }},
      {"unknown mode letter graphs the file", {"site2.qx1", "x"}, A::GraphFile,
       [](const CommandLineOutcome& o) { EXPECT_TRUE(o.flags.openGraph); }},
      {"graph file name cut to 255", {std::string(300, 'g')}, A::GraphFile,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.settings.DataFileName, std::string(255, 'g'));
         EXPECT_EQ(o.currentDataFileName, std::string(255, 'g'));
         EXPECT_EQ(o.fileArgument.size(), 300u);
       }},
      {"send a setup", {"C:\\kvl\\Site.Set", "s"}, A::SendSetup,
       [](const CommandLineOutcome& o) {
         EXPECT_TRUE(o.flags.setupSend);
         EXPECT_FALSE(o.flags.openGraph);
         EXPECT_EQ(o.settings.SetupFileName, "C:\\kvl\\Site.Set");
         EXPECT_EQ(o.settings.DataFileName, "old.qx1");
       }},
      {"upper-case mode letter", {"site.set", "S"}, A::SendSetup,
       [](const CommandLineOutcome& o) { EXPECT_TRUE(o.flags.setupSend); }},
      {"setup without .set", {"notes.txt", "s"}, A::LogAndQuit,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.logText, "Invalid command line; no .set file type");
         EXPECT_FALSE(o.flags.setupSend);
         EXPECT_EQ(o.settings.SetupFileName, "old.set");
       }},
      {".set only in a directory name", {"dir.set/notes", "s"}, A::LogAndQuit,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.logText, kNoSetFileText); }},
      {"receive over a direct line from one logger", {"data.QX1", "r", "0", "0"}, A::ReceiveData,
       [](const CommandLineOutcome& o) {
         EXPECT_TRUE(o.flags.receive);
         EXPECT_EQ(o.settings.UseModem, 0);
         EXPECT_EQ(o.settings.NetworkMode, 0);
         EXPECT_EQ(o.settings.StationAddress, 99);  // "0" leaves the address alone
         EXPECT_EQ(o.fileArgument, "data.QX1");
       }},
      {"receive csv starts a status exchange", {"now.csv", "r"}, A::ReceiveCsv,
       [](const CommandLineOutcome& o) {
         EXPECT_TRUE(o.flags.csv);
         EXPECT_FALSE(o.flags.receive);
         unchangedLinkFields(o);
       }},
      {"receive into a .dat", {"x.dat", "r"}, A::LogAndQuit,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.logText, "Invalid file name extension"); }},
      {"receive into a name without extension", {"qx1", "r"}, A::LogAndQuit,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.logText, kBadExtensionText); }},
      {"hang up", {"x", "h"}, A::HangUp,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.flags, CommandLineFlags{});
         EXPECT_EQ(o.settings.DataFileName, "old.qx1");
       }},
      {"station and phone number", {"site.set", "s", "12", "5551234"}, A::SendSetup,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.settings.NetworkMode, 1);
         EXPECT_EQ(o.settings.StationAddress, 12);
         EXPECT_EQ(o.settings.UseModem, 1);
         EXPECT_EQ(o.settings.PhoneNumber, "5551234");
         EXPECT_EQ(o.settings.PhoneIndex, 7u);
       }},
      {"station keeps its low 8 bits", {"a.qx1", "r", "300"}, A::ReceiveData,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.settings.StationAddress, 44); }},
      {"negative station", {"a.qx1", "r", "-1"}, A::ReceiveData,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.settings.StationAddress, 255); }},
      {"station that is not a number", {"a.qx1", "r", "abc"}, A::ReceiveData,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.settings.NetworkMode, 1);
         EXPECT_EQ(o.settings.StationAddress, 0);
       }},
      {"station beyond 32 bits", {"a.qx1", "r", "99999999999"}, A::ReceiveData,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.settings.StationAddress, 0); }},
      {"phone book entry", {"a.qx1", "r", "0", "3"}, A::ReceiveData,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.settings.UseModem, 1);
         EXPECT_EQ(o.settings.PhoneIndex, 2u);
         EXPECT_EQ(o.settings.PhoneNumber, "old number");
       }},
      {"four-digit entry", {"a.qx1", "r", "0", "1234"}, A::ReceiveData,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.settings.PhoneIndex, 1233u); }},
      {"five characters are a number to dial", {"a.qx1", "r", "0", "12345"}, A::ReceiveData,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.settings.PhoneNumber, "12345");
         EXPECT_EQ(o.settings.PhoneIndex, 7u);
       }},
      {"number to dial cut to 254", {"a.qx1", "r", "0", std::string(300, '9')}, A::ReceiveData,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.settings.PhoneNumber, std::string(254, '9')); }},
      {"phone 0 means a direct line", {"a.qx1", "r", "0", "0"}, A::ReceiveData,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.settings.UseModem, 0);
         EXPECT_EQ(o.settings.PhoneIndex, 7u);
       }},
      {"entry that is not a number", {"a.qx1", "r", "0", "abc"}, A::LogAndQuit,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.logText, "Invalid phone book entry number");
         EXPECT_EQ(o.settings.PhoneIndex, 7u);
       }},
      {"entry 00 selects nothing", {"a.qx1", "r", "0", "00"}, A::LogAndQuit,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.settings.PhoneIndex, 7u); }},
      {"negative entry", {"a.qx1", "r", "0", "-2"}, A::LogAndQuit,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.settings.PhoneIndex, 7u); }},
      {"empty entry", {"a.qx1", "r", "0", ""}, A::LogAndQuit,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.logText, kBadPhoneEntryText); }},
      {"station and phone are applied before an invalid mode", {"x.txt", "s", "7", "2"}, A::LogAndQuit,
       [](const CommandLineOutcome& o) {
         EXPECT_EQ(o.logText, kNoSetFileText);
         EXPECT_EQ(o.settings.StationAddress, 7);
         EXPECT_EQ(o.settings.PhoneIndex, 1u);
       }},
      {"a fifth argument is ignored", {"a.qx1", "r", "0", "0", "extra"}, A::ReceiveData,
       [](const CommandLineOutcome& o) { EXPECT_EQ(o.settings.UseModem, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const CommandLineOutcome o = applyCommandLine(c.args, startingSettings());
    EXPECT_EQ(o.action, c.action);
    if (c.action != StartupAction::LogAndQuit) {
      EXPECT_TRUE(o.logText.empty());
    }
    c.check(o);
  }
}

TEST(CommandLine, UpperExtension) {
  EXPECT_EQ(upperExtension("site.qx1"), ".QX1");
  EXPECT_EQ(upperExtension("a.b.Set"), ".SET");
  EXPECT_EQ(upperExtension("C:\\dir.x\\name"), "");
  EXPECT_EQ(upperExtension("name."), ".");
  EXPECT_EQ(upperExtension(""), "");
}

TEST(ProgramArguments, LongOptionsAreSeparatedFromPositionalOnes) {
  auto a = splitProgramArguments({"site.set", "--home", "/tmp/h", "s", "--demo", "12", "-5"});
  ASSERT_TRUE(a);
  EXPECT_EQ(a->positional, (std::vector<std::string>{"site.set", "s", "12", "-5"}));
  EXPECT_EQ(a->home, std::filesystem::path("/tmp/h"));
  EXPECT_TRUE(a->demo);
  EXPECT_FALSE(a->help);

  auto b = splitProgramArguments({"--home=/x", "--help", "--version", "--", "--odd.qx1"});
  ASSERT_TRUE(b);
  EXPECT_EQ(b->home, std::filesystem::path("/x"));
  EXPECT_TRUE(b->help);
  EXPECT_TRUE(b->version);
  EXPECT_EQ(b->positional, std::vector<std::string>{"--odd.qx1"});
}

TEST(ProgramArguments, UsageErrors) {
  for (const std::vector<std::string>& argv :
       {std::vector<std::string>{"--port", "3"}, {"a.qx1", "--home"}, {"--home="}, {"--home", ""}}) {
    auto r = splitProgramArguments(argv);
    ASSERT_FALSE(r) << argv[0];
    EXPECT_EQ(r.error().kind, ErrorKind::Usage);
  }
  EXPECT_NE(splitProgramArguments({"--port"}).error().message.find("'--port'"), std::string::npos);
}

}  // namespace
}  // namespace brevik::settings
