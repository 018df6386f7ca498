#include "CommandLine.h"

using namespace Qt::StringLiterals;

namespace korvex {

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
  KORVEX_GATEWAY_URL  brána inzertního serveru (výchozí http://dealer.korvex.cz)
  KORVEX_MAKER_URL    server výrobce s kontrolním datem (výchozí http://www.delmora.cz)
  KORVEX_DB_CONFIG    konfigurace databáze (výchozí aliases.ini vedle programu)

Soubory vedle programu:
  Korvex.ddd          nastavení modulu (uživatel a heslo serveru)
  Patrani.ddd         proxy server hostitelského programu
  ASCII_Nesta.TXT     výměnný soubor s vozidly
  Korvex_log.txt      záznam o každém odeslání
  Korvex_historie.db  historie úspěšných odeslání (SQLite)
  Korvex_ochrana.ddd  ochrana před stažením nabídek (zapnuto, procent, vozidel)
  Korvex_zip\         pracovní složka: Data.xml, fotografie, data.zip, Response.htm
)"_s;
}

QString VersionText()
{
    return u"Korvex_Export %1 (Delmora  - 09.05.2008)\n"_s.arg(QStringLiteral(KORVEX_VERSION));
}

} // namespace korvex
