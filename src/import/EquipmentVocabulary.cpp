#include "import/EquipmentVocabulary.h"

#include <QHash>
#include <QVarLengthArray>

#include <iterator>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

struct VocabularyRow
{
    const char16_t *label;
    const char16_t *key;
};

// The portal's equipment vocabulary in its own order; keys are the portal's
// words letter for letter. "alarm" and "imobilizér" share "eq_alarm".
const VocabularyRow kVocabulary[] = {
    {u"rádio", u"eq_radio"},
    {u"originál autorádio", u"eq_orig_radio"},
    {u"příprava pro rádio", u"eq_prepare_radio"},
    {u"magnetofon", u"eq_magnetofon"},
    {u"CD přehrávač", u"eq_cd_player"},
    {u"CD měnič", u"eq_cd_changer"},
    {u"televize", u"eq_tv"},
    {u"video", u"eq_video"},
    {u"1 monitor", u"eq_1_monitor"},
    {u"2 monitory", u"eq_2_monitor"},
    {u"3 monitory", u"eq_3_monitor"},
    {u"4 monitory", u"eq_4_monitor"},
    {u"telefon", u"eq_phone"},
    {u"příprava pro telefon", u"eq_prepare_phone"},
    {u"CB vysílačka", u"eq_cb"},
    {u"intercom", u"eq_intercom"},
    {u"centrální zamykání", u"eq_central_lock"},
    {u"centrál dálkový", u"eq_remote_central_lock"},
    {u"alarm", u"eq_alarm"},
    {u"imobilizér", u"eq_alarm"},
    {u"zámek řadící páky", u"eq_immobilizer"},
    {u"zaslepení zámků", u"eq_infat"},
    {u"dvojitá okna", u"eq_double_window"},
    {u"el. přední okna", u"eq_el_contr_front_win"},
    {u"el. okna", u"eq_el_contr_win"},
    {u"el. zrcátka", u"eq_el_contr_mirrors"},
    {u"vyhřívaná zrcátka", u"eq_heated_mirror"},
    {u"tónovaná skla", u"eq_tonned_win"},
    {u"vyhřívané přední sklo", u"eq_heated_head_win"},
    {u"střešní okno", u"eq_roof_win"},
    {u"střešní šíbr man.", u"eq_roof_win_man"},
    {u"střešní šíbr el.", u"eq_roof_win_el"},
    {u"shrnovací střecha", u"eq_roll_roof"},
    {u"pevná střecha", u"eq_comp_roof"},
    {u"střešní nosič", u"eq_roofrack"},
    {u"ski box", u"eq_ski_box"},
    {u"přídavné světlomety", u"eq_additional_lights"},
    {u"xenonové světlomety", u"eq_xenon"},
    {u"ostřikovače světlometů", u"eq_clean_lights"},
    {u"ochranné rámy", u"eq_prot_frame"},
    {u"spoiler, křídlo", u"eq_spoilers"},
    {u"střešní spoiler", u"eq_roof_spoiler"},
    {u"boční spoilery", u"eq_side_spoiler"},
    {u"zadní stěrač", u"eq_back_wiper"},
    {u"autochladnička", u"eq_fridge"},
    {u"kávovar", u"eq_coffee_maker"},
    {u"párkovač", u"eq_sousage_maker"},
    {u"mikrovlná trouba", u"eq_microwave_owen"},
    {u"WC", u"eq_wc"},
    {u"boiler", u"eq_boiler"},
    {u"měnič 220 V", u"eq_220V"},
    {u"klimatizace", u"eq_man_aircon"},
    {u"aut. klimatizace", u"eq_aut_aircon"},
    {u"nezávislé topení", u"eq_ind_heater"},
    {u"nezávislé topení s čas. předehřívačem", u"eq_ind_time_heater"},
    {u"dělená zadní sedadla", u"eq_splitted_back_seats"},
    {u"dětská sedačka", u"eq_child_seat"},
    {u"síťka mezistěny zavazadlového prostoru", u"eq_net_luggage"},
    {u"závěsné zařízení", u"eq_hitch"},
    {u"sportovní sedadla", u"eq_sport_seats"},
    {u"vyhřívaná sedadla", u"eq_heated_seats"},
    {u"el. seřiditelná sedadla", u"eq_el_config_seats"},
    {u"výškově nastavitelná sedadla", u"eq_vertical_config_seat"},
    {u"podélný posuv sedadel", u"eq_horizontal_config_seat"},
    {u"sedadla výsuvná do uličky", u"eq_side_config_seat"},
    {u"výsuvné opěrky hlav", u"eq_head_adjustment"},
    {u"potahy kůže", u"eq_leather_webbing"},
    {u"dřevěné obložení", u"eq_wood_cladding"},
    {u"nastavitelný volant", u"eq_adjustable_drive_wheel"},
    {u"multifunkční volant", u"eq_multi_drive_wheel"},
    {u"airbag řidiče", u"eq_driver_airbag"},
    {u"2 x airbag", u"eq_2xairbag"},
    {u"4 x airbag", u"eq_4xairbag"},
    {u"6 x airbag", u"eq_6xairbag"},
    {u"8 x airbag", u"eq_8xairbag"},
    {u"palubní počítač", u"eq_on_board_comp"},
    {u"satelitní navigace", u"eq_satelit_navigation"},
    {u"indikátor parkování", u"eq_parking_indicator"},
    {u"retardér", u"eq_retarder"},
    {u"intardér", u"eq_intarder"},
    {u"venkovní teploměr", u"eq_out_therm"},
    {u"vnitřní teploměr", u"eq_in_therm"},
    {u"otáčkoměr", u"eq_engine_counter"},
    {u"hydraulika pro sklápění", u"eq_hydraulics_dump"},
    {u"vzduchové ovládání dveří", u"eq_air_door"},
    {u"kabina krátká", u"eq_short_cab"},
    {u"kabina střední", u"eq_middle_cab"},
    {u"kabina dlouhá", u"eq_long_cab"},
    {u"kabina nízká", u"eq_low_cab"},
    {u"kabina vysoká", u"eq_high_cab"},
    {u"nástavba klasická", u"eq_body_standard"},
    {u"nástavba zvýšená", u"eq_body_high"},
    {u"nástavba patrová", u"eq_body_palat"},
    {u"1 lůžko", u"eq_1_berth"},
    {u"2 lůžka", u"eq_2_berth"},
    {u"lůžko pro druhého řidiče", u"eq_sec_driver_berth"},
    {u"tažné zařízení", u"eq_tow_coupling"},
    {u"hliníková kola", u"eq_lite_disky"},
    {u"ABS", u"eq_abs"},
    {u"EDS", u"eq_eds"},
    {u"protiprokluzový systém kol (ASR)", u"eq_asr"},
    {u"stabilizace podvozku (ESP)", u"eq_esp"},
    {u"výbava ADR", u"eq_adr"},
    {u"posilovač řízení", u"eq_steering_booster"},
    {u"aut. převodovka", u"eq_aut_gear"},
    {u"manuální převodovka", u"eq_man_gear"},
    {u"6 rychlostních stupňů", u"eq_6gears"},
    {u"8 rychlostních stupňů", u"eq_8gears"},
    {u"pohon 4 x 4", u"eq_drive_4x4"},
    {u"pohon 6 x 4", u"eq_drive_6x4"},
    {u"pohon 6 x 6", u"eq_drive_6x6"},
    {u"pohon 8 x 4", u"eq_drive_8x4"},
    {u"pohon 8 x 8", u"eq_drive_8x8"},
    {u"počet náprav 2", u"eq_2axle"},
    {u"počet náprav 3", u"eq_3axle"},
    {u"pérování ocel", u"eq_susp_steel"},
    {u"pérování vzduch", u"eq_susp_air"},
    {u"pérování ocel / vzduch", u"eq_susp_air_steel"},
    {u"regulace výšky podvozku", u"eq_level_chasiss"},
    {u"regulace tuhosti podvozku", u"eq_touhgness_chasiss"},
    {u"sportovní podvozek", u"eq_chasis"},
    {u"aut. uzávěrka dif.", u"eq_aut_lock"},
    {u"jednoduchá nádrž do 400 l nafty", u"eq_simple_tank"},
    {u"dvojitá nádrž do 800 l nafty", u"eq_double_tank"},
    {u"tempomat", u"eq_speed_ctrl"},
    {u"tachograf", u"eq_speed_recorder"},
    {u"eurograf", u"eq_eurograf"},
    {u"kufry", u"eq_case"},
    {u"brašny", u"eq_bags"},
    {u"dálkový start", u"eq_remote_start"},
    {u"laděný výfuk", u"eq_tuned_exhaust"},
    {u"tlumič řízení", u"eq_steering_dumper"},
    {u"airbrush", u"eq_airbrush"},
    {u"padáky", u"eq_safe_f"},
    {u"plní 'EURO 0'", u"eq_euro0"},
    {u"plní 'EURO I'", u"eq_euro1"},
    {u"plní 'EURO II'", u"eq_euro2"},
    {u"plní 'EURO III'", u"eq_euro3"},
    {u"senzor stěračů", u"eq_sensor_wiper"},
    {u"centrální mazání", u"eq_central_lubrication"},
};

