// Sorting through the control: header clicks on whole and partial results, the sort dialog
// scripted as a person answers it, and the sort settings each path stores.
#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/grid_control_column.h"
#include "outside/grid_control_columns.h"
#include "outside/recordset.h"
#include "outside/sort_dialog.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

#include <array>
#include <optional>

namespace qv::testing {
namespace {

struct StoredSort {
    int32_t PriId;
    int32_t PriDir;
    int32_t SecId;
    int32_t SecDir;
    bool operator==(const StoredSort&) const = default;
};

std::ostream& operator<<(std::ostream& p_out, const StoredSort& p_sort) {
    return p_out << p_sort.PriId << "/" << p_sort.PriDir << " " << p_sort.SecId << "/"
                 << p_sort.SecDir;
}

// An event's arguments as numbers; a Boolean true is -1.
std::vector<int32_t> Numbers(const std::vector<Variant>& p_args) {
    std::vector<int32_t> numbers;
    for (const Variant& arg : p_args) {
        numbers.push_back(arg.ToLong());
    }
    return numbers;
}

class ViewerSortingTest : public ViewerTest {
  protected:
    // A new control: a header click remembers the last one for the control's life.
    void Renew() {
        m_oViewer = std::make_shared<Viewer>();
        m_oViewer->AddSink(m_oHost.Sink);
        m_oViewer->SetExtent(12000, 8000);
    }
    void Show(qv::ViewerType p_eType, bool p_bReturnAll) {
        m_oViewer->SetViewerType(p_eType);
        m_oViewer->SetStartDate(LastDay());
        if (p_eType == vt_StockHistory) {
            PickKeys(*Elements());
        }
        m_oViewer->SetReturnAll(p_bReturnAll);
        ASSERT_TRUE(m_oViewer->UpdateViewer());
        m_oHost.Events.clear();
        m_oLog->Clear();
    }
    void ShowFinder() {
        const auto rows = StockListRows();
        m_oViewer->SetViewerType(vt_FinderResults);
        m_oViewer->SetFinderResultsType(0);
        m_oViewer->SetFinderResults(rows);
        ASSERT_TRUE(m_oViewer->UpdateViewer());
        m_oHost.Events.clear();
        m_oLog->Clear();
    }
    std::shared_ptr<ViewerElements> Elements() const {
        return m_oViewer->Strategy()->ViewerElements();
    }
    StoredSort Stored() const {
        const auto elements = Elements();
        return {elements->PriSortFieldId(), elements->PriSortDir(), elements->SecSortFieldId(),
                elements->SecSortDir()};
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
    // The next sort dialog answers as p_fnChoose does, and confirms.
    void AnswerSortDialog(std::function<void(SortSelection&)> p_fnChoose) {
        m_oPlatform.Dialogs().QueueScriptFor<SortSelection>(
            [fn = std::move(p_fnChoose)](SortSelection& dialog) {
                fn(dialog);
                dialog.Confirm();
            });
    }
};

// --- Header clicks -----------------------------------------------------------------------------

TEST_F(ViewerSortingTest, HeaderClicksOnAWholeListChooseFieldDirectionAndSecondKey) {
    struct Case {
        const char* Name;
        StoredSort Before;
        std::vector<std::string> Clicks;
        std::string RowSort;
        StoredSort After;
    };
    const StoredSort none{0, 0, -1, 0};
    const std::vector<Case> cases = {
        {"first click sorts descending with the symbol after it",
         none,
         {"Price"},
         "[Price] DESC,Symbol ASC",
         {2, 1, 5, 0}},
        {"second click reverses and keeps the second key",
         none,
         {"Price", "Price"},
         "[Price] ASC,[Symbol] ASC",
         {2, 0, 5, 0}},
        {"another column sorts descending",
         none,
         {"Price", "Volume"},
         "[Volume] DESC,[Symbol] ASC",
         {16, 1, 5, 0}},
        {"the default field descending needs no second key",
         none,
         {"Symbol"},
         "[Symbol] DESC",
         {5, 1, -1, 0}},
        {"ascending adds no second key", {2, 1, -1, 0}, {"Price"}, "[Price] ASC", {2, 0, -1, 0}},
        {"a click leaves the primary of the dialog",
         {6, 0, -1, 0},
         {"Price"},
         "[Price] DESC,Symbol ASC",
         {2, 1, 5, 0}},
        {"the dialog's second key stays",
         {2, 0, 16, 1},
         {"Price"},
         "[Price] DESC,[Volume] DESC",
         {2, 1, 16, 1}},
    };
    for (const Case& c : cases) {
        Renew();
        Show(vt_Stocks, true);
        Elements()->SetSortInfo(c.Before.PriId, c.Before.PriDir, c.Before.SecId, c.Before.SecDir);
        for (const std::string& field : c.Clicks) {
            ClickHeader(field);
        }
        EXPECT_EQ(RowSort(), c.RowSort) << c.Name;
        EXPECT_EQ(Stored(), c.After) << c.Name;
        EXPECT_EQ(m_oHost.Count("ChangeSort"), c.Clicks.size()) << c.Name;
        EXPECT_EQ(CallsTo("StockViewer"), 0u) << c.Name;
    }
    EXPECT_EQ(Reports("Viewer: olePriGrid_HeadClick"), 0u);
}

TEST_F(ViewerSortingTest, WithoutAPrimaryFieldTheLastHeaderClickDecidesTheDirection) {
    Show(vt_Stocks, true);
    // A generated column stores no field, so each click finds no primary sort.
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
    EXPECT_EQ(Elements()->PriSortFieldId(), 0);
    EXPECT_EQ(m_oHost.Count("ChangeSort"), 0u);
}

TEST_F(ViewerSortingTest, AHeaderInOtherLetterCaseThanThePrimaryFieldReversesIt) {
    Show(vt_Stocks, true);
    Elements()->SetSortInfo(2, 1, -1, 0);
    m_oViewer->olePriGrid()->Columns()->Item(ColumnOf("Price"))->SetDataField("PRICE");
    m_oViewer->olePriGrid()->HeaderClick(ColumnOf("PRICE"));
    EXPECT_EQ(RowSort(), "[Price] ASC");
    EXPECT_EQ(Stored(), (StoredSort{2, 0, -1, 0}));
}

TEST_F(ViewerSortingTest, APartialListIsFetchedAgainInTheNewOrder) {
    Show(vt_Stocks, false);
    ClickHeader("Price");
    EXPECT_EQ(CallsTo("StockViewer"), 1u);
    EXPECT_EQ(Stored(), (StoredSort{2, 1, -1, 0}));
    EXPECT_EQ(m_oViewer->SortCaption(), "Price DESC");
    EXPECT_EQ(m_oHost.Names(), std::vector<std::string>{"ChangeSort"});
    const auto rows = m_oViewer->olePriGrid()->DataSource()->Clone();
    ASSERT_GE(rows->RecordCount(), 2);
    rows->MoveFirst();
    const double first = rows->Value("Price").ToDouble();
    rows->MoveNext();
    EXPECT_GE(first, rows->Value("Price").ToDouble());
    EXPECT_FALSE(m_oPlatform.Indicator().Visible());
}

TEST_F(ViewerSortingTest, AGeneratedFieldOfAPartialListCannotSortAndChangesNothing) {
    Show(vt_Stocks, false);
    const StoredSort before = Stored();
    const auto column = m_oViewer->PrimaryGrid()->GridColumns()->GetColumnByFieldName("MA200");
    column->SetParameterId(0);
    ClickHeader("MA200");
    ASSERT_EQ(m_oPlatform.Messages().Shown().size(), 1u);
    const ShownMessage& shown = m_oPlatform.Messages().Shown()[0];
    EXPECT_EQ(shown.Text, "You cannot sort by a generated field such as " + column->Caption() +
                              " unless you choose return all and run the search again.");
    EXPECT_EQ(shown.Title, "Can't Sort");
    EXPECT_EQ(shown.Icon, vbInformation);
    EXPECT_EQ(Stored(), before);
    EXPECT_EQ(CallsTo("StockViewer"), 0u);
    EXPECT_TRUE(m_oHost.Events.empty());
}

// The finder reads no field catalogue with its rows, so a header click stored the field's id
// with no name: the sort line read " DESC" and the host could not order its rows by it.
TEST_F(ViewerSortingTest, FinderHeaderSortNamedNoFieldWithoutACatalogue) {
    ShowFinder();
    ASSERT_EQ(Elements()->ParameterList(), nullptr);
    m_oViewer->SetReturnAll(true);
    ClickHeader("Price");
    EXPECT_EQ(m_oViewer->SortCaption(), "Price DESC, Symbol ASC");
    EXPECT_EQ(RowSort(), "[Price] DESC,Symbol ASC");
    ClickHeader("Price");
    EXPECT_EQ(m_oViewer->SortCaption(), "Price ASC, Symbol ASC");
}

TEST_F(ViewerSortingTest, PartialFinderResultsAskTheHostToRunTheSearchAgain) {
    ShowFinder();
    m_oViewer->SetReturnAll(false);
    ClickHeader("Price");
    const RaisedEvent* edited = m_oHost.Last("SortCriteriaEdited");
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(Numbers(edited->Args), (std::vector<int32_t>{2, 1, -1, 0, -1}));
    EXPECT_EQ(m_oHost.Count("ChangeSort"), 0u);
    EXPECT_EQ(m_oViewer->SortCaption(), "Price DESC");
    // The host runs the search; the control only read the catalogue to name the field.
    EXPECT_EQ(m_oLog->Calls().size(), CallsTo("GetCustomFieldList"));
}

TEST_F(ViewerSortingTest, AHistoryHeaderSortsOnlyTheGridAndASecondClickReverses) {
    Show(vt_StockHistory, false);
    const StoredSort before = Stored();
    ClickHeader("Trading_Date");
    EXPECT_EQ(RowSort(), "[Trading_Date] DESC");
    ClickHeader("Trading_Date");
    EXPECT_EQ(RowSort(), "[Trading_Date] ASC");
    ClickHeader("Price");
    EXPECT_EQ(RowSort(), "[Price] DESC");
    EXPECT_EQ(Stored(), before);
    EXPECT_EQ(CallsTo("StockHistory"), 0u);
}

// --- The sort dialog ---------------------------------------------------------------------------

TEST_F(ViewerSortingTest, TheSortDialogsAnswersAndWhatEachStores) {
    struct Case {
        const char* Name;
        std::optional<std::array<int32_t, 4>> Choice;  // none: the person cancels
        bool Result;
        std::optional<StoredSort> After;  // none: the sort is unchanged
        const char* Message;
    };
    const std::vector<Case> cases = {
        {"two fields", std::array<int32_t, 4>{13, 1, 16, 0}, true, StoredSort{13, 1, 16, 0}, ""},
        {"the same field twice keeps one", std::array<int32_t, 4>{13, 0, 13, 0}, true,
         StoredSort{13, 0, -1, 1}, ""},
        {"no secondary", std::array<int32_t, 4>{6, 0, -1, 0}, true, StoredSort{6, 0, -1, 0}, ""},
        {"an industry field on a stock list", std::array<int32_t, 4>{221, 1, -1, 0}, false,
         std::nullopt, "The selected fields are not valid for the results type."},
        {"a valid primary with an invalid secondary", std::array<int32_t, 4>{13, 1, 225, 0}, false,
         std::nullopt, "The selected fields are not valid for the results type."},
        {"cancel", std::nullopt, false, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        Show(vt_Stocks, false);
        const StoredSort before = Stored();
        const size_t messages = m_oPlatform.Messages().Shown().size();
        if (c.Choice) {
            const auto choice = *c.Choice;
            AnswerSortDialog([choice](SortSelection& dialog) {
                dialog.SetPrimary(choice[0], choice[1]);
                dialog.SetSecondary(choice[2], choice[3]);
            });
        }
        EXPECT_EQ(m_oViewer->Sort(), c.Result) << c.Name;
        EXPECT_EQ(Stored(), c.After.value_or(before)) << c.Name;
        const auto& shown = m_oPlatform.Messages().Shown();
        if (*c.Message != '\0') {
            ASSERT_EQ(shown.size(), messages + 1) << c.Name;
            EXPECT_EQ(shown.back().Text, c.Message);
            EXPECT_EQ(shown.back().Title, "Olmaris Lumetra v6.0");
            EXPECT_EQ(shown.back().Icon, vbExclamation);
        } else {
            EXPECT_EQ(shown.size(), messages) << c.Name;
        }
        EXPECT_EQ(CallsTo("StockViewer"), c.Result ? 1u : 0u) << c.Name;
        EXPECT_EQ(m_oHost.Count("ChangeSort"), c.Result ? 1u : 0u) << c.Name;
        if (c.Result) {
            const RaisedEvent* edited = m_oHost.Last("SortCriteriaEdited");
            ASSERT_NE(edited, nullptr) << c.Name;
            const StoredSort after = *c.After;
            EXPECT_EQ(Numbers(edited->Args), (std::vector<int32_t>{after.PriId, after.PriDir,
                                                                   after.SecId, after.SecDir, 0}))
                << c.Name;
        }
        EXPECT_EQ(m_oPlatform.Pointer().Pointer(), vbDefault) << c.Name;
    }
    EXPECT_EQ(Reports("Viewer:Sort"), 0u);
}

TEST_F(ViewerSortingTest, TheSortDialogOffersTheSortableFieldsAndAddsTheChosenOnesToTheLayout) {
    Show(vt_Stocks, false);
    m_oViewer->SetIsWin32(true);
    std::vector<SortFieldChoice> offered;
    SortRequest request;
    AnswerSortDialog([&](SortSelection& dialog) {
        offered = dialog.Fields();
        request = dialog.Request();
        dialog.SetPrimary(26, 1);
        dialog.SetSecondary(-1, 0);
    });
    std::array<Variant, 3> args{MissingArgument(), Variant(false), Variant("Delta")};
    EXPECT_TRUE(CallMethod(*m_oViewer, "Sort", args).ToBool());
    EXPECT_EQ(m_oPlatform.Dialogs().Shown(), std::vector<std::string>{"Sort Selection"});
    EXPECT_EQ(request.OwnerId, m_oViewer->OwnerId());
    EXPECT_EQ(request.ViewerType, vt_Stocks);
    EXPECT_TRUE(request.StockList && request.IsWin32);
    EXPECT_EQ(request.DeltaField, "Delta");
    auto offers = [&](int32_t id) {
        return std::any_of(offered.begin(), offered.end(),
                           [&](const SortFieldChoice& f) { return f.ParameterId == id; });
    };
    EXPECT_TRUE(offers(2) && offers(35) && offers(36));
    EXPECT_FALSE(offers(38) || offers(1418)) << "system fields are no sort fields";
    // Not run again, but the earnings yield is in the layout now and shown.
    EXPECT_EQ(CallsTo("StockViewer"), 0u);
    const auto column = Elements()->GridColumns(gtPrimary)->GetColumnByFieldName("EarningsYield");
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->GridColumn_State_Setting(), csVisible);
    EXPECT_EQ(m_oViewer->SortCaption(), "EarningsYield DESC");
}

TEST_F(ViewerSortingTest, WithoutAFieldCatalogueTheSortDialogIsNotShown) {
    m_oViewer->SetViewerType(vt_Stocks);
    EXPECT_FALSE(m_oViewer->Sort());
    EXPECT_TRUE(m_oPlatform.Dialogs().Shown().empty());
    EXPECT_EQ(Reports("Viewer:Sort"), 0u);
}

}  // namespace
}  // namespace qv::testing
