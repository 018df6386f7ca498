#pragma once

#include "widgets/TKEdit.h"

#include <QComboBox>
#include <QListWidget>

namespace korvex {

// Shared by every list box and combo box of the family: Ctrl is held.
bool &KeyLikeTabCtrlHeld();

// The focus colouring of the family's list and combo boxes: the colour on
// entry is remembered and given back on leaving.
class FocusTint
{
public:
    QColor ColorOnDisabled;
    QColor ColorOnFocus = QColor(255, 255, 153);
    bool ColorOnFocusActive = true;
    QString Version() const { return QStringLiteral("1.18"); }
    void setVersion(const QString &) {}

protected:
    FocusTint();
    // A box disabled after loading gets ColorOnDisabled (only then).
    void tintLoaded(QWidget *box);
    void tintEnter(QWidget *box);
    void tintLeave(QWidget *box);

private:
    QColor m_entryColor;
};

// A list box whose keys can move the focus like Tab, coloured while focused.
class TKListBox : public QListWidget, public FocusTint
{
    Q_OBJECT
public:
    explicit TKListBox(QWidget *parent = nullptr);

    void Loaded() { tintLoaded(this); }
    TKeyLikeTab KeyLikeTab{false, true, true};
Q_SIGNALS:
    void entered();
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    ControlFocus m_focus;
};

// A combo box whose keys can move the focus like Tab, coloured while focused.
class TKComboBox : public QComboBox, public FocusTint
{
    Q_OBJECT
public:
    explicit TKComboBox(QWidget *parent = nullptr);

    void Loaded() { tintLoaded(this); }
    TKeyLikeTab KeyLikeTab{true, true, true};
Q_SIGNALS:
    void entered();
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    ControlFocus m_focus;
};

} // namespace korvex
