#pragma once

#include <QString>

namespace korvex {

// Texts of the vehicle list's two counters.
// Label16: the number of marked vehicles, "12   vybráno ".
QString UpdateMarkedLabel(int checkedCount);
// Label15: the number of listed vehicles, "40    celkem ".
QString UpdateTotalLabel(int recordCount);

} // namespace korvex
