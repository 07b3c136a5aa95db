#pragma once
// The virtual logger on a pseudo-terminal, served by a thread of its own
// until stop() or the end of the object; and a home set for its fast line.

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "settings/logger_settings.h"
#include "common/clock.h"
#include "sim/logger_profile.h"
#include "sim/pty_logger_host.h"

namespace brevik::testing {

class PtyTwin {
 public:
  explicit PtyTwin(sim::LoggerProfile profile) {
    auto opened = sim::PtyLoggerHost::open(std::move(profile), SystemClock().now());
    if (!opened) {
      error_ = opened.error().message;
      return;
    }
    host_ = std::move(*opened);
    thread_ = std::thread([this] { (void)host_->serve(stop_); });
  }
  ~PtyTwin() { stop(); }
  PtyTwin(const PtyTwin&) = delete;
  PtyTwin& operator=(const PtyTwin&) = delete;

  bool ok() const { return host_ != nullptr; }
  const std::string& error() const { return error_; }
  const std::string& device() const { return host_->devicePath(); }
  // Ends the serving; the host's counts are final after it.
  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  const sim::PtyLoggerHost& host() const { return *host_; }

 private:
  std::unique_ptr<sim::PtyLoggerHost> host_;
  std::string error_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Settings for a fast-protocol logger at 57600 baud (no four-second wake-up).
inline bool saveFastLineSettings(const std::filesystem::path& home) {
  settings::LoggerSettings settings;
  settings.FastProtocol = 1;
  settings.BaudRate = 57600;
  return static_cast<bool>(settings::saveSettings(home, settings));
}

}  // namespace brevik::testing
