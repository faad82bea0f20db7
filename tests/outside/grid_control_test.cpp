#include "outside/grid_control.h"

#include "outside/automation_error.h"
#include "outside/dispatch.h"
#include "outside/grid_control_support.h"
#include "outside/recordset.h"
#include "outside/vb_format.h"
#include "support/error_number.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

std::shared_ptr<Recordset> Stocks() {
    auto recordset = std::make_shared<Recordset>();
    for (const char* name : {"Symbol", "Company", "Price", "PrcChange", "Rec"}) {
        const bool number = name[0] == 'P';
        recordset->Fields().Append(name, number ? adDouble : adVarChar, number ? 0 : 40);
    }
    recordset->Open();
    recordset->AddNew({"IBM", "Intl Business Machines", 140.5, -1.2, "B"});
    recordset->AddNew({"MSFT", "Microsoft", 310.0, 2.1, "H"});
    recordset->AddNew({"ACME", "Acme", 1234.567, 0.0, "S"});
    recordset->MoveFirst();
    return recordset;
}

std::shared_ptr<GridStyle> Colours(std::optional<int32_t> p_lFore, std::optional<int32_t> p_lBack) {
    auto style = std::make_shared<GridStyle>();
    style->SetForeColor(p_lFore);
    style->SetBackColor(p_lBack);
    return style;
}

// The layout the viewer loads: key columns frozen in split 0, the rest in split 1. Each column:
// field, caption, width, format, split.
using ColumnSpec = std::tuple<const char*, const char*, int32_t, const char*, int32_t>;

void LoadLayout(GridControl& p_oGrid, const std::vector<ColumnSpec>& p_columns) {
    p_oGrid.Columns()->Clear();
    p_oGrid.Splits()->Add();
    int32_t frozen = 0;
    for (const auto& [field, caption, width, format, split] : p_columns) {
        auto column = p_oGrid.Columns()->Add(p_oGrid.Columns()->Count());
        column->SetDataField(field);
        column->SetCaption(caption);
        column->SetNumberFormat(format);
        column->SetSplitVisible(split, true);
        column->SetSplitVisible(1 - split, false);
        column->SetSplitWidth(split, width);
        frozen += split == 0 ? 1 : 0;
    }
    p_oGrid.Splits()->Item(0)->SetSizeMode(gsmNumberOfColumns);
    p_oGrid.Splits()->Item(0)->SetSize(frozen);
}

class GridControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadLayout(m_grid, {{"Symbol", "Symbol", 630, "", 0},
                            {"Company", "Company", 1050, "", 0},
                            {"Price", "Price", 840, "#,##0.00", 1},
                            {"PrcChange", "%Prc", 735, "0.00", 1},
                            {"Rec", "Rec", 420, "", 1}});
        m_grid.SetDataSource(m_stocks);
    }

    std::shared_ptr<Recordset> m_stocks = Stocks();
    GridControl m_grid;
};

TEST_F(GridControlTest, DisplayOrderAndLeftColumnDecideWhatEachSplitShows) {
    auto& columns = *m_grid.Columns();
    columns.Item(std::string_view("Rec"))->SetOrder(2);  // first of the scrolling split
    EXPECT_EQ(m_grid.RenderText(0, 0), "  Symbol Company    | Rec     Price    %Prc\n");
    m_grid.SetLeftCol(columns.IndexOfField("Price"));
    m_grid.Splits()->Item(0)->SetSize(1);  // the frozen split shows its first Size columns
    EXPECT_EQ(m_grid.RenderText(0, 0), "  Symbol |    Price    %Prc\n");
    // The left column follows its column when columns are inserted before it.
    columns.Add(0)->SetSplitVisible(0, false);
    EXPECT_EQ(m_grid.LeftCol(), 3);
    columns.Remove(3);
    EXPECT_EQ(m_grid.LeftCol(), columns.DisplayOrder()[0]->ColIndex());
}

TEST_F(GridControlTest, RendersTheRowsAskedForInWidthsCountedInCharacters) {
    const std::string header = "  Symbol Company    |    Price    %Prc Rec\n";
    EXPECT_EQ(m_grid.RenderText(1, 5), header + "  MSFT   Microsoft  |   310.00    2.10 H\n" +
                                           "  ACME   Acme       | 1,234.57    0.00 S\n");
    EXPECT_EQ(m_grid.RenderText(7, 5), header);
    auto company = m_grid.Columns()->Item(std::string_view("Company"));
    company->SetSplitWidth(0, 2100);
    m_stocks->MoveLast();
    m_stocks->SetValue("Company", Variant("Café Zürich"));
    EXPECT_NE(m_grid.RenderText(2, 1).find("> ACME   Café Zürich          | 1,234.57"),
              std::string::npos);
    company->SetSplitWidth(0, 10);
    EXPECT_NE(m_grid.RenderText(2, 1).find("ACME   ~ |"), std::string::npos);
    m_grid.SetDataSource(nullptr);  // unbound, no field says what the columns hold
    EXPECT_EQ(m_grid.RenderText(0, 5), "  Symbol ~ | Price    %Prc    Rec\n");
}

