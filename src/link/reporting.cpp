#include "link/reporting.h"

namespace brevik::link {

ReportRoute routeReport(bool autoAnswerCall, CommandLineFlags flags, bool commandLineReceive,
                        bool commandLineSetup) {
  if (autoAnswerCall) return ReportRoute::AutoAnswerLog;
  const bool receive = commandLineReceive && (flags == CommandLineFlags::Receive ||
                                              flags == CommandLineFlags::ReceiveOrSetup);
  const bool setup = commandLineSetup && (flags == CommandLineFlags::Setup ||
                                          flags == CommandLineFlags::ReceiveOrSetup);
  if (receive || setup) return ReportRoute::LogAndQuit;
  return ReportRoute::MessageBox;
}

}  // namespace brevik::link
