#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// The rules by which host values become interchange values. Pure functions
// of texts; none fails.

// The "*"-separated technical data of VYKUP_REZERVA1. Field n is the text
// with exactly n "*" before it; a text shorter than three characters gives
// no fields at all.
class TechnicalData
{
public:
    explicit TechnicalData(const QString &text);
    // Field n, cut to at most maxLength characters (0: whole).
    QString field(int n, int maxLength = 0) const;

private:
    QString m_text;
    QList<QStringView> m_fields;
};

// Decimal digits with optional leading blanks and sign, fitting a 32-bit
// integer; an empty text does not read.
bool ReadsAsWholeNumber(QStringView text);

// Lines of a host memo split at CR, LF or CR LF; an empty text has none and a
// final break adds none, but an empty line counts.
QStringList HostLines(const QString &text);

// The eleventh "#"-separated field of REZ_PREHL5, at most 20 characters;
// empty when the text has fewer than ten "#".
QString ReadExportMark(const QString &rezPrehl5);

// HostDataRoot from the first line of "Route.ddd": cut after the
// second-to-last separator ("C:\HOST\PRG\" gives "C:\HOST\").
QString HostDataRootFrom(const QString &routeLine);

struct DatePair
{
    QString ymd;     // year-month-day form
    QString display; // display form
};

// Date of manufacture from PROVOZ_OD, or else MESIC_VYROBY and ROK_VYROBY.
DatePair ManufactureDate(const QString &provozOd, const QString &mesic, const QString &rok);

// Technical inspection from STK_DO ("mm/yyyy", typed through a mask of "_").
DatePair InspectionDate(const QString &stkDo);

// The year of a display date: the text between the second and a third "/"
// or "." (15.03.2005 gives 2005).
QString YearOfDisplayDate(QStringView display);

// The whole part (towards zero) of a number written with a decimal comma,
// as a plain integer: "420,10" gives "420".
QString WholePartOf(const QString &commaNumber);

} // namespace korvex
