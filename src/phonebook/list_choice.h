#pragma once
// What choosing an entry of a list does to the Logger Settings: its
// position is saved for the list, and its number or set-up string becomes
// the one the link dials with or sends.

#include <cstddef>
#include <optional>
#include <string>

#include "phonebook/name_list.h"
#include "settings/logger_settings.h"

namespace brevik::phonebook {

// Saves `position` as the list's selected entry and copies `record`'s value
// into the setting it feeds (PhoneNumber, LocalModemInit, RemoteModemInit),
// cut to that setting's capacity.
void applyChoice(ListKind kind, std::size_t position, const ListRecord& record, settings::LoggerSettings& settings);

// The saved position of the list.
std::uint32_t savedPosition(ListKind kind, const settings::LoggerSettings& settings);

// Before dialling: the phone book's entry at the saved position (the first
// when that is past the end) becomes the number to dial. Returns the name
// of that entry to show; nothing, and the settings untouched, when the
// phone book is empty.
std::optional<std::string> refreshDialNumber(const NameList& phoneBook, settings::LoggerSettings& settings);

// The name the phone boxes show: the phone book's entry at the saved
// position (or the first), else the number itself.
std::string phoneBoxText(const NameList& phoneBook, const settings::LoggerSettings& settings);

}  // namespace brevik::phonebook
