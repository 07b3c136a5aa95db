#include "sim/virtual_modem.h"

#include <algorithm>
#include <cctype>

namespace brevik::sim {

namespace {

std::string upperTrimmed(std::string_view s) {
  std::string out;
  for (const char c : s)
    if (c != ' ' || !out.empty()) out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// The digits that reach the exchange: a number written with blanks or
// dashes is the same number.
std::string dialledDigits(std::string_view number) {
  std::string digits;
  for (const char c : number)
    if (c != ' ' && c != '-' && c != '(' && c != ')' && c != '.') digits.push_back(c);
  return digits;
}

}  // namespace

VirtualModem::VirtualModem(LoggerProfile profile, const DateTime& pcNow)
    : profile_(std::move(profile)), pcNow_(pcNow), dteBaud_(profile_.baud) {
  if (!profile_.modem.calls.empty()) ringNextCall(static_cast<Micros>(profile_.modem.ringAfterSeconds) * kMicrosPerSecond);
}

void VirtualModem::schedule(Micros at, std::function<void()> run) {
  pending_.push_back(Pending{at, nextOrder_++, std::move(run)});
}

void VirtualModem::send(std::string_view bytes, Micros at) {
  if (transmit_ && !bytes.empty()) transmit_(bytes, dteBaud_, at);
}

void VirtualModem::replyLine(const std::string& text, Micros at) {
  schedule(at, [this, line = "\r\n" + text + "\r\n"] { send(line, now_); });
}

std::optional<Micros> VirtualModem::nextDeadline() const {
  std::optional<Micros> next;
  for (const auto& p : pending_)
    if (!next || p.at < *next) next = p.at;
  if (callUp_ && logger_)
    if (const auto d = logger_->nextDeadline(); d && (!next || *d < *next)) next = d;
  return next;
}

void VirtualModem::advanceTo(Micros now) {
  while (true) {
    auto due = std::min_element(pending_.begin(), pending_.end(), [](const Pending& a, const Pending& b) {
      return a.at != b.at ? a.at < b.at : a.order < b.order;
    });
    if (due == pending_.end() || due->at > now) break;
    const Micros at = std::max(now_, due->at);
    auto run = std::move(due->run);
    pending_.erase(due);
    if (logger_) logger_->advanceTo(at);
    now_ = at;
    run();
  }
  if (logger_) logger_->advanceTo(now);
  now_ = std::max(now_, now);
}

void VirtualModem::receive(std::uint8_t byte, std::uint32_t senderBaud, Micros at) {
  advanceTo(at);
  dteBaud_ = senderBaud;
  if (online()) {
    noteDataByte(byte, now_);
    if (logger_) logger_->receive(byte, senderBaud, now_);
  } else {
    lastPcByteAt_ = now_;
    takeCommandByte(byte, now_);
  }
}

void VirtualModem::dtrChanged(bool raised, Micros at) {
  advanceTo(at);
  if (raised || !profile_.modem.calls.empty()) return;
  ++dialEpoch_;
  command_.clear();
  if (callUp_) endCall();
}

void VirtualModem::noteDataByte(std::uint8_t byte, Micros at) {
  const bool quietBefore = at - lastPcByteAt_ >= kGuardTime;
  lastPcByteAt_ = at;
  ++escapeEpoch_;  // any byte spoils the quiet after a "+++"
  if (byte != '+') {
    plusCount_ = 0;
    return;
  }
  if (quietBefore) {
    plusCount_ = 1;
  } else if (plusCount_ == 1 || plusCount_ == 2) {
    ++plusCount_;
  } else {
    plusCount_ = 0;
    return;
  }
  if (plusCount_ < 3) return;
  schedule(at + kGuardTime, [this, escape = escapeEpoch_] {
    if (escape != escapeEpoch_ || !online()) return;
    online_ = false;
    plusCount_ = 0;
    send("\r\nOK\r\n", now_);
  });
}

void VirtualModem::takeCommandByte(std::uint8_t byte, Micros at) {
  if (profile_.modem.echo) send(std::string(1, static_cast<char>(byte)), at);
  if (byte == '\r') {
    std::string line;
    line.swap(command_);
    execute(line);
  } else if (byte == '\b') {
    if (!command_.empty()) command_.pop_back();
  } else if (byte != '\n' && command_.size() < kMaxCommandLength) {
    command_.push_back(static_cast<char>(byte));
  }
}

void VirtualModem::execute(const std::string& line) {
  // What comes before "AT" is noise the modem skips (a "+++" typed in
  // command mode before "ATH"); a line without it gets no answer. An empty
  // line is what an empty set-up string sends, and is answered as one.
  const std::string typed = upperTrimmed(line);
  const auto start = typed.find("AT");
  if (!typed.empty() && start == std::string::npos) return;
  const std::string command = typed.empty() ? std::string() : typed.substr(start);
  const Micros at = now_ + kReplyDelay;
  const std::string body = command.empty() ? std::string() : command.substr(2);
  if (body == "H" || body == "H0") {
    ++dialEpoch_;
    if (callUp_) endCall();
    replyLine("OK", at);
  } else if (body == "O" || body == "O0") {
    if (callUp_) {
      online_ = true;
      replyLine(profile_.modem.connectLine, at);
    } else {
      replyLine("NO CARRIER", at);
    }
  } else if (!body.empty() && body[0] == 'D') {
    if (callUp_) {
      replyLine("ERROR", at);
      return;
    }
    std::string_view number = std::string_view(body).substr(1);
    if (!number.empty() && (number[0] == 'T' || number[0] == 'P')) number.remove_prefix(1);
    dial(dialledDigits(number));
  } else if (body.empty() && !command.empty()) {
    replyLine("OK", at);
  } else {
    switch (profile_.modem.init) {
      case ModemInitReply::Ok: replyLine("OK", at); break;
      case ModemInitReply::Error: replyLine("ERROR", at); break;
      case ModemInitReply::Silent: break;
    }
  }
}

void VirtualModem::dial(const std::string& number) {
  const std::uint64_t attempt = ++dialEpoch_;
  const bool answers = !profile_.modem.number || dialledDigits(*profile_.modem.number) == number;
  const ModemDialResult result = answers ? profile_.modem.dial : ModemDialResult::NoCarrier;
  schedule(now_ + kDialTime, [this, attempt, result] {
    if (attempt != dialEpoch_) return;
    switch (result) {
      case ModemDialResult::Connect:
        startCall(IncomingCall{}, false);
        send("\r\n" + profile_.modem.connectLine + "\r\n", now_);
        break;
      case ModemDialResult::Busy: send("\r\nBUSY\r\n", now_); break;
      case ModemDialResult::NoCarrier: send("\r\nNO CARRIER\r\n", now_); break;
      case ModemDialResult::NoAnswer: send("\r\nNO ANSWER\r\n", now_); break;
      case ModemDialResult::Silent: break;
    }
  });
}

void VirtualModem::startCall(const IncomingCall& call, bool incoming) {
  callUp_ = true;
  online_ = true;
  incomingCall_ = incoming;
  replies_ = 0;
  plusCount_ = 0;
  lastPcByteAt_ = now_;
  const std::uint64_t thisCall = ++callEpoch_;
  dropAfter_ = call.kind == IncomingCall::Kind::Drop ? call.dropAfter : profile_.modem.dropAfter;
  const bool bareModem = !incoming && !profile_.hasLoggerKeys && profile_.modem.calls.empty();
  if (bareModem || call.kind == IncomingCall::Kind::Silent) {
    logger_.reset();
    return;
  }
  LoggerProfile site = profile_;
  if (call.kind == IncomingCall::Kind::Empty) {
    site.pointer = 0x0200;
    site.bank = 'A';
  }
  if (call.kind == IncomingCall::Kind::Garbled) site.faultRates[static_cast<std::size_t>(FaultKind::BadChecksum)] = 1.0;
  logger_ = std::make_unique<LoggerTwin>(std::move(site), pcNow_);
  logger_->advanceTo(now_);
  logger_->setTransmit([this, thisCall](std::string_view bytes, std::uint32_t baud, Micros at) {
    loggerSent(bytes, baud, at, thisCall);
  });
}

void VirtualModem::loggerSent(std::string_view bytes, std::uint32_t baud, Micros at, std::uint64_t call) {
  // A logger whose call is over, or which talks while the PC is in command
  // mode, is not heard.
  if (call != callEpoch_ || !online()) return;
  if (transmit_) transmit_(bytes, baud, at);
  replies_ += static_cast<int>(std::count(bytes.begin(), bytes.end(), '\r'));
  if (dropAfter_ > 0 && replies_ >= dropAfter_) {
    endCall();
    send("\r\nNO CARRIER\r\n", at);
  }
}

void VirtualModem::endCall() {
  callUp_ = false;
  online_ = false;
  plusCount_ = 0;
  ++callEpoch_;
  ++escapeEpoch_;
  if (incomingCall_) ringNextCall(now_ + static_cast<Micros>(profile_.modem.ringAfterSeconds) * kMicrosPerSecond);
  incomingCall_ = false;
}

void VirtualModem::ringNextCall(Micros at) {
  if (nextCall_ >= profile_.modem.calls.size()) return;
  const std::size_t call = nextCall_++;
  schedule(at, [this, call] { ring(call, kBusySiteRings); });
}

void VirtualModem::ring(std::size_t call, int ringsLeft) {
  if (callUp_) {
    // The line is taken by a call the PC made: the site tries again later.
    schedule(now_ + kRingPeriod, [this, call, ringsLeft] { ring(call, ringsLeft); });
    return;
  }
  send("\r\nRING\r\n", now_);
  const IncomingCall& incoming = profile_.modem.calls[call];
  if (incoming.kind == IncomingCall::Kind::BusySite) {
    if (ringsLeft > 1) {
      schedule(now_ + kRingPeriod, [this, call, ringsLeft] { ring(call, ringsLeft - 1); });
    } else {
      ringNextCall(now_ + static_cast<Micros>(profile_.modem.ringAfterSeconds) * kMicrosPerSecond);
    }
    return;
  }
  schedule(now_ + kRingToConnect, [this, call] {
    if (callUp_) return;
    startCall(profile_.modem.calls[call], true);
    send("\r\n" + profile_.modem.connectLine + "\r\n", now_);
  });
}

}  // namespace brevik::sim
