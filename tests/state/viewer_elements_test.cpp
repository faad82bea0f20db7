#include "state/viewer_elements.h"

#include "columns/field_catalogue_fixture.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "outside/automation_error.h"
#include "outside/scripted_services.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace qv {
namespace {

std::optional<AutomationError> FailureOf(const std::function<void()>& p_action) {
    try {
        p_action();
    } catch (const AutomationError& error) {
        return error;
    }
    return std::nullopt;
}

class ViewerElementsTest : public ::testing::Test {
  protected:
    ViewerElementsTest() { m_elements.SetParameterList(m_catalogue); }

    ScopedTestPlatform m_platform;
    ViewerElements m_elements;
    std::shared_ptr<Recordset> m_catalogue = testing::MakeCatalogue();
};

TEST_F(ViewerElementsTest, StartsWithTheClockAndANewLayout) {
    EXPECT_EQ(m_elements.StartDate(), m_platform.Time().Now());
    EXPECT_EQ(m_elements.EndDate(), m_platform.Time().Now());
    ASSERT_NE(m_elements.GridLayout(), nullptr);
    EXPECT_EQ(m_elements.GridLayout()->Id(), 0);
    EXPECT_TRUE(m_elements.SortInfo().IsEmpty());
}

struct SortCase {
    const char* Name;
    int32_t PriFieldId, PriDir, SecFieldId, SecDir;
    int32_t ExpectedPriId, ExpectedPriDir, ExpectedSecId, ExpectedSecDir;
    const char* ExpectedSort;
};

TEST_F(ViewerElementsTest, SetSortInfoBuildsTheSortClause) {
    const SortCase cases[] = {
        {"two fields", 13, 1, 4, 0, 13, 1, 4, 0, "Price DESC, Symbol ASC"},
        {"equal fields", 13, 0, 13, 1, 13, 0, -1, 1, "Price ASC"},
        {"unsortable primary", 24, 1, -1, 0, 0, 0, -1, 0, " ASC"},
        {"codes sort as names", 38, 0, 39, 1, 35, 0, 36, 1, "IndName ASC, SecName DESC"},
        {"secondary 0 kept", 13, 0, 0, 1, 13, 0, 0, 0, "Price ASC,  ASC"},
        {"no primary", -5, 1, 14, 1, -5, 0, 14, 1, " ASC, Volume DESC"},
    };
    for (const SortCase& c : cases) {
        ViewerElements elements;
        elements.SetParameterList(m_catalogue);
        elements.SetSortInfo(c.PriFieldId, c.PriDir, c.SecFieldId, c.SecDir);
        EXPECT_EQ(elements.PriSortFieldId(), c.ExpectedPriId) << c.Name;
        EXPECT_EQ(elements.PriSortDir(), c.ExpectedPriDir) << c.Name;
        EXPECT_EQ(elements.SecSortFieldId(), c.ExpectedSecId) << c.Name;
        EXPECT_EQ(elements.SecSortDir(), c.ExpectedSecDir) << c.Name;
        EXPECT_EQ(elements.Sort(), c.ExpectedSort) << c.Name;
        EXPECT_EQ(elements.SortInfo().Array(),
                  VariantArray::Vector({c.ExpectedSort, c.ExpectedPriId, c.ExpectedPriDir,
                                        c.ExpectedSecId, c.ExpectedSecDir}))
            << c.Name;
    }
}

TEST_F(ViewerElementsTest, SortFieldNamesFollowTheIds) {
    m_elements.SetSortInfo(38, 0, 4, 0);
    EXPECT_EQ(m_elements.PriSortField(), "IndName");
    EXPECT_EQ(m_elements.SecSortField(), "Symbol");
    m_elements.SetSecSortFieldId(-1);
    EXPECT_EQ(m_elements.SecSortField(), "");
    m_elements.SetParameterList(nullptr);
    EXPECT_EQ(m_elements.PriSortField(), "");
}

TEST_F(ViewerElementsTest, SetSortInfoLeavesTheCatalogueFilterAsItWas) {
    m_elements.SetSortInfo(24, 0, 13, 0);
    EXPECT_EQ(m_catalogue->Filter(), Variant(0));
    EXPECT_EQ(m_catalogue->RecordCount(), 14);

    m_catalogue->SetFilter("Group >= 0");
    m_elements.SetSortInfo(13, 0, 4, 0);
    EXPECT_EQ(m_catalogue->Filter(), Variant("Group >= 0"));
    EXPECT_EQ(m_catalogue->RecordCount(), 5);
}

TEST_F(ViewerElementsTest, GridColumnsAreCreatedOnFirstRead) {
    const auto secondary = m_elements.GridColumns(gtSecondary);
    ASSERT_NE(secondary, nullptr);
    EXPECT_EQ(secondary->Count(), 0);
    EXPECT_EQ(m_elements.GridColumns(gtSecondary), secondary);

    m_elements.SetGridColumns(gtSecondary, nullptr);
    EXPECT_NE(m_elements.GridColumns(gtSecondary), nullptr);

    for (int32_t index : {2, -1}) {
        const auto failure =
            FailureOf([&] { m_elements.GridColumns(static_cast<GridType>(index)); });
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->Number(), errors::kSubscriptOutOfRange);
    }
}