TEST_F(GridControlTest, SelectionByBookmarksSurvivesResortingButNotANewSource) {
    m_grid.SelBookmarks()->Add(Variant(1.0));  // IBM
    m_grid.SelBookmarks()->Add(Variant(3.0));  // ACME
    m_stocks->SetSort("Price DESC");
    EXPECT_EQ(m_grid.RenderText(0, 3),
              "  Symbol Company    |    Price    %Prc Rec\n"
              ">*ACME   Acme       | 1,234.57    0.00 S\n"
              "  MSFT   Microsoft  |   310.00    2.10 H\n"
              " *IBM    Intl Busi~ |   140.50   -1.20 B\n");
    m_grid.SetTopRow(2);
    m_grid.SetDataSource(Stocks());
    EXPECT_EQ(m_grid.SelBookmarks()->Count(), 0);
    EXPECT_EQ(m_grid.TopRow(), 0);
}

TEST_F(GridControlTest, CurrentRowIsTheRecordsetsPositionInItsView) {
    m_grid.SetCurrentRow(2);
    EXPECT_EQ(m_stocks->Value("Symbol").ToString(), "ACME");
    m_stocks->SetSort("Symbol ASC");  // ACME is first now
    m_stocks->SetBookmark(Variant(3.0));
    EXPECT_EQ(m_grid.Row(), 0);
    m_stocks->MoveLast();
    m_stocks->MoveNext();  // EOF
    EXPECT_EQ(m_grid.Row(), -1);
    EXPECT_TRUE(m_grid.Bookmark().IsNull());
    EXPECT_EQ(ErrorNumberOf([&] { m_grid.SetCurrentRow(3); }), errors::kSubscriptOutOfRange);
}

TEST(GridControlColumnsTest, AddRemoveAndFindByFieldWithoutRegardToCase) {
    GridControlColumns columns;
    auto a = columns.Add(0);
    a->SetDataField("Symbol");
    auto b = columns.Add(0);
    b->SetDataField("Price");
    EXPECT_EQ(a->ColIndex(), 1);
    EXPECT_EQ(columns.Item(std::string_view("SYMBOL")), a);
    EXPECT_EQ(columns.Item(Variant("price")), b);
    EXPECT_EQ(ErrorNumberOf([&] { columns.Item(std::string_view("Volume")); }),
              errors::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { columns.Add(3); }), errors::kSubscriptOutOfRange);
    columns.Remove(0);
    EXPECT_EQ(b->ColIndex(), -1);
    b->SetOrder(0);  // a removed column is left alone
    EXPECT_EQ(a->Order(), 0);
}

TEST(GridControlColumnsTest, OrderIsAPermutationClampedToTheColumns) {
    GridControlColumns columns;
    for (int32_t i = 0; i < 4; ++i) {
        columns.Add(i)->SetCaption(std::string(1, static_cast<char>('A' + i)));
    }
    const auto captions = [&] {
        std::string text;
        for (const auto& column : columns.DisplayOrder()) {
            text += column->Caption() + std::to_string(column->Order());
        }
        return text;
    };
    columns.Item(0)->SetOrder(2);
    columns.Item(3)->SetOrder(99);
    EXPECT_EQ(captions(), "B0C1A2D3");
    columns.Item(3)->SetOrder(-5);
    EXPECT_EQ(captions(), "D0B1C2A3");
}

