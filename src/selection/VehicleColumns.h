#pragma once

#include "DatasetModel.h"

#include <vector>

namespace korvex {

// The 54 columns of the vehicle list, in order: captions and widths of the
// list, alignment and display format of the working table's fields.
std::vector<DatasetColumn> VehicleListColumns();

} // namespace korvex
