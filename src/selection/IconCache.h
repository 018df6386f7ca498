#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>

namespace korvex {

// Pictures read from files once per path. A file that is missing or cannot
// be read gives an empty picture, and is not tried again.
class IconCache
{
public:
    const QPixmap &picture(const QString &windowsPath);

private:
    QHash<QString, QPixmap> m_pictures;
};

} // namespace korvex
