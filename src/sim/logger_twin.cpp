#include "sim/logger_twin.h"

#include <algorithm>
#include <array>

#include "sim/configuration.h"
#include "sim/framing.h"
#include "sim/line_model.h"
#include "sim/memory_image.h"
#include "sim/status_reply.h"

namespace brevik::sim {

namespace {

constexpr std::array<std::uint8_t, 7> kSwitchSequence = {0x00, 0xE0, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
constexpr std::uint16_t kScheduleAddress = 0x01D0;

bool isKnownBaud(std::uint32_t baud) {
  switch (baud) {
    case 1200: case 2400: case 4800: case 9600: case 19200: case 28800: case 38400: case 57600:
      return true;
    default:
      return false;
  }
}

}  // namespace

LoggerTwin::LoggerTwin(LoggerProfile profile, const DateTime& pcNow)
    : profile_(std::move(profile)),
      state_(LoggerState::fromProfile(profile_, pcNow)),
      faults_(profile_.faultRates, profile_.seed),
      baud_(profile_.baud) {}

bool LoggerTwin::revisionAtLeast(char needed) const {
  return static_cast<unsigned char>(state_.revision) >= static_cast<unsigned char>(needed);
}

void LoggerTwin::schedule(Micros at, std::function<void()> run) {
  pending_.push_back(Pending{at, nextOrder_++, std::move(run)});
}

void LoggerTwin::send(std::string_view bytes) {
  if (transmit_ && !bytes.empty()) transmit_(bytes, baud_, now_);
}

std::optional<Micros> LoggerTwin::nextDeadline() const {
  std::optional<Micros> next;
  for (const auto& p : pending_)
    if (!next || p.at < *next) next = p.at;
  if (phase_ != Phase::Asleep && !streaming_) {
    const Micros sleepAt = lastByteAt_ + kIdleSleep;
    if (!next || sleepAt < *next) next = sleepAt;
  }
  return next;
}

void LoggerTwin::advanceTo(Micros now) {
  while (true) {
    auto due = std::min_element(pending_.begin(), pending_.end(), [](const Pending& a, const Pending& b) {
      return a.at != b.at ? a.at < b.at : a.order < b.order;
    });
    if (due == pending_.end() || due->at > now) break;
    now_ = std::max(now_, due->at);
    auto run = std::move(due->run);
    pending_.erase(due);
    run();
  }
  now_ = std::max(now_, now);
  if (phase_ != Phase::Asleep && !streaming_ && now_ - lastByteAt_ >= kIdleSleep) {
    phase_ = Phase::Asleep;
    inCommand_ = false;
  }
}

void LoggerTwin::receive(std::uint8_t byte, std::uint32_t senderBaud, Micros at) {
  advanceTo(at);
  lastByteAt_ = now_;
  bool taken = false;
  switch (phase_) {
    case Phase::AwaitBaudSwitch:
      taken = takeBaudSwitch(byte, senderBaud);
      break;
    case Phase::AwaitBaudLetter:
      taken = takeBaudLetter(byte, senderBaud);
      break;
    case Phase::Awake:
      taken = takeCommandByte(byte, senderBaud);
      break;
    case Phase::Asleep:
      break;
  }
  if (!taken) noteActivity(senderBaud, now_);
}

bool LoggerTwin::takeBaudSwitch(std::uint8_t byte, std::uint32_t senderBaud) {
  if (senderBaud == 1200 && byte == 'E') {
    baudSwitched();
    return true;
  }
  if (senderBaud != baud_) return false;
  if (byte == 0xC0 || byte == 0x80) {
    baudSwitched();
    return true;
  }
  if (byte == kSwitchSequence[switchMatch_]) {
    if (++switchMatch_ == kSwitchSequence.size()) baudSwitched();
    return true;
  }
  switchMatch_ = byte == kSwitchSequence[0] ? 1 : 0;
  return false;
}

bool LoggerTwin::takeBaudLetter(std::uint8_t byte, std::uint32_t senderBaud) {
  if (senderBaud != 1200 || byte < 'A' || byte > 'E') return false;
  static constexpr std::uint32_t kLetterBauds[] = {1200, 2400, 4800, 9600, 19200};
  baud_ = kLetterBauds[byte - 'A'];
  baudSwitched();
  return true;
}

bool LoggerTwin::takeCommandByte(std::uint8_t byte, std::uint32_t senderBaud) {
  if (senderBaud != baud_) {
    inCommand_ = false;  // a garbled byte spoils the command it falls into
    return false;
  }
  if (byte == '>') {
    inCommand_ = true;
    command_.clear();
    return true;
  }
  if (!inCommand_) {
    if (byte == 0xC0 || byte == 0x80) {
      // The PC switches without having seen our wake-up answer; answer it now.
      baudSwitched();
      return true;
    }
    return false;
  }
  if (byte == '\r') {
    inCommand_ = false;
    execute(command_);
  } else if (command_.size() < kMaxCommandLength) {
    command_.push_back(static_cast<char>(byte));
  } else {
    inCommand_ = false;
  }
  return true;
}

void LoggerTwin::noteActivity(std::uint32_t senderBaud, Micros at) {
  const Micros byteStart = at - characterTime(senderBaud);
  if (byteStart - activityEnd_ > kActivityGap) {
    runStart_ = byteStart;
    runBytes_ = 0;
    answeredThisRun_ = false;
  }
  ++runBytes_;
  activityEnd_ = at;
  if (runBytes_ >= kAlertBytes) {
    if (phase_ == Phase::Asleep) phase_ = Phase::Awake;
    streaming_ = false;
  }
  const bool answering = phase_ == Phase::AwaitBaudSwitch || phase_ == Phase::AwaitBaudLetter;
  if (profile_.protocol == WakeProtocol::Normal && !answeredThisRun_ && !answering &&
      at - runStart_ >= kNormalWakeActivity) {
    answeredThisRun_ = true;
    if (profile_.effectiveWakeAnswer() == WakeAnswer::LetterHandshake) answerWhenQuiet();
    else answerWakeUp();
  }
}

// The PC writes its baud letter without dropping what is left of its burst,
// so an old logger that answered in the middle of the burst would get the
// letter seconds later, long after the PC stopped waiting for its
// identification. These loggers answer once the line has gone quiet.
void LoggerTwin::answerWhenQuiet() {
  const Micros quietAt = activityEnd_ + kActivityGap;
  if (now_ >= quietAt) {
    answerWakeUp();
    return;
  }
  schedule(quietAt, [this] { answerWhenQuiet(); });
}

void LoggerTwin::answerWakeUp() {
  inCommand_ = false;
  switchMatch_ = 0;
  if (profile_.effectiveWakeAnswer() == WakeAnswer::LetterHandshake) {
    phase_ = Phase::AwaitBaudLetter;
    if (transmit_) transmit_("R\r", 1200, now_);
    return;
  }
  // The logger answers at the baud it runs at now: its profile's, or the one
  // a baud change command set.
  phase_ = Phase::AwaitBaudSwitch;
  const char reply = static_cast<char>(wakeReplyByteFor(baud_));
  send(std::string_view(&reply, 1));
}

void LoggerTwin::baudSwitched() {
  phase_ = Phase::Awake;
  switchMatch_ = 0;
  inCommand_ = false;
  schedule(now_ + kIdentDelay, [this] { sendIdentification(); });
}

void LoggerTwin::sendIdentification() {
  std::string ident = profile_.effectiveIdent();
  if (faults_.strikes(FaultKind::LongIdent)) {
    if (ident.empty()) ident = "K";
    while (ident.size() < 6) ident += ident;
  }
  if (ident.empty()) return;
  send(ident + "\r");
}

void LoggerTwin::execute(const std::string& text) {
  const auto command = parseCommand(text, revisionAtLeast('S'));
  if (!command || command->body.empty()) return;
  if (command->address && *command->address != 0 && *command->address != state_.address) return;
  const std::string& body = command->body;

  if (body == "B" || body == "C") {
    if (profile_.rawStatus) reply(*profile_.rawStatus, true, true);
    else reply(statusReplyText(state_, now_), false, true);
    return;
  }
  if (body.size() == 6 && body[0] == 'D') {
    const auto address = parseHexWord(std::string_view(body).substr(2, 4));
    if (!address) return;
    if (*address == kScheduleAddress) {
      reply(state_.schedule ? *state_.schedule : std::string("000000000000"), false, false);
      return;
    }
    if (auto digits = memoryLineDigits(state_.memoryImage, state_.resolution, state_.model, body[1], *address))
      replyMemoryLine(*digits);
    return;
  }
  if (body.size() == 3 && body[0] == 'F') {
    const auto address = parseHexByte(std::string_view(body).substr(1, 2));
    if (!address) return;
    state_.address = *address;
    reply("OK", true, false);
    return;
  }
  if (body.size() == 2 && body[0] == 'I') {
    const std::uint32_t target = static_cast<std::uint32_t>(static_cast<unsigned char>(body[1]) - 0x40) * 1200;
    if (!isKnownBaud(target)) return;
    reply("OK", true, false);
    // The acknowledgement leaves at the old speed; everything after it at the new one.
    schedule(now_ + replyDelay(), [this, target] { baud_ = target; });
    return;
  }
  if (body == "Y" && revisionAtLeast('p')) {
    reply(state_.readingsField(now_), false, false, ">");
    return;
  }
  if (body == "Z" && revisionAtLeast('O') && !revisionAtLeast('p')) {
    reply("OK", true, false);
    streaming_ = true;
    schedule(now_ + replyDelay() + kStreamPeriod, [this] { streamNextReading(); });
    return;
  }
  if (isConfigurationMessage(body)) {
    const bool applied = applyConfigurationMessage(state_, body, now_);
    reply(applied ? "OK" : "ER", true, false);
  }
}

void LoggerTwin::streamNextReading() {
  if (!streaming_) return;
  send(readingLine(state_, now_) + "\r");
  schedule(now_ + kStreamPeriod, [this] { streamNextReading(); });
}

void LoggerTwin::reply(std::string text, bool checksummed, bool isStatus, std::string_view prefix) {
  if (faults_.strikes(FaultKind::Silence)) return;
  if (isStatus && faults_.strikes(FaultKind::RejectStatus)) {
    if (checksummed && text.size() >= 2) text.resize(text.size() - 2);
    if (text.size() >= 5) text[4] = '9';
    checksummed = false;
  }
  std::string line = std::string(prefix) + (checksummed ? std::move(text) : withChecksum(text));
  std::string out;
  if (faults_.strikes(FaultKind::Garbage)) out += faults_.noiseLine() + "\r";
  if (faults_.strikes(FaultKind::BadChecksum) && !line.empty()) line.back() = faults_.otherHexDigit(line.back());
  if (faults_.strikes(FaultKind::Short)) line.resize(line.size() / 2);
  out += line + "\r";
  if (faults_.strikes(FaultKind::Duplicate)) out += line + "\r";
  sendLater(std::move(out));
}

void LoggerTwin::replyMemoryLine(const std::string& digits) {
  if (faults_.strikes(FaultKind::Silence)) return;
  std::string line = withChecksum(digits);
  std::string out;
  if (faults_.strikes(FaultKind::Garbage)) out += faults_.noiseLine() + "\r";
  if (faults_.strikes(FaultKind::BadChecksum)) line.back() = faults_.otherHexDigit(line.back());
  if (faults_.strikes(FaultKind::Short)) {
    // 12-bit loggers end a line early but checksum what they sent; on the
    // others the line is simply cut.
    if (state_.resolution == 12) line = withChecksum(std::string_view(line).substr(0, kShortMemoryLine - 2));
    else line.resize(line.size() / 2);
  }
  out += line + "\r";
  if (faults_.strikes(FaultKind::Duplicate)) out += line + "\r";
  sendLater(std::move(out));
}

void LoggerTwin::sendLater(std::string bytes) {
  schedule(now_ + replyDelay(), [this, bytes = std::move(bytes)] { send(bytes); });
}

}  // namespace brevik::sim
