#pragma once
// Texts and report shapes the exchange engine's files share.

#include <string>
#include <string_view>
#include <utility>

#include "common/cp1252.h"
#include "link/reporting.h"

namespace brevik::link::engine_texts {

inline constexpr std::string_view kCannotOpenPort = "Impossible d'ouvrir le PortCom - SVP vérifier   "_cp;

inline bool contains(std::string_view s, std::string_view part) {
  return s.find(part) != std::string_view::npos;
}

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline Report info(std::string text, int helpTopic = 0,
            CommandLineFlags flags = CommandLineFlags::None) {
  return Report{Message{MessageKind::Information, std::move(text), Buttons::Ok, helpTopic}, flags,
                std::nullopt, std::nullopt};
}

inline Report withKind(MessageKind kind, std::string text,
                CommandLineFlags flags = CommandLineFlags::None) {
  return Report{Message{kind, std::move(text), Buttons::Ok, 0}, flags, std::nullopt,
                std::nullopt};
}

}  // namespace brevik::link::engine_texts
