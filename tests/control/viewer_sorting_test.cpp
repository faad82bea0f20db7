// Sorting through the control: header clicks on whole and partial lists, and the sort dialog
// answered by a script as a person would.
#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "outside/grid_control.h"
#include "outside/grid_control_column.h"
#include "outside/grid_control_columns.h"
#include "outside/recordset.h"
#include "outside/sort_dialog.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

#include <algorithm>
#include <array>
#include <optional>

namespace qv::testing {
namespace {

using Sort4 = std::array<int32_t, 4>;  // primary id, direction, secondary id, direction

std::vector<int32_t> Numbers(const std::vector<Variant>& p_args) {
    std::vector<int32_t> numbers;
    for (const Variant& arg : p_args) {
        numbers.push_back(arg.ToLong());  // a Boolean true is -1
    }
    return numbers;
}

class ViewerSortingTest : public ViewerTest {
  protected:
    void Show(qv::ViewerType p_eType, bool p_bReturnAll) {
        // A new control each time: a header click is remembered for the control's life.
        m_oViewer = std::make_shared<Viewer>();
        m_oViewer->AddSink(m_oHost.Sink);
        ASSERT_TRUE(ViewerTest::Show(p_eType));
        m_oViewer->SetReturnAll(p_bReturnAll);
    }
    std::shared_ptr<ViewerElements> Elements() const {
        return m_oViewer->Strategy()->ViewerElements();
    }
    Sort4 Stored() const {
        const auto e = Elements();
        return {e->PriSortFieldId(), e->PriSortDir(), e->SecSortFieldId(), e->SecSortDir()};
    }
    int16_t ColumnOf(const std::string& p_sField) const {
        const auto& columns = m_oViewer->olePriGrid()->Columns();
        for (int16_t i = 0; i < columns->Count(); ++i) {
            if (columns->Item(i)->DataField() == p_sField) {
                return i;
            }
        }
        ADD_FAILURE() << "no column " << p_sField;
        return 0;
    }
    void ClickHeader(const std::string& p_sField) {
        m_oViewer->olePriGrid()->HeaderClick(ColumnOf(p_sField));
    }
    std::string RowSort() const { return m_oViewer->olePriGrid()->DataSource()->Sort(); }
};

TEST_F(ViewerSortingTest, HeaderClicksOnAWholeListChooseFieldDirectionAndSecondKey) {
    struct Case {
        Sort4 Before;
        std::vector<std::string> Clicks;
        std::string RowSort;
        Sort4 After;
        ViewerType Type = vt_Stocks;
        const char* Name = "";
    };
    const Sort4 none{0, 0, -1, 0};
    const std::vector<Case> cases = {
        // Descending on another field than the symbol adds the symbol as the second key.
        {none, {"Price"}, "[Price] DESC,Symbol ASC", {2, 1, 5, 0}},
        {none, {"Price", "Price"}, "[Price] ASC,[Symbol] ASC", {2, 0, 5, 0}},
        {none, {"Price", "Volume"}, "[Volume] DESC,[Symbol] ASC", {16, 1, 5, 0}},
        {none, {"Symbol"}, "[Symbol] DESC", {5, 1, -1, 0}},
        {{2, 1, -1, 0}, {"Price"}, "[Price] ASC", {2, 0, -1, 0}},
        {{6, 0, -1, 0}, {"Price"}, "[Price] DESC,Symbol ASC", {2, 1, 5, 0}},
        {{2, 0, 16, 1}, {"Price"}, "[Price] DESC,[Volume] DESC", {2, 1, 16, 1}},
        // The finder reads no field catalogue with its rows, so a header click stored the field's
        // id with no name: the sort line read " DESC" and the host could not order its rows by it.
        {none,
         {"Price"},
         "[Price] DESC,Symbol ASC",
         {2, 1, 5, 0},
         vt_FinderResults,
         "FinderHeaderSortNamedNoFieldWithoutACatalogue"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " " + c.RowSort);
        Show(c.Type, true);
        Elements()->SetSortInfo(c.Before[0], c.Before[1], c.Before[2], c.Before[3]);
        for (const std::string& field : c.Clicks) {
            ClickHeader(field);
        }
        EXPECT_EQ(RowSort(), c.RowSort);
        EXPECT_EQ(Stored(), c.After);
        EXPECT_EQ(m_oViewer->SortCaption().rfind(c.Clicks.back() + " ", 0), 0u);
        EXPECT_EQ(m_oHost.Count("ChangeSort"), c.Clicks.size());
        EXPECT_EQ(CallsTo("StockViewer"), 0u);
    }
}

TEST_F(ViewerSortingTest, WithoutAPrimaryFieldTheLastHeaderClickDecidesTheDirection) {
    Show(vt_Stocks, true);
    // A generated column stores no field, so every click finds no primary sort.
    m_oViewer->PrimaryGrid()->GridColumns()->GetColumnByFieldName("MA200")->SetParameterId(0);
    Elements()->SetSortInfo(0, 0, -1, 0);
    std::vector<std::string> sorts;
    for (int click = 0; click < 3; ++click) {
        ClickHeader("MA200");
        sorts.push_back(RowSort());
    }
    EXPECT_EQ(sorts,
              (std::vector<std::string>{"[MA200] DESC,Symbol ASC", "[MA200] ASC,[Symbol] ASC",
                                        "[MA200] DESC,[Symbol] ASC"}));
    // A header in other letter case than the primary field reverses that field.
    Elements()->SetSortInfo(2, 1, -1, 0);
    m_oViewer->olePriGrid()->Columns()->Item(ColumnOf("Price"))->SetDataField("PRICE");
    ClickHeader("PRICE");
    EXPECT_EQ(RowSort(), "[Price] ASC");
}

TEST_F(ViewerSortingTest, APartialListIsFetchedAgainUnlessTheFieldIsGenerated) {
    Show(vt_Stocks, false);
    const Sort4 before = Stored();
    const auto column = m_oViewer->PrimaryGrid()->GridColumns()->GetColumnByFieldName("MA200");
    column->SetParameterId(0);
    ClickHeader("MA200");
    ASSERT_EQ(m_oPlatform.Messages().Shown().size(), 1u);
    EXPECT_EQ(m_oPlatform.Messages().Shown()[0].Text,
              "You cannot sort by a generated field such as " + column->Caption() +
                  " unless you choose return all and run the search again.");
    EXPECT_EQ(m_oPlatform.Messages().Shown()[0].Title, "Can't Sort");
    EXPECT_EQ(Stored(), before);
    EXPECT_EQ(CallsTo("StockViewer"), 0u);

    ClickHeader("Price");
    EXPECT_EQ(CallsTo("StockViewer"), 1u);
    EXPECT_EQ(Stored(), (Sort4{2, 1, -1, 0}));
    EXPECT_EQ(m_oViewer->SortCaption(), "Price DESC");
    EXPECT_EQ(m_oHost.Names(), std::vector<std::string>{"ChangeSort"});
}

TEST_F(ViewerSortingTest, PartialFinderResultsAskTheHostToRunTheSearchAgain) {
    Show(vt_FinderResults, false);
    ClickHeader("Price");
    const RaisedEvent* edited = m_oHost.Last("SortCriteriaEdited");
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(Numbers(edited->Args), (std::vector<int32_t>{2, 1, -1, 0, -1}));
    EXPECT_EQ(m_oHost.Count("ChangeSort"), 0u);
    // The host runs the search; the control only read the catalogue to name the field.
    EXPECT_EQ(m_oLog->Calls().size(), CallsTo("GetCustomFieldList"));
}

TEST_F(ViewerSortingTest, AHistoryHeaderSortsOnlyTheGridAndASecondClickReverses) {
    Show(vt_StockHistory, false);
    const Sort4 before = Stored();
    std::vector<std::string> sorts;
    for (const char* field : {"Trading_Date", "Trading_Date", "Price"}) {
        ClickHeader(field);
        sorts.push_back(RowSort());
    }
    EXPECT_EQ(sorts, (std::vector<std::string>{"[Trading_Date] DESC", "[Trading_Date] ASC",
                                               "[Price] DESC"}));
    EXPECT_EQ(Stored(), before);
    EXPECT_EQ(CallsTo("StockHistory"), 0u);
}

TEST_F(ViewerSortingTest, TheSortDialogsAnswersAndWhatEachStores) {
    struct Case {
        std::optional<Sort4> Choice;  // none: the person cancels
        std::optional<Sort4> After;   // none: nothing is stored
        bool Invalid;
    };
    const std::vector<Case> cases = {
        {Sort4{13, 1, 16, 0}, Sort4{13, 1, 16, 0}, false},
        {Sort4{13, 0, 13, 0}, Sort4{13, 0, -1, 1}, false},  // one field twice is one key
        {Sort4{221, 1, -1, 0}, std::nullopt, true},         // an industry field on stocks
        {Sort4{13, 1, 225, 0}, std::nullopt, true},
        {std::nullopt, std::nullopt, false},
    };
    for (const Case& c : cases) {
        Show(vt_Stocks, false);
        const Sort4 before = Stored();
        if (c.Choice) {
            m_oPlatform.Dialogs().QueueScriptFor<SortSelection>([&](SortSelection& dialog) {
                dialog.SetPrimary((*c.Choice)[0], (*c.Choice)[1]);
                dialog.SetSecondary((*c.Choice)[2], (*c.Choice)[3]);
                dialog.Confirm();
            });
        }
        const size_t messages = m_oPlatform.Messages().Shown().size();
        EXPECT_EQ(m_oViewer->Sort(), c.After.has_value());
        EXPECT_EQ(Stored(), c.After.value_or(before));
        EXPECT_EQ(m_oPlatform.Messages().Shown().size(), messages + (c.Invalid ? 1 : 0));
        EXPECT_EQ(CallsTo("StockViewer"), c.After ? 1u : 0u);
        const std::vector<std::string> raisedNames{"SortCriteriaEdited", "ChangeSort"};
        EXPECT_EQ(m_oHost.Names(), c.After ? raisedNames : std::vector<std::string>{});
        if (c.After) {
            std::vector<int32_t> raised(c.After->begin(), c.After->end());
            raised.push_back(0);
            EXPECT_EQ(Numbers(m_oHost.Events[0].Args), raised);
        }
    }
    const ShownMessage& refusal = m_oPlatform.Messages().Shown().back();
    EXPECT_EQ(refusal.Text + " | " + refusal.Title,
              "The selected fields are not valid for the results type. | Olmaris Lumetra v6.0");
}

TEST_F(ViewerSortingTest, TheSortDialogOffersSortableFieldsAndAddsTheChosenOneToTheLayout) {
    Show(vt_Stocks, false);
    m_oPlatform.Dialogs().QueueScriptFor<SortSelection>([](SortSelection& dialog) {
        EXPECT_TRUE(dialog.Request().StockList && dialog.Request().DeltaField == "Delta");
        const auto& offered = dialog.Fields();
        EXPECT_TRUE(std::none_of(offered.begin(), offered.end(), [](const SortFieldChoice& f) {
            return f.ParameterId == 38 || f.ParameterId == 1418;  // system fields
        }));
        dialog.SetPrimary(26, 1);
        dialog.Confirm();
    });
    std::array<Variant, 3> args{MissingArgument(), Variant(false), Variant("Delta")};
    EXPECT_TRUE(CallMethod(*m_oViewer, "Sort", args).ToBool());
    // Not fetched again, but shown, and after the list's second key, which stays.
    EXPECT_EQ(CallsTo("StockViewer"), 0u);
    EXPECT_EQ(m_oViewer->SortCaption(), "EarningsYield DESC, Symbol ASC");
    const auto column = Elements()->GridColumns(gtPrimary)->GetColumnByFieldName("EarningsYield");
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->GridColumn_State_Setting(), csVisible);
}

}  // namespace
}  // namespace qv::testing
