// The number modes of TKEdit: allowed characters, normal form, value, sign
// and range checks, and the unfocused display.
#include "widgets/NumberText.h"
#include "widgets/TKEdit.h"

#include <QStyle>

using namespace Qt::StringLiterals;

namespace korvex {

bool TKEdit::isNumberMode() const
{
    return EditType == TTypeEdit::teCurrency || EditType == TTypeEdit::teFloat || EditType == TTypeEdit::teInteger;
}

QChar TKEdit::separator() const
{
    return QLocale().decimalPoint().front();
}

bool TKEdit::allowed(QChar c) const
{
    if (c >= u'0' && c <= u'9')
        return true;
    if (c == u',' || c == u'.')
        return EditType != TTypeEdit::teInteger && Number.Decimal > 0;
    if (c != u'-')
        return false;
    switch (Number.NumberArea) {
    case TNumberArea::naOnlyPositive:
    case TNumberArea::naPositive:
        return false;
    case TNumberArea::naOnlyNegative:
    case TNumberArea::naNegative:
        return true;
    case TNumberArea::naUnspecified:
        break;
    }
    return Number.ValueMax < 0 || Number.ValueMin < 0 || (Number.ValueMax == 0 && Number.ValueMin == 0);
}

void TKEdit::setValue(qint64 value)
{
    if (Number.ValueMax != 0 && value > Number.ValueMax)
        value = Number.ValueMax;
    if (Number.ValueMin != 0 && value < Number.ValueMin)
        value = Number.ValueMin;
    m_value = value;
    const bool integer = EditType == TTypeEdit::teInteger;
    setText(NumberText::cutDecimals(NumberText::plain(value, separator(), integer), integer ? 0 : Number.Decimal,
                                    separator()));
}

bool TKEdit::numberTyped(QChar &c)
{
    if (c == u'.' || c == u',')
        c = separator();
    m_textBeforeTyping = text();
    m_caretBeforeTyping = cursorPosition();
    if (!allowed(c == separator() ? u',' : c))
        return false;
    if (c == separator()
        && (text().contains(u',') || text().contains(u'.') || (cursorPosition() == 0 && text().contains(u'-'))))
        return false;
    if (c == u'-' && (text().contains(u'-') || cursorPosition() != 0))
        return false;
    return true;
}

void TKEdit::numberEnter()
{
    const auto value = NumberText::toValue(text(), separator());
    const bool zero = !value || *value == 0;
    if (!text().isEmpty() && !zero) {
        switch (CursorEndField) {
        case TCursorEndField::cfZeroElsePosition:
            setCursorPosition(std::min<int>(m_rememberedPosition, int(text().size())));
            break;
        case TCursorEndField::cfZeroElseBegin:
            setCursorPosition(0);
            break;
        case TCursorEndField::cfZeroElseEnd:
            setCursorPosition(int(text().size()));
            break;
        default:
            break;
        }
    } else if (zero && Number.CursorZeroOver) {
        selectAll();
    }
}

QString TKEdit::numberLeave()
{
    const QChar sep = separator();
    const bool integer = EditType == TTypeEdit::teInteger;
    QString t = text();
    t.replace(u',', sep).replace(u'.', sep);
    setText(NumberText::normalForm(t, integer ? 0 : Number.Decimal, integer ? 0 : Number.DecimalShow, sep));
    if (Number.NumberTextToValue) {
        const auto parsed = NumberText::toValue(text(), sep);
        setValue(text().isEmpty() ? 0 : parsed.value_or(Number.ValueMin));
    }
    if (!Number.Valid)
        return QString();

    QString reduced;
    for (const QChar c : text())
        if (allowed(c == sep ? u',' : c))
            reduced += c;
    const auto value = NumberText::toValue(reduced, sep);
    QString message;
    const QString shown = value ? NumberText::forMessage(*value, sep) : QString();
    if (!value)
        message = u"Zadaná číselná hodnota \"%1\" není číslo !"_s.arg(text());
    else if (Number.NumberArea == TNumberArea::naOnlyPositive && *value <= 0)
        message = u"Zadání je pouze pro kladná čísla.\n%1 nevyhovuje."_s.arg(shown);
    else if (Number.NumberArea == TNumberArea::naOnlyNegative && *value >= 0)
        message = u"Zadání je pouze pro záporná čísla.\n%1 nevyhovuje."_s.arg(shown);
    else if (Number.NumberArea == TNumberArea::naPositive && *value < 0)
        message = u"Zadání platí pro kladná čísla.\n%1 nevyhovuje."_s.arg(shown);
    else if (Number.NumberArea == TNumberArea::naNegative && *value > 0)
        message = u"Zadání platí pro záporná čísla.\n%1 nevyhovuje."_s.arg(shown);
    else if (!(Number.ValueMax == 0 && Number.ValueMin >= 0) && *value > Number.ValueMax)
        message = u"Maximální číselná hodnota je \"%1\""_s.arg(NumberText::plain(Number.ValueMax, sep, false));
    else if ((Number.ValueMin != 0 || Number.ValueMax > 0) && *value < Number.ValueMin)
        message = u"Minimální číselná hodnota je \"%1\""_s.arg(NumberText::plain(Number.ValueMin, sep, false));
    if (!message.isEmpty())
        setText(m_textBeforeTyping);
    return message;
}

void TKEdit::numberLoaded()
{
    const QChar sep = separator();
    Number.DecimalShow = std::max(Number.DecimalShow, Number.Decimal);
    QString t = text();
    t.replace(sep == u',' ? u'.' : u',', sep);
    QString kept;
    for (const QChar c : t) {
        if (EditType == TTypeEdit::teInteger && (c == u',' || c == u'.'))
            break;
        if (allowed(c == sep ? u',' : c))
            kept += c;
    }
    if (EditType != TTypeEdit::teInteger)
        kept = NumberText::normalForm(kept, Number.Decimal, Number.DecimalShow, sep);
    setText(kept.isEmpty() || NumberText::toValue(kept, sep) ? kept : QString());
}

QString TKEdit::numberDisplay() const
{
    const QChar sep = separator();
    const bool integer = EditType == TTypeEdit::teInteger;
    QString shown = NumberText::cutDecimals(text(), integer ? 0 : Number.DecimalShow, sep);
    shown = NumberText::grouped(shown, Number.NumberCount, sep);
    if (EditType == TTypeEdit::teCurrency && Number.CurrTextShow && !Number.CurrText.isEmpty() && !shown.isEmpty()) {
        switch (Number.CurrPosition) {
        case TCurrencyPos::ncCurr_Right: shown = shown + u' ' + Number.CurrText; break;
        case TCurrencyPos::ncCurr_Left: shown = Number.CurrText + u' ' + shown; break;
        case TCurrencyPos::ncCurrRight: shown = shown + Number.CurrText; break;
        case TCurrencyPos::ncCurrLeft: shown = Number.CurrText + shown; break;
        }
    }
    if (echoMode() != QLineEdit::Normal)
        shown = QString(shown.size(), QChar(style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, this)));
    return shown;
}

} // namespace korvex
