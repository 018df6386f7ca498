#include "widgets/TKEdit.h"

#include "widgets/MaskText.h"
#include "widgets/NumberText.h"
#include "widgets/PasswordCharStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace korvex {

TKEdit::TKEdit(QWidget *parent)
    : QLineEdit(parent)
    , ColorOnDisabled(QApplication::palette().color(QPalette::Button))
    , ColorEditOnButt(QApplication::palette().color(QPalette::ToolTipBase))
{
    ComboBox.ColorEditOnFocus = ColorEditOnButt;
    // An emptied text sets Value to 0 before anyone hears of the change.
    connect(this, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (t.isEmpty())
            m_value = 0;
    });
}

void TKEdit::setPasswordChar(QChar passwordChar)
{
    setStyle(new PasswordCharStyle(passwordChar, this));
    setEchoMode(QLineEdit::Password);
}

void TKEdit::Loaded()
{
    m_loaded = palette().color(QPalette::Base);
    m_loadedTaken = true;
    if (isNumberMode())
        numberLoaded();
    if (EditType == TTypeEdit::teMask)
        setText(MaskText::format(text(), MaskText::Mask(MaskEdit.Mask)));
    if (EditType == TTypeEdit::teComboBox) {
        setButtonVisible(true);
        setReadOnly(true);
        const QList<Item> all = items();
        setText(ComboBox.ItemIndex >= 0 && ComboBox.ItemIndex < all.size() ? all[ComboBox.ItemIndex].value : QString());
    }
    if (!isEnabled())
        setBackground(ColorOnDisabled);
}

void TKEdit::showEvent(QShowEvent *event)
{
    if (!m_loadedTaken)
        Loaded();
    QLineEdit::showEvent(event);
}