TEST(GridControlSplitsTest, NewSplitCopiesItsNeighbourAndTheLastSplitStays) {
    GridControl grid;
    auto column = grid.Columns()->Item(0);
    column->SetSplitWidth(0, 2000);
    column->SetSplitVisible(0, false);
    auto second = grid.Splits()->Add();
    EXPECT_EQ(column->SplitWidth(1), 2000);
    EXPECT_FALSE(column->SplitVisible(1));
    second->SetColumnVisible(0, true);
    EXPECT_TRUE(column->Visible());
    column->SetWidth(500);
    EXPECT_EQ(column->SplitWidth(0), 500);

    auto first = grid.Splits()->Item(0);
    grid.Splits()->Remove(0);
    EXPECT_EQ(first->Index(), -1);
    EXPECT_TRUE(first->ShownColumns().empty());
    EXPECT_EQ(second->Index(), 0);
    EXPECT_TRUE(column->SplitVisible(0));
    EXPECT_EQ(ErrorNumberOf([&] { grid.Splits()->Remove(0); }), errors::kInvalidProcedureCall);
    EXPECT_EQ(ErrorNumberOf([&] { first->SetColumnVisible(0, true); }),
              errors::kSubscriptOutOfRange);
}

TEST(GridControlStyleTest, LaterMatchingStylesWinAndRemovalGoesByExpression) {
    GridControlColumn column;
    column.SetForeColor(grid_colors::kGreen);
    column.AddRegexCellStyle(gcNormalCell, Colours(grid_colors::kRed, std::nullopt), "-");
    column.AddRegexCellStyle(gcNormalCell, Colours(std::nullopt, grid_colors::kYellow), "^-1");
    column.AddRegexCellStyle(gcSelectedRow, Colours(grid_colors::kWhite, std::nullopt), ".");
    const auto styled = [&](std::string_view p_sText, int16_t p_iState) {
        GridStyle style;
        column.ApplyCellStyles(p_sText, p_iState, style);
        return style.ColorText();
    };
    EXPECT_EQ(styled("-1.50", gcNormalCell), "red on yellow");
    EXPECT_EQ(styled("-2.50", gcSelectedRow), "white");
    column.RemoveRegexCellStyle(gcNormalCell, "-");
    EXPECT_EQ(styled("-2.50", gcNormalCell), "green");
    EXPECT_EQ(ErrorNumberOf([&] {
                  column.AddRegexCellStyle(gcNormalCell, std::make_shared<GridStyle>(), "(");
              }),
              errors::kInvalidProcedureCall);
    EXPECT_EQ(column.RegexCellStyleCount(), 2);
    EXPECT_EQ(GridColorName(RgbColor(1, 2, 254)), "#0102FE");
}

TEST_F(GridControlTest, PointMapsToHeaderRowsAndColumns) {
    using G = GridControl;
    const int32_t dataY = G::kHeaderHeight + G::kRowHeight + 10;  // second row on screen
    const int32_t priceX = G::kRecordSelectorWidth + 630 + 1050 + 10;
    const auto hit = [&](int32_t p_lX, int32_t p_lY) {
        const GridHit found = m_grid.HitTest(p_lX, p_lY);
        return std::make_tuple(found.Region, found.Column, found.Row);
    };
    EXPECT_EQ(hit(priceX, dataY), std::make_tuple(gcrData, 2, 1));
    EXPECT_EQ(hit(10, dataY), std::make_tuple(gcrRecordSelector, -1, 1));
    EXPECT_EQ(hit(priceX, G::kHeaderHeight + 3 * G::kRowHeight),
              std::make_tuple(gcrOutside, -1, -1));
    EXPECT_EQ(hit(G::kRecordSelectorWidth + 3675, dataY), std::make_tuple(gcrOutside, -1, -1));
    std::array<Variant, 2> args{Variant(priceX), Variant(int32_t{10})};
    EXPECT_EQ(CallMethodById(m_grid, 165, args).ToLong(), gcrColumnHeader);
    m_grid.SetRecordSelectors(false);
    m_grid.SetTopRow(1);
    EXPECT_EQ(m_grid.RowContaining(G::kHeaderHeight), 1);
    EXPECT_EQ(m_grid.ColContaining(630 + 10), 1);
}

std::shared_ptr<DispatchObject> Item(DispatchObject& p_oCollection, Variant p_vIndex) {
    std::array<Variant, 1> args{std::move(p_vIndex)};
    return CallMethod(p_oCollection, "Item", args).ToObject();
}

