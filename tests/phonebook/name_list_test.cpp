// The list files byte for byte after each sequence of changes, and what a
// hand-edited file reads as.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "phonebook/name_list.h"
#include "support/temp_dir.h"

namespace brevik::phonebook {
namespace {

using testing::TempDir;

enum class Op { Insert, Modify, Remove };

struct Change {
  Op op;
  std::string name;
  std::string value;
  std::size_t position = 0;  // Modify, Remove
  std::string refusal = {};  // "" when the change is taken
};

struct SequenceCase {
  const char* title;
  ListKind kind;
  std::string before;  // the file before ("" : no file)
  std::vector<Change> changes;
  std::string after;
};

std::string thousandRecordsLessOne() {
  std::string index;
  std::string sections;
  for (int i = 0; i < 999; ++i) {
    const std::string name = "S" + std::string(i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i);
    index += name + "=#\r\n";
    sections += "\r\n[" + name + "]\r\nNumber=" + std::to_string(i) + "\r\n";
  }
  return "[Defaults]\r\n_Entries=999\r\n\r\n[Index]\r\n" + index + sections;
}

const std::string kTwoSites =
    "[Defaults]\r\n_Entries=2\r\n\r\n[Index]\r\nAlpha=#\r\nBravo=#\r\n\r\n[Alpha]\r\nNumber=5551000\r\n\r\n"
    "[Bravo]\r\nNumber=5552000\r\n";

const std::string k84(84, '7');

const std::vector<SequenceCase> kSequences = {
    {"insert into a new file, kept sorted whatever the letter case",
     ListKind::Phone,
     "",
     {{Op::Insert, "Site B", "555 2"}, {Op::Insert, "site a", "555 1"}},
     "[Defaults]\r\n_Entries=2\r\n\r\n[Index]\r\nsite a=#\r\nSite B=#\r\n\r\n[site a]\r\nNumber=555 1\r\n\r\n"
     "[Site B]\r\nNumber=555 2\r\n"},
    {"a duplicate name (in any letter case) is refused and the file left alone",
     ListKind::Phone,
     kTwoSites,
     {{Op::Insert, "ALPHA", "1", 0, std::string(kDuplicateNameText)},
      {Op::Modify, "bravo", "2", 0, std::string(kDuplicateNameText)}},
     kTwoSites},
    {"delete the last entry, then the only one",
     ListKind::Phone,
     kTwoSites,
     {{Op::Remove, "", "", 1}, {Op::Remove, "", "", 0}},
     "[Defaults]\r\n_Entries=0\r\n\r\n[Index]\r\n"},
    {"an 84-character number and a 40-character name are cut to 83 and 31",
     ListKind::Phone,
     "",
     {{Op::Insert, std::string(40, 'N'), k84}},
     "[Defaults]\r\n_Entries=1\r\n\r\n[Index]\r\n" + std::string(31, 'N') + "=#\r\n\r\n[" + std::string(31, 'N') +
         "]\r\nNumber=" + std::string(83, '7') + "\r\n"},
    {"modify under a new name moves the record; under the same name rewrites it",
     ListKind::LocalModem,
     "[Defaults]\r\n_Entries=1\r\n\r\n[Index]\r\nZoom=#\r\n\r\n[Zoom]\r\nSetup=ATZ\r\n",
     {{Op::Insert, "Hayes", "AT&F"}, {Op::Modify, "Acme", "AT&F1", 0}, {Op::Modify, "Zoom", "ATE0", 1}},
     "[Defaults]\r\n_Entries=2\r\n\r\n[Index]\r\nAcme=#\r\nZoom=#\r\n\r\n[Acme]\r\nSetup=AT&F1\r\n\r\n"
     "[Zoom]\r\nSetup=ATE0\r\n"},
    {"names that would break the file are refused",
     ListKind::RemoteModem,
     "",
     {{Op::Insert, "a[b", "AT", 0, "A name cannot contain \"[\", \"]\" or \"=\""},
      {Op::Insert, "a=b", "AT", 0, "A name cannot contain \"[\", \"]\" or \"=\""},
      {Op::Insert, "two\nlines", "AT", 0, "A name must be one line of text, without control characters"},
      {Op::Insert, " lead", "AT", 0, "A name cannot begin or end with a blank"},
      {Op::Insert, "trail ", "AT", 0, "A name cannot begin or end with a blank"},
      {Op::Insert, "#hash", "AT", 0, "A name cannot begin with \";\" or \"#\""},
      {Op::Insert, "index", "AT", 0, "\"Defaults\" and \"Index\" cannot be used as names"},
      {Op::Insert, "Ok", "AT\r\nATZ", 0, "A setup string must be one line of text"},
      {Op::Insert, "Ok", "AT"}},
     "[Defaults]\r\n_Entries=1\r\n\r\n[Index]\r\nOk=#\r\n\r\n[Ok]\r\nSetup=AT\r\n"},
    {"the 1,000th record is refused", ListKind::Phone, thousandRecordsLessOne(),
     {{Op::Insert, "T", "1", 0, "The list is full: a file holds at most 999 records"}}, thousandRecordsLessOne()},
};

TEST(NameList, FilesAreExactAfterEachSequenceOfChanges) {
  for (const SequenceCase& c : kSequences) {
    SCOPED_TRACE(c.title);
    TempDir dir;
    const std::string fileName(describe(c.kind).fileName);
    if (!c.before.empty()) dir.write(fileName, c.before);
    auto list = NameList::open(c.kind, dir.path());
    ASSERT_TRUE(list.ok());
    for (const Change& change : c.changes) {
      std::string refusal;
      auto shaped = NameList::shape(c.kind, change.name, change.value);
      if (change.op == Op::Remove) {
        if (Status s = list->remove(change.position); !s) refusal = s.error().message;
      } else if (!shaped) {
        refusal = shaped.error().message;
      } else if (change.op == Op::Insert) {
        if (auto at = list->insert(*shaped); !at) refusal = at.error().message;
      } else if (auto at = list->modify(change.position, *shaped); !at) {
        refusal = at.error().message;
      }
      EXPECT_EQ(refusal, change.refusal) << change.name;
    }
    EXPECT_EQ(dir.read(fileName), c.after);
    // What was written reads back as the same list.
    auto again = NameList::open(c.kind, dir.path());
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->records(), list->records());
    EXPECT_TRUE(again->skipped().empty());
  }
}

TEST(NameList, AHandEditedFileLoadsWhatItCanAndKeepsItOnTheNextSave) {
  TempDir dir;
  dir.write("Phone.ini",
            "\xEF\xBB\xBF; sites of the north network\n"
            "[defaults]\n"
            "_entries = 7\n"
            "number = 000\n"
            "\n"
            "  [ index ]  \n"
            "Harbour = #\n"
            "mill=#\n"
            "# the pump station has no number yet\n"
            "Pump=#\n"
            "Quay\n"
            "Ro[ad=#\n"
            "mill=#\n"
            "=5\n"
            "[Harbour]\r\n"
            "Number =  555 0101  \r\n"
            "[Notes]\n"
            "Owner=Brevik\n"
            "[MILL]\r"
            "NUMBER=#\r"
            "[Broken\n");
  auto list = NameList::open(ListKind::Phone, dir.path());
  ASSERT_TRUE(list.ok());
  const std::vector<ListRecord> expected = {{"Harbour", "555 0101"}, {"mill", ""}, {"Pump", "000"}};
  EXPECT_EQ(list->records(), expected);
  std::vector<std::size_t> skippedLines;
  for (const SkippedLine& s : list->skipped()) skippedLines.push_back(s.line);
  EXPECT_EQ(skippedLines, (std::vector<std::size_t>{11, 12, 13, 14, 21}));
  EXPECT_EQ(skippedLinesText(*list),
            "Phone.ini: 5 lines skipped, the other records are kept:\n"
            "line 11: neither a section nor a key = value line\n"
            "line 12: A name cannot contain \"[\", \"]\" or \"=\"\n"
            "line 13: the key is already in section [index]\n"
            "line 14: a value without a key\n"
            "line 21: not a section name in brackets");

  auto at = list->insert({"Dock", "555 0202"});
  ASSERT_TRUE(at.ok());
  EXPECT_EQ(*at, 0u);
  EXPECT_EQ(dir.read("Phone.ini"),
            "[Defaults]\r\n_Entries=4\r\nnumber=000\r\n\r\n[Index]\r\nDock=#\r\nHarbour=#\r\nmill=#\r\nPump=#\r\n"
            "\r\n[Dock]\r\nNumber=555 0202\r\n\r\n[Harbour]\r\nNumber=555 0101\r\n\r\n[mill]\r\nNumber=#\r\n\r\n[Pump]\r\n"
            "Number=000\r\n\r\n[Notes]\r\nOwner=Brevik\r\n");
  auto again = NameList::open(ListKind::Phone, dir.path());
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again->records(), list->records());
}

TEST(NameList, AFileThatCannotBeWrittenLeavesTheListAsItWas) {
  TempDir dir;
  std::filesystem::create_directory(dir / "Phone.ini");  // a directory where the file should be
  NameList list(ListKind::Phone, dir / "Phone.ini");
  auto at = list.insert({"A", "1"});
  ASSERT_FALSE(at.ok());
  EXPECT_EQ(at.error().message.rfind("Cannot write Phone.ini: ", 0), 0u) << at.error().message;
  EXPECT_EQ(list.size(), 0u);
}

}  // namespace
}  // namespace brevik::phonebook