Variant ColumnTable() {
    VariantArray table = VariantArray::Table(7, 3);
    const Variant entries[3][7] = {
        {4, 4, "Symbol", "Symbol", 1, 2, "Left"},
        {"13", "2", "Price", "Price", "1", "1", "##0.00"},
        {14, 3, "Volume", "Volume", 7, 3, ""},
    };
    for (int32_t entry = 0; entry < 3; ++entry) {
        for (int32_t row = 0; row < 7; ++row) {
            table.At(row, entry) = entries[entry][row];
        }
    }
    return table;
}

Variant Description(Variant p_vSortBlock, Variant p_vColumnTable = ColumnTable()) {
    return VariantArray::Vector({VariantArray::Vector({42, "Mine", "my layout", 3, 7}),
                                 std::move(p_vSortBlock), std::move(p_vColumnTable)});
}

Variant SortBlock() {
    return VariantArray::Vector({"", 13, 1, 4, 0});
}

TEST_F(ViewerElementsTest, GridLayoutInfoTakesTheDescriptionApartAndReadsItBack) {
    m_elements.SetLeftColIndex(9);
    m_elements.SetGridLayoutInfo(Description(SortBlock()));

    EXPECT_EQ(m_elements.GridLayout()->Id(), 42);
    EXPECT_EQ(m_elements.GridLayout()->Description(), "my layout");
    EXPECT_EQ(m_elements.Sort(), "Price DESC, Symbol ASC");
    EXPECT_EQ(m_elements.LeftColIndex(), 1);
    const auto columns = m_elements.GridColumns(gtPrimary);
    ASSERT_EQ(columns->Count(), 3);
    const auto price = columns->Item("price");
    EXPECT_EQ(price->ParameterId(), 13);
    EXPECT_EQ(price->GridColumn_State_Setting(), csVisible);
    EXPECT_EQ(price->TrueGridColumnNumber(), 0);
    EXPECT_EQ(columns->Item("Volume")->ColumnFormat(), "##0.#0");

    // Read back: the header as given, the sort block with its clause, texts as numbers.
    const Variant description = m_elements.GridLayoutInfo();
    const VariantArray& elements = description.Array();
    EXPECT_EQ(elements.At(0).Array(), VariantArray::Vector({42, "Mine", "my layout", 3, 7}));
    EXPECT_EQ(elements.At(1).Array(),
              VariantArray::Vector({"Price DESC, Symbol ASC", 13, 1, 4, 0}));
    EXPECT_EQ(elements.At(2).Array().At(0, 1), Variant(13));
    EXPECT_EQ(elements.At(2).Array().At(6, 2), Variant("##0.#0"));
    ViewerElements copy;
    copy.SetParameterList(m_catalogue);
    copy.SetGridLayoutInfo(description);
    EXPECT_EQ(copy.GridLayoutInfo(), description);
}

TEST_F(ViewerElementsTest, GridLayoutInfoLetClearsThePrimaryColumnsItHolds) {
    const auto columns = m_elements.GridColumns(gtPrimary);
    columns->Add("Old", csVisible, "Old", 99, 1, 1, 0, "");
    m_elements.SetGridLayoutInfo(Description(SortBlock(), Variant()));

    EXPECT_EQ(m_elements.GridColumns(gtPrimary), columns);
    EXPECT_EQ(columns->Count(), 0);
    EXPECT_EQ(m_elements.LeftColIndex(), 0);
}

struct MalformedCase {
    const char* Name;
    Variant Description;
    int32_t Number;
    const char* Mentions;
};

Variant WithCell(int32_t p_lRow, int32_t p_lEntry, Variant p_vValue) {
    Variant table = ColumnTable();
    table.Array().At(p_lRow, p_lEntry) = std::move(p_vValue);
    return table;
}

