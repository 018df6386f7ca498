#pragma once

#include <QString>

namespace korvex {

// What one vehicle's equipment text becomes for the portal.
struct EquipmentLists
{
    QString keys;   // portal keys of the recognised items, each followed by ";"
    QString labels; // the recognised items in the host's wording, each followed by ";"
    QString other;  // the items the vocabulary does not know, each followed by ", "
};

// Splits the host's ";"-separated equipment text and looks every item up in
// the portal's vocabulary: exact, case- and accent-sensitive, one leading
// blank of an item dropped. Repeated items repeat their key.
EquipmentLists TranslateEquipment(QStringView equipmentText);

// The portal key of a label; empty when the vocabulary does not know it.
QString EquipmentKey(QStringView label);

int EquipmentVocabularySize();

} // namespace korvex
