#include "TKEdit.h"

#include "MaskText.h"
#include "NumberText.h"
#include "PasswordCharStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTimer>
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
    if (StringEdit.ExitString != TExitString::esNormal && CursorEndField == TCursorEndField::cfPosition)
        m_rememberedPosition = cursorPosition();
    if (EditType == TTypeEdit::teString && !StringEdit.AlignLeftChar.isNull() && !text().isEmpty()
        && text().size() < maxLength() && maxLength() < 32767)
        setText(QString(maxLength() - text().size(), StringEdit.AlignLeftChar) + text());
    if (isNumberMode() && Number.NumberNoneDoZero && text().isEmpty())
        setText(u"0"_s);
    if (EditType == TTypeEdit::teMask)
        maskCorrect(MaskEdit.MaskOnExit);
    // The open item list takes the focus; the edit keeps its list colour.
    if (m_itemList) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    if (ColorOnFocusActive)
        setBackground(m_loaded);
    QLineEdit::focusOutEvent(event);
    if (RequiredMonitoring && Required && text().isEmpty()) {
        const QString message = u"Zadání položky je povinné !"_s;
        if (OnError)
            OnError(message);
        else
            QMessageBox::warning(this, QApplication::applicationName(), message, QMessageBox::Ok);
        // Back into the field once the focus change has settled.
        QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
        return;
    }
    if (isNumberMode() && !numberLeave()) {
        const int caret = cursorPosition();
        QTimer::singleShot(0, this, [this, caret] {
            setFocus(Qt::OtherFocusReason);
            setCursorPosition(caret);
            deselect();
        });
    }
    Q_EMIT exited();
}

void TKEdit::moveFocus(bool forward, bool useFocusControl)
{
    QWidget *target = useFocusControl ? (forward ? FocusControl.Down : FocusControl.Up).data() : nullptr;
    if (target && target->isEnabled() && target->isVisible())
        target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    else
        focusNextPrevChild(forward);
}

QString TKEdit::convertCase(const QString &typed) const
{
    switch (CaseMode) {
    case TCaseMode::cmUpperCase:
        return typed.toUpper();
    case TCaseMode::cmLowerCase:
        return typed.toLower();
    case TCaseMode::cmProperCase: {
        const int at = cursorPosition();
        const bool start = at == 0 || text().at(at - 1) == u' ';
        return start ? typed.toUpper() : typed;
    }
    case TCaseMode::cmNormal:
        break;
    }
    return typed;
}

void TKEdit::keyPressEvent(QKeyEvent *event)
{
    if (KeyFirstInherited) {
        QLineEdit::keyPressEvent(event);
        if (event->isAccepted() && event->key() != Qt::Key_Up && event->key() != Qt::Key_Down
            && event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
            return;
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
        if (left && key == Qt::Key_Left && cursorPosition() == 0 && !hasSelectedText()) {
            moveFocus(false, true);
            return;
        }
        if (right && key == Qt::Key_Right && cursorPosition() == text().size() && !hasSelectedText()) {
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
    if (EditType == TTypeEdit::teMask && maskKey(event))
        return;
    if (EditType == TTypeEdit::teComboBox && itemKey(event))
        return;
    QString typed = event->text();
    if (!typed.isEmpty() && typed.front() >= u' ' && !(event->modifiers() & Qt::ControlModifier)) {
        if (EditType == TTypeEdit::teString && StringEdit.FiltrUse && !StringEdit.Filtr.contains(typed.front()))
            return;
        if (isNumberMode()) {
            if (!numberTyped(typed))
                return;
            QKeyEvent replaced(event->type(), event->key(), event->modifiers(), typed);
            if (!KeyFirstInherited)
                QLineEdit::keyPressEvent(&replaced);
            return;
        }
        const QString converted = convertCase(typed);
        if (converted != typed) {
            QKeyEvent replaced(event->type(), event->key(), event->modifiers(), converted);
            if (!KeyFirstInherited)
                QLineEdit::keyPressEvent(&replaced);
            return;
        }
    }
    if (!KeyFirstInherited)
        QLineEdit::keyPressEvent(event);
}

void TKEdit::paintEvent(QPaintEvent *event)
{
    if (m_loadedTaken) {
        if (!isEnabled())
            setBackground(ColorOnDisabled);
        else if (!hasFocus() && !m_itemList)
            setBackground(m_loaded);
    }
    if (!isNumberMode() || hasFocus()) {
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
    if (key == Qt::Key_Insert && (event->modifiers() & Qt::ShiftModifier))
        return true;
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selEnd = hasSelectedText() ? selectionStart() + int(selectedText().size()) : cursorPosition();
    const MaskText::Edit before{text(), cursorPosition()};
    MaskText::Edit after;
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        after = MaskText::erase(before, selStart, selEnd, key == Qt::Key_Delete, mask);
    } else {
        const QString typed = event->text();
        if (typed.isEmpty() || typed.front() < u' ' || (event->modifiers() & Qt::ControlModifier))
            return false;
        const QChar c = typed.front();
        if (StringEdit.FiltrUse && !StringEdit.Filtr.contains(c))
            return true;
        if (!c.isDigit() || !mask.acceptsDigits)
            return true;
        after = MaskText::typeDigit(before, selStart, selEnd, c, mask);
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
