#pragma once

#include "DatasetModel.h"

#include <QFont>

#include <vector>

namespace korvex {

// The 54 columns of the vehicle list, in order: captions and widths of the
// list, alignment and display format of the working table's fields.
std::vector<DatasetColumn> VehicleListColumns();

// The list's face: the column widths are pixels made for a narrow 8-point
// design face, so the values need a narrow face of the same pixel size.
QFont VehicleListFont();

} // namespace korvex
