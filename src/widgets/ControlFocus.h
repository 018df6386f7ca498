#pragma once

class QFocusEvent;
class QWidget;

namespace korvex {

// Tells a control's real entries and exits from the focus changes of
// pop-ups (its own drop-down list too), menus and window switches, which
// take the focus only for a while and give it back: those neither leave nor
// enter the control.
class ControlFocus
{
public:
    // True when this focus-in enters the control.
    bool entering(const QFocusEvent *event);
    // True when this focus-out leaves the control: the focus goes to another
    // control of its window. A control that was never entered (the focus was
    // taken back before it arrived) is not left.
    bool leaving(const QFocusEvent *event, const QWidget *control);
    // Entered and not yet left, even while a pop-up or another window has
    // the focus.
    bool inside() const { return m_inside; }

private:
    bool m_inside = false;
};

} // namespace korvex
