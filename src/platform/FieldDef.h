#pragma once

#include <QString>
#include <qnamespace.h>

#include <vector>

namespace korvex {

enum class FieldKind {
    AutoInc, // numbered by the table, read only
    Text,    // text of a declared width
    Memo,    // text of any length
    Boolean, // true, false or NULL
};

// One field of a working table: how the file declares it and how the
// dataset's field object treats it.
struct FieldDef
{
    QString name;
    FieldKind kind = FieldKind::Text;
    int width = 0;          // declared width of a text column
    int assignWidth = 0;    // text assigned through the dataset is cut to this; 0 = never cut
    QString displayFormat;  // edit mask the views use; the stored text has no units
    Qt::Alignment alignment = Qt::AlignLeft;
    bool readOnly = false;
};

struct TableDef
{
    QString name;
    std::vector<FieldDef> fields;

    // -1 when absent; names ignore case.
    int indexOf(QStringView fieldName) const;
};

} // namespace korvex
