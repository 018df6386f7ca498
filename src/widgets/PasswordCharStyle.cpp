#include "widgets/PasswordCharStyle.h"

namespace korvex {

PasswordCharStyle::PasswordCharStyle(QChar passwordChar, QObject *parent)
    : m_passwordChar(passwordChar)
{
    setParent(parent);
}

int PasswordCharStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                                 QStyleHintReturn *returnData) const
{
    if (hint == SH_LineEdit_PasswordCharacter)
        return m_passwordChar.unicode();
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace korvex
