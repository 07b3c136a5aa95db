#pragma once
// The --json documents of kaldo's commands: the values their text forms
// show, as one document each (README, "Machine-readable output"). Pure
// functions of what the commands already hold, so each can be checked
// against its text form.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/logger_settings.h"
#include "cli/json_output.h"
#include "common/clock.h"
#include "datafile/data_file_reader.h"
#include "export/export_options.h"
#include "graph/chart_plan.h"
#include "link/exchange_request.h"
#include "protocol/logger_status.h"
#include "protocol/reading_line.h"

namespace brevik::cli::json {

// Name and Windows-1252 text, in the order a text form prints them.
using NamedTexts = std::vector<std::pair<std::string, std::string>>;

// status and decode-status: the form's visible texts by component name, the
// logger's values typed, and the dial-out schedule's text when there is one.
Value statusDocument(const protocol::LoggerStatus& status, bool twelveHourClock,
                     const std::optional<std::string>& scheduleText);

// info: what a data file holds. `fileName` is UTF-8 as given.
Value dataFileDocument(const std::string& fileName, const datafile::LoggerDataFile& file);

// settings: the fields by name, numbers as numbers, ViewportLayout as four.
Value settingsDocument(const settings::LoggerSettings& settings,
                       const std::vector<const settings::SettingField*>& fields);

// setup show: the record's fields by name (the numeric ones as numbers) and
// what the setup form shows.
Value setupDocument(const NamedTexts& record, const NamedTexts& form);

// graph --describe.
Value chartDocument(const graph::ChartPlan& plan, bool twelveHourClock);

// readings: one reading, as its CSV line shows it.
Value readingDocument(const DateTime& now, bool dayFirst, const protocol::LoggerStatus& status,
                      const protocol::ReadingUpdate& reading);

// receive: the data file written, the download's counts, the messages the
// text form prints and those of the automatic export (Windows-1252).
Value receiveDocument(const std::string& fileName, const link::ExchangeOutcome& outcome,
                      const std::vector<std::string>& messages, const std::vector<std::string>& exportMessages);

// export: the file written and how. Paths are UTF-8 as given.
Value exportDocument(const std::string& source, const std::string& target, const exporting::ExportOptions& options,
                     const std::vector<std::string>& notices);

}  // namespace brevik::cli::json
