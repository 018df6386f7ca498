#include "app/CommandLine.h"

#include "app/RunEnd.h"

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

QString exitStatusLines()
{
    QString lines;
    for (const ExitStatusRow &row : ExitStatusTable())
        lines += u"  %1  %2\n"_s.arg(row.status, 2).arg(row.meaning);
    return lines;
}

} // namespace

QString UsageText()
{
    return uR"(Použití: Korvex_Export [RYCHLE | ---------CAR-EXP | --nahled [--json] | --help | --version]

Exportní modul zveřejňuje nabízená vozidla na inzertním serveru Korvex.

  (bez argumentu)     okno modulu: výběr vozidel, fotografie, nastavení, odeslání
  RYCHLE              automatické odeslání bez dotazů, potom označí všechna vozidla
  ---------CAR-EXP    jen založí pracovní složku Korvex_zip a skončí
  --nahled            náhled odeslání: nové, změněné a stažené nabídky, obrázky
                      a velikost archivu; nic neodešle a nic nezmění
  --nahled --json     totéž jako JSON pro skripty (klíče popisuje README)
  --help              tento text
  --version           verze modulu

Proměnné prostředí:
  KORVEX_GATEWAY_URL  brána inzertního serveru (výchozí https://dealer.korvex.cz;
                      nešifrované http:// jen výslovně, např. pro zkušební server)
  KORVEX_MAKER_URL    server výrobce s kontrolním datem (výchozí https://www.delmora.cz;
                      http:// také jen výslovně)
  KORVEX_CA_FILE      soubor PEM s další certifikační autoritou (portál nebo proxy
                      s vlastní autoritou); certifikát serveru se ověřuje vždy
  KORVEX_DB_CONFIG    konfigurace databáze (výchozí aliases.ini vedle programu)
  KORVEX_UNATTENDED   1: běh bez obsluhy i s obrazovkou (jinak podle platformy
                      Qt offscreen nebo minimal)

Běh bez obsluhy: žádné okno se zprávou nečeká; každá zpráva jde na standardní
chybový výstup a do Korvex_log.txt, dotaz dostane odpověď Ne a modul skončí
po automatických krocích. Návratový kód:
%1
Soubory vedle programu:
  Korvex.ddd          nastavení modulu (uživatel a heslo serveru)
  Patrani.ddd         proxy server hostitelského programu
  ASCII_Nesta.TXT     výměnný soubor s vozidly
  Korvex_log.txt      záznam o každém odeslání
  Korvex_historie.db  historie úspěšných odeslání (SQLite)
  Korvex_ochrana.ddd  ochrana před stažením nabídek (zapnuto, procent, vozidel)
  Korvex_zip\         pracovní složka: Data.xml, fotografie, data.zip, Response.htm
)"_s.arg(exitStatusLines());
}

QString VersionText()
{
    return u"Korvex_Export %1 (Delmora  - 09.05.2008)\n"_s.arg(QStringLiteral(KORVEX_VERSION));
}

} // namespace korvex
