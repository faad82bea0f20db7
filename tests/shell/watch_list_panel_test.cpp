// The Watch lists panel on the shared market, as the control master and a person use it: its
// members by name, the events of a person's edits, Delete, and Import of symbol files into a list.
#include "shell/watch_list_panel.h"

#include "outside/component_factory.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "shell/market_session.h"
#include "shell/panel_events.h"
#include "shell/shell_market.h"
#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

namespace qv::test {
namespace {

namespace protocol = facade_protocol;

constexpr double kDay = kMarketLastDay;

class WatchListPanelTest : public testing::Test {
  protected:
    void SetUp() override { Application(); }

    // The symbols of the owner's list, or of the whole market for 0, in order.
    std::vector<std::string> Symbols(int32_t p_lWatchListId) {
        std::array<Variant, protocol::search_company_name::kMaxCount> args{
            Variant(""),         Variant(int16_t{0}),
            Variant(int16_t{0}), Variant(p_lWatchListId),
            Variant::Date(kDay), Variant(SharedMarket().OwnerId())};
        const std::shared_ptr<Recordset> rows = ExpectRecordset(
            CallMethod(*m_oPlatform.Components().CreateObject(protocol::prog_id::kViewerReader),
                       protocol::search_company_name::kMethod, args),
            "names");
        std::vector<std::string> symbols;
        if (rows->RecordCount() == 0) {
            return symbols;
        }
        for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
            symbols.push_back(rows->Value("Symbol").ToString());
        }
        std::sort(symbols.begin(), symbols.end());
        return symbols;
    }

    // A new stock list of the owner holding p_sSymbol.
    int32_t NewList(const std::string& p_sName, const std::string& p_sSymbol) {
        std::array<Variant, protocol::new_watch_list_and_items::kCount> args{
            Variant(0),  Variant(VariantArray::Vector({Variant(p_sSymbol)})),
            Variant(0),  Variant(p_sName),
            Variant(""), Variant(SharedMarket().OwnerId())};
        return CallMethod(
                   *m_oPlatform.Components().CreateObject(protocol::prog_id::kWatchListWriter),
                   protocol::new_watch_list_and_items::kMethod, args)
            .ToLong();
    }

    static std::string UniqueName(const std::string& p_sStem) {
        static int s_count = 0;
        return p_sStem + " " + std::to_string(QDateTime::currentMSecsSinceEpoch()) + "-" +
               std::to_string(++s_count);
    }

