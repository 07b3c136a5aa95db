// The list dialogs without their window: what each button does to the
// selection, the edits and the focus, the messages it shows, and what OK
// puts in the settings.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "phonebook/list_choice.h"
#include "phonebook/list_dialog_model.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace brevik::phonebook {
namespace {

using testing::ScriptedPrompter;
using testing::TempDir;

enum class Act { Click, Insert, Modify, Delete };

struct Step {
  Act act;
  std::string edit1 = {};
  std::string edit2 = {};
  std::size_t position = 0;  // Click
  std::optional<Answer> answer = std::nullopt;  // Delete's question
};

struct DialogCase {
  const char* title;
  ListKind kind;
  std::vector<ListRecord> records;  // in the file before
  std::uint32_t saved;              // the settings' position for the list
  std::vector<Step> steps;
  ListAction lastAction;
  std::vector<std::string> messages;
  std::vector<std::string> names;
  std::optional<std::size_t> selection;
  std::string edit1, edit2;
  EditFocus focus;
};

const std::vector<ListRecord> kThree = {{"Alpha", "5551000"}, {"Bravo", "5552000"}, {"Charlie", "5553000"}};

const std::vector<DialogCase> kCases = {
    {"a saved position past the end opens on the first entry", ListKind::Phone, kThree, 7, {}, ListAction::Done, {},
     {"Alpha", "Bravo", "Charlie"}, 0, "Alpha", "5551000", EditFocus::None},
    {"an empty list opens with nothing selected", ListKind::Phone, {}, 0, {}, ListAction::Done, {}, {}, std::nullopt,
     "", "", EditFocus::None},
    {"insert with an empty name", ListKind::Phone, kThree, 1, {{Act::Insert, "", "555"}}, ListAction::Refused,
     {"You must enter a Name"}, {"Alpha", "Bravo", "Charlie"}, 1, "", "555", EditFocus::Name},
    {"insert with an empty set-up string", ListKind::LocalModem, {}, 0, {{Act::Insert, "Hayes", ""}},
     ListAction::Refused, {"You must enter a Setup String"}, {}, std::nullopt, "Hayes", "", EditFocus::Value},
    {"insert a modem without a name", ListKind::RemoteModem, {}, 0, {{Act::Insert, "", "AT"}}, ListAction::Refused,
     {"You must enter a Modem Name"}, {}, std::nullopt, "", "AT", EditFocus::Name},
    {"insert a name already there", ListKind::Phone, kThree, 0, {{Act::Insert, "bravo", "1"}}, ListAction::Refused,
     {"A record with that name already exists"}, {"Alpha", "Bravo", "Charlie"}, 0, "bravo", "1", EditFocus::None},
    {"insert selects the new record where the sorted list puts it", ListKind::Phone, kThree, 0,
     {{Act::Insert, "Baker", "5554000"}}, ListAction::Done, {}, {"Alpha", "Baker", "Bravo", "Charlie"}, 1, "Baker",
     "5554000", EditFocus::None},
    {"modify renames and keeps the record selected", ListKind::Phone, kThree, 0,
     {{Act::Click, "", "", 2}, {Act::Modify, "Able", "5550000"}}, ListAction::Done, {},
     {"Able", "Alpha", "Bravo"}, 0, "Able", "5550000", EditFocus::None},
    {"modify and delete without a selection beep", ListKind::Phone, {}, 0,
     {{Act::Modify, "X", "1"}, {Act::Delete}}, ListAction::Beep, {}, {}, std::nullopt, "X", "1", EditFocus::None},
    {"delete asks, and No keeps the record", ListKind::Phone, kThree, 1, {{Act::Delete, "", "", 0, Answer::No}},
     ListAction::Refused, {"Are you sure you want to delete \"Bravo\"?"}, {"Alpha", "Bravo", "Charlie"}, 1, "Bravo",
     "5552000", EditFocus::None},
    {"delete in the middle selects the same position", ListKind::Phone, kThree, 1, {{Act::Delete}}, ListAction::Done,
     {"Are you sure you want to delete \"Bravo\"?"}, {"Alpha", "Charlie"}, 1, "Charlie", "5553000", EditFocus::None},
    {"delete the last entry selects the one before it", ListKind::Phone, kThree, 2, {{Act::Delete}},
     ListAction::Done, {"Are you sure you want to delete \"Charlie\"?"}, {"Alpha", "Bravo"}, 1, "Bravo", "5552000",
     EditFocus::None},
    {"delete the only entry leaves nothing selected and both edits empty", ListKind::Phone, {{"Solo", "1"}}, 0,
     {{Act::Delete}}, ListAction::Done, {"Are you sure you want to delete \"Solo\"?"}, {}, std::nullopt, "", "",
     EditFocus::None},
};

TEST(ListDialogModel, ButtonsFollowTheirRules) {
  for (const DialogCase& c : kCases) {
    SCOPED_TRACE(c.title);
    TempDir dir;
    {
      NameList seed(c.kind, dir / describe(c.kind).fileName);
      for (const ListRecord& r : c.records) ASSERT_TRUE(seed.insert(r).ok());
    }
    ScriptedPrompter prompter;
    ListDialogModel model(c.kind, prompter);
    model.create(dir.path());
    model.show(c.saved);
    ListAction last = ListAction::Done;
    for (const Step& s : c.steps) {
      if (s.answer) prompter.answers.push_back(*s.answer);
      if (s.act == Act::Click) {
        model.click(s.position);
        continue;
      }
      if (s.act != Act::Delete) {
        model.edit1 = s.edit1;
        model.edit2 = s.edit2;
      }
      last = s.act == Act::Insert ? model.insert() : s.act == Act::Modify ? model.modify() : model.remove();
    }
    EXPECT_EQ(last, c.lastAction);
    std::vector<std::string> texts;
    for (const Message& m : prompter.messages) texts.push_back(m.text);
    EXPECT_EQ(texts, c.messages);
    EXPECT_EQ(model.names(), c.names);
    EXPECT_EQ(model.selection(), c.selection);
    EXPECT_EQ(model.edit1, c.edit1);
    EXPECT_EQ(model.edit2, c.edit2);
    EXPECT_EQ(model.focus(), c.focus);
    // The file says what the list box says.
    auto reread = NameList::open(c.kind, dir.path());
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(reread->size(), c.names.size());
  }
}

TEST(ListDialogModel, OkMakesTheSelectedEntryTheListsChoice) {
  TempDir dir;
  NameList phones(ListKind::Phone, dir / "Phone.ini");
  ASSERT_TRUE(phones.insert({"Alpha", "5551000"}).ok());
  ASSERT_TRUE(phones.insert({"Bravo", std::string(83, '9')}).ok());
  NameList local(ListKind::LocalModem, dir / "Local.ini");
  ASSERT_TRUE(local.insert({"Hayes", "AT&F"}).ok());
  NameList remote(ListKind::RemoteModem, dir / "Remote.ini");
  ASSERT_TRUE(remote.insert({"Site", "ATS0=1"}).ok());
  ASSERT_TRUE(remote.insert({"Spare", "ATS0=2"}).ok());

  ScriptedPrompter prompter;
  settings::LoggerSettings s;
  s.PhoneIndex = 1;
  s.LocalModemIndex = 5;
  s.RemoteModemIndex = 1;
  for (ListKind kind : {ListKind::Phone, ListKind::LocalModem, ListKind::RemoteModem}) {
    ListDialogModel model(kind, prompter);
    model.create(dir.path());
    model.show(savedPosition(kind, s));
    EXPECT_TRUE(model.ok(s).has_value());
  }
  EXPECT_EQ(s.PhoneIndex, 1u);
  EXPECT_EQ(s.PhoneNumber, std::string(83, '9'));
  EXPECT_EQ(s.LocalModemIndex, 0u);
  EXPECT_EQ(s.LocalModemInit, "AT&F");
  EXPECT_EQ(s.RemoteModemIndex, 1u);
  EXPECT_EQ(s.RemoteModemInit, "ATS0=2");

  // Before dialling the phone book's entry is the number; an empty book
  // leaves the number as it is.
  s.PhoneIndex = 9;
  s.PhoneNumber = "typed";
  EXPECT_EQ(phoneBoxText(phones, s), "Alpha");
  EXPECT_EQ(refreshDialNumber(phones, s), std::optional<std::string>("Alpha"));
  EXPECT_EQ(s.PhoneIndex, 0u);
  EXPECT_EQ(s.PhoneNumber, "5551000");
  const NameList empty(ListKind::Phone, dir / "none.ini");
  EXPECT_EQ(refreshDialNumber(empty, s), std::nullopt);
  EXPECT_EQ(s.PhoneNumber, "5551000");
  EXPECT_EQ(phoneBoxText(empty, s), "5551000");
  EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace brevik::phonebook
