#pragma once
// The list dialogs (phone book, local modems, site modems) without their
// window: the names in the list box, the selection, the two edits, where
// the focus goes, and what Insert, Modify, Delete and OK do, with their
// messages. The window shows this state and forwards clicks.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "phonebook/name_list.h"
#include "settings/logger_settings.h"

namespace brevik::phonebook {

enum class EditFocus { None, Name, Value };

// What a button did: its work, nothing (a message said why), or nothing
// because nothing is selected (the window beeps).
enum class ListAction { Done, Refused, Beep };

class ListDialogModel {
 public:
  ListDialogModel(ListKind kind, Prompter& prompter);

  // Points the dialog at the home's file and loads the names. A file that
  // cannot be read leaves the list empty and says why; lines skipped in a
  // damaged file are said once, as a warning.
  void create(const std::filesystem::path& home);
  // Selects the saved position (the first entry when it is past the end)
  // and shows its record in the edits.
  void show(std::uint32_t saved);
  void click(std::size_t position);

  ListAction insert();
  ListAction modify();
  ListAction remove();
  // OK: the selected entry becomes the list's choice in `settings`; its
  // position, or nothing when nothing is selected.
  std::optional<std::size_t> ok(settings::LoggerSettings& settings) const;

  ListKind kind() const { return list_.kind(); }
  const NameList& list() const { return list_; }
  std::vector<std::string> names() const;
  std::optional<std::size_t> selection() const { return selection_; }
  const ListRecord* selected() const;
  EditFocus focus() const { return focus_; }

  // The two edits, as typed (Windows-1252).
  std::string edit1;
  std::string edit2;

 private:
  // The record the edits describe, or nothing (said, focus set).
  std::optional<ListRecord> recordFromEdits();
  // Insert and Modify: the record of the edits stored by `change`, which
  // gives its new position; the record selected.
  ListAction store(const std::function<Result<std::size_t>(const ListRecord&)>& change);
  void select(std::optional<std::size_t> position);
  void error(const std::string& text);

  Prompter& prompter_;
  NameList list_;
  std::optional<std::size_t> selection_;
  EditFocus focus_ = EditFocus::None;
};

// "Are you sure you want to delete "NAME"?"
std::string deleteQuestion(const std::string& name);

}  // namespace brevik::phonebook
