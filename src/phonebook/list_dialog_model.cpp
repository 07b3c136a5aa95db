#include "phonebook/list_dialog_model.h"

#include "phonebook/list_choice.h"

namespace brevik::phonebook {

ListDialogModel::ListDialogModel(ListKind kind, Prompter& prompter)
    : prompter_(prompter), list_(kind, std::filesystem::path(describe(kind).fileName)) {}

void ListDialogModel::create(const std::filesystem::path& home) {
  auto opened = NameList::open(kind(), home);
  if (!opened) {
    list_ = NameList(kind(), home / describe(kind()).fileName);
    error("Cannot read " + std::string(describe(kind()).fileName) + ": " + opened.error().message);
    return;
  }
  list_ = std::move(*opened);
  if (const std::string skipped = skippedLinesText(list_); !skipped.empty())
    prompter_.ask(Message{MessageKind::Warning, skipped, Buttons::Ok, 0});
}

void ListDialogModel::show(std::uint32_t saved) {
  focus_ = EditFocus::None;
  select(openingPosition(list_.size(), saved));
}

void ListDialogModel::click(std::size_t position) {
  if (position < list_.size()) select(position);
}

std::vector<std::string> ListDialogModel::names() const {
  std::vector<std::string> out;
  for (const ListRecord& r : list_.records()) out.push_back(r.name);
  return out;
}

const ListRecord* ListDialogModel::selected() const {
  return selection_ ? &list_.records()[*selection_] : nullptr;
}

void ListDialogModel::select(std::optional<std::size_t> position) {
  selection_ = position;
  edit1 = selection_ ? list_.records()[*selection_].name : std::string();
  edit2 = selection_ ? list_.records()[*selection_].value : std::string();
}

void ListDialogModel::error(const std::string& text) { prompter_.ask(Message{MessageKind::Error, text, Buttons::Ok, 0}); }

std::optional<ListRecord> ListDialogModel::recordFromEdits() {
  const ListDescription& d = describe(kind());
  if (edit1.empty()) {
    focus_ = EditFocus::Name;
    error(std::string(d.missingName));
    return std::nullopt;
  }
  if (edit2.empty()) {
    focus_ = EditFocus::Value;
    error(std::string(d.missingValue));
    return std::nullopt;
  }
  auto shaped = NameList::shape(kind(), edit1, edit2);
  if (!shaped) {
    focus_ = nameProblem(edit1) ? EditFocus::Name : EditFocus::Value;
    error(shaped.error().message);
    return std::nullopt;
  }
  return *shaped;
}

ListAction ListDialogModel::insert() {
  return store([this](const ListRecord& record) { return list_.insert(record); });
}

ListAction ListDialogModel::modify() {
  if (!selection_) return ListAction::Beep;
  const std::size_t position = *selection_;
  return store([this, position](const ListRecord& record) { return list_.modify(position, record); });
}

ListAction ListDialogModel::store(const std::function<Result<std::size_t>(const ListRecord&)>& change) {
  const auto record = recordFromEdits();
  if (!record) return ListAction::Refused;
  auto at = change(*record);
  if (!at) {
    error(at.error().message);
    return ListAction::Refused;
  }
  select(*at);
  return ListAction::Done;
}

ListAction ListDialogModel::remove() {
  if (!selection_) return ListAction::Beep;
  const std::size_t position = *selection_;
  const Message question{MessageKind::Confirmation, deleteQuestion(list_.records()[position].name), Buttons::YesNo, 0};
  if (prompter_.ask(question) != Answer::Yes) return ListAction::Refused;
  if (Status removed = list_.remove(position); !removed) {
    error(removed.error().message);
    return ListAction::Refused;
  }
  if (list_.size() == 0) select(std::nullopt);
  else select(position < list_.size() ? position : list_.size() - 1);
  return ListAction::Done;
}

std::optional<std::size_t> ListDialogModel::ok(settings::LoggerSettings& settings) const {
  if (!selection_) return std::nullopt;
  applyChoice(kind(), *selection_, list_.records()[*selection_], settings);
  return selection_;
}

std::string deleteQuestion(const std::string& name) { return "Are you sure you want to delete \"" + name + "\"?"; }

}  // namespace brevik::phonebook
