// The Watch lists panel of the window on the shared market: a list made from the selected rows
// joins the panel and the watch-list box, opens from the panel, and loses a row on Delete.
#include "shell/watch_list_panel.h"
#include "outside/recordset.h"
#include "outside/watch_list_dialogs.h"
#include "shell/market_session.h"
#include "shell/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

namespace qv::test {
namespace {

using WatchListPanelTest = WindowTest;

std::vector<std::string> Symbols(Recordset& p_rRows) {
    std::vector<std::string> symbols;
    for (int32_t i = 0; i < p_rRows.ViewCount(); ++i) {
        symbols.push_back(
            p_rRows.ValueAt(p_rRows.ViewRowId(i), p_rRows.Fields().IndexOf("Symbol")).ToString());
    }
    std::sort(symbols.begin(), symbols.end());
    return symbols;
}

TEST_F(WatchListPanelTest, AListOfTheSelectedRowsJoinsThePanelOpensAndLosesADeletedRow) {
    Recordset& rows = *Primary().DataSource();
    std::vector<std::string> chosen;
    Primary().SelBookmarks()->Clear();
    for (const int32_t row : {1, 3}) {
        Primary().SelBookmarks()->Add(GridControl::BookmarkOfRowId(rows.ViewRowId(row)));
        chosen.push_back(
            rows.ValueAt(rows.ViewRowId(row), rows.Fields().IndexOf("Symbol")).ToString());
    }
    std::sort(chosen.begin(), chosen.end());
    const std::string name = "Picked " + std::to_string(QDateTime::currentMSecsSinceEpoch());
    m_oPlatform.Dialogs().QueueScriptFor<WatchListRowChoice>([](WatchListRowChoice& dialog) {
        dialog.ChooseRows(WatchListRows::Selected);
        dialog.NewList(0);
        dialog.Confirm();
    });
    m_oPlatform.Dialogs().QueueScriptFor<NewWatchListNaming>([&](NewWatchListNaming& dialog) {
        dialog.SetName(name);
        dialog.Confirm();
    });
    WatchListPanel& panel = m_window.WatchLists();
    m_window.findChild<QAction*>(QStringLiteral("watchListPanelAction"))->trigger();
    ASSERT_TRUE(panel.isVisible());
    QTest::mouseClick(panel.findChild<QPushButton*>(QStringLiteral("addToWatchList")),
                      Qt::LeftButton);

    const auto lists = SharedMarket().WatchLists();
    const auto made = std::find_if(lists.begin(), lists.end(),
                                   [&](const NamedCode& list) { return list.m_sName == name; });
    ASSERT_NE(made, lists.end()) << m_window.LastMessage().toStdString();
    EXPECT_EQ(panel.ListName(made->m_lCode), QString::fromStdString(name));
    auto* box = m_window.findChild<QComboBox*>(QStringLiteral("watchList"));
    EXPECT_GE(box->findData(made->m_lCode), 0);

    // Opened by keyboard from the panel: the list shows, and the box says which.
    QTreeWidget& tree = panel.Tree();
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
        if ((*it)->text(0) == QString::fromStdString(name)) {
            tree.setCurrentItem(*it);
        }
    }
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Return);
    EXPECT_EQ(m_window.Host().Request().m_lWatchListId, made->m_lCode);
    EXPECT_EQ(box->currentData().toInt(), made->m_lCode);
    EXPECT_EQ(Symbols(*Primary().DataSource()), chosen);

    // Delete on a row of it, agreed to, takes the row out and shows the list again.
    Primary().SelBookmarks()->Clear();
    Recordset& shown = *Primary().DataSource();
    Primary().SelBookmarks()->Add(GridControl::BookmarkOfRowId(shown.ViewRowId(0)));
    m_oPlatform.Messages().QueueAnswer(vbYes);
    QTest::keyClick(&m_window.Surface().PrimaryView(), Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_EQ(Primary().DataSource()->RecordCount(), 1);
    EXPECT_TRUE(panel.StatusText().startsWith(QStringLiteral("Removed ")))
        << panel.StatusText().toStdString();
}

}  // namespace
}  // namespace qv::test
