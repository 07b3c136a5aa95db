#include "cli/receive_exchange.h"

#include <ostream>
#include <string>

#include "cli/console_link.h"
#include "cli/console_status_steps.h"
#include "cli/download_progress.h"
#include "cli/link_session.h"
#include "cli/receive_prompter.h"
#include "common/cp1252.h"
#include "link/download_session.h"
#include "link/exchange_engine.h"
#include "program/receive_assembly.h"
#include "program/run_exchange.h"
#include "link/status_reply_flow.h"

namespace brevik::cli {

namespace {

// The communication status window on a console: the console's lines, but
// the download as one progress of blocks (download_progress.h) instead of a
// line per request.
class ReceiveProgressView final : public ConsoleObserver {
 public:
  ReceiveProgressView(std::ostream& progress, bool terminal)
      : ConsoleObserver(progress), progress_(progress), bar_(terminal) {}

  void follow(const link::MemoryDownload& download) { download_ = &download; }

  void stepText(std::string_view text) override {
    if (!downloading()) ConsoleObserver::stepText(text);
  }
  void blockCount(std::uint32_t blocks) override {
    if (blocks == 0) return;
    const std::uint32_t total = blocks + (downloading() ? download_->cursor().linesToEnd() : 0);
    if (const auto text = bar_.update(blocks, total)) progress_ << *text << std::flush;
  }

 private:
  bool downloading() const { return download_ && download_->running(); }

  std::ostream& progress_;
  DownloadProgress bar_;
  const link::MemoryDownload* download_ = nullptr;
};

// The status read of kaldo status, going on into the download.
class ReceiveSteps final : public link::StatusReplySteps {
 public:
  ReceiveSteps(ConsoleStatusSteps& status, program::ReceiveAssembly& receive)
      : status_(status), receive_(receive) {}

  protocol::StatusDecodeResult decode(std::string_view reply) override { return status_.decode(reply); }
  void fillStatusForm(const protocol::LoggerStatus& s) override { status_.fillStatusForm(s); }
  void showStatusForm() override {}
  std::optional<std::string> csvFileName() const override { return std::nullopt; }
  Status appendReadingsLine(const std::string& fileName, const protocol::LoggerStatus& s) override {
    return status_.appendReadingsLine(fileName, s);
  }
  std::string autoAnswerFileName(const protocol::LoggerStatus& s) override {
    return status_.autoAnswerFileName(s);
  }
  Status startDownload(const protocol::LoggerStatus& s) override { return receive_.startDownload(s); }

 private:
  ConsoleStatusSteps& status_;
  program::ReceiveAssembly& receive_;
};

}  // namespace

int runReceiveExchange(Context& ctx, settings::LoggerSettings& settings, link::LinkDriver& driver,
                       link::TraceSink* traceSink, const Clock& clock, const std::string& dataFile,
                       ReceiveRecord* record) {
  std::ostream& err = *ctx.err;
  std::ostream& out = record ? err : *ctx.out;

  // Nobody is there to answer "Trace Data?": the answer is No, and the
  // question is not printed.
  ReceivePrompter prompter(out);
  ConsoleHost host(out, err);
  ReceiveProgressView view(err, ctx.errIsTerminal);
  ConsoleStatusSteps statusSteps(settings, ctx.home, clock);
  link::ExchangeEngine engine({driver.port(), driver.ticks(), view, prompter, host}, settings);
  // AutoExport: the CSV copy goes to the home, named after the data file; a
  // data file named without a directory is in the working directory.
  program::ReceiveAssembly receive(engine, view, clock, settings, {ctx.home, {}},
                                [&out, record](std::string_view text, bool) {
                                  out << toUtf8(text) << "\n";
                                  if (record) record->exportMessages.emplace_back(text);
                                });
  const link::MemoryDownload& download = receive.download();
  view.follow(download);
  ReceiveSteps steps(statusSteps, receive);
  link::StatusReplyFlow flow(engine, steps);
  engine.setStatusReplyHandler(&flow);
  if (traceSink) engine.setTraceSink(traceSink);

  const auto outcome = program::runExchange(engine, driver, link::ExchangeKind::Receive, [&](link::OutcomeCallback done) {
    receive.startReceive(fromUtf8(dataFile), {}, std::move(done));
    return true;
  });
  hangUpDialledCall(engine, driver);
  if (!outcome) {
    // Stopping the exchange dropped the download's partial file.
    err << "kaldo receive: the exchange did not end; stopped\n";
    return kExitFailed;
  }
  if (record) {
    record->outcome = outcome;
    for (const Message& m : prompter.messages()) record->messages.push_back(m.text);
  }
  return outcome->succeeded ? kExitOk : kExitFailed;
}

}  // namespace brevik::cli