// The viewer and the utilities reach the grid by dispatch; each id must land on the member the
// grid itself uses.
TEST_F(GridControlTest, DispatchIdsAndNamesReachTheMembersTheGridUses) {
    auto column = m_grid.Columns()->Item(2);
    for (const auto& [id, value] : {std::pair(5, Variant("Last")),
                                    {8, Variant("PrcChange")},
                                    {17, Variant("0.0")},
                                    {23, Variant(int32_t{1470})},
                                    {43, Variant(int32_t{4})},
                                    {22, Variant(false)}}) {
        LetPropertyById(*column, id, value);
    }
    EXPECT_EQ(column->Caption() + column->DataField() + column->NumberFormat(), "LastPrcChange0.0");
    EXPECT_EQ(std::make_tuple(column->SplitWidth(1), column->Order(), column->SplitVisible(1)),
              std::make_tuple(1470, 4, false));
    EXPECT_EQ(GetPropertyById(*column, 14).ToLong(), 2);
    EXPECT_EQ(ErrorNumberOf([&] { GetPropertyById(*column, 99); }), errors::kMemberNotSupported);

    LetPropertyById(m_grid, 196, Variant(int32_t{16777215}));
    EXPECT_EQ(m_grid.BackColor(), grid_colors::kWhite);
    EXPECT_TRUE(GetPropertyById(m_grid, 87).IsEmpty());
    LetPropertyById(m_grid, 86, Variant(true));
    EXPECT_EQ(GetPropertyById(m_grid, 86), Variant(true));
    EXPECT_EQ(ErrorNumberOf([&] { GetPropertyById(m_grid, 76); }), errors::kMemberNotSupported);

    // Splits(1).Columns("Rec") is the column, seen through the split.
    auto splitColumns = GetProperty(*Item(*GetProperty(m_grid, "Splits").ToObject(), 1), "Columns");
    auto splitRec = Item(*splitColumns.ToObject(), "Rec");
    EXPECT_EQ(GetProperty(*splitRec, "Width").ToLong(), 420);
    LetProperty(*splitRec, "Visible", Variant(false));
    EXPECT_FALSE(m_grid.Columns()->Item(4)->SplitVisible(1));
    EXPECT_EQ(ErrorNumberOf([&] { SetProperty(m_grid, "DataSource", splitColumns); }),
              errors::kTypeMismatch);
    auto columns = GetProperty(m_grid, "Columns").ToObject();
    std::array<Variant, 1> at{Variant(int32_t{5})};
    CallMethod(*columns, "Add", at);
    EXPECT_EQ(GetProperty(*columns, "Count").ToLong(), 6);
    CallMethod(*columns, "Remove", at);
    EXPECT_EQ(GetProperty(*splitColumns.ToObject(), "Count").ToLong(), 5);
    EXPECT_EQ(GetProperty(m_grid, "DataSource").ToObject(), m_stocks);
    SetProperty(m_grid, "DataSource", Variant::Nothing());
    EXPECT_EQ(m_grid.RowCount(), 0);
    LetProperty(m_grid, "Visible", Variant(false));
    EXPECT_FALSE(m_grid.Visible());
}

TEST_F(GridControlTest, PrintSettingsAreOneObjectReachedBy180And181) {
    auto byDefault = GetPropertyById(m_grid, 181).ToObject();
    EXPECT_EQ(Item(*GetPropertyById(m_grid, 180).ToObject(), int32_t{0}), byDefault);
    LetPropertyById(*byDefault, 2, Variant("Stock Viewer - Pricing as of 01/02/26"));
    std::array<Variant, 1> selected{Variant(int32_t{1})};
    CallMethodById(*byDefault, 19, selected);
    CallMethodById(*byDefault, 20);
    m_grid.PrintInfo()->SetPageSetupCancelled(true);
    EXPECT_EQ(GetPropertyById(*byDefault, 43), Variant(true));
    ASSERT_EQ(m_grid.PrintInfo()->PrintRequests().size(), 1u);
    const auto& request = m_grid.PrintInfo()->PrintRequests()[0];
    EXPECT_EQ(
        std::make_pair(request.Rows, request.PageHeader),
        std::make_pair(gprSelectedRows, std::string("Stock Viewer - Pricing as of 01/02/26")));
    EXPECT_EQ(m_grid.PrintInfo()->PageSetupCount(), 1);
    PageSetup landscape;
    landscape.Orientation = vbPRORLandscape;
    m_grid.PrintInfo()->SetPage(landscape);
    const Variant block = GetPropertyById(*byDefault, 25);
    m_grid.PrintInfo()->SetPage(PageSetup());
    LetPropertyById(*byDefault, 25, block);
    EXPECT_EQ(ErrorNumberOf([&] { LetPropertyById(*byDefault, 25, Variant("x")); }),
              errors::kTypeMismatch);
    EXPECT_EQ(m_grid.PrintInfo()->Page(), landscape);
    selected[0] = Variant(int32_t{2});
    EXPECT_EQ(ErrorNumberOf([&] { CallMethodById(*byDefault, 19, selected); }),
              errors::kInvalidProcedureCall);
}

}  // namespace
}  // namespace qv
