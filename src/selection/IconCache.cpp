#include "IconCache.h"

#include "WinPath.h"

namespace korvex {

const QPixmap &IconCache::picture(const QString &windowsPath)
{
    auto it = m_pictures.find(windowsPath);
    if (it == m_pictures.end()) {
        QPixmap pixmap;
        const QString native = WinPath::resolve(windowsPath);
        if (WinPath::isFile(windowsPath))
            pixmap.load(native);
        it = m_pictures.insert(windowsPath, pixmap);
    }
    return *it;
}

} // namespace korvex