// Key by label; a label listed twice takes its last key. The views look
// into the table's own texts, so an item is looked up without a copy.
const QHash<QStringView, QStringView> &vocabulary()
{
    static const QHash<QStringView, QStringView> table = [] {
        QHash<QStringView, QStringView> byLabel;
        byLabel.reserve(qsizetype(std::size(kVocabulary)));
        for (const VocabularyRow &row : kVocabulary)
            byLabel.insert(QStringView(row.label), QStringView(row.key));
        return byLabel;
    }();
    return table;
}

// The key of a label; null when the vocabulary does not know it.
const QStringView *keyOf(QStringView label)
{
    const QHash<QStringView, QStringView> &table = vocabulary();
    const auto it = table.constFind(label);
    return it != table.constEnd() ? &it.value() : nullptr;
}

} // namespace

int EquipmentVocabularySize()
{
    return int(std::size(kVocabulary));
}

QString EquipmentKey(QStringView label)
{
    const QStringView *key = keyOf(label);
    return key ? key->toString() : QString();
}

EquipmentLists TranslateEquipment(QStringView equipmentText)
{
    // Items end at ";" or at the end of the text, where one blank is dropped
    // and an empty last item is none. The empty text is one empty item.
    QStringView text = equipmentText;
    if (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    struct Item
    {
        QStringView label;
        const QStringView *key;
    };
    QVarLengthArray<Item, 64> items;
    auto look = [&items](QStringView item) {
        if (item.startsWith(u' '))
            item = item.mid(1);
        items.append({item, keyOf(item)});
    };
    if (text.isEmpty())
        look(text);
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(u';', start);
        if (end < 0)
            end = text.size();
        look(text.mid(start, end - start));
        start = end + 1;
    }

    // Every list is allocated once, at its final length.
    qsizetype keys = 0, labels = 0, other = 0;
    for (const Item &item : items) {
        if (item.key) {
            keys += item.key->size() + 1;
            labels += item.label.size() + 1;
        } else {
            other += item.label.size() + 2;
        }
    }
    EquipmentLists out;
    if (keys > 0) {
        out.keys.reserve(keys);
        out.labels.reserve(labels);
    }
    if (other > 0)
        out.other.reserve(other);
    for (const Item &item : items) {
        if (item.key) {
            out.keys += *item.key;
            out.keys += u';';
            out.labels += item.label;
            out.labels += u';';
        } else {
            out.other += item.label;
            out.other += u", ";
        }
    }
    return out;
}

} // namespace korvex
