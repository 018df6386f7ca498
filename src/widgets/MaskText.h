#pragma once

#include <QDateTime>
#include <QString>

namespace korvex::MaskText {

// A mask of the edit's mask mode: "0" and "9" are digit positions, every
// other character a literal; a leading "!" selects fixed-position editing.
struct Mask
{
    explicit Mask(const QString &mask);
    QString pattern;
    bool fixed = false;
    bool acceptsDigits = false;
    bool isDigitPosition(qsizetype i) const;
};

// The text laid over the pattern: missing positions take the literal or "_".
QString format(const QString &text, const Mask &mask);

struct Edit
{
    QString text;
    int caret = 0;
};

// A typed digit at the caret, over the selection [selStart, selEnd).
Edit typeDigit(const Edit &before, int selStart, int selEnd, QChar digit, const Mask &mask);
// Backspace (forward false) or Delete (forward true).
Edit erase(const Edit &before, int selStart, int selEnd, bool forward, const Mask &mask);

enum class Correction { None, Revision, RevisionSys, System };

// The date and time correction of the six date and time masks; other masks
// and texts that are not numbers stay as they are.
QString correct(const QString &text, const QString &mask, Correction correction, const QDateTime &now);

} // namespace korvex::MaskText
