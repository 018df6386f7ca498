#pragma once

#include <QString>

namespace korvex {

// The fixed translations from the host's words to the portal's vocabulary.
// Every table matches its input exactly (case, accents and blanks count) and
// gives its default for anything else.

// Vehicle kind ("osobní", ...) -> portal category; default "ostatni".
QString CategoryCode(const QString &vehicleKind);

// Portal category -> category group; default empty.
QString CategoryGroup(const QString &categoryCode);

// Host country of origin ("CZ", ...) -> portal country code; default "other".
QString CountryCode(const QString &hostCountry);

// Host body style code (one letter or digit) -> portal body style; default empty.
QString BodyStyle(const QString &bodyCode);

// Host fuel text -> portal fuel code; default "inz_benzin".
QString FuelCode(const QString &hostFuel);

struct Condition
{
    QString code;
    QString text;
};

// Kind of offer and host condition text -> portal condition code and text.
Condition VehicleCondition(const QString &offerKind, const QString &hostCondition);

} // namespace korvex
