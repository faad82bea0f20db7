// Search and find through the control: the Find dialog answered by scripts as a person would,
// the finds in the rows shown, the server search and what each says when it finds nothing.
#include "control/forms/frm_search.h"
#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

namespace qv::testing {
namespace {

class ViewerFindTest : public ViewerTest {
  protected:
    void Show(qv::ViewerType p_eType, bool p_bReturnAll,
              const std::function<void(Viewer&)>& p_fnScope = nullptr) {
        m_oViewer->SetViewerType(p_eType);
        m_oViewer->SetStartDate(LastDay());
        if (p_eType == vt_StockHistory) {
            PickKeys(*m_oViewer->Strategy()->ViewerElements());
        }
        if (p_fnScope) {
            p_fnScope(*m_oViewer);
        }
        ASSERT_TRUE(m_oViewer->UpdateViewer());
        // The list's query sets ReturnAll; the case decides it.
        m_oViewer->SetReturnAll(p_bReturnAll);
        m_oHost.Events.clear();
        m_oLog->Clear();
    }
    // Runs Find with p_fnScript acting in the dialog.
    void Find(std::function<void(frmSearch&)> p_fnScript) {
        m_oPlatform.Dialogs().QueueScriptFor<frmSearch>(std::move(p_fnScript));
        m_oViewer->SearchStocks("");
    }
    // Find with p_sText typed and Find pressed, then the dialog cancelled if still open.
    void FindTyped(const std::string& p_sText) {
        Find([&](frmSearch& form) {
            form.TypeText(p_sText);
            form.cmdOK_Click();
            form.cmdCancel_Click();
        });
    }
    // The value in the row at p_lPosition of what the primary grid shows.
    std::string ValueAt(int32_t p_lPosition, const std::string& p_sField) const {
        const auto& rows = m_oViewer->olePriGrid()->DataSource();
        return rows->ValueAt(rows->ViewRowId(p_lPosition), rows->Fields().Item(p_sField).Index())
            .ToString();
    }
    std::vector<std::string> SelectedSymbols() const {
        const auto rows = m_oViewer->olePriGrid()->DataSource()->Clone();
        const auto selection = m_oViewer->olePriGrid()->SelBookmarks();
        std::vector<std::string> symbols;
        for (int32_t i = 0; i < selection->Count(); ++i) {
            rows->SetBookmark(selection->Item(i));
            symbols.push_back(rows->Value("Symbol").ToString());
        }
        return symbols;
    }
    const std::vector<ShownMessage>& Messages() { return m_oPlatform.Messages().Shown(); }
    // "Title: text" of the last message shown after the first p_lShownBefore, "" for none.
    std::string LastMessage(size_t p_lShownBefore = 0) {
        return Messages().size() <= p_lShownBefore
                   ? std::string()
                   : Messages().back().Title + ": " + Messages().back().Text;
    }
};

TEST_F(ViewerFindTest, FindIsNotOfferedForHistoriesHoldingsAndEmptyLists) {
    Show(vt_StockHistory, true);
    m_oViewer->SearchStocks("");
    m_oViewer->SetViewerType(vt_Portfolio);
    m_oViewer->SearchStocks("");
    m_oViewer = std::make_shared<Viewer>();
    m_oViewer->SetViewerType(vt_Stocks);  // no query yet: no rows
    m_oViewer->SearchStocks("");
    EXPECT_TRUE(m_oPlatform.Dialogs().Shown().empty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ViewerFindTest, ASymbolShownIsSelectedAndClosesTheDialog) {
    Show(vt_Stocks, true);
    const std::string symbol = ValueAt(4, "Symbol");
    Find([&](frmSearch& form) {
        form.TypeText(ToLowerAscii(symbol));
        form.cmdOK_Click();
        EXPECT_TRUE(form.Closed());
        EXPECT_TRUE(form.Cancelled());
    });
    EXPECT_EQ(m_oPlatform.Dialogs().Shown(), std::vector<std::string>{"Find"});
    EXPECT_EQ(SelectedSymbols(), std::vector<std::string>{symbol});
    EXPECT_EQ(m_oViewer->olePriGrid()->Row(), 4);
    EXPECT_TRUE(m_oViewer->SearchSelected());
    EXPECT_TRUE(m_oViewer->SearchFound());
    EXPECT_EQ(CallsTo("SearchStocks"), 0u);
    EXPECT_TRUE(Messages().empty());
}

// A symbol not among the rows shown: a whole list says so, a partial one offers the server.
TEST_F(ViewerFindTest, ASymbolNotShownIsOfferedToTheServerOnlyWhenTheListIsPartial) {
    Show(vt_Stocks, false);
    m_oPlatform.Messages().QueueAnswer(vbNo);
    Find([](frmSearch& form) {
        form.TypeText("zzzz");
        form.cmdOK_Click();
        EXPECT_FALSE(form.Closed());
        form.cmdCancel_Click();
    });
    const int32_t rows = m_oViewer->RecordCount();
    EXPECT_EQ(LastMessage(), "Find: The symbol ZZZZ was not found in the top " +
                                 std::to_string(rows) +
                                 " stocks. Would you like to search the entire list?");
    EXPECT_EQ(Messages().back().Buttons, vbYesNo);
    EXPECT_EQ(CallsTo("SearchStocks"), 0u);

    m_oViewer->SetReturnAll(true);
    FindTyped("zzzz");
    EXPECT_EQ(LastMessage(), "Find: Symbol not found.");
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_EQ(m_oViewer->RecordCount(), rows);
}

TEST_F(ViewerFindTest, TheServerSearchSaysWhatItCouldNotFindInTheListsScope) {
    struct Case {
        const char* Name;
        std::function<void(Viewer&)> Scope;
        bool WithFoundSymbol;
        std::string Message;
    };
    // The industry or the sector of the market's first stock.
    const auto industry = [this](Viewer& v) {
        PickKeys(*v.Strategy()->ViewerElements());
        v.SetSectorCode(0);
    };
    const auto sector = [this](Viewer& v) {
        PickKeys(*v.Strategy()->ViewerElements());
        v.SetIndCode(0);
    };
    const std::vector<Case> cases = {
        {"whole market", nullptr, false, "No Records Found: No stock(s) found for ZZZZ."},
        {"industry", industry, false,
         "No Records Found: No stock(s) found for ZZZZ in the current industry group."},
        {"sector", sector, false,
         "No Records Found: No stock(s) found for ZZZZ in the current business sector."},
        {"whole market", nullptr, true,
         "Symbols Not Found: The symbol(s) ZZZZ,QQ could not be located. Please use the company "
         "search to locate these stocks."},
        {"industry", industry, true,
         "Symbols Not Found: The symbol(s) ZZZZ,QQ could not be located in the current industry "
         "group."},
        {"sector", sector, true,
         "Symbols Not Found: The symbol(s) ZZZZ,QQ could not be located in the current business "
         "sector."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + (c.WithFoundSymbol ? " with a symbol found" : ""));
        m_oViewer = std::make_shared<Viewer>();
        m_oViewer->AddSink(m_oHost.Sink);
        Show(vt_Stocks, false, c.Scope);
        const std::string symbol = ValueAt(0, "Symbol");
        // Several symbols go to the server at once; one goes there when the person says yes.
        const std::string typed = c.WithFoundSymbol ? symbol + ",ZZZZ,,QQ" : "ZZZZ";
        m_oPlatform.Messages().QueueAnswer(vbYes);
        FindTyped(typed);
        EXPECT_EQ(LastMessage(), c.Message);
        EXPECT_EQ(CallsTo("SearchStocks"), 1u);
        EXPECT_EQ(m_oHost.Count("ChangeSort"), 1u);
        const auto& shown = m_oPlatform.Indicator().History();
        ASSERT_GE(shown.size(), 3u);
        EXPECT_EQ(shown[shown.size() - 3].Caption, "Running . . .");
        EXPECT_EQ(shown[shown.size() - 2].Caption, "Updating . . .");
        EXPECT_FALSE(m_oPlatform.Indicator().Visible());
        if (c.WithFoundSymbol) {
            EXPECT_EQ(m_oViewer->RecordCount(), 1);
            EXPECT_EQ(SelectedSymbols(), std::vector<std::string>{symbol});
        }
    }
}

TEST_F(ViewerFindTest, AWatchListSearchNamesTheListAndAReleasedListEndsTheSearch) {
    Show(vt_Stocks, false);
    // A list the owner does not hold finds nothing, as an empty one would.
    m_oViewer->SetWatchListId(987654);
    m_oPlatform.Messages().QueueAnswer(vbYes);
    FindTyped("zzzz");
    EXPECT_EQ(LastMessage(), "No Records Found: No stock found for ZZZZ in the current watchlist.");

    // The host may release the list while the search yields; the search then ends and says why.
    m_oLog->Clear();
    m_oPlatform.Loop().Post([this] { m_oViewer->Destroy(); });
    FindTyped("a,b");
    EXPECT_EQ(Reports("Viewer:Searchdatabase"), 1u);
    EXPECT_EQ(CallsTo("SearchStocks"), 0u);
}

TEST_F(ViewerFindTest, SeveralSymbolsInAWholeListFilterItToThem) {
    struct Case {
        std::string Typed;  // set as the text box's text, as a host's paste would
        std::string Filter;
        std::string Message;
    };
    Show(vt_Stocks, true);
    const std::string a = ValueAt(1, "Symbol");
    const std::string b = ValueAt(3, "Symbol");
    const std::vector<Case> cases = {
        {a + ", ," + b, "Symbol = '" + a + "' or Symbol = '" + b + "'", ""},
        {" , ,", "", "Find: Please enter a valid search."},
        // Nothing passes: the list stays whole and says so; a quote stays inside its literal.
        {"ZZ,O'X", "", "Find: No records found."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        const size_t shown = Messages().size();
        Find([&](frmSearch& form) {
            form.SetText(c.Typed);
            form.cmdOK_Click();
            form.cmdCancel_Click();
        });
        const std::shared_ptr<Recordset> rows = m_oViewer->olePriGrid()->DataSource();
        EXPECT_EQ(rows->Filter().IsString() ? rows->Filter().ToString() : "", c.Filter);
        EXPECT_EQ(LastMessage(shown), c.Message);
        rows->SetFilter(Variant(""));
    }
}

TEST_F(ViewerFindTest, ARepeatedNameFindGoesOnToTheNextMatch) {
    Show(vt_Stocks, true);
    const std::shared_ptr<Recordset> rows = m_oViewer->olePriGrid()->DataSource();
    rows->SetSort("CompanyName ASC");
    // The first letter that starts two names, and the rows of those names.
    int32_t first = 0;
    while (first + 1 < rows->RecordCount() &&
           ValueAt(first, "CompanyName")[0] != ValueAt(first + 1, "CompanyName")[0]) {
        ++first;
    }
    const std::string prefix = ValueAt(first, "CompanyName").substr(0, 1);
    int32_t end = first;
    while (end < rows->RecordCount() && ValueAt(end, "CompanyName").rfind(prefix, 0) == 0) {
        ++end;
    }
    ASSERT_GE(end - first, 2) << "two companies starting with one letter";
    for (int32_t i = first; i < end; ++i) {
        m_oViewer->FindCompanyInList(prefix);
        EXPECT_EQ(m_oViewer->olePriGrid()->Row(), i);
        EXPECT_EQ(SelectedSymbols(), std::vector<std::string>{ValueAt(i, "Symbol")});
    }
    m_oViewer->FindCompanyInList(prefix);
    EXPECT_EQ(LastMessage(), "Search: Company not found.");
}

TEST_F(ViewerFindTest, WildcardsAndQuotesInASearchMatchThemselves) {
    Show(vt_Stocks, true);
    const std::shared_ptr<Recordset> rows = m_oViewer->olePriGrid()->DataSource();
    rows->SetAbsolutePosition(3);
    rows->SetValue("CompanyName", Variant("100% O'Brien_Co"));
    struct Case {
        std::string Text;
        int32_t Row;  // -1: not found
    };
    const Case cases[] = {
        {"100% O'BRIEN_", 2}, {"%", -1}, {"_", -1}, {"*", -1}, {"100_", -1}, {"[", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const size_t shown = Messages().size();
        m_oViewer->FindCompanyInList(c.Text);
        if (c.Row >= 0) {
            EXPECT_EQ(m_oViewer->olePriGrid()->Row(), c.Row);
            EXPECT_EQ(LastMessage(shown), "");
        } else {
            EXPECT_EQ(LastMessage(shown), "Search: Company not found.");
        }
    }

    // A host's symbol with a quote is looked for, not taken for criteria.
    std::string symbol = "X' or Symbol <> '";
    EXPECT_FALSE(m_oViewer->FindSingleStock(symbol));
    EXPECT_EQ(LastMessage(), "Search: Symbol not found.");
    EXPECT_EQ(Reports("Viewer:SearchStocks"), 0u);

    // The server's name search gets the text as it was typed, and matches it literally too.
    m_oViewer->SetReturnAll(false);
    Find([](frmSearch& form) {
        form.SetSearchTypeIndex(1);
        form.TypeText("%");
        form.cmdOK_Click();
        form.cmdCancel_Click();
    });
    ASSERT_EQ(CallsTo("SearchCompanyName"), 1u);
    EXPECT_EQ(ArgumentsOf("SearchCompanyName").at(0).ToString(), "%");
}

TEST_F(ViewerFindTest, FindSingleStockSelectsOnlyTheRowOfTheKey) {
    Show(vt_Industries, true);
    m_oViewer->olePriGrid()->SelBookmarks()->Add(m_oViewer->olePriGrid()->Bookmark());
    std::string code = ValueAt(2, "IndCode");
    EXPECT_TRUE(m_oViewer->FindSingleStock(code));
    EXPECT_EQ(m_oViewer->olePriGrid()->SelBookmarks()->Count(), 1);
    EXPECT_EQ(m_oViewer->olePriGrid()->Row(), 2);

    std::string notACode = "2 or IndCode > 0";
    EXPECT_FALSE(m_oViewer->FindSingleStock(notACode));
    EXPECT_EQ(LastMessage(), "Search: Industry not found.");
    EXPECT_EQ(m_oViewer->olePriGrid()->SelBookmarks()->Count(), 0);
    EXPECT_EQ(m_oViewer->olePriGrid()->Row(), 0);

    // By name, as hosts bind late; the text comes back as it went.
    std::vector<Variant> args{Variant(code)};
    EXPECT_TRUE(m_oViewer->Invoke("FindSingleStock", InvokeKind::Method, args).ToBool());
    EXPECT_EQ(args[0].ToString(), code);
}

TEST_F(ViewerFindTest, DisplayOfOneNameFromAWholeListFindsItThere) {
    Show(vt_Industries, true);
    const std::string name = ValueAt(3, "IndName");
    int32_t first = 0;
    while (ToUpperAscii(ValueAt(first, "IndName")).rfind(ToUpperAscii(name), 0) != 0) {
        ++first;
    }
    Find([&](frmSearch& form) {
        form.SetText(name);
        form.cmdOK_Click();
        ASSERT_FALSE(form.Items().empty());
        form.SetItemSelected(0, true);
        form.SetListIndex(0);
        form.cmdDisplay_Click();
    });
    EXPECT_EQ(m_oViewer->olePriGrid()->Row(), first);
    EXPECT_EQ(m_oViewer->olePriGrid()->SelBookmarks()->Count(), 1);
    // The names were picked from the grid's own rows, which show them all again.
    EXPECT_FALSE(m_oViewer->olePriGrid()->DataSource()->Filter().IsString());
    EXPECT_TRUE(m_oViewer->SearchSelected());
    EXPECT_EQ(CallsTo("SearchIndustryName"), 0u);
}

}  // namespace
}  // namespace qv::testing