void TKEdit::setBackground(const QColor &color)
{
    if (palette().color(QPalette::Base) == color)
        return;
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void TKEdit::focusInEvent(QFocusEvent *event)
{
    if (!m_loadedTaken)
        Loaded();
    if (!m_focus.entering(event)) {
        QLineEdit::focusInEvent(event);
        return;
    }
    if (!ComboBox.Items.isEmpty() && !(EditType == TTypeEdit::teComboBox && ButtonVisible()))
        ComboBox.Items.clear();
    if (EditType == TTypeEdit::teComboBox)
        CursorEndField = TCursorEndField::cfBegin;
    if (StringEdit.Filtr.isEmpty())
        StringEdit.FiltrUse = false;
    if (isNumberMode())
        setText(NumberText::cutDecimals(text(), EditType == TTypeEdit::teInteger ? 0 : Number.Decimal, separator()));
    if (EditType == TTypeEdit::teMask)
        maskCorrect(MaskEdit.MaskOnEnter);
    QLineEdit::focusInEvent(event);
    if (ColorOnFocusActive)
        setBackground(ColorOnFocus);
    if (!AutoSelect) {
        switch (CursorEndField) {
        case TCursorEndField::cfPosition:
            setCursorPosition(std::min<int>(m_rememberedPosition, int(text().size())));
            break;
        case TCursorEndField::cfBegin:
            setCursorPosition(0);
            break;
        case TCursorEndField::cfEnd:
            setCursorPosition(int(text().size()));
            break;
        default:
            break;
        }
        if (CursorEndField != TCursorEndField::cfNormal)
            deselect();
        if (isNumberMode())
            numberEnter();
        if (EditType == TTypeEdit::teMask && text().contains(u'_'))
            setCursorPosition(int(text().indexOf(u'_')));
    }
    Q_EMIT entered();
}

void TKEdit::focusOutEvent(QFocusEvent *event)
{
    // The open item list, menus, message boxes and other windows take the
    // focus only for a while: that is no leaving.
    if (m_itemList || !m_focus.leaving(event, this)) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    if (StringEdit.ExitString != TExitString::esNormal && CursorEndField == TCursorEndField::cfPosition)
        m_rememberedPosition = cursorPosition();
    if (EditType == TTypeEdit::teString && !StringEdit.AlignLeftChar.isNull() && !text().isEmpty()
        && text().size() < maxLength() && maxLength() < 32767)
        setText(QString(maxLength() - text().size(), StringEdit.AlignLeftChar) + text());
    if (isNumberMode() && Number.NumberNoneDoZero && text().isEmpty())
        setText(u"0"_s);
    if (EditType == TTypeEdit::teMask)
        maskCorrect(MaskEdit.MaskOnExit);
    if (ColorOnFocusActive)
        setBackground(m_loaded);
    QLineEdit::focusOutEvent(event);
    // A refusing edit takes the focus back at once, before the control the
    // focus was going to is entered and can refuse in its turn; and before
    // the message box, which would otherwise give the focus to that control
    // when it closes.
    if (RequiredMonitoring && Required && text().isEmpty()) {
        setFocus(Qt::OtherFocusReason);
        report(u"Zadání položky je povinné !"_s);
        return;
    }
    if (isNumberMode()) {
        const QString message = numberLeave();
        if (!message.isEmpty()) {
            setFocus(Qt::OtherFocusReason);
            setCursorPosition(m_caretBeforeTyping);
            deselect();
            report(message);
        }
    }
    Q_EMIT exited();
}

void TKEdit::report(const QString &message)
{
    if (OnError)
        OnError(message);
    else
        QMessageBox::warning(this, QApplication::applicationName(), message, QMessageBox::Ok);
}

void TKEdit::moveFocus(bool forward, bool useFocusControl)
{
    QWidget *target = useFocusControl ? (forward ? FocusControl.Down : FocusControl.Up).data() : nullptr;
    if (target && target->isEnabled() && target->isVisible())
        target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    else
        focusNextPrevChild(forward);
}

QChar TKEdit::convertCase(QChar typed, bool wordStart) const
{
    switch (CaseMode) {
    case TCaseMode::cmUpperCase:
        return typed.toUpper();
    case TCaseMode::cmLowerCase:
        return typed.toLower();
    case TCaseMode::cmProperCase:
        return wordStart ? typed.toUpper() : typed;
    case TCaseMode::cmNormal:
        break;
    }
    return typed;
}

void TKEdit::keyPressEvent(QKeyEvent *event)
{
    // A key that may change the text always passes the mode's rules below;
    // only the others go to the platform first.
    const bool inheritedFirst = KeyFirstInherited && !changesText(event);
    const int caret = cursorPosition();
    const bool selection = hasSelectedText();
    bool platformAccepted = true;
    if (inheritedFirst) {
        QLineEdit::keyPressEvent(event);
        platformAccepted = event->isAccepted();
        event->accept();
    }
    const int key = event->key();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (KeyLikeTab.keyDownUp && plain && (key == Qt::Key_Down || key == Qt::Key_Up)) {
        moveFocus(key == Qt::Key_Down, true);
        return;
    }
    if (EditType == TTypeEdit::teString && plain) {
        const TExitString exit = StringEdit.ExitString;
        const bool left = exit == TExitString::esLeft || exit == TExitString::esLeftRight;
        const bool right = exit == TExitString::esRight || exit == TExitString::esLeftRight;
        if (left && key == Qt::Key_Left && caret == 0 && !selection) {
            moveFocus(false, true);
            return;
        }
        if (right && key == Qt::Key_Right && caret == text().size() && !selection) {
            moveFocus(true, true);
            return;
        }
    }
    if (KeyLikeTab.keyEnter && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        moveFocus(true, false);
        return;
    }
    if (m_button && !ButtonShortCut.isEmpty()
        && QKeySequence(event->keyCombination()) == ButtonShortCut) {
        clickButton();
        return;
    }
    const bool shiftInsert = key == Qt::Key_Insert && (event->modifiers() & Qt::ShiftModifier);
    if (shiftInsert && (EditType == TTypeEdit::teMask || EditType == TTypeEdit::teComboBox))
        return;
    if (EditType == TTypeEdit::teComboBox && itemKey(event))
        return;
    if (clipboardKey(event))
        return;
    if (EditType == TTypeEdit::teMask && maskKey(event))
        return;
    if (typesText(event)) {
        typeText(event->text());
        return;
    }
    if (inheritedFirst)
        event->setAccepted(platformAccepted);
    else
        QLineEdit::keyPressEvent(event);
}

void TKEdit::paintEvent(QPaintEvent *event)
{
    if (m_loadedTaken) {
        if (!isEnabled())
            setBackground(ColorOnDisabled);
        else if (!m_focus.inside() && !m_itemList)
            setBackground(m_loaded);
    }
    if (!isNumberMode() || m_focus.inside()) {
        QLineEdit::paintEvent(event);
        return;
    }
    // Unfocused numbers are drawn grouped, with their decimals and currency.
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    const QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).adjusted(2, 0, -1, 0);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(area, Qt::AlignVCenter | (Number.RightAlignment ? Qt::AlignRight : Qt::AlignLeft),
                     numberDisplay());
}

