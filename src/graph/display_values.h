#pragma once
// The plotted values of an image-form file, and the time of each point.

#include <cstddef>
#include <optional>

#include "common/clock.h"
#include "graph/display_series.h"
#include "graph/loaded_file.h"

namespace brevik::graph {

// Image form: converts the shown range of the loaded samples into the series.
// Allocates nothing.
void computeDisplayValues(LoadedFile& file, DisplaySeries& series);

// The time of plotted point j: the start of the shown range plus j * F
// samples. Nothing when the file's First stamp could not be read.
std::optional<DateTime> pointTime(const LoadedFile& file, const DisplaySeries& series, std::size_t point);

}  // namespace brevik::graph
