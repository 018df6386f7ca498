#include "platform/FieldDef.h"

namespace korvex {

int TableDef::indexOf(QStringView fieldName) const
{
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

} // namespace korvex
