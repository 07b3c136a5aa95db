#include "datafile/data_file_writer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/data_file_builder.h"
#include "datafile/data_file_from_status.h"
#include "datafile/data_file_reader.h"
#include "protocol/vocabulary.h"
#include "support/temp_dir.h"

namespace brevik::datafile {
namespace {

using protocol::kResolution12Bit;

TEST(DataFileWriter, WritesHeaderDataLinesAsReceivedAndEndLines) {
  std::ostringstream out;
  DataFileWriter writer(out);
  const DataFileHeaderFields h = fixtures::sampleHeader(kResolution12Bit, 1);
  ASSERT_TRUE(writer.writeHeader(h).ok());
  ASSERT_TRUE(writer.appendDataLine("00ff7e").ok());
  ASSERT_TRUE(writer.endBank('A').ok());
  ASSERT_TRUE(writer.appendDataLine("A1B2C3").ok());
  ASSERT_TRUE(writer.endBank('B').ok());
  EXPECT_FALSE(writer.appendDataLine("00\r\nZA").ok());
  ASSERT_TRUE(writer.close().ok());
  EXPECT_EQ(out.str(), formatDataFileHeader(h) + "00ff7e\r\nZA\r\nA1B2C3\r\nZB\r\n");
}

TEST(DataFileWriter, WritesToAnyPathAndReplacesAnEarlierFile) {
  testing::TempDir dir;
  const auto target = dir.write("site1a.qx1.part", "old content that is longer than nothing");
  auto writer = DataFileWriter::create(target);
  ASSERT_TRUE(writer.ok()) << writer.error().message;
  ASSERT_TRUE(writer->writeHeader(fixtures::sampleHeader(kResolution12Bit, 1)).ok());
  ASSERT_TRUE(writer->close().ok());
  EXPECT_EQ(dir.read("site1a.qx1.part"), formatDataFileHeader(fixtures::sampleHeader(kResolution12Bit, 1)));
  EXPECT_FALSE(std::filesystem::exists(dir / "site1a.qx1"));  // no rename inside the writer

  auto nowhere = DataFileWriter::create(dir / "no" / "such" / "dir.qx1");
  ASSERT_FALSE(nowhere.ok());
  EXPECT_EQ(nowhere.error().kind, ErrorKind::Io);
  EXPECT_NE(nowhere.error().message.find("File I/O error: "), std::string::npos);
}

TEST(DataFileWriter, ReportsAStreamThatFails) {
  std::ostringstream out;
  out.setstate(std::ios::badbit);
  DataFileWriter writer(out);
  EXPECT_FALSE(writer.writeHeader(DataFileHeaderFields{}).ok());
  EXPECT_FALSE(writer.close().ok());
}

protocol::LoggerStatus runningTwelveBitStatus() {
  protocol::LoggerStatus s;
  s.flags = 0xC1;  // ring, bits 7 and 6 as a 12-bit MT54 reports them
  s.rateCode = 'J';
  s.channelBits = 0x03;
  s.inputModes = 0x0008;
  s.phase = 9;
  s.memoryPointer = 0x0800;
  s.descriptions = {"Air", "Sol", "", ""};
  s.session = "Ferme;nord";
  s.channelRecords = {"C", "  0.00 50.00", "", ""};
  s.typeCodes = {'C', '3', '0', '0'};
  s.revision = 'q';
  s.modelCode = '4';
  s.bankLetter = 'A';
  s.twelveBit = true;
  s.resolutionCode = kResolution12Bit;
  s.referenceOhms = 30100.0f;
  s.batteryVolts = 3.2f;
  s.firstReadingText = "Tue  3-Jun-2003  9:05:00am";
  s.stopTimeText = "Tue 17-Jun-2003 10:01";
  s.clockText = "Wed  4-Jun-2003 10:01:02am";
  return s;
}

TEST(DataFileFromStatus, HeaderComesFromTheStatusAndReadsBack) {
  const DateTime pc{2003, 6, 4, 10, 1, 5, 0, 3};
  const DataFileHeaderFields f = headerFieldsFromStatus(runningTwelveBitStatus(), pc, true);
  const std::string text = formatDataFileHeader(f);
  const auto lines = splitLines(text);
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[0], "CC300q4H@ 3.2 A");
  EXPECT_EQ(lines[2], "Wed  4-Jun-2003 10:01:02am");  // still running: the logger clock
  EXPECT_EQ(lines[4], "Wed  4-Jun-2003 10:01:02am  Wed  4-Jun-2003 10:01:05am");
  EXPECT_EQ(lines[9], "129");  // 193 less 64: the flags say 12 bit
  EXPECT_EQ(lines[10], "74");
  EXPECT_EQ(lines[12], "2048 9");

  auto file = parseLoggerDataFile(text, "n.qx1");
  ASSERT_TRUE(file.ok()) << file.error().message;
  EXPECT_EQ(file->resolutionCode, kResolution12Bit);
  EXPECT_EQ(file->channels, (std::vector<int>{1, 2}));
  EXPECT_EQ(file->banks.at(0).samplesPerChannel, 1024u / 2);
  EXPECT_EQ(file->header.inputModes, 0x0008);
  EXPECT_EQ(file->header.referenceOhms, 30100);
  ASSERT_TRUE(file->pcTime.has_value());
  EXPECT_EQ(*file->pcTime, pc);

  protocol::LoggerStatus stopped = runningTwelveBitStatus();
  stopped.flags |= 0x02;
  EXPECT_EQ(headerFieldsFromStatus(stopped, pc, true).last, "Tue 17-Jun-2003 10:01");
}

}  // namespace
}  // namespace brevik::datafile
