#pragma once

#include "widgets/ControlFocus.h"

#include <QColor>
#include <QDateTime>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

#include <functional>

class QListWidget;
class QToolButton;

namespace korvex {

enum class TTypeEdit { teCurrency, teFloat, teInteger, teString, teMask, teComboBox };
enum class TCaseMode { cmNormal, cmProperCase, cmLowerCase, cmUpperCase };
enum class TCursorEndField { cfNormal, cfPosition, cfBegin, cfEnd, cfZeroElsePosition, cfZeroElseBegin, cfZeroElseEnd };
enum class TExitString { esNormal, esLeft, esRight, esLeftRight };

enum class TNumberArea { naUnspecified, naOnlyPositive, naOnlyNegative, naPositive, naNegative };
enum class TCurrencyPos { ncCurr_Right, ncCurr_Left, ncCurrRight, ncCurrLeft };

// Number-mode settings of the edit. Values are ten-thousandths.
struct TNumberEdit
{
    int Decimal = 2;
    int DecimalShow = 2;
    int NumberCount = 3;
    TNumberArea NumberArea = TNumberArea::naUnspecified;
    qint64 ValueMin = 0;
    qint64 ValueMax = 0;
    bool Valid = false;
    bool NumberTextToValue = true;
    bool NumberNoneDoZero = false;
    bool CursorZeroOver = false;
    bool RightAlignment = true;
    QString CurrText = QStringLiteral("Kč");
    bool CurrTextShow = true;
    TCurrencyPos CurrPosition = TCurrencyPos::ncCurr_Right;
    QChar Space = u' ';
};

enum class TMaskOn { moNone, moRevision, moRevisionSys, moSystem };

// Mask-mode settings of the edit.
struct TMaskSpecEdit
{
    QString Mask;
    TMaskOn MaskOnEnter = TMaskOn::moNone;
    TMaskOn MaskOnExit = TMaskOn::moNone;
    bool MaskDelShift = false;
};

// Item-list settings of the edit.
struct TComboBoxEdit
{
    QString Items; // "value‡description|value|..."
    int ItemIndex = -1;
    int DropDownCount = 8;
    bool Sorted = false;
    bool ItemActionKey = true;
    bool OffDelKey = false;
    bool CloseIfMouseLeave = false;
    QColor ColorEditOnFocus;
};

// Keys that move the focus like Tab.
struct TKeyLikeTab
{
    bool keyInLine = false;
    bool keyEnter = true;
    bool keyDownUp = true;
};

// Text-mode settings of the edit.
struct TStringEdit
{
    TExitString ExitString = TExitString::esNormal;
    QString Filtr;
    bool FiltrUse = false;
    QChar AlignLeftChar; // null: no padding
};

// Explicit targets of Up and Down.
struct TFocusControl
{
    QPointer<QWidget> Up;
    QPointer<QWidget> Down;
};

// A keyboard-friendly single-line edit: coloured while focused, Enter and
// the arrow keys move like Tab, a required-text check on leaving, case
// conversion, a character filter, left padding and a side button.
class TKEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TKEdit(QWidget *parent = nullptr);

    // Takes the current background as the loaded colour; a disabled edit
    // gets ColorOnDisabled. Runs by itself when the edit is first shown.
    void Loaded();

    TTypeEdit EditType = TTypeEdit::teString;
    TCaseMode CaseMode = TCaseMode::cmNormal;
    bool AutoSelect = false;
    TCursorEndField CursorEndField = TCursorEndField::cfEnd;
    QColor ColorOnDisabled;
    QColor ColorOnFocus = QColor(255, 255, 153);
    bool ColorOnFocusActive = true;
    QColor ColorEditOnButt;
    bool ColorEditOnButtActive = false;
    bool Required = false;
    bool RequiredMonitoring = true;
    TKeyLikeTab KeyLikeTab;
    bool KeyFirstInherited = false;
    QKeySequence ButtonShortCut;
    TStringEdit StringEdit;
    TFocusControl FocusControl;
    TNumberEdit Number;
    TMaskSpecEdit MaskEdit;
    TComboBoxEdit ComboBox;
    // Today's date and time for the date and time corrections.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // The number of the number modes, in ten-thousandths. Setting it holds
    // it to the non-zero bounds and writes the text plainly.
    qint64 Value() const { return m_value; }
    void setValue(qint64 tenThousandths);
    // What a number-mode edit shows while it does not have the focus.
    QString numberDisplay() const;

    bool ButtonVisible() const { return m_button != nullptr; }
    void setButtonVisible(bool visible);
    QString ButtonCaption() const { return m_buttonCaption; }
    void setButtonCaption(const QString &caption);
    int ButtonWidth() const { return m_buttonWidth; }
    void setButtonWidth(int width);
    QToolButton *sideButton() const { return m_button; }
    // The side button's font; while there is no button, the edit's own.
    QFont ButtonFont() const;
    void setButtonFont(const QFont &font);

    QString Version() const { return QStringLiteral("2.67"); }
    void setVersion(const QString &) {}

    std::function<void()> OnClickButton;
    std::function<void(const QString &message)> OnError;

    // Masks the text with the given character instead of the style's own.
    void setPasswordChar(QChar passwordChar);

    // Clicks the side button, as a click or its shortcut does.
    void clickButton();

    // The item-list mode's items: value and description, empty ones skipped.
    struct Item
    {
        QString value;
        QString description;
    };
    QList<Item> items() const;
    // The open item list; none while closed.
    QListWidget *itemList() const { return m_itemList; }

Q_SIGNALS:
    void entered();
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setBackground(const QColor &color);
    void moveFocus(bool forward, bool useFocusControl);
    void placeButton();
    void report(const QString &message);
    QChar convertCase(QChar typed, bool wordStart) const;
    bool isNumberMode() const;
    QChar separator() const;
    bool allowed(QChar c) const;
    // Handles a typed character in a number mode; false when it is dropped.
    bool numberTyped(QChar &typed);
    void numberLoaded();
    void maskCorrect(TMaskOn correction);
    bool itemKey(QKeyEvent *event);
    void openItemList();
    bool maskKey(QKeyEvent *event);
    void numberEnter();
    // The number checks of leaving; the message of the first failed one.
    QString numberLeave();

    // Whether a key types its text.
    static bool typesText(const QKeyEvent *event);
    // Whether a key may change the text, so that it must pass the mode's rules.
    static bool changesText(const QKeyEvent *event);
    // Cut and paste from the keyboard; true when the key did one of them.
    bool clipboardKey(QKeyEvent *event);
    // Inserts text at the caret, over the selection, as if typed key by key.
    void typeText(const QString &typed);
    void cutText();
    void pasteText();
    void deleteSelection();

    QColor m_loaded;
    bool m_loadedTaken = false;
    ControlFocus m_focus;
    int m_rememberedPosition = 0;
    qint64 m_value = 0;
    QString m_textBeforeTyping;
    int m_caretBeforeTyping = 0;
    QToolButton *m_button = nullptr;
    QPointer<QListWidget> m_itemList;
    QString m_buttonCaption = QStringLiteral("··");
    int m_buttonWidth = 15;
};

} // namespace korvex
