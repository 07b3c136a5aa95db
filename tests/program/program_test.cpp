#include "program/program.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace brevik::program {
namespace {

using brevik::testing::TempDir;

const FixedClock kClock(DateTime{2024, 3, 5, 14, 7, 9, 0, 2});

TEST(Program, StartsFromTheSavedSettings) {
  TempDir home;
  settings::LoggerSettings saved;
  saved.LastModelCode = 2;
  saved.DataFileName = "lake.qx1";
  ASSERT_TRUE(settings::saveSettings(home.path(), saved));
  Program program(home.path(), kClock);
  EXPECT_EQ(program.globals().currentDataFileName, "lake.qx1");
  EXPECT_EQ(program.globals().memoryCapacity, 25800u);
  EXPECT_EQ(program.globals().fullScale, 1023u);
  EXPECT_EQ(program.globals().productTitle, "KALDO  Logger");
  EXPECT_EQ(program.globals().downloadBank, 'A');
  EXPECT_FALSE(program.quitRequest());
}

TEST(Program, MemoryGeometryOfEachResolutionCode) {
  EXPECT_EQ(settings::memoryGeometryOf(1), (settings::MemoryGeometry{32256, 255}));
  EXPECT_EQ(settings::memoryGeometryOf(2), (settings::MemoryGeometry{25800, 1023}));
  EXPECT_EQ(settings::memoryGeometryOf(3), (settings::MemoryGeometry{21504, 4095}));
  EXPECT_EQ(settings::memoryGeometryOf(5), (settings::MemoryGeometry{0, 0}));
  EXPECT_EQ(settings::memoryGeometryOf(0), (settings::MemoryGeometry{0, 0}));
}

TEST(Program, InvalidCommandLineLogsAFreshLineAndQuitsWithoutSaving) {
  TempDir home;
  home.write("QXLOG.TXT", "older runs\r\n");
  Program program(home.path(), kClock);
  EXPECT_EQ(program.applyCommandLine({"notes.txt", "s"}), settings::StartupAction::LogAndQuit);
  ASSERT_TRUE(program.quitRequest());
  EXPECT_FALSE(program.quitRequest()->saveSettings);
  EXPECT_EQ(home.read("QXLOG.TXT"), "Invalid command line; no .set file type 3/5/2024 2:07:09 PM\r\n");
  EXPECT_FALSE(std::filesystem::exists(home / "kvlog.ini"));
}

TEST(Program, CommandLineSetsFlagsAndCurrentFile) {
  TempDir home;
  Program program(home.path(), kClock);
  EXPECT_EQ(program.applyCommandLine({"pond.qx1"}), settings::StartupAction::GraphFile);
  EXPECT_TRUE(program.globals().flags.openGraph);
  EXPECT_EQ(program.globals().currentDataFileName, "pond.qx1");
  EXPECT_EQ(program.settings().DataFileName, "pond.qx1");
  EXPECT_EQ(program.commandLineFile(), "pond.qx1");
}

TEST(Program, ShutdownTurnsTheFastProtocolOnAboveNineteenTwoHundred) {
  TempDir home;
  Program program(home.path(), kClock);
  program.settings().BaudRate = 57600;
  program.settings().FastProtocol = 0;
  ASSERT_TRUE(program.saveAtShutdown());
  const std::string saved = home.read("kvlog.ini");
  ASSERT_EQ(saved.size(), 1596u);
  EXPECT_EQ(saved[1588], 1);

  Program slow(home.path(), kClock);
  slow.settings().BaudRate = 9600;
  slow.settings().FastProtocol = 0;
  ASSERT_TRUE(slow.saveAtShutdown());
  EXPECT_EQ(home.read("kvlog.ini")[1588], 0);
}

}  // namespace
}  // namespace brevik::program
