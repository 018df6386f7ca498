#include "widgets/TKListBox.h"

#include <QApplication>
#include <QKeyEvent>

namespace korvex {
namespace {

QColor background(const QWidget *w)
{
    return w->palette().color(QPalette::Base);
}

void setBackground(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, color);
    w->setPalette(p);
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

bool &KeyLikeTabCtrlHeld()
{
    static bool held = false;
    return held;
}

FocusTint::FocusTint()
    : ColorOnDisabled(QApplication::palette().color(QPalette::Button))
{
}

void FocusTint::tintLoaded(QWidget *box)
{
    if (!box->isEnabled())
        setBackground(box, ColorOnDisabled);
}

void FocusTint::tintEnter(QWidget *box)
{
    if (ColorOnFocusActive) {
        m_entryColor = background(box);
        setBackground(box, ColorOnFocus);
    }
}

void FocusTint::tintLeave(QWidget *box)
{
    if (ColorOnFocusActive && m_entryColor.isValid())
        setBackground(box, m_entryColor);
}

TKListBox::TKListBox(QWidget *parent)
    : QListWidget(parent)
{
}

void TKListBox::focusInEvent(QFocusEvent *event)
{
    const bool entering = m_focus.entering(event);
    if (entering)
        tintEnter(this);
    QListWidget::focusInEvent(event);
    if (entering)
        Q_EMIT entered();
}

void TKListBox::focusOutEvent(QFocusEvent *event)
{
    const bool leaving = m_focus.leaving(event, this);
    if (leaving)
        tintLeave(this);
    QListWidget::focusOutEvent(event);
    if (leaving)
        Q_EMIT exited();
}

void TKListBox::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control)
        KeyLikeTabCtrlHeld() = false;
}

void TKListBox::keyPressEvent(QKeyEvent *event)
{
    if (!KeyLikeTab.keyDownUp) {
        QListWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Control)
        KeyLikeTabCtrlHeld() = true;
    const int key = KeyLikeTab.keyEnter && isEnter(event->key()) ? int(Qt::Key_Down) : event->key();
    const bool ctrl = KeyLikeTabCtrlHeld() || (event->modifiers() & Qt::ControlModifier);
    const bool empty = count() == 0;
    if (key == Qt::Key_Down && (ctrl || (KeyLikeTab.keyInLine && (empty || currentRow() == count() - 1)))) {
        focusNextPrevChild(true);
        return;
    }
    if (key == Qt::Key_Up && (ctrl || (KeyLikeTab.keyInLine && (empty || currentRow() == 0)))) {
        focusNextPrevChild(false);
        return;
    }
    if (key != event->key()) {
        QKeyEvent down(QEvent::KeyPress, key, event->modifiers());
        QListWidget::keyPressEvent(&down);
        return;
    }
    QListWidget::keyPressEvent(event);
}

TKComboBox::TKComboBox(QWidget *parent)
    : QComboBox(parent)
{
}

void TKComboBox::focusInEvent(QFocusEvent *event)
{
    const bool entering = m_focus.entering(event);
    if (entering)
        tintEnter(this);
    QComboBox::focusInEvent(event);
    if (entering)
        Q_EMIT entered();
}

void TKComboBox::focusOutEvent(QFocusEvent *event)
{
    const bool leaving = m_focus.leaving(event, this);
    if (leaving)
        tintLeave(this);
    QComboBox::focusOutEvent(event);
    if (leaving)
        Q_EMIT exited();
}

void TKComboBox::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control)
        KeyLikeTabCtrlHeld() = false;
}

void TKComboBox::keyPressEvent(QKeyEvent *event)
{
    if (!KeyLikeTab.keyDownUp) {
        QComboBox::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Control)
        KeyLikeTabCtrlHeld() = true;
    const int key = KeyLikeTab.keyEnter && isEnter(event->key()) ? int(Qt::Key_Down) : event->key();
    const bool ctrl = KeyLikeTabCtrlHeld() || (event->modifiers() & Qt::ControlModifier);
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
        // In line, the plain keys move and Ctrl reaches the box; otherwise
        // the other way round.
        const bool moves = KeyLikeTab.keyInLine ? !ctrl : ctrl;
        if (moves) {
            focusNextPrevChild(key == Qt::Key_Down);
            return;
        }
        QKeyEvent plain(QEvent::KeyPress, key, Qt::NoModifier);
        QComboBox::keyPressEvent(&plain);
        return;
    }
    QComboBox::keyPressEvent(event);
}

} // namespace korvex
