// The list's columns against its face: the widest values a dealer's stock
// typically holds are shown whole at the columns' pixel widths.
#include "Controls.h"
#include "ScriptedDialogs.h"
#include "VehicleTable.h"
#include "selection/VehicleListTab.h"
#include "widgets/TDbGridTarvo.h"

#include <QFontMetrics>
#include <QStyle>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

TEST(VehicleColumns, TypicalWidestValuesFitTheirColumns)
{
    test::VehicleTable table;
    table.add({{u"ZNACKA_TYP"_s, u"Volkswagen Golf 1.6 FSI Comfortline"_s},
               {u"DATUM_VYROBY"_s, u"2008"_s},
               {u"NAJETO"_s, u"999999"_s},
               {u"VYKON"_s, u"103"_s},
               {u"OBSAH"_s, u"2461"_s},
               {u"BARVA"_s, u"stříbrná"_s},
               {u"PALIVO"_s, u"Benzin MIX"_s},
               {u"CENA_VOZIDLA"_s, u"1299900"_s}});
    table.query.first();
    test::ScriptedDialogs dialogs;
    VehicleListTab tab(table.query, dialogs);
    auto *grid = test::Control<TDbGridTarvo>(&tab, "DbGridTarvo1");
    QAbstractItemModel *model = grid->model();
    // The cell's text runs between the style's margins, inside the grid line.
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;

    QFont bold = grid->font();
    bold.setBold(true);
    for (const QFont &font : {grid->font(), bold}) {
        const QFontMetrics metrics(font);
        for (int c = 0; c < 12; ++c) {
            const QString field = model->headerData(c, Qt::Horizontal).toString();
            // A list of thousands; the key column shows the plain number.
            const QString shown = c == 0 ? u"9999"_s : model->data(model->index(0, c)).toString();
            const int room = grid->columnWidth(c) - 1 - 2 * margin;
            EXPECT_LE(metrics.horizontalAdvance(shown), room)
                << field.toStdString() << " \"" << shown.toStdString() << "\" bold " << font.bold();
        }
    }
    // The masks are what makes the values wide.
    EXPECT_EQ(model->data(model->index(0, 6)).toString(), u"999999  km"_s);
    EXPECT_EQ(model->data(model->index(0, 11)).toString(), u"1299900  Kč"_s);
}

} // namespace
