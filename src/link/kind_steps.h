#pragma once
// The steps of each kind of exchange once the link is up. The engine's link
// opener (port, wake-up, baud switch, identification, framing, time-outs)
// knows no kind: when the logger is awake and identified it calls begin() of
// the kind's steps, and hands them every line and time-out of the states
// that follow (a reply awaited, data following, the dial-out schedule).

#include <memory>
#include <string>

#include "link/link_context.h"
#include "link/link_types.h"

namespace brevik::link {

class ExchangeEngine;
class ExchangeObserver;
class SerialPort;
class ExchangeTrace;
class StatusReplyHandler;
class DownloadSession;
class ReadingsView;
class ConfigurationSource;

class KindSteps {
 public:
  explicit KindSteps(ExchangeEngine& engine);
  virtual ~KindSteps() = default;
  KindSteps(const KindSteps&) = delete;
  KindSteps& operator=(const KindSteps&) = delete;

  // The logger is awake and identified: the kind's first command.
  virtual void begin() = 0;
  // A complete line, and the time-out, while the reply to the last command
  // is awaited (AwaitReply).
  virtual void onReply(const std::string& line) = 0;
  virtual void onReplyTimeout();
  // The same while data follow the reply (AwaitData); the time-out ends the
  // exchange unless the kind says otherwise.
  virtual void onData(const std::string& line);
  virtual void onDataTimeout();
  // The dial-out schedule's line (AwaitSchedule).
  virtual void onSchedule(const std::string& line);

 protected:
  // The opener's rule for a logger that does not answer: wake it again over
  // a call, ask again on the fast protocol, or give up.
  void noReply();
  StatusReplyHandler* statusReplies() const;
  DownloadSession* download() const;
  ReadingsView* readings() const;
  ConfigurationSource* configuration() const;
  ExchangeObserver& observer() const;
  SerialPort& port() const;
  ExchangeTrace& trace() const;

  ExchangeEngine& engine_;
  LinkContext& ctx_;
};

// The steps of every kind, one object each.
std::unique_ptr<KindSteps> makeKindSteps(ExchangeKind kind, ExchangeEngine& engine);

}  // namespace brevik::link
