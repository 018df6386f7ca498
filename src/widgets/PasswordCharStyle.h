#pragma once

#include <QProxyStyle>

namespace korvex {

// The application's style with another character masking password edits.
class PasswordCharStyle : public QProxyStyle
{
    Q_OBJECT
public:
    explicit PasswordCharStyle(QChar passwordChar, QObject *parent = nullptr);

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

private:
    QChar m_passwordChar;
};

} // namespace korvex