    static QTreeWidgetItem* ItemNamed(QTreeWidget& p_oTree, const std::string& p_sName) {
        const auto found = p_oTree.findItems(QString::fromStdString(p_sName),
                                             Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    }

    MarketPlatform m_oPlatform;
};

TEST_F(WatchListPanelTest, ShowsTheOwnersListsByNameAndRaisesAPersonsChoices) {
    const std::vector<std::string> market = Symbols(0);
    ASSERT_GE(market.size(), 2U);
    const std::string name = UniqueName("Panel");
    const int32_t listId = NewList(name, market[0]);
    const int32_t owner = SharedMarket().OwnerId();

    WatchListPanel panel;
    PanelEvents events(panel);
    const std::shared_ptr<DispatchObject> object = panel.Object();
    panel.SetCurrentWatchList(listId);
    std::array<Variant, 3> init{Variant(owner), Variant(1), Variant::Date(kDay)};
    CallMethod(*object, "Init", init);
    EXPECT_EQ(ItemNamed(panel.Tree(), name), nullptr) << "an industry viewer shows industry lists";
    init = {Variant(owner), Variant(0), Variant::Date(kDay)};
    CallMethod(*object, "Init", init);
    ASSERT_NE(ItemNamed(panel.Tree(), name), nullptr);
    EXPECT_TRUE(
        panel.Tree().findItems(QStringLiteral("Industry groups"), Qt::MatchExactly).isEmpty());
    EXPECT_EQ(panel.Tree().currentItem(), ItemNamed(panel.Tree(), name));
    EXPECT_EQ(GetProperty(*object, "CurrentWatchListID").ToLong(), listId);
    auto* close = panel.findChild<QToolButton*>(QStringLiteral("closePanel"));
    EXPECT_TRUE(close->isHidden());
    LetProperty(*object, "ShowClose", Variant(true));
    EXPECT_FALSE(close->isHidden());
    LetProperty(*object, "CurrentDate", Variant::Date(kDay - 2));
    EXPECT_EQ(events.Take(), "");

    const std::string changed = "WATCHLISTCHANGED(0%," + std::to_string(owner) + "&," +
                                std::to_string(listId) + "&,#46354#,\"A\")";
    const auto click = [&](const char* p_sName) {
        panel.findChild<QAbstractButton*>(QLatin1String(p_sName))->click();
    };
    const std::vector<std::pair<std::function<void()>, std::string>> edits{
        {[&] {
             panel.Tree().setCurrentItem(ItemNamed(panel.Tree(), name));
             QTest::keyClick(&panel.Tree(), Qt::Key_Return);
         },
         changed},
        {[&] {
             panel.Tree().setCurrentItem(panel.Tree().topLevelItem(0));
             click("openWatchList");
         },
         ""},
        {[&] { click("importWatchList"); }, "IMPORT"},
        {[&] { click("addToWatchList"); }, "ADDTOWATCHLIST(Nothing)"},
        {[&] { click("closePanel"); }, "CLOSECLICKED"},
    };
    for (size_t i = 0; i < edits.size(); ++i) {
        edits[i].first();
        EXPECT_EQ(events.Take(), edits[i].second) << "edit " << i;
    }

    // DeleteItems asks; kept, nothing changes; agreed, the list is shown again without the row.
    std::array<Variant, 1> items{Variant("'" + market[0] + "'")};
    m_oPlatform.Messages().QueueAnswer(vbNo);
    EXPECT_EQ(CallMethod(*object, "DeleteItems", items).ToLong(), 0);
    EXPECT_EQ(events.Take(), "");
    m_oPlatform.Messages().QueueAnswer(vbYes);
    EXPECT_EQ(CallMethod(*object, "DeleteItems", items).ToLong(), 1);
    EXPECT_EQ(events.Take(), changed);
    EXPECT_TRUE(Symbols(listId).empty());
}

TEST_F(WatchListPanelTest, ImportAddsTheKnownSymbolsOfAFileToTheOpenList) {
    const std::vector<std::string> market = Symbols(0);
    ASSERT_GE(market.size(), 3U);
    const std::string& held = market[0];
    const std::string& s1 = market[1];
    const std::string& s2 = market[2];
    std::string lower = s1;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / UniqueName("qv-import");
    std::filesystem::create_directories(folder);

    struct Case {
        const char* m_sWhat;
        std::optional<std::string> m_sFile;  // none: the file is missing
        int32_t m_lAdded;
        std::vector<std::string> m_after;  // the list afterwards
        std::string m_sSays;               // the start of what the panel says
        std::string m_sUnknown;            // the symbols it says are not known
    };
    const std::vector<Case> cases{
        {"one a line", s1 + "\n" + s2 + "\n", 2, {held, s1, s2}, "Added 2 of 2 symbols", ""},
        {"CSV with a header",
         "Name,Symbol\r\nOne Inc,\"" + s2 + "\"\r\n,\r\nTwo," + s1 + "\r\n",
         2,
         {held, s1, s2},
         "Added 2 of 2 symbols",
         ""},
        {"commas, blanks, letter case, repeats",
         lower + ", " + s2 + ",,\n\n   \n" + s1 + "\n" + s2,
         2,
         {held, s1, s2},
         "Added 2 of 2 symbols",
         ""},
        {"one unknown", s1 + "\nZZQQ9\n", 1, {held, s1}, "Added 1 of 1 symbols", "ZZQQ9"},
        {"already in the list", held + "\n", 0, {held}, "Added 0 of 1 symbols", ""},
        {"only unknown", "ZZQQ9,ZZQQ8", 0, {held}, "No symbols were added", "ZZQQ9, ZZQQ8"},
        {"an empty file", "", 0, {held}, "No symbols were added", ""},
        {"a missing file", std::nullopt, 0, {held}, "", ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.m_sWhat);
        const std::string name = UniqueName("Import");
        const int32_t listId = NewList(name, held);
        const std::filesystem::path file = folder / (std::to_string(listId) + ".csv");
        if (test.m_sFile) {
            std::ofstream(file, std::ios::binary) << *test.m_sFile;
        }
        WatchListPanel panel;
        PanelEvents events(panel);
        panel.SetFileChooser([&] { return QString::fromStdString(file.string()); });
        panel.SetItemCheck([](const std::string& p_sItem, int32_t p_lKind) {
            return p_lKind == 0 && SharedMarket().HasStock(p_sItem);
        });
        panel.SetCurrentWatchList(listId);
        panel.Init(SharedMarket().OwnerId(), 0, kDay);

        EXPECT_EQ(CallMethod(*panel.Object(), "Import").ToLong(), test.m_lAdded);
        std::vector<std::string> after = test.m_after;
        std::sort(after.begin(), after.end());
        EXPECT_EQ(Symbols(listId), after);
        const std::string says = panel.StatusText().toStdString();
        if (test.m_sFile) {
            EXPECT_EQ(says.rfind(test.m_sSays, 0), 0U) << says;
        } else {
            EXPECT_NE(says.find("cannot be read"), std::string::npos) << says;
        }
        const size_t unknown = says.find("; not known: ");
        EXPECT_EQ(unknown == std::string::npos ? "" : says.substr(unknown + 13), test.m_sUnknown)
            << says;
        EXPECT_EQ(events.Take().starts_with("WATCHLISTCHANGED"),
                  test.m_lAdded > 0 || test.m_sSays.starts_with("Added"));
    }

    // No list open: nothing asked; the person cancels: nothing said.
    WatchListPanel panel;
    int asked = 0;
    panel.SetFileChooser([&] {
        ++asked;
        return QString();
    });
    panel.Init(SharedMarket().OwnerId(), 0, kDay);
    EXPECT_EQ(panel.Import(), 0);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(panel.StatusText(),
              QStringLiteral("Open a watch list first: the symbols go into it"));
    panel.SetCurrentWatchList(NewList(UniqueName("Cancel"), held));
    panel.Init(SharedMarket().OwnerId(), 0, kDay);
    EXPECT_EQ(panel.Import(), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(panel.StatusText().isEmpty());
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qv::test
