#include "import/ListCounters.h"

using namespace Qt::StringLiterals;

namespace korvex {

QString UpdateMarkedLabel(int checkedCount)
{
    return QString::number(checkedCount) + u"   vybráno "_s;
}

QString UpdateTotalLabel(int recordCount)
{
    return QString::number(recordCount) + u"    celkem "_s;
}

} // namespace korvex
