// A heading's tool tip: the field's long name, and why a column shows no values at all.
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/grid_view.h"
#include "shell/test_application.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

// P/E and EPS were blank on the real market, which has no earnings: blank cells looked broken.
TEST(GridViewHeader, ToolTipsGiveTheLongNameAndSayWhenAColumnHasNoValues) {
    Application();
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Symbol", adVarChar, 10);
    rows->Fields().Append("PE", adDouble);
    rows->Open();
    rows->AddNew({Variant("AAA"), Variant::Null()});
    rows->AddNew({Variant("BBB"), Variant::Null()});
    auto grid = std::make_shared<GridControl>();
    grid->SetDataSource(rows);
    grid->RetrieveFields();
    GridView view;
    view.SetGrid(grid);
    const QString none =
        QStringLiteral("\nNo values: the market data has no source for this field");
    EXPECT_EQ(view.HeaderToolTip(1), QStringLiteral("PE") + none);  // the caption, no long name
    GridHeaderSource source;
    source.LongName = [](const std::string& p_sField) {
        return p_sField == "PE" ? std::string("price to earnings ratio") : std::string();
    };
    view.SetHeaderSource(source);
    EXPECT_EQ(view.HeaderToolTip(1), QStringLiteral("price to earnings ratio") + none);
    rows->SetValue("PE", Variant(12.5));
    rows->Update();
    EXPECT_EQ(view.HeaderToolTip(1), QStringLiteral("price to earnings ratio"));
    rows->SetFilter(Variant("Symbol = 'ZZZ'"));  // an empty list is no column without values
    EXPECT_EQ(view.HeaderToolTip(0), QStringLiteral("Symbol"));
}

}  // namespace
}  // namespace qv::test
