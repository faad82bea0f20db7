#include "columns/layout_utilities.h"

#include "columns/column_state.h"
#include "columns/field_catalogue_fixture.h"
#include "outside/automation_error.h"
#include "outside/layout_description.h"
#include "outside/scripted_services.h"
#include "support/error_number.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace qv {
namespace {

using testing::MakeCatalogue;

LayoutDescription Description(std::vector<LayoutColumn> p_columns = {}) {
    return {LayoutHeader{}, std::nullopt, std::move(p_columns)};
}

// The chosen fields as the column-selection dialog returns them.
Variant Chosen(const std::vector<int32_t>& p_ids) {
    VariantArray chosen = VariantArray::Table(static_cast<int32_t>(p_ids.size()), 2);
    for (size_t i = 0; i < p_ids.size(); ++i) {
        chosen.At(static_cast<int32_t>(i), 0) = p_ids[i];
        chosen.At(static_cast<int32_t>(i), 1) = "caption";
    }
    return chosen;
}

Variant ChosenText(const char* p_sText) {
    VariantArray chosen = VariantArray::Table(1, 1);
    chosen.At(0, 0) = p_sText;
    return chosen;
}

std::vector<int32_t> Ids(const LayoutDescription& p_layout) {
    std::vector<int32_t> ids;
    for (const auto& entry : p_layout.Columns) {
        ids.push_back(entry.ParameterId);
    }
    return ids;
}

struct BuildCase {
    ViewerType Type;
    int32_t FinderResultsType;
    std::vector<int32_t> Expected;
};

TEST(LayoutUtilitiesTest, BuildLayoutColumnsAddsKeyAndSystemColumnsByViewerType) {
    const BuildCase cases[] = {
        {vt_Stocks, 0, {4, 5, 13, 1418, 38, 39, 37}},
        {vt_Industries, 0, {35, 13, 38, 39}},
        {vt_Sectors, 0, {36, 13, 39}},
        {vt_StockHistory, 0, {41, 5, 13, 1418, 38, 39}},
        {vt_IndustryHistory, 0, {41, 13, 1418, 38, 39, 35}},
        {vt_SectorHistory, 0, {41, 13, 39, 36}},
        {vt_FinderResults, 0, {4, 5, 13, 1418, 38, 39}},
        {vt_FinderResults, 3, {4, 5, 13, 1418, 38, 39}},
        {vt_FinderResults, 5, {4, 5, 13, 1418, 38, 39}},
        {vt_FinderResults, 1, {35, 13, 38, 39}},
        {vt_FinderResults, 2, {36, 13, 39}},
        {vt_FinderResults, 4, {13}},
        {vt_Portfolio, 0, {4, 5, 13, 1418, 38, 39, 237, 1483, 1393}},
        {vt_BuyFromSearch, 0, {13}},
        {vt_Stocks_Print, 0, {13}},
    };
    for (const BuildCase& c : cases) {
        LayoutDescription description = Description();
        LayoutUtilities::BuildLayoutColumns(description, MakeCatalogue(), Chosen({13}), c.Type,
                                            c.FinderResultsType);
        EXPECT_EQ(Ids(description), c.Expected)
            << "viewer type " << c.Type << ", finder type " << c.FinderResultsType;
    }
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsNumbersEntriesWithoutGaps) {
    LayoutDescription description = Description();
    LayoutUtilities::BuildLayoutColumns(description, MakeCatalogue(), Chosen({14, 999, 38, 13}),
                                        vt_Stocks, 0);

    const auto& entries = description.Columns;
    ASSERT_EQ(entries.size(), 8u);
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].Sequence, static_cast<int32_t>(i) + 1);
    }
    // Chosen fields are shown with the catalogue's format as it stands; key columns trimmed.
    EXPECT_EQ(entries[0].ColumnFormat, "Left");
    EXPECT_EQ(entries[2].SQLColumn, "Volume");
    EXPECT_EQ(entries[2].State, csVisible);
    EXPECT_EQ(entries[2].ColumnFormat, " #,##0 ");
    // A chosen field that is also a system column of the list is kept once, as a system column.
    EXPECT_EQ(entries[3].ParameterId, 38);
    EXPECT_EQ(entries[3].State, csSystem);
}

