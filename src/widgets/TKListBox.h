#pragma once

#include "TKEdit.h"

#include <QComboBox>
#include <QListWidget>

namespace korvex {

// Shared by every list box and combo box of the family: Ctrl is held.
bool &KeyLikeTabCtrlHeld();

// A list box whose keys can move the focus like Tab, coloured while focused.
class TKListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TKListBox(QWidget *parent = nullptr);

    void Loaded();
    QColor ColorOnDisabled;
    QColor ColorOnFocus = QColor(255, 255, 153);
    bool ColorOnFocusActive = true;
    TKeyLikeTab KeyLikeTab{false, true, true};
    QString Version() const { return QStringLiteral("1.18"); }
    void setVersion(const QString &) {}

Q_SIGNALS:
    void entered();
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QColor m_entryColor;
};

// A combo box whose keys can move the focus like Tab, coloured while focused.
class TKComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TKComboBox(QWidget *parent = nullptr);

    void Loaded();
    QColor ColorOnDisabled;
    QColor ColorOnFocus = QColor(255, 255, 153);
    bool ColorOnFocusActive = true;
    TKeyLikeTab KeyLikeTab{true, true, true};
    QString Version() const { return QStringLiteral("1.18"); }
    void setVersion(const QString &) {}

Q_SIGNALS:
    void entered();
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QColor m_entryColor;
};

} // namespace korvex