void TKEdit::setButtonVisible(bool visible)
{
    if (visible == ButtonVisible())
        return;
    if (!visible) {
        delete m_button;
        m_button = nullptr;
        setTextMargins(0, 0, 0, 0);
        return;
    }
    m_button = new QToolButton(this);
    m_button->setObjectName(u"SideButton"_s);
    m_button->setText(m_buttonCaption);
    m_button->setCursor(Qt::PointingHandCursor);
    m_button->setFont(font());
    m_button->setFocusPolicy(Qt::NoFocus);
    connect(m_button, &QToolButton::clicked, this, &TKEdit::clickButton);
    m_button->show();
    placeButton();
}

QFont TKEdit::ButtonFont() const
{
    return m_button ? m_button->font() : font();
}

void TKEdit::setButtonFont(const QFont &font)
{
    if (m_button)
        m_button->setFont(font);
}

void TKEdit::setButtonCaption(const QString &caption)
{
    m_buttonCaption = caption;
    if (m_button)
        m_button->setText(caption);
}

void TKEdit::setButtonWidth(int width)
{
    // Only while the button exists; between 15 and the edit's width.
    if (!m_button)
        return;
    m_buttonWidth = std::clamp(width, 15, std::max(15, this->width()));
    placeButton();
}

void TKEdit::placeButton()
{
    if (!m_button)
        return;
    m_button->setGeometry(width() - 4 - m_buttonWidth, 2, m_buttonWidth, std::max(0, height() - 4));
    setTextMargins(0, 0, m_buttonWidth + 2, 0);
}

void TKEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeButton();
}

void TKEdit::maskCorrect(TMaskOn correction)
{
    const MaskText::Mask mask(MaskEdit.Mask);
    const MaskText::Correction how = correction == TMaskOn::moRevision  ? MaskText::Correction::Revision
        : correction == TMaskOn::moRevisionSys                          ? MaskText::Correction::RevisionSys
        : correction == TMaskOn::moSystem                               ? MaskText::Correction::System
                                                                        : MaskText::Correction::None;
    const QString formatted = MaskText::format(text(), mask);
    setText(MaskText::format(MaskText::correct(formatted, MaskEdit.Mask, how, now()), mask));
}

// The mask mode's own keys; true when the key was handled here.
bool TKEdit::maskKey(QKeyEvent *event)
{
    const MaskText::Mask mask(MaskEdit.Mask);
    const int key = event->key();
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selEnd = hasSelectedText() ? selectionEnd() : cursorPosition();
    const MaskText::Edit before{text(), cursorPosition()};
    MaskText::Edit after;
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        after = MaskText::erase(before, selStart, selEnd, key == Qt::Key_Delete, mask);
    } else if (event->matches(QKeySequence::DeleteEndOfLine)) {
        after = MaskText::erase(before, cursorPosition(), int(text().size()), true, mask);
    } else if (event->matches(QKeySequence::DeleteCompleteLine)) {
        after = MaskText::erase(before, 0, int(text().size()), true, mask);
    } else {
        if (!typesText(event))
            return false;
        typeText(event->text());
        return true;
    }
    setText(after.text);
    setCursorPosition(after.caret);
    return true;
}

void TKEdit::clickButton()
{
    if (EditType == TTypeEdit::teComboBox) {
        openItemList();
    } else {
        setFocus(Qt::OtherFocusReason);
        if (ColorEditOnButtActive)
            setBackground(ColorEditOnButt);
    }
    if (OnClickButton)
        OnClickButton();
    if (EditType != TTypeEdit::teComboBox && ColorEditOnButtActive)
        setBackground(ColorOnFocus);
    update();
}

} // namespace korvex