TEST(LayoutUtilitiesTest, StockLayoutEndsWithTheRankingColumn) {
    LayoutDescription description = Description();
    LayoutUtilities::BuildLayoutColumns(description, MakeCatalogue(), Chosen({}), vt_Stocks, 0);

    const auto& entries = description.Columns;
    ASSERT_FALSE(entries.empty());
    const auto& ranking = entries.back();
    EXPECT_EQ(ranking.ParameterId, 37);
    EXPECT_EQ(ranking.SQLColumn, "RTRanking");
    EXPECT_EQ(ranking.Caption, "RT Ranking");
    EXPECT_EQ(ranking.TableMask, 6);
    EXPECT_EQ(ranking.ColumnFormat, "0");
    EXPECT_EQ(ranking.State, csAlwaysVisible);
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsLeavesTheCatalogueUnfiltered) {
    auto catalogue = MakeCatalogue();
    LayoutDescription description = Description();
    LayoutUtilities::BuildLayoutColumns(description, catalogue, Chosen({13}), vt_BuyFromSearch, 0);
    EXPECT_EQ(catalogue->Filter(), Variant(0));
    EXPECT_EQ(catalogue->RecordCount(), 14);
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsDoesNothingWithoutCatalogueOrChoice) {
    const std::vector<LayoutColumn> table(1);
    auto closed = std::make_shared<Recordset>();
    const std::shared_ptr<Recordset> catalogues[] = {
        nullptr, closed, MakeCatalogue(std::vector<testing::CatalogueRow>{})};
    for (const auto& catalogue : catalogues) {
        LayoutDescription description = Description(table);
        LayoutUtilities::BuildLayoutColumns(description, catalogue, Chosen({13}), vt_Stocks, 0);
        EXPECT_EQ(description.Columns, table);
    }
    LayoutDescription description = Description(table);
    LayoutUtilities::BuildLayoutColumns(description, MakeCatalogue(), Variant::Null(), vt_Stocks,
                                        0);
    EXPECT_EQ(description.Columns, table);
}

struct MalformedChoiceCase {
    const char* Name;
    Variant Chosen;
    int32_t Number;
};

TEST(LayoutUtilitiesTest, BuildLayoutColumnsRejectsMalformedChoices) {
    const MalformedChoiceCase cases[] = {
        {"chosen fields empty", Variant(), errors::kTypeMismatch},
        {"chosen fields one-dimensional", VariantArray::Vector({13}), errors::kSubscriptOutOfRange},
        {"chosen id is text", ChosenText("Price"), errors::kTypeMismatch},
    };
    for (const MalformedChoiceCase& c : cases) {
        LayoutDescription description = Description();
        auto catalogue = MakeCatalogue();
        EXPECT_EQ(ErrorNumberOf([&] {
                      LayoutUtilities::BuildLayoutColumns(description, catalogue, c.Chosen,
                                                          vt_Stocks, 0);
                  }),
                  c.Number)
            << c.Name;
        EXPECT_EQ(description, Description()) << c.Name;
        EXPECT_EQ(catalogue->Filter(), Variant(0)) << c.Name;
    }
}

TEST(LayoutUtilitiesTest, GrowColumnTableKeepsEntriesAndStartsEmptyTables) {
    std::vector<LayoutColumn> table;
    LayoutUtilities::GrowColumnTable(table, 0);
    EXPECT_EQ(table.size(), 1u);

    table[0].SQLColumn = "Symbol";
    LayoutUtilities::GrowColumnTable(table, 3);
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0].SQLColumn, "Symbol");

    EXPECT_EQ(ErrorNumberOf([&] { LayoutUtilities::GrowColumnTable(table, -2); }),
              errors::kSubscriptOutOfRange);
    EXPECT_EQ(table.size(), 4u);
}

TEST(LayoutUtilitiesTest, IsFieldInLayoutComparesWithoutCase) {
    std::vector<LayoutColumn> table(2);
    table[0].SQLColumn = "Symbol";
    table[1].SQLColumn = "REC";
    const LayoutDescription description = Description(table);

    EXPECT_TRUE(LayoutUtilities::IsFieldInLayout("rec", description));
    EXPECT_TRUE(LayoutUtilities::IsFieldInLayout("SYMBOL", description));
    EXPECT_FALSE(LayoutUtilities::IsFieldInLayout("Price", description));
    EXPECT_FALSE(LayoutUtilities::IsFieldInLayout("REC", Description()));
}

}  // namespace
}  // namespace qv
