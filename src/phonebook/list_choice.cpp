#include "phonebook/list_choice.h"

namespace brevik::phonebook {

namespace {

constexpr std::size_t kPhoneNumberCapacity = 254;
constexpr std::size_t kModemInitCapacity = 255;

std::string cut(const std::string& s, std::size_t width) { return s.substr(0, width); }

}  // namespace

void applyChoice(ListKind kind, std::size_t position, const ListRecord& record, settings::LoggerSettings& settings) {
  const auto index = static_cast<std::uint32_t>(position);
  switch (kind) {
    case ListKind::Phone:
      settings.PhoneIndex = index;
      settings.PhoneNumber = cut(record.value, kPhoneNumberCapacity);
      return;
    case ListKind::LocalModem:
      settings.LocalModemIndex = index;
      settings.LocalModemInit = cut(record.value, kModemInitCapacity);
      return;
    case ListKind::RemoteModem:
      settings.RemoteModemIndex = index;
      settings.RemoteModemInit = cut(record.value, kModemInitCapacity);
      return;
  }
}

std::uint32_t savedPosition(ListKind kind, const settings::LoggerSettings& settings) {
  switch (kind) {
    case ListKind::Phone: return settings.PhoneIndex;
    case ListKind::LocalModem: return settings.LocalModemIndex;
    case ListKind::RemoteModem: return settings.RemoteModemIndex;
  }
  return 0;
}

std::optional<std::string> refreshDialNumber(const NameList& phoneBook, settings::LoggerSettings& settings) {
  const auto at = openingPosition(phoneBook.size(), settings.PhoneIndex);
  if (!at) return std::nullopt;
  const ListRecord& record = phoneBook.records()[*at];
  applyChoice(ListKind::Phone, *at, record, settings);
  return record.name;
}

std::string phoneBoxText(const NameList& phoneBook, const settings::LoggerSettings& settings) {
  const auto at = openingPosition(phoneBook.size(), settings.PhoneIndex);
  return at ? phoneBook.records()[*at].name : settings.PhoneNumber;
}

}  // namespace brevik::phonebook
