#include "widgets/ControlFocus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace korvex {
namespace {

bool transient(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason
        || reason == Qt::MenuBarFocusReason;
}

} // namespace

bool ControlFocus::entering(const QFocusEvent *event)
{
    // Coming back from a pop-up or another window is no entry; but the first
    // activation of a window enters its focused control.
    if (m_inside && transient(event->reason()))
        return false;
    m_inside = true;
    return true;
}

bool ControlFocus::leaving(const QFocusEvent *event, const QWidget *control)
{
    if (!m_inside || transient(event->reason()))
        return false;
    // The focus has already moved when the control hears of it.
    const QWidget *next = QApplication::focusWidget();
    if (next && next->window() != control->window())
        return false;
    m_inside = false;
    return true;
}

} // namespace korvex
