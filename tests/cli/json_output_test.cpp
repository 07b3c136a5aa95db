// kaldo --json: every command's document parsed back, holding the values
// its text form shows; standard output holding JSON alone; and the small
// rules the documents are built with.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "../protocol/status_reply_builder.h"
#include "settings/logger_settings.h"
#include "cli/console_readings.h"
#include "cli/json_documents.h"
#include "cli/json_output.h"
#include "cli/kaldo_run.h"
#include "common/cp1252.h"
#include "support/loaded_file_fixtures.h"
#include "support/temp_dir.h"

namespace brevik::cli {
namespace {

using brevik::testing::TempDir;
using kaldo_test::KaldoRun;
using kaldo_test::lines;
using kaldo_test::runKaldoCommand;
using Json = nlohmann::ordered_json;

Json parsed(const std::string& text) {
  Json j = Json::parse(text, nullptr, false);
  EXPECT_FALSE(j.is_discarded()) << "not one JSON document:\n" << text;
  return j;
}

// What a text line shows, compared with a JSON value: a string stands as it
// is, a number as the number the text starts with, an array of numbers as
// they are written with blanks between ("4 0 0 0").
void expectSameValue(const Json& value, const std::string& text, const std::string& where) {
  SCOPED_TRACE(where + " <- '" + text + "'");
  if (value.is_string()) {
    EXPECT_EQ(value.get<std::string>(), text);
  } else if (value.is_number()) {
    const auto n = json::leadingNumber(text);
    ASSERT_TRUE(n.has_value());
    EXPECT_DOUBLE_EQ(value.get<double>(), *n);
  } else if (value.is_array()) {
    std::string joined;
    for (const Json& item : value) joined += (joined.empty() ? "" : " ") + item.dump();
    EXPECT_EQ(joined, text);
  } else {
    ADD_FAILURE() << "no value, or one no text shows: " << value.dump();
  }
}

// A home with settings, a raw status reply, a data file, a setup file and a
// virtual logger whose clock stands still, so that a text run and a JSON run
// print the same values.
struct JsonHome {
  TempDir home;
  std::string reply, stoppedReply, dataFile, setupFile, profile;

