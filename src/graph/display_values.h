#pragma once
// The plotted values of an image-form file, and the time of each point.

#include <cstddef>
#include <optional>

#include "common/clock.h"
#include "datafile/display_series.h"
#include "datafile/loaded_file.h"

namespace brevik::graph {

// Image form: converts the shown range of the loaded samples into the series.
// Allocates nothing.
void computeDisplayValues(datafile::LoadedFile& file, datafile::DisplaySeries& series);

// The time of plotted point j: the start of the shown range plus j * F
// samples. Nothing when the file's First stamp could not be read.
std::optional<DateTime> pointTime(const datafile::LoadedFile& file, const datafile::DisplaySeries& series, std::size_t point);

}  // namespace brevik::graph
