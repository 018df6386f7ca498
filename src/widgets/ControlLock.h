#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

class QTabBar;

namespace korvex {

// Disables for its lifetime every control under a window that could start
// work or open a dialog (buttons, grids, memos, edits, lists, tab bars,
// navigators), except those under the widget that must stay usable. Gives
// back exactly what it took: a control disabled before stays disabled.
class ControlLock
{
public:
    ControlLock(QWidget *window, const QWidget *keep);
    ~ControlLock();
    ControlLock(const ControlLock &) = delete;
    ControlLock &operator=(const ControlLock &) = delete;

private:
    struct LockedTab
    {
        QPointer<QTabBar> bar;
        int index;
    };

    std::vector<QPointer<QWidget>> m_locked;
    std::vector<LockedTab> m_tabs;
};

} // namespace korvex
