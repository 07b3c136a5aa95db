#include "link/download_session.h"

#include "common/logger_memory.h"

#include <system_error>

#include "common/cp1252.h"
#include "common/files.h"
#include "datafile/data_file_from_status.h"
#include "protocol/time_stamps.h"

namespace brevik::link {

namespace {

constexpr std::string_view kNoReplyText =
    "TransferT arrêté; Pas de réponse de KALDO; Pas de fichier créé "_cp;
constexpr std::string_view kBadLinesText =
    "Transfer aborted; Excessive checksum errors; No data file created";
constexpr std::string_view kBadLinesLogText = "Rec. aborted; excessive comm. errors: ";
constexpr std::string_view kAbortedText = "Transfert arrêté; Pas de fichier créé "_cp;
constexpr std::string_view kDoneText = "Transfert terminé: "_cp;

Report reportOf(MessageKind kind, std::string text, CommandLineFlags flags,
                Buttons buttons = Buttons::Ok) {
  return Report{Message{kind, std::move(text), buttons, 0}, flags, std::nullopt, std::nullopt};
}

long long secondsOf(const DateTime& t) {
  return protocol::daysFromCivil(t.year, t.month, t.day) * 86400LL + t.hour * 3600LL +
         t.minute * 60LL + t.second;
}

}  // namespace

MemoryDownload::MemoryDownload(ExchangeEngine& engine, ExchangeObserver& observer, const Clock& clock)
    : engine_(engine), observer_(observer), clock_(clock) {}

MemoryDownload::~MemoryDownload() { discardPartialFile(); }

void MemoryDownload::startTransferTimer() { transferStart_ = clock_.now(); }

long MemoryDownload::elapsedSeconds() const {
  if (!transferStart_) return 0;
  const DateTime now = clock_.now();
  long long seconds = secondsOf(now) - secondsOf(*transferStart_);
  if (now.millisecond < transferStart_->millisecond) --seconds;
  return seconds < 0 ? 0 : static_cast<long>(seconds);
}

std::string MemoryDownload::sessionAndDescriptions() const {
  std::string text = session_;
  for (const std::string& d : descriptions_) text += "," + d;
  return text;
}

// ---------------------------------------------------------------------------
// Start

Status MemoryDownload::start(const protocol::LoggerStatus& status) {
  LinkContext& ctx = engine_.linkContext();
  discardPartialFile();
  if (!transferStart_) transferStart_ = clock_.now();

  cursor_ = DownloadCursor::begin(status.resolutionCode, memory::banksOfModel(status.modelCode) > 1,
                                  status.hasWrapped(), status.memoryPointer, status.bankLetter);
  more_ = false;
  outcome_ = DownloadOutcome::NotFinished;
  blockCount_ = 0;
  previousLine_.clear();
  session_ = status.session;
  descriptions_ = status.descriptions;
  ctx.retryCounter = 0;
  ctx.abortRequested = false;

  // The data go beside the data file until the transfer has succeeded.
  target_ = dataDirectory_ / std::filesystem::path(toUtf8(ctx.dataFileName));
  // A target that cannot take the file is found now, not after the whole
  // memory has come in.
  if (Status writable = files::checkWritableTarget(target_); !writable)
    return makeError(ErrorKind::Io, fromUtf8(writable.error().message));
  partial_ = files::temporarySibling(target_);
  auto writer = datafile::DataFileWriter::create(partial_, fromUtf8(target_.string()));
  if (!writer) {
    partial_.clear();
    return writer.error();
  }
  writer_.emplace(std::move(*writer));
  const auto header = datafile::headerFieldsFromStatus(status, clock_.now(),
                                           engine_.settings().TwelveHourClock != 0);
  if (Status written = writer_->writeHeader(header); !written) {
    discardPartialFile();
    return written;
  }

  more_ = true;
  observer_.blockCount(0);
  observer_.abortAvailable(true);
  engine_.setState(LinkState::AwaitData);
  requestBlock();
  return {};
}

void MemoryDownload::requestBlock() {
  engine_.sendCommand(blockRequestBody(cursor_.bank, cursor_.address));
}

// ---------------------------------------------------------------------------
// Lines and time-outs

void MemoryDownload::onLine(std::string_view line) {
  if (!writer_) return;
  LinkContext& ctx = engine_.linkContext();
  engine_.disarmTimeout();

  if (isGoodLine(line, cursor_.resolutionCode, previousLine_)) {
    previousLine_ = std::string(line);
    if (Status written = writer_->appendDataLine(line); !written) return failWrite(written.error());
    ++blockCount_;
    ctx.retryCounter = 0;
    const DownloadCursor::Step step = cursor_.afterGoodLine();
    if (step.endLine) {
      if (Status written = writer_->endBank(*step.endLine); !written)
        return failWrite(written.error());
    }
    if (step.complete) more_ = false;
    observer_.blockCount(blockCount_);
  } else {
    ++ctx.retryCounter;
    ++ctx.badLineTotal;
    if (ctx.retryCounter >= kDownloadRetryLimit) more_ = false;
  }

  if (more_) return requestBlock();
  finish();
}

void MemoryDownload::onTimeout() {
  if (!writer_) return;
  LinkContext& ctx = engine_.linkContext();
  // The engine has counted the time-out in the context's total.
  ++ctx.retryCounter;
  if (ctx.retryCounter < kDownloadRetryLimit) {
    // Also after an abort: a silent logger then ends through this rule.
    return requestBlock();
  }
  more_ = false;
  outcome_ = DownloadOutcome::Failed;
  discardPartialFile();
  transferStart_.reset();
  ctx.abortRequested = false;
  Report r = reportOf(MessageKind::Error, std::string(kNoReplyText), CommandLineFlags::Receive);
  r.logText = r.message.text + " " + sessionAndDescriptions();
  engine_.endExchange();
  engine_.report(r);
}

void MemoryDownload::abort() {
  if (!more_) return;
  more_ = false;
  engine_.linkContext().abortRequested = true;
}

// ---------------------------------------------------------------------------
// The end of the transfer

void MemoryDownload::finish() {
  LinkContext& ctx = engine_.linkContext();
  more_ = false;
  const bool tooManyBadLines = ctx.retryCounter >= kDownloadRetryLimit;
  const bool aborted = ctx.abortRequested;
  const long seconds = elapsedSeconds();
  transferStart_.reset();

  if (tooManyBadLines || aborted) {
    discardPartialFile();
    outcome_ = tooManyBadLines ? DownloadOutcome::Failed : DownloadOutcome::Aborted;
  } else if (Status kept = commitFile(); !kept) {
    return failWrite(kept.error());
  } else {
    outcome_ = DownloadOutcome::Written;
    engine_.succeed();
    engine_.noteFileWritten(ctx.dataFileName);
  }

  if (tooManyBadLines) return failTooManyBadLines();
  // An aborted transfer never keeps its file, whoever runs the exchange.
  if (aborted) return finishAborted();
  if (ctx.autoAnswerCall()) return finishAnsweredCall();
  if (engine_.request().run.commandLineReceive) return finishCommandLine();
  finishInteractive(seconds);
}

void MemoryDownload::failTooManyBadLines() {
  LinkContext& ctx = engine_.linkContext();
  ctx.abortRequested = false;
  Report r = reportOf(MessageKind::Error, std::string(kBadLinesText), CommandLineFlags::Receive);
  r.logText = std::string(kBadLinesLogText) + ctx.dataFileName + "," + sessionAndDescriptions();
  r.quitText = r.message.text;
  engine_.endExchange();
  engine_.report(r);
}

void MemoryDownload::finishAborted() {
  engine_.endExchange();
  engine_.linkContext().abortRequested = false;
  engine_.report(reportOf(MessageKind::Information, std::string(kAbortedText),
                          CommandLineFlags::None));
}

void MemoryDownload::finishAnsweredCall() {
  LinkContext& ctx = engine_.linkContext();
  engine_.endExchange();
  if (!ctx.fileError) autoExport();
  std::string entry = "Rec. " + ctx.dataFileName;
  if (ctx.fileError) entry += " FileError ";
  if (ctx.badLineTotal > 0 || ctx.timeoutTotal > 0)
    entry += "    " + std::to_string(ctx.badLineTotal) + "," + std::to_string(ctx.timeoutTotal);
  engine_.logEntry(entry);
  // The configuration goes again 36 s later, which ends the call.
  engine_.startTimer2();
}

void MemoryDownload::finishCommandLine() {
  const std::string name = engine_.linkContext().dataFileName;
  autoExport();
  engine_.report(reportOf(MessageKind::Information, std::string(kDoneText) + name,
                          CommandLineFlags::Receive));
}

void MemoryDownload::finishInteractive(long seconds) {
  const std::string name = engine_.linkContext().dataFileName;
  engine_.endExchange();
  autoExport();
  observer_.downloadFinished();
  const std::string text = std::string(kDoneText) + fileNameWithoutDirectory(name) +
                           ", Temps mis   : " + std::to_string(seconds) + " seconds\r\r" +
                           "Trace Data?";
  const Answer answer = engine_.report(
      reportOf(MessageKind::Information, text, CommandLineFlags::None, Buttons::YesNo));
  if (answer == Answer::Yes && followUps_) followUps_->showGraph(name);
}

void MemoryDownload::autoExport() {
  LinkContext& ctx = engine_.linkContext();
  if (engine_.settings().AutoExport == 0 || !followUps_) return;
  if (Status exported = followUps_->exportDataFile(ctx.dataFileName); !exported)
    ctx.fileError = true;
}

void MemoryDownload::failWrite(const Error& error) {
  more_ = false;
  outcome_ = DownloadOutcome::Failed;
  discardPartialFile();
  transferStart_.reset();
  engine_.linkContext().abortRequested = false;
  engine_.endExchange();
  engine_.report(reportOf(MessageKind::Error, error.message, CommandLineFlags::Receive));
}

// ---------------------------------------------------------------------------
// The file

Status MemoryDownload::commitFile() {
  Status closed = writer_->close();
  writer_.reset();
  if (!closed) {
    discardPartialFile();
    return closed;
  }
  std::error_code ec;
  std::filesystem::rename(partial_, target_, ec);
  if (ec) {
    const std::string message = "Cannot replace " + fromUtf8(target_.string()) + ": " +
                                fromUtf8(ec.message());
    discardPartialFile();
    return makeError(ErrorKind::Io, message);
  }
  partial_.clear();
  return {};
}

void MemoryDownload::discardPartialFile() {
  if (writer_) {
    (void)writer_->close();
    writer_.reset();
  }
  if (partial_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(partial_, ignored);
  partial_.clear();
}

}  // namespace brevik::link
