#include "protocol/download_precheck.h"

#include "common/cp1252.h"
#include "protocol/vocabulary.h"

namespace brevik::protocol {

namespace {

constexpr std::string_view kNoData = "Pas de données    ;"_cp;
constexpr std::string_view kNoFile = "Pas de fichier créé ."_cp;

std::string sessionAndDescriptions(const LoggerStatus& s) {
  std::string text = s.session;
  for (const std::string& d : s.descriptions) text += "," + d;
  return text;
}

}  // namespace

PrecheckResult downloadPrecheck(const LoggerStatus& s) {
  if (s.memoryPointer == kEmptyMemoryPointer && !s.hasWrapped()) return {PrecheckOutcome::MemoryEmpty, "", ""};
  if (s.activeChannels == 0) return {PrecheckOutcome::NoChannel, " Tous les canaux: Off;", "ao"};
  if (s.isWaitingPreset())
    return {PrecheckOutcome::WaitingPreset, std::string(" appareil en attente de l'heure prévue"_cp), "ws"};
  if (s.isWaitingTrigger()) {
    const std::string reason = revisionSaysChannel1(s.revision)
                                   ? std::string(" en attente canal1 fermé ou sonde connectée."_cp)
                                   : " waiting for all temp. probes to be attached.";
    return {PrecheckOutcome::WaitingTrigger, reason, "wp"};
  }
  return {};
}

std::string precheckLogLine(const PrecheckResult& r, const LoggerStatus& s) {
  if (r.outcome == PrecheckOutcome::Download) return {};
  if (r.outcome == PrecheckOutcome::MemoryEmpty)
    return std::string(kNoData) + "\r" + std::string(kNoFile) + " " + sessionAndDescriptions(s);
  std::string line = std::string(kNoData) + " " + r.logCode;
  if (r.outcome == PrecheckOutcome::WaitingTrigger) line += " ";
  return line + sessionAndDescriptions(s);
}

std::string precheckMessage(const PrecheckResult& r) {
  if (r.outcome == PrecheckOutcome::Download) return {};
  return std::string(kNoData) + r.reason + "\r" + std::string(kNoFile);
}

}  // namespace brevik::protocol
