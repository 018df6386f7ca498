#pragma once

#include "widgets/DatasetModel.h"

#include <QFont>

#include <vector>

namespace korvex {

// The 54 columns of the vehicle list, in order: captions and widths of the
// list, alignment and display format of the working table's fields.
std::vector<DatasetColumn> VehicleListColumns();

// The list's face. The columns' widths are pixels fitted to a narrower face
// than the window's own; in this one their values show whole.
QFont VehicleListFont();

} // namespace korvex