TEST_F(ViewerElementsTest, MalformedLayoutDescriptionsFailByNameAndChangeNothing) {
    const MalformedCase cases[] = {
        {"not an array", "layout", errors::kTypeMismatch, "description"},
        {"two elements", VariantArray::Vector({1, 2}), errors::kSubscriptOutOfRange, "description"},
        {"header not an array", VariantArray::Vector({5, SortBlock(), ColumnTable()}),
         errors::kTypeMismatch, "header"},
        {"header of four",
         VariantArray::Vector({VariantArray::Vector({1, "a", "b", 0}), SortBlock(), ColumnTable()}),
         errors::kSubscriptOutOfRange, "header"},
        {"no sort block", Description(Variant()), errors::kTypeMismatch, "sort block"},
        {"sort block of three", Description(VariantArray::Vector({"", 1, 0})),
         errors::kSubscriptOutOfRange, "sort block"},
        {"text sort id", Description(VariantArray::Vector({"", "Price", 0, -1, 0})),
         errors::kTypeMismatch, "primary sort field id"},
        {"one-dimensional table", Description(SortBlock(), VariantArray::Vector(0, 6)),
         errors::kSubscriptOutOfRange, "two-dimensional"},
        {"six rows", Description(SortBlock(), VariantArray::Table(6, 2)),
         errors::kSubscriptOutOfRange, "rows 0 to 6"},
        {"table not an array", Description(SortBlock(), "columns"), errors::kTypeMismatch,
         "column table"},
        {"entries from 1",
         Description(SortBlock(), VariantArray({ArrayBounds{0, 6}, ArrayBounds{1, 2}})),
         errors::kSubscriptOutOfRange, "index 0"},
        {"text parameter id", Description(SortBlock(), WithCell(0, 2, "Volume")),
         errors::kTypeMismatch, "entry 2 row 0 (parameter id)"},
        {"null field name", Description(SortBlock(), WithCell(2, 1, Variant::Null())),
         errors::kInvalidUseOfNull, "entry 1 row 2 (SQL column)"},
        {"sequence overflows", Description(SortBlock(), WithCell(5, 0, 1e10)), errors::kOverflow,
         "sequence"},
        {"array in a cell", Description(SortBlock(), WithCell(3, 0, VariantArray::Vector(0, 1))),
         errors::kTypeMismatch, "caption"},
    };
    for (const MalformedCase& c : cases) {
        ViewerElements elements;
        elements.SetParameterList(m_catalogue);
        elements.SetGridLayoutInfo(Description(VariantArray::Vector({"", 4, 0, -1, 0})));
        const Variant before = elements.GridLayoutInfo();

        const auto failure = FailureOf([&] { elements.SetGridLayoutInfo(c.Description); });

        ASSERT_TRUE(failure.has_value()) << c.Name;
        EXPECT_EQ(failure->Number(), c.Number) << c.Name;
        EXPECT_NE(failure->Description().find(c.Mentions), std::string::npos)
            << c.Name << ": " << failure->Description();
        EXPECT_EQ(elements.GridLayoutInfo(), before) << c.Name;
    }
}

struct TypeCase {
    ViewerType Type;
    ViewerType PrintType;
    int32_t MainResultData;
};

TEST_F(ViewerElementsTest, PrintTypeAndMainResultDataFollowTheViewerType) {
    const TypeCase cases[] = {
        {vt_Stocks, vt_Stocks_Print, 0},
        {vt_Industries, vt_Industries_Print, 1},
        {vt_Sectors, vt_Sectrors_Print, 2},
        {vt_StockHistory, vt_StockHistory_Print, 0},
        {vt_IndustryHistory, vt_IndustryHistory_Print, 1},
        {vt_SectorHistory, vt_SectorHistory_Print, 2},
        {vt_FinderResults, vt_FinderResults_Print, 5},
        {vt_Portfolio, vt_Portfolio_Print, 3},
        {vt_BuyFromSearch, vt_BuyFromSearch, 3},
        {vt_Stocks_Print, vt_Stocks_Print, 0},
        {vt_Industries_Print, vt_Industries_Print, 1},
        {vt_Sectrors_Print, vt_Sectrors_Print, 2},
        {vt_StockHistory_Print, vt_StockHistory_Print, 0},
        {vt_IndustryHistory_Print, vt_IndustryHistory_Print, 1},
        {vt_SectorHistory_Print, vt_SectorHistory_Print, 2},
        {vt_FinderResults_Print, vt_FinderResults_Print, 5},
        {vt_Portfolio_Print, vt_Portfolio_Print, 3},
        {static_cast<ViewerType>(99), static_cast<ViewerType>(99), 0},
    };
    m_elements.SetFinderResultsType(5);
    for (const TypeCase& c : cases) {
        m_elements.SetViewerType(c.Type);
        EXPECT_EQ(m_elements.PrintType(), c.PrintType) << "viewer type " << c.Type;
        EXPECT_EQ(m_elements.MainResultData(), c.MainResultData) << "viewer type " << c.Type;
    }
}

TEST_F(ViewerElementsTest, ResultTypeIsTheFinderTypeOnlyForFinderResults) {
    m_elements.SetFinderResultsType(2);
    m_elements.SetViewerType(vt_FinderResults);
    EXPECT_EQ(m_elements.ResultType(), 2);
    m_elements.SetViewerType(vt_Portfolio);
    EXPECT_EQ(m_elements.ResultType(), 7);
}

}  // namespace
}  // namespace qv
