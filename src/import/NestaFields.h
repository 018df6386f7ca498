#pragma once

#include <QStringView>

// The field names of the working table "Nesta.DB", for the code that reads
// and writes its records: a misspelt constant fails the build, a misspelt
// literal only the run.
namespace korvex::nesta {

inline constexpr QStringView Poradi = u"PORADI";
inline constexpr QStringView Cj = u"CJ";
inline constexpr QStringView Alias = u"ALIAS";
inline constexpr QStringView ZnackaTyp = u"ZNACKA_TYP";
inline constexpr QStringView DruhVozidla = u"DRUH_VOZIDLA";
inline constexpr QStringView Znacka = u"ZNACKA";
inline constexpr QStringView Model = u"MODEL";
inline constexpr QStringView Typ = u"TYP";
inline constexpr QStringView BarvaXml = u"BARVA_XML";
inline constexpr QStringView Barva = u"BARVA";
inline constexpr QStringView StatXml = u"STAT_XML";
inline constexpr QStringView Stat = u"STAT";
inline constexpr QStringView PalivoXml = u"PALIVO_XML";
inline constexpr QStringView Palivo = u"PALIVO";
inline constexpr QStringView OznaceniKm = u"OZNACENI_KM";
inline constexpr QStringView Najeto = u"NAJETO";
inline constexpr QStringView DatumVyrobyXml = u"DATUM_VYROBY_XML";
inline constexpr QStringView DatumVyroby = u"DATUM_VYROBY";
inline constexpr QStringView PrvMajitel = u"PRV_MAJITEL";
inline constexpr QStringView ServisKn = u"SERVIS_KN";
inline constexpr QStringView Lpg = u"LPG";
inline constexpr QStringView Metaliza = u"METALIZA";
inline constexpr QStringView StkDoXml = u"STK_DO_XML";
inline constexpr QStringView StkDo = u"STK_DO";
inline constexpr QStringView StavVozidlaXml = u"STAV_VOZIDLA_XML";
inline constexpr QStringView StavVozidla = u"STAV_VOZIDLA";
inline constexpr QStringView CenaVozidla = u"CENA_VOZIDLA";
inline constexpr QStringView CenaMena = u"CENA_MENA";
inline constexpr QStringView Poznamka = u"POZNAMKA";
inline constexpr QStringView VybavaXml = u"VYBAVA_XML";
inline constexpr QStringView Vybava = u"VYBAVA";
inline constexpr QStringView VybavaDoPoznamky = u"VYBAVA_DO_POZNAMKY";
inline constexpr QStringView Foto1 = u"FOTO1";
inline constexpr QStringView Foto2 = u"FOTO2";
inline constexpr QStringView Foto3 = u"FOTO3";
inline constexpr QStringView Foto4 = u"FOTO4";
inline constexpr QStringView Foto5 = u"FOTO5";
inline constexpr QStringView Foto6 = u"FOTO6";
inline constexpr QStringView Vykon = u"VYKON";
inline constexpr QStringView Obsah = u"OBSAH";
inline constexpr QStringView CelkHmotnost = u"CELK_HMOTNOST";
inline constexpr QStringView Oznaceno = u"OZNACENO";
inline constexpr QStringView ZobFoto1 = u"ZOB_FOTO1";
inline constexpr QStringView ZobFoto2 = u"ZOB_FOTO2";
inline constexpr QStringView ZobFoto3 = u"ZOB_FOTO3";
inline constexpr QStringView ZobFoto4 = u"ZOB_FOTO4";
inline constexpr QStringView ZobFoto5 = u"ZOB_FOTO5";
inline constexpr QStringView ZobFoto6 = u"ZOB_FOTO6";
inline constexpr QStringView PrijemDne = u"PRIJEM_DNE";
inline constexpr QStringView OdesliFoto = u"ODESLI_FOTO";
inline constexpr QStringView Rezerva1 = u"REZERVA1";
inline constexpr QStringView Rezerva2 = u"REZERVA2";
inline constexpr QStringView Rezerva3 = u"REZERVA3";
inline constexpr QStringView Rezerva4 = u"REZERVA4";
inline constexpr QStringView Rezerva5 = u"REZERVA5";
inline constexpr QStringView Rezerva6 = u"REZERVA6";
inline constexpr QStringView Rezerva7 = u"REZERVA7";
inline constexpr QStringView Rezerva8 = u"REZERVA8";
inline constexpr QStringView Rezerva9 = u"REZERVA9";
inline constexpr QStringView Rezerva10 = u"REZERVA10";

} // namespace korvex::nesta