  JsonHome() {
    settings::LoggerSettings s;
    s.FahrenheitUnits = 0;
    s.TwelveHourClock = 1;
    s.FastProtocol = 0;
    s.BaudRate = 9600;
    EXPECT_TRUE(settings::saveSettings(home.path(), s));
    protocol::testing::StatusReplyBuilder b;
    b.types = "A300";
    b.records[0] = "A";
    b.channels = "03";
    b.readings = "80804D000000";
    b.descriptions[0] = "Air \xE9;";  // Windows-1252, as the logger sends it
    reply = home.write("status.txt", b.build() + "\r\n").string();
    b.flags = "02";
    stoppedReply = home.write("stopped.txt", b.build() + "\r\n").string();

    auto h = fixtures::linearHeader(2, 'G', 100);
    h.typeCodes[0] = 'A';
    h.scalingTexts[0] = "C";
    h.descriptions[0] = "Air";
    h.descriptions[1] = "Boiler~0,250;Deg F";
    std::vector<std::vector<std::uint8_t>> counts(2, std::vector<std::uint8_t>(100));
    for (std::size_t i = 0; i < 100; ++i) counts[0][i] = counts[1][i] = static_cast<std::uint8_t>(60 + i % 50);
    dataFile = home.write("site.QX1", fixtures::buildFile(h, {fixtures::interleave(counts)})).string();
    setupFile = (home.path() / "default.set").string();
    profile = home.write("still.logger",
                         "descriptions = Air|Sol|Eau|Pression\n"
                         "clock = 00011024063303\n"
                         "schedule = 993012000000\n")
                  .string();
  }
};

TEST(KaldoJson, EachDocumentHoldsTheValuesItsTextFormShows) {
  struct Case {
    const char* name;
    std::vector<std::string> args;  // without --json
    std::string separator;          // between a text line's name and value
    bool padded;                    // values are aligned with blanks after the separator
    // Where the lines of each section ("" before any "[section]") stand, in
    // order, as the members of one object; empty: only `mapped` lines count.
    std::map<std::string, std::string> sections;
    // Lines that stand elsewhere: name -> JSON pointer.
    std::map<std::string, std::string> mapped;
  };
  JsonHome h;
  const Case cases[] = {
      {"decode-status", {"decode-status", h.reply, "--schedule", "9830073300"}, ": ", false,
       {{"", "/form"}}, {{"Schedule", "/schedule"}}},
      {"status", {"status", "--port", "sim:" + h.profile}, ": ", false, {{"", "/form"}}, {{"Schedule", "/schedule"}}},
      {"settings", {"settings"}, ": ", false, {{"", ""}}, {}},
      {"settings changed", {"settings", "BaudRate=4800", "ViewportLayout=2 2 0 0"}, ": ", false, {{"", ""}}, {}},
      {"setup show", {"setup", "show", h.setupFile}, "=", false, {{"[record]", "/record"}, {"[form]", "/form"}}, {}},
      {"info",
       {"info", h.dataFile},
       ":",
       true,
       {},
       {{"Reference resistor", "/referenceOhms"}, {"Revision", "/revision"}, {"Model", "/model"},
        {"Battery", "/batteryVolts"}, {"First", "/first"}, {"Last", "/last"}, {"Session", "/session"},
        {"Description 2", "/descriptions/1"}, {"Rate code", "/rateCode"}, {"Channel bits", "/channelBits"},
        {"Memory pointer", "/memoryPointer"}, {"Resolution", "/resolution"},
        {"Bank A", "/banks/0/samplesPerChannel"}}},
      {"graph --describe",
       {"graph", h.dataFile, "--describe"},
       ": ",
       false,
       {},
       {{"Caption", "/caption"}, {"Title", "/title"}, {"X-axis label", "/xAxisLabel"}, {"Points", "/points"},
        {"Samples per point", "/samplesPerPoint"}, {"Viewport 1 axis label", "/viewports/0/axisLabel"},
        {"Viewport 2 channels", "/viewports/1/channels/0"}, {"Viewport 2 scale", "/viewports/1/scale/minimum"},
        {"Subset 2 legend", "/subsets/1/legend"}, {"Subset 2 colour slot", "/subsets/1/colourSlot"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> rest(c.args.begin() + 1, c.args.end());
    std::vector<std::string> jsonArgs = rest;
    jsonArgs.push_back("--json");
    const KaldoRun asJson = runKaldoCommand(h.home, c.args[0], jsonArgs);
    const KaldoRun asText = runKaldoCommand(h.home, c.args[0], rest);
    ASSERT_EQ(asText.status, kExitOk) << asText.err;
    ASSERT_EQ(asJson.status, kExitOk) << asJson.err;
    const Json doc = parsed(asJson.out);
    ASSERT_TRUE(doc.is_object());

    std::string section;
    std::map<std::string, std::size_t> nextMember;
    std::size_t mappedSeen = 0;
    for (const std::string& line : lines(asText.out)) {
      if (line.empty()) continue;
      if (line.front() == '[') {
        section = line;
        continue;
      }
      const auto cut = line.find(c.separator);
      ASSERT_NE(cut, std::string::npos) << line;
      const std::string name = line.substr(0, cut);
      std::string value = line.substr(cut + c.separator.size());
      if (c.padded) value.erase(0, value.find_first_not_of(' '));
      if (const auto m = c.mapped.find(name); m != c.mapped.end()) {
        expectSameValue(doc.at(Json::json_pointer(m->second)), value, m->second);
        ++mappedSeen;
        continue;
      }
      const auto s = c.sections.find(section);
      if (s == c.sections.end()) continue;
      const Json& members = doc.at(Json::json_pointer(s->second));
      std::size_t& k = nextMember[section];
      ASSERT_LT(k, members.size()) << "no member for " << line;
      const auto member = std::next(members.begin(), static_cast<std::ptrdiff_t>(k++));
      EXPECT_EQ(member.key(), name);
      expectSameValue(member.value(), value, s->second + "/" + name);
    }
    EXPECT_EQ(mappedSeen, c.mapped.size()) << "a mapped line is missing from the text form";
    for (const auto& [name, pointer] : c.sections)
      EXPECT_EQ(nextMember[name], doc.at(Json::json_pointer(pointer)).size()) << "members the text does not show";
  }
}

// The typed values and ISO stamps beside the texts, command by command.
TEST(KaldoJson, NumbersAreNumbersAndStampsHaveTheirIsoForm) {
  JsonHome h;
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::map<std::string, Json> expected;  // JSON pointer -> value
  };
  const Case cases[] = {
      {"decode-status",
       {"decode-status", h.reply},
       {{"/logger/clock", "Tue 24-Jun-2003 10:01:00am"},
        {"/logger/clockIso", "2003-06-24T10:01:00"},
        {"/logger/firstReadingIso", "2003-06-03T09:05:00"},
        {"/logger/stationAddress", 5},
        {"/logger/intervalMinutes", 1},
        {"/logger/channels/0/description", "Air é;"},
        {"/logger/channels/0/reading/value", 1.45},
        {"/logger/channels/0/reading/unit", ""},
        {"/logger/channels/2/on", false},
        {"/logger/channels/2/reading/value", nullptr},
        {"/logger/state", "* En Marche *  ( memoirPlein Sat 14-Jun-2003  1:53:00pm )"},
        {"/logger/stateIso", "2003-06-14T13:53:00"},
        {"/schedule", nullptr}}},
      {"decode-status of a stopped logger",
       {"decode-status", h.stoppedReply},
       {{"/logger/state", "Memoi.Plein;  Enregistre.arrêté: Tue 17-Jun-2003 10:00:00am"},
        {"/logger/stateIso", "2003-06-17T10:00:00"}}},
      {"status",
       {"status", "--port", "sim:" + h.profile},
       {{"/logger/resolutionBits", 12},
        {"/logger/batteryLow", false},
        {"/logger/channels/3/description", "Pression"},
        {"/schedule", "Daily dialout at 12:30"}}},
      {"info",
       {"info", h.dataFile},
       {{"/firstIso", "2003-06-03T09:05:00"}, {"/rate", "1 minute"}, {"/typeCodes/0", "A"}, {"/channels/1", 2},
        {"/scalings/0", "C           "},
        {"/wrapMode", false}, {"/phase", nullptr}, {"/banks/0/samplesInFile", 100}}},
      {"graph --describe",
       {"graph", h.dataFile, "--describe"},
       {{"/xRange/fromIso", "2003-06-03T09:05:00"},
        {"/xRange/toIso", "2003-06-03T10:44:00"},
        {"/viewports/0/scale", "auto"},
        {"/viewports/1/scale/maximum", 250},
        {"/markers", true}}},
      {"settings", {"settings"}, {{"/BaudRate", 9600}, {"/TwelveHourClock", 1}, {"/ViewportLayout/0", 4}}},
      {"setup show",
       {"setup", "show", h.setupFile},
       {{"/record/ChannelOn1", 1}, {"/record/RateCode", "D"}, {"/record/StartDate", "2000-01-01"}}},
      {"export",
       {"export", h.dataFile, (h.home.path() / "out.txt").string(), "--avg", "5", "--note", "Essai n°2"},
       {{"/format", "text"}, {"/averaging", 5}, {"/header", true}, {"/note", "Essai n°2"}, {"/notices", Json::array()}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args(c.args.begin() + 1, c.args.end());
    args.push_back("--json");
    const KaldoRun r = runKaldoCommand(h.home, c.args[0], args);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const Json doc = parsed(r.out);
    for (const auto& [pointer, value] : c.expected) EXPECT_EQ(doc.at(Json::json_pointer(pointer)), value) << pointer;
  }
  EXPECT_TRUE(std::filesystem::exists(h.home.path() / "out.txt")) << "the export wrote its file";
}

TEST(KaldoJson, ReceiveWritesTheFileAndReportsTheDownload) {
  JsonHome h;
  const std::string file = (h.home.path() / "down.qx1").string();
  const KaldoRun r = runKaldoCommand(h.home, "receive", {file, "--port", "sim:" + h.profile, "--json"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const Json doc = parsed(r.out);
  EXPECT_EQ(doc["file"], file);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_GT(doc["blocks"].get<int>(), 0);
  EXPECT_EQ(doc["badLines"], 0);
  ASSERT_EQ(doc["messages"].size(), 1u);
  EXPECT_EQ(doc["messages"][0].get<std::string>().rfind("Transfert terminé: down.qx1", 0), 0u) << doc["messages"];
  EXPECT_NE(r.err.find("Transfert terminé"), std::string::npos) << "people still read the message, on stderr";
}

TEST(KaldoJson, ReadingsAreOneObjectALine) {
  JsonHome h;
  const KaldoRun r = runKaldoCommand(h.home, "readings", {"--port", "sim:" + h.profile, "--count", "3", "--json"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const auto printed = lines(r.out);
  ASSERT_EQ(printed.size(), 3u) << r.out;
  for (const std::string& line : printed) {
    const Json reading = parsed(line);
    EXPECT_EQ(reading["stampIso"].get<std::string>().size(), 19u) << line;
    ASSERT_EQ(reading["channels"].size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
      EXPECT_EQ(reading["channels"][k]["channel"], k + 1);
      EXPECT_TRUE(reading["channels"][k]["value"].is_number()) << line;
    }
  }
}

// The CSV line and the JSON object of one reading say the same.
TEST(KaldoJson, AReadingsObjectMatchesItsCsvLine) {
  protocol::LoggerStatus status;
  status.channelBits = 0x0B;  // channels 1, 2 and 4
  protocol::ReadingUpdate reading;
  reading.texts = {"  23.50 Deg C", " Open", "OFF", "  1.250 m, \"a\""};
  const DateTime now{2003, 6, 3, 21, 5, 7, 450, 2};
  for (const bool dayFirst : {false, true}) {
    SCOPED_TRACE(dayFirst);
    const std::string csv = readingsCsvLine(now, dayFirst, status, reading);
    const Json doc = parsed(json::readingDocument(now, dayFirst, status, reading).dump(true));
    EXPECT_EQ(csv.rfind(doc["stamp"].get<std::string>() + ",", 0), 0u) << csv;
    EXPECT_EQ(doc["stampIso"], "2003-06-03T21:05:07");
    ASSERT_EQ(doc["channels"].size(), 3u);
    EXPECT_EQ(doc["channels"][0], Json::parse(R"({"channel":1,"text":"23.50 Deg C","value":23.5,"unit":"Deg C"})"));
    EXPECT_EQ(doc["channels"][1], Json::parse(R"({"channel":2,"text":"Open","value":null,"unit":null})"));
    EXPECT_EQ(doc["channels"][2]["channel"], 4);
    EXPECT_EQ(doc["channels"][2]["unit"], "m, \"a\"");
    EXPECT_NE(csv.find(",Open,\"1.250 m, \"\"a\"\"\""), std::string::npos) << csv;
  }
}

// Standard output holds a JSON document or nothing: a failure, a refused
// command line and a subcommand without JSON say so on standard error.
TEST(KaldoJson, NothingButJsonOnStandardOutput) {
  JsonHome h;
  const std::string garbage = h.home.write("garbage.txt", "not a status\r\n").string();
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {"a reply that is no status", {"decode-status", garbage, "--json"}, kExitFailed},
      // The home wakes a logger at 9600 baud; this one listens at 57600.
      {"a logger that does not answer", {"status", "--port", "sim:kaldo5-12bit", "--json"}, kExitFailed},
      {"no download", {"receive", (h.home.path() / "r.qx1").string(), "--port", "sim:kaldo5-12bit", "--json"},
       kExitFailed},
      {"a missing data file", {"info", (h.home.path() / "none.qx1").string(), "--json"}, kExitFailed},
      {"an image is no JSON", {"graph", h.dataFile, "--png", "x.png", "--json"}, kExitUsage},
      {"only setup show prints JSON", {"setup", "new", (h.home.path() / "n.set").string(), "--json"}, kExitUsage},
      {"a refused setting", {"settings", "BaudRate=12", "--json"}, kExitUsage},
      {"a command without JSON", {"hangup", "--port", "sim", "--json"}, kExitUsage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const KaldoRun r = runKaldoCommand(h.home, c.args[0], std::vector<std::string>(c.args.begin() + 1, c.args.end()));
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
  }
  EXPECT_FALSE(std::filesystem::exists(h.home.path() / "n.set"));
}

TEST(KaldoJson, HelpNamesTheOption) {
  JsonHome h;
  for (const char* command : {"status", "info", "receive", "export", "settings", "decode-status", "graph", "readings"}) {
    const KaldoRun r = runKaldoCommand(h.home, command, {"--help"});
    EXPECT_NE(lines(r.out).front().find("[--json]"), std::string::npos) << command << ": " << r.out;
  }
  EXPECT_EQ(runKaldoCommand(h.home, "hangup", {"--help"}).out.find("--json"), std::string::npos);
}

TEST(JsonOutput, ShownNumbersAndUnits) {
  struct Case {
    const char* text;
    std::optional<double> number;
    const char* rest;
  };
  const Case cases[] = {
      {"  -14.49 Deg F", -14.49, "Deg F"}, {"6.7 volts", 6.7, "volts"}, {" 10.012 ", 10.012, ""},
      {".5%", 0.5, "%"},                   {"OFF", std::nullopt, "OFF"}, {" Open", std::nullopt, "Open"},
      {"inf", std::nullopt, "inf"},        {"-", std::nullopt, "-"},     {"", std::nullopt, ""},
      {"1e5 x", 1.0, "e5 x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(json::leadingNumber(c.text), c.number);
    EXPECT_EQ(json::afterLeadingNumber(c.text), c.rest);
  }
}

TEST(JsonOutput, TextsStampsAndNumbersAsAScriptReadsThem) {
  struct Case {
    const char* name;
    json::Value value;
    Json expected;
  };
  const Case cases[] = {
      {"Windows-1252 becomes UTF-8", json::Value::text("Arr\xEAt\x80"), "Arrêt€"},
      {"control bytes are escaped", json::Value::text(std::string("a\r\x01\0b", 5)), std::string("a\r\x01\0b", 5)},
      {"bytes that are not UTF-8 are replaced", json::Value::utf8("a\xFF"), "a\xEF\xBF\xBD"},
      {"a stamp", json::Value::iso(DateTime{2026, 12, 9, 13, 5, 0, 0, 3}), "2026-12-09T13:05:00"},
      {"with milliseconds", json::Value::iso(DateTime{2003, 6, 3, 9, 5, 7, 40, 2}), "2003-06-03T09:05:07.040"},
      {"a display stamp", json::Value::isoOfDisplayStamp("Tue  3-Jun-2003  9:05:00pm"), "2003-06-03T21:05:00"},
      {"no stamp", json::Value::isoOfDisplayStamp("en attente"), nullptr},
      {"no infinity in JSON", json::Value::number(std::numeric_limits<double>::infinity()), nullptr},
      {"members keep their order",
       json::Value::object().set("z", json::Value::integer(1)).set("a", json::Value::boolean(true)),
       Json::parse(R"({"z":1,"a":true})")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string dumped = c.value.dump(true);
    EXPECT_EQ(dumped.find('\n'), std::string::npos);
    const Json back = parsed(dumped);
    EXPECT_EQ(back, c.expected);
    EXPECT_EQ(back.dump(), c.expected.dump());
  }
}

}  // namespace
}  // namespace brevik::cli
