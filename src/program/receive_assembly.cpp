#include "program/receive_assembly.h"

namespace brevik::program {

ReceiveAssembly::ReceiveAssembly(link::ExchangeEngine& engine, link::LinkView& view, const Clock& clock,
                                 const settings::LoggerSettings& settings, ReceivePlaces places,
                                 AutoExportFollowUps::Tell tell, AutoExportFollowUps::ShowGraph showGraph)
    : engine_(engine),
      followUps_(settings, std::move(places.home), std::move(tell), std::move(showGraph)),
      download_(engine, view, clock) {
  followUps_.setDataDirectory(places.dataDirectory);
  download_.setDataDirectory(std::move(places.dataDirectory));
  download_.setFollowUps(&followUps_);
  engine_.setDownloadSession(&download_);
}

ReceiveAssembly::~ReceiveAssembly() { engine_.setDownloadSession(nullptr); }

void ReceiveAssembly::startReceive(const std::string& dataFileName) {
  download_.startTransferTimer();
  link::LinkContext& ctx = engine_.context();
  ctx.dataFileName = dataFileName;
  ctx.kind = link::ExchangeKind::Receive;
  engine_.openLink();
}

}  // namespace brevik::program
