#include "selection/IconCache.h"

#include "platform/WinPath.h"

namespace korvex {

const QPixmap &IconCache::picture(const QString &windowsPath)
{
    auto it = m_pictures.find(windowsPath);
    if (it == m_pictures.end()) {
        QPixmap pixmap;
        pixmap.load(WinPath::resolve(windowsPath)); // stays empty when it fails
        it = m_pictures.insert(windowsPath, pixmap);
    }
    return *it;
}

} // namespace korvex
