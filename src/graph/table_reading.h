#pragma once
// The table form (.QX2) read for the graph: its rows reduced to the plotted
// points, as the image form's samples are.

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "datafile/display_series.h"
#include "datafile/loaded_file.h"

namespace brevik::graph {

// Reads the rows of the table `content` into the series, for the range the
// file state asks for (all of it, or the zoomed rows). Fills in the heading
// fields of the state on the way. Returns the notices to show (the overflow
// message), or the heading's failure.
Result<std::vector<std::string>> readTable(datafile::LoadedFile& file, datafile::DisplaySeries& series, std::string_view content);

}  // namespace brevik::graph
