#include "widgets/ControlLock.h"

#include "widgets/TDBNavigatorTarvo.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>

#include <algorithm>

namespace korvex {
namespace {

bool isControl(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QAbstractScrollArea *>(w)
        || qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QLineEdit *>(w) || qobject_cast<const QTabBar *>(w)
        || qobject_cast<const TDBNavigatorTarvo *>(w);
}

} // namespace

ControlLock::ControlLock(QWidget *window, const QWidget *keep)
{
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!isControl(w) || w->testAttribute(Qt::WA_ForceDisabled) || (keep && (w == keep || keep->isAncestorOf(w))))
            continue;
        // A control inside a locked one is left to its owner: a navigator
        // switches its own buttons as the record moves.
        const bool inside = std::any_of(m_locked.begin(), m_locked.end(),
                                        [w](const QPointer<QWidget> &locked) { return locked->isAncestorOf(w); });
        if (inside)
            continue;
        w->setEnabled(false);
        m_locked.emplace_back(w);
        // A tab widget still turns its pages on Ctrl+Tab, but never to a
        // disabled tab: the page with STOP stays in front.
        if (auto *bar = qobject_cast<QTabBar *>(w))
            for (int i = 0; i < bar->count(); ++i)
                if (i != bar->currentIndex() && bar->isTabEnabled(i)) {
                    bar->setTabEnabled(i, false);
                    m_tabs.push_back({bar, i});
                }
    }
}

ControlLock::~ControlLock()
{
    for (const LockedTab &tab : m_tabs)
        if (tab.bar && tab.index < tab.bar->count())
            tab.bar->setTabEnabled(tab.index, true);
    for (const QPointer<QWidget> &w : m_locked)
        if (w)
            w->setEnabled(true);
}

} // namespace korvex
