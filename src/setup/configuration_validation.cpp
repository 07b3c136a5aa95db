#include "setup/configuration_validation.h"

#include "common/bytes.h"
#include "common/cp1252.h"
#include "setup/configuration_command.h"
#include "protocol/vocabulary.h"

namespace brevik::setup {

std::string_view ringTooFastText() {
  return "Mauvaise config : impossible  en mode mem. tournant si échantion plus rapide que 2 sec."_cp;
}

std::string_view modemOutputTooFastText() {
  return "Mauvaise config : impossible  'immediat', avec sortie modem si échantion plus rapide que 2 seconde"_cp;
}

std::string_view fastRateText() {
  return "Grande vitesse choisie (1 valeur/sec ou plus vite , l'appareil ne répondra  plus jusqu'à l'arrét de "
         "l'enregistrement/fin mém./canal1Ouvert."_cp;
}

std::string memoryErasedText() {
  return bytes::padded("La mémoire va être effacée et"_cp, 47) +
         std::string(" son horloge va prendre date/heure de ce PC     .");
}

std::string_view fastTriggerBatteryText() {
  return "Vous avez choisi vitesse rapide gV ET début quand canal 1 fermé ou arrét quand canal 1 ouvert,LA PILE "
         "PEUT ETRE DECHARGE en qq jours si ce mode est actvé continuellement."_cp;
}

std::string_view presetStartPassedText() {
  return "Heure prévue est déjà dépassé;  Enregistrement démarre immédiat."_cp;
}

ValidationOutcome validateConfiguration(const setup::LoggerConfiguration& config, const ValidationContext& context,
                                        const ValidationAsker& ask) {
  if (context.labelsOnly) return ValidationOutcome::Send;
  const bool fast = protocol::isFastRate(config.rateCode());
  const unsigned mode = protocol::byteOf(modeCharacter(config.modeByte()));
  const auto refuse = [&](int step, std::string_view text) {
    ask(ValidationQuestion{step, std::string(text), ValidationButtons::Ok});
    return ValidationOutcome::Stop;
  };
  const auto confirm = [&](int step, std::string_view text) {
    return ask(ValidationQuestion{step, std::string(text), ValidationButtons::OkCancel});
  };

  if (fast && (mode & kModeRing) && !(mode & kModeStopOnChannel1)) return refuse(1, ringTooFastText());
  if (fast && config.startMode() == 3) return refuse(2, modemOutputTooFastText());
  if (fast && !confirm(3, fastRateText())) return ValidationOutcome::Stop;
  if (context.unattended) return ValidationOutcome::Send;
  if (!confirm(5, memoryErasedText())) return ValidationOutcome::Stop;
  if (fast && (mode & (kModeWaitingForTrigger | kModeStopOnChannel1)))
    return confirm(6, fastTriggerBatteryText()) ? ValidationOutcome::Send : ValidationOutcome::Stop;
  if (config.startMode() == 1 && presetStartPassed(config, context.now))
    return confirm(7, presetStartPassedText()) ? ValidationOutcome::Send : ValidationOutcome::Stop;
  return ValidationOutcome::Send;
}

}  // namespace brevik::setup
