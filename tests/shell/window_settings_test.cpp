// The window keeps its size, place, list kind and scope through a restart, and opens as on a
// first run when its settings file is missing, damaged or names what the market no longer holds.
#include "shell/main_window.h"

#include "control/viewer.h"
#include "shell/market_session.h"
#include "shell/shell_market.h"
#include "shell/test_application.h"
#include "shell/viewer_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <string>

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
    void WriteSettings(const QByteArray& p_text) {
        const QString path = WindowSettings()->fileName();
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(p_text);
    }
    static void ExpectFirstRun(MainWindow& p_oWindow) {
        const ViewerRequest& shown = p_oWindow.Host().Request();
        EXPECT_EQ(shown.m_lViewerType, vt_Stocks);
        EXPECT_EQ(shown.m_lWatchListId, 0);
        EXPECT_EQ(shown.m_lSectorCode, 0);
        EXPECT_EQ(p_oWindow.size(), QSize(1100, 720));
    }

    MarketPlatform m_oPlatform;
    QTemporaryDir m_folder;
};

TEST_F(WindowSettingsTest, SizePlaceListAndScopeSurviveARestart) {
    const NamedCode sector = SharedMarket().Sectors().back();
    {
        const std::unique_ptr<MainWindow> first = Open();
        ViewerRequest request;
        request.m_lViewerType = vt_Industries;
        request.m_lSectorCode = sector.m_lCode;
        ASSERT_TRUE(first->ShowList(request));
        first->resize(1010, 610);
        first->move(40, 30);
        first->close();
    }
    const std::unique_ptr<MainWindow> second = Open();
    EXPECT_EQ(second->Host().Request().m_lViewerType, vt_Industries);
    EXPECT_EQ(second->Host().Request().m_lSectorCode, sector.m_lCode);
    EXPECT_EQ(second->size(), QSize(1010, 610));
    EXPECT_EQ(second->pos(), QPoint(40, 30));
}

TEST_F(WindowSettingsTest, AMissingDamagedOrStaleFileOpensAsOnAFirstRun) {
    const std::vector<std::pair<std::string, QByteArray>> cases = {
        {"missing", QByteArray()},
        {"binary noise", QByteArray("\x00\xff\x13[\x7f=\n\xfe\x01", 9)},
        {"nonsense values",
         "[window]\ngeometry=@ByteArray(nothing)\n[list]\ntype=banana\nsector=-3\n"},
        {"an unknown kind and a watch list the market does not hold",
         "[list]\ntype=99\nwatchList=987654\n"},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        QFile::remove(WindowSettings()->fileName());
        if (!text.isEmpty()) {
            WriteSettings(text);
        }
        const std::unique_ptr<MainWindow> window = Open();
        ExpectFirstRun(*window);
    }
}

}  // namespace
}  // namespace qv::test
