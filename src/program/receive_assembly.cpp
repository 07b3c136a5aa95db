#include "program/receive_assembly.h"

namespace brevik::program {

ReceiveAssembly::ReceiveAssembly(link::ExchangeEngine& engine, link::ExchangeObserver& observer, const Clock& clock,
                                 const settings::LoggerSettings& settings, ReceivePlaces places,
                                 AutoExportFollowUps::Tell tell, AutoExportFollowUps::ShowGraph showGraph)
    : engine_(engine),
      followUps_(settings, std::move(places.home), std::move(tell), std::move(showGraph)),
      download_(engine, observer, clock) {
  followUps_.setDataDirectory(places.dataDirectory);
  download_.setDataDirectory(std::move(places.dataDirectory));
  download_.setFollowUps(&followUps_);
  engine_.setDownloadSession(&download_);
}

ReceiveAssembly::~ReceiveAssembly() { engine_.setDownloadSession(nullptr); }

void ReceiveAssembly::startReceive(const std::string& dataFileName, link::RunMode run, link::OutcomeCallback done) {
  download_.startTransferTimer();
  link::ExchangeRequest request;
  request.kind = link::ExchangeKind::Receive;
  request.dataFileName = dataFileName;
  request.run = run;
  engine_.start(std::move(request), std::move(done));
}

}  // namespace brevik::program
