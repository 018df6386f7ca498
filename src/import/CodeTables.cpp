#include "import/CodeTables.h"

#include <QStringView>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

struct Row
{
    QStringView from;
    QStringView to;
};

template <size_t N>
QString lookUp(const Row (&table)[N], const QString &input, QStringView fallback)
{
    for (const Row &row : table)
        if (row.from == input)
            return row.to.toString();
    return fallback.toString();
}

const Row kCategories[] = {
    {u"osobní", u"osobni"},
    {u"terénní", u"terenni"},
    {u"užitkový", u"dodavka"},
    {u"nákladní", u"nakladni"},
    {u"motocykl", u"motocykl, kolo"},
    {u"přívěs", u"prives, naves"},
    {u"návěs", u"prives, naves"},
    {u"autobus", u"autobus"},
    {u"traktor", u"traktor"},
    {u"obytný", u"karavan, prives"},
};

const Row kCategoryGroups[] = {
    {u"osobni", u"osobní vozy"},
    {u"terenni", u"nákladní a užitkové vozy"},
    {u"dodavka", u"nákladní a užitkové vozy"},
    {u"nakladni", u"nákladní a užitkové vozy"},
    {u"motocykl, kolo", u"motorky"},
    {u"prives, naves", u"přívěsy a návěsy"},
    {u"autobus", u"autobusy"},
    {u"traktor", u""},
    {u"karavan, prives", u"obytné přívěsy a vozy"},
};

const Row kCountries[] = {
    {u"CZ", u"CR"}, {u"SK", u"SR"}, {u"A", u"A"},       {u"D", u"D"},         {u"B", u"other"},   {u"CH", u"SVY"},
    {u"F", u"FR"},  {u"GB", u"other"}, {u"I", u"IT"},   {u"USA", u"other"},   {u"UA", u"other"},  {u"RUS", u"other"},
    {u"PL", u"other"}, {u"H", u"other"}, {u"CAN", u"other"}, {u"NL", u"NL"},
};

// Motorcycle codes 6 and 7 have no body style: nothing shows which word of
// the portal they stand for.
const Row kBodyStyles[] = {
    {u"a", u"hatchback"},        {u"b", u"sedan"},         {u"c", u"MPV"},
    {u"d", u"SUV"},              {u"e", u"SUV"},           {u"f", u"pick-up"},
    {u"A", u"neuvedeno"},        {u"B", u"kombi"},         {u"C", u"kabrio/roadster"},
    {u"D", u"coupé"},            {u"E", u"pick-up"},       {u"F", u"užitkové"},
    {u"G", u"van/mikrobus"},     {u"I", u"terénní"},       {u"J", u"minibus"},
    {u"K", u"příměstský"},       {u"N", u"valník"},        {u"V", u"valník"},
    {u"0", u"nakedbike"},        {u"1", u"moped"},         {u"2", u"skůtr"},
    {u"3", u"silniční cestovní"}, {u"4", u"silniční cestovní"}, {u"5", u"silniční enduro"},
    {u"9", u"silniční enduro"},  {u"8", u"čtyřkolka"},
};

const Row kFuels[] = {
    {u"", u"inz_benzin"},
    {u"LPG", u"inz_benzin"},
    {u"Benzin MIX", u"inz_benzin"},
    {u"nafta", u"inz_nafta"},
};

} // namespace

QString CategoryCode(const QString &vehicleKind)
{
    return lookUp(kCategories, vehicleKind, u"ostatni");
}

QString CategoryGroup(const QString &categoryCode)
{
    return lookUp(kCategoryGroups, categoryCode, u"");
}

QString CountryCode(const QString &hostCountry)
{
    return lookUp(kCountries, hostCountry, u"other");
}

QString BodyStyle(const QString &bodyCode)
{
    return lookUp(kBodyStyles, bodyCode, u"");
}

QString FuelCode(const QString &hostFuel)
{
    return lookUp(kFuels, hostFuel, u"inz_benzin");
}

Condition VehicleCondition(const QString &offerKind, const QString &hostCondition)
{
    Condition c{u"inz_used"_s, hostCondition};
    if (offerKind == u"B")
        c = {u"inz_leasing"_s, u"Převzetí leasingu"_s};
    if (c.text == u"havarované")
        c.code = u"inz_crash"_s;
    if (c.code == u"inz_used")
        c.text = u"ojeté"_s;
    return c;
}

} // namespace korvex
