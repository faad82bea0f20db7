// The window keeps its size, place, list kind and scope, the split and column widths of each kind
// of list, and a dismissed hint through a restart, and opens as on a first run when its settings
// file is missing, damaged or names what the market no longer holds.
#include "outside/grid_control_columns.h"
#include "shell/market_session.h"
#include "shell/window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>

#include <array>
#include <memory>
#include <string>
#include <tuple>

namespace qv::test {
namespace {

class WindowSettingsTest : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        ASSERT_TRUE(m_folder.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_folder.path());
    }

    // A run of the window as qorvant-viewer makes it: what it remembers, then the list.
    std::unique_ptr<MainWindow> Open() {
        auto window = std::make_unique<MainWindow>(SharedMarket());
        const ViewerRequest remembered = window->RememberState();
        window->show();
        window->ShowList(remembered);
        QApplication::processEvents();
        return window;
    }

    static GridControlColumn& Column(MainWindow& p_oWindow, const char* p_sField) {
        const auto& columns = *p_oWindow.Host().Control().olePriGrid()->Columns();
        return *columns.Item(columns.IndexOfField(p_sField));
    }

    MarketPlatform m_oPlatform;
    QTemporaryDir m_folder;
};

// The hint stays until it is dismissed, not merely until the window closes.
TEST_F(WindowSettingsTest, PlaceListWidthsOfEachKindAndADismissedHintSurviveARestart) {
    const NamedCode sector = SharedMarket().Sectors().back();
    {
        const auto first = Open();
        EXPECT_TRUE(first->ImportHintShown());
        ASSERT_TRUE(first->ShowList(ViewerRequest{}));
        first->Surface().SetSecondaryHeight(150);
        Column(*first, "Symbol").SetWidth(2345);
        // Another day lays the columns out afresh; the width stays.
        ASSERT_TRUE(first->ShowList({.m_lDate = kMarketLastDay - 1, .m_sSymbol = ""}));
        EXPECT_EQ(Column(*first, "Symbol").Width(), 2345);
        ASSERT_TRUE(first->ShowList(
            {.m_lViewerType = vt_Industries, .m_lSectorCode = sector.m_lCode, .m_sSymbol = ""}));
        EXPECT_EQ(first->Surface().SecondaryHeight(), -1);
        Column(*first, "IndName").SetWidth(3456);
        first->setGeometry(40, 30, 1010, 610);
        first->close();
    }
    {
        const auto second = Open();
        const ViewerRequest& shown = second->Host().Request();
        EXPECT_EQ(std::pair(shown.m_lViewerType, shown.m_lSectorCode),
                  std::pair(int32_t{vt_Industries}, sector.m_lCode));
        EXPECT_EQ(second->geometry(), QRect(40, 30, 1010, 610));
        EXPECT_EQ(Column(*second, "IndName").Width(), 3456);
        ASSERT_TRUE(second->ImportHintShown());
        second->findChild<QToolButton*>(QStringLiteral("dismissHint"))->click();
        EXPECT_FALSE(second->ImportHintShown());
        ASSERT_TRUE(second->ShowList(ViewerRequest{}));
        EXPECT_EQ(Column(*second, "Symbol").Width(), 2345);
        EXPECT_EQ(second->Surface().SecondaryHeight(), 150);
        second->close();
    }
    EXPECT_FALSE(Open()->ImportHintShown());
}

TEST_F(WindowSettingsTest, TheScreenShownSurvivesARestart) {
    {
        const auto first = Open();
        ViewerRequest request;
        request.m_lViewerType = vt_FinderResults;
        request.m_sScreenName = "sectors up";
        ASSERT_TRUE(first->ShowList(request));
        first->close();
    }
    const auto second = Open();
    const ViewerRequest& shown = second->Host().Request();
    EXPECT_EQ(std::tuple(shown.m_lViewerType, shown.m_sScreenName, shown.m_lScreenRows),
              std::tuple(int32_t{vt_FinderResults}, std::string("Sectors up"), int32_t{2}));
}

TEST_F(WindowSettingsTest, AMissingDamagedOrStaleFileOpensAsOnAFirstRun) {
    const std::vector<std::pair<std::string, QByteArray>> cases = {
        {"missing", QByteArray()},
        {"binary noise", QByteArray("\x00\xff\x13[\x7f=\n\xfe\x01", 9)},
        {"nonsense values",
         "[window]\ngeometry=@ByteArray(nothing)\n[list]\ntype=banana\nsector=-3\n"},
        {"an unknown kind and a watch list the market does not hold",
         "[list]\ntype=99\nwatchList=987654\n"},
        {"a damaged layout", "[layout]\n0\\split=banana\n0\\columns=Symbol=x,=5,Symbol=-3\n"},
        {"a screen no longer held", "[list]\ntype=6\nscreenName=Gone\nscreenRows=banana\n"}};
    const QString path = WindowSettings()->fileName();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        QFile::remove(path);
        QFile file(path);
        ASSERT_TRUE(text.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(text) > 0));
        file.close();
        const auto window = Open();
        const ViewerRequest& shown = window->Host().Request();
        EXPECT_EQ((std::array{shown.m_lViewerType, shown.m_lWatchListId, shown.m_lSectorCode}),
                  (std::array<int32_t, 3>{vt_Stocks, 0, 0}));
        EXPECT_EQ(window->size(), QSize(1100, 720));
        EXPECT_EQ(window->Surface().SecondaryHeight(), -1);
        EXPECT_GT(Column(*window, "Symbol").Width(), 0);
    }
}

}  // namespace
}  // namespace qv::test
