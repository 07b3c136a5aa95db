#include "link/link_types.h"

namespace brevik::link {

std::string_view stateName(LinkState state) {
  switch (state) {
    case LinkState::Idle: return "Idle";
    case LinkState::AwaitWakeReply: return "AwaitWakeReply";
    case LinkState::AwaitIdentification: return "AwaitIdentification";
    case LinkState::AwaitReply: return "AwaitReply";
    case LinkState::AwaitData: return "AwaitData";
    case LinkState::ModemSetup: return "ModemSetup";
    case LinkState::Dialling: return "Dialling";
    case LinkState::Connected: return "Connected";
    case LinkState::RemoteModemSetup: return "RemoteModemSetup";
    case LinkState::ComTest: return "ComTest";
    case LinkState::AwaitSchedule: return "AwaitSchedule";
    case LinkState::FastStart: return "FastStart";
  }
  return "Unknown";
}

std::string_view kindName(ExchangeKind kind) {
  switch (kind) {
    case ExchangeKind::None: return "None";
    case ExchangeKind::Identify: return "Identify";
    case ExchangeKind::Status: return "Status";
    case ExchangeKind::Receive: return "Receive";
    case ExchangeKind::SendSetup: return "SendSetup";
    case ExchangeKind::StationAddressKind: return "StationAddressKind";
    case ExchangeKind::RealTime: return "RealTime";
    case ExchangeKind::EndRealTime: return "EndRealTime";
    case ExchangeKind::ChangeBaud: return "ChangeBaud";
    case ExchangeKind::RemoteModemSetup: return "RemoteModemSetup";
    case ExchangeKind::ComTest: return "ComTest";
  }
  return "Unknown";
}

}  // namespace brevik::link
