#include "import/CodeTables.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

using Pairs = std::vector<std::pair<QString, QString>>;

void expectAll(QString (*table)(const QString &), const Pairs &rows)
{
    for (const auto &[from, to] : rows)
        EXPECT_EQ(table(from), to) << from.toStdString();
}

} // namespace

TEST(CodeTables, CategoryAndGroup)
{
    expectAll(CategoryCode, {{u"osobní"_s, u"osobni"_s},          {u"terénní"_s, u"terenni"_s},
                             {u"užitkový"_s, u"dodavka"_s},       {u"nákladní"_s, u"nakladni"_s},
                             {u"motocykl"_s, u"motocykl, kolo"_s}, {u"přívěs"_s, u"prives, naves"_s},
                             {u"návěs"_s, u"prives, naves"_s},    {u"autobus"_s, u"autobus"_s},
                             {u"traktor"_s, u"traktor"_s},        {u"obytný"_s, u"karavan, prives"_s},
                             {u"Osobní"_s, u"ostatni"_s},         {u"osobni"_s, u"ostatni"_s},
                             {u"osobní "_s, u"ostatni"_s},        {QString(), u"ostatni"_s}});
    expectAll(CategoryGroup, {{u"osobni"_s, u"osobní vozy"_s},
                              {u"terenni"_s, u"nákladní a užitkové vozy"_s},
                              {u"dodavka"_s, u"nákladní a užitkové vozy"_s},
                              {u"nakladni"_s, u"nákladní a užitkové vozy"_s},
                              {u"motocykl, kolo"_s, u"motorky"_s},
                              {u"prives, naves"_s, u"přívěsy a návěsy"_s},
                              {u"autobus"_s, u"autobusy"_s},
                              {u"traktor"_s, QString()},
                              {u"karavan, prives"_s, u"obytné přívěsy a vozy"_s},
                              {u"ostatni"_s, QString()}});
    EXPECT_EQ(CategoryGroup(CategoryCode(u"Osobní"_s)), QString());
}

TEST(CodeTables, Country)
{
    expectAll(CountryCode, {{u"CZ"_s, u"CR"_s},     {u"SK"_s, u"SR"_s},     {u"A"_s, u"A"_s},
                            {u"D"_s, u"D"_s},       {u"B"_s, u"other"_s},   {u"CH"_s, u"SVY"_s},
                            {u"F"_s, u"FR"_s},      {u"GB"_s, u"other"_s},  {u"I"_s, u"IT"_s},
                            {u"USA"_s, u"other"_s}, {u"UA"_s, u"other"_s},  {u"RUS"_s, u"other"_s},
                            {u"PL"_s, u"other"_s},  {u"H"_s, u"other"_s},   {u"CAN"_s, u"other"_s},
                            {u"NL"_s, u"NL"_s},     {u"CZ "_s, u"other"_s}, {u"cz"_s, u"other"_s},
                            {QString(), u"other"_s}});
}

TEST(CodeTables, BodyStyle)
{
    expectAll(BodyStyle, {{u"a"_s, u"hatchback"_s},         {u"b"_s, u"sedan"_s},
                          {u"c"_s, u"MPV"_s},               {u"d"_s, u"SUV"_s},
                          {u"e"_s, u"SUV"_s},               {u"f"_s, u"pick-up"_s},
                          {u"A"_s, u"neuvedeno"_s},         {u"B"_s, u"kombi"_s},
                          {u"C"_s, u"kabrio/roadster"_s},   {u"D"_s, u"coupé"_s},
                          {u"E"_s, u"pick-up"_s},           {u"F"_s, u"užitkové"_s},
                          {u"G"_s, u"van/mikrobus"_s},      {u"I"_s, u"terénní"_s},
                          {u"J"_s, u"minibus"_s},           {u"K"_s, u"příměstský"_s},
                          {u"N"_s, u"valník"_s},            {u"V"_s, u"valník"_s},
                          {u"0"_s, u"nakedbike"_s},         {u"1"_s, u"moped"_s},
                          {u"2"_s, u"skůtr"_s},             {u"3"_s, u"silniční cestovní"_s},
                          {u"4"_s, u"silniční cestovní"_s}, {u"5"_s, u"silniční enduro"_s},
                          {u"9"_s, u"silniční enduro"_s},   {u"8"_s, u"čtyřkolka"_s}});
    for (const QString &none : {u"H"_s, u"L"_s, u"Z"_s, u"6"_s, u"7"_s, u"aa"_s, u"a "_s, QString()})
        EXPECT_EQ(BodyStyle(none), QString()) << none.toStdString();
}

TEST(CodeTables, Fuel)
{
    expectAll(FuelCode, {{QString(), u"inz_benzin"_s},   {u"LPG"_s, u"inz_benzin"_s},
                         {u"Benzin MIX"_s, u"inz_benzin"_s}, {u"nafta"_s, u"inz_nafta"_s},
                         {u"Nafta"_s, u"inz_benzin"_s},  {u"benzin"_s, u"inz_benzin"_s},
                         {u"nafta "_s, u"inz_benzin"_s}});
}

TEST(CodeTables, Condition)
{
    auto check = [](const QString &kind, const QString &text, const QString &code, const QString &out) {
        const Condition c = VehicleCondition(kind, text);
        EXPECT_EQ(c.code, code) << kind.toStdString() << "/" << text.toStdString();
        EXPECT_EQ(c.text, out) << kind.toStdString() << "/" << text.toStdString();
    };
    check(u"B"_s, QString(), u"inz_leasing"_s, u"Převzetí leasingu"_s);
    check(u"B"_s, u"havarované"_s, u"inz_leasing"_s, u"Převzetí leasingu"_s);
    check(QString(), u"havarované"_s, u"inz_crash"_s, u"havarované"_s);
    check(u"b"_s, u"havarované"_s, u"inz_crash"_s, u"havarované"_s);
    check(QString(), u"Havarované"_s, u"inz_used"_s, u"ojeté"_s);
    check(u"A"_s, u"zachovalé"_s, u"inz_used"_s, u"ojeté"_s);
    check(QString(), QString(), u"inz_used"_s, u"ojeté"_s);
}
