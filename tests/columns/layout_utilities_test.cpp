#include "columns/layout_utilities.h"

#include "columns/column_state.h"
#include "columns/field_catalogue_fixture.h"
#include "columns/grid_layout.h"
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

std::vector<int32_t> Ids(const LayoutDescription& p_layout) {
    std::vector<int32_t> ids;
    for (const auto& entry : p_layout.Columns) {
        ids.push_back(entry.ParameterId);
    }
    return ids;
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsAddsKeyAndSystemColumnsByViewerType) {
    struct Case {
        ViewerType Type;
        int32_t FinderResultsType;
        std::vector<int32_t> Expected;
    };
    const Case cases[] = {
        {vt_Stocks, 0, {4, 5, 13, 1418, 38, 39, 37}},
        {vt_Industries, 0, {35, 13, 38, 39}},
        {vt_Sectors, 0, {36, 13, 39}},
        {vt_StockHistory, 0, {41, 5, 13, 1418, 38, 39}},
        {vt_IndustryHistory, 0, {41, 13, 1418, 38, 39, 35}},
        {vt_SectorHistory, 0, {41, 13, 39, 36}},
        {vt_FinderResults, 0, {4, 5, 13, 1418, 38, 39}},
        {vt_FinderResults, 1, {35, 13, 38, 39}},
        {vt_FinderResults, 2, {36, 13, 39}},
        {vt_FinderResults, 4, {13}},
        {vt_Portfolio, 0, {4, 5, 13, 1418, 38, 39, 237, 1483, 1393}},
        {vt_BuyFromSearch, 0, {13}},
        {vt_Stocks_Print, 0, {13}},
    };
    for (const Case& c : cases) {
        LayoutDescription description = Description();
        LayoutUtilities::BuildLayoutColumns(description, MakeCatalogue(), Chosen({13}), c.Type,
                                            c.FinderResultsType);
        EXPECT_EQ(Ids(description), c.Expected)
            << "viewer type " << c.Type << ", finder type " << c.FinderResultsType;
    }
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsNumbersEntriesWithoutGaps) {
    auto catalogue = MakeCatalogue();
    LayoutDescription description = Description();
    LayoutUtilities::BuildLayoutColumns(description, catalogue, Chosen({14, 999, 38, 13}),
                                        vt_Stocks, 0);
    const auto& entries = description.Columns;
    ASSERT_EQ(entries.size(), 8u);
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].Sequence, static_cast<int32_t>(i) + 1);
    }
    // Chosen fields are shown with the catalogue's format as it stands; key columns trimmed. A
    // chosen field that is also a system column of the list is kept once, as a system column.
    EXPECT_EQ(entries[0].ColumnFormat, "Left");
    EXPECT_EQ(entries[2], (LayoutColumn{14, csVisible, "Volume", "Volume", 7, 3, " #,##0 "}));
    EXPECT_EQ(entries[3].State, csSystem);
    EXPECT_EQ(entries.back(),
              (LayoutColumn{37, csAlwaysVisible, "RTRanking", "RT Ranking", 6, 8, "0"}));
    EXPECT_EQ(catalogue->Filter(), Variant(0));
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsDoesNothingWithoutCatalogueOrChoice) {
    const std::vector<LayoutColumn> table(1);
    const std::shared_ptr<Recordset> catalogues[] = {
        nullptr, std::make_shared<Recordset>(),
        MakeCatalogue(std::vector<testing::CatalogueRow>{})};
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

TEST(LayoutUtilitiesTest, BuildLayoutColumnsRejectsMalformedChoices) {
    VariantArray textId = VariantArray::Table(1, 1);
    textId.At(0, 0) = "Price";
    const std::pair<Variant, int32_t> cases[] = {
        {Variant(), errors::kTypeMismatch},
        {VariantArray::Vector({13}), errors::kSubscriptOutOfRange},
        {textId, errors::kTypeMismatch},
    };
    for (const auto& [chosen, number] : cases) {
        LayoutDescription description = Description();
        auto catalogue = MakeCatalogue();
        EXPECT_EQ(ErrorNumberOf([&] {
                      LayoutUtilities::BuildLayoutColumns(description, catalogue, chosen, vt_Stocks,
                                                          0);
                  }),
                  number);
        EXPECT_EQ(description, Description());
        EXPECT_EQ(catalogue->Filter(), Variant(0));
    }
}

TEST(LayoutUtilitiesTest, GrowColumnTableKeepsEntriesAndStartsEmptyTables) {
    std::vector<LayoutColumn> table;
    LayoutUtilities::GrowColumnTable(table, 0);
    table[0].SQLColumn = "Symbol";
    LayoutUtilities::GrowColumnTable(table, 3);
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0].SQLColumn, "Symbol");
    EXPECT_EQ(ErrorNumberOf([&] { LayoutUtilities::GrowColumnTable(table, -2); }),
              errors::kSubscriptOutOfRange);
    EXPECT_EQ(table.size(), 4u);
}

TEST(LayoutUtilitiesTest, IsFieldInLayoutComparesWithoutCase) {
    std::vector<LayoutColumn> table(1);
    table[0].SQLColumn = "REC";
    EXPECT_TRUE(LayoutUtilities::IsFieldInLayout("rec", Description(table)));
    EXPECT_FALSE(LayoutUtilities::IsFieldInLayout("Price", Description(table)));
}

TEST(GridLayoutTest, LayoutInfoReadsBackWhatWasWrittenWithIdsAndTextsConverted) {
    GridLayout layout;
    layout.SetLayoutInfo(VariantArray::Vector({7, "Mine", "", 0, 12}));
    EXPECT_EQ(layout.Id(), 7);
    EXPECT_EQ(layout.OwnerId(), 12);
    layout.SetLayoutInfo(VariantArray::Vector({"7", 3.0, 2.5, "0", true}));
    EXPECT_EQ(layout.LayoutInfo().Array(), VariantArray::Vector({7, "3", "2.5", 0, -1}));
}

TEST(GridLayoutTest, MalformedLayoutInfoFailsAndChangesNothing) {
    const std::pair<Variant, int32_t> cases[] = {
        {"7", errors::kTypeMismatch},
        {VariantArray::Vector({1, "a", "b", 0}), errors::kSubscriptOutOfRange},
        {VariantArray::Table(5, 1), errors::kSubscriptOutOfRange},
        {VariantArray::Vector({"seven", "a", "", 0, 0}), errors::kTypeMismatch},
        {VariantArray::Vector({1, Variant::Null(), "", 0, 0}), errors::kInvalidUseOfNull},
        {VariantArray::Vector({1, "a", "", 0, 1e12}), errors::kOverflow},
    };
    for (const auto& [info, number] : cases) {
        GridLayout layout;
        layout.SetLayoutInfo(VariantArray::Vector({3, "Kept", "d", 1, 2}));
        EXPECT_EQ(ErrorNumberOf([&] { layout.SetLayoutInfo(info); }), number);
        EXPECT_EQ(layout.LayoutInfo().Array(), VariantArray::Vector({3, "Kept", "d", 1, 2}));
    }
}

}  // namespace
}  // namespace qv
