// The main window as a person sees it: the stock list with its industry grid drawn offscreen to
// main_window_test.png in the working folder (the build tree), its pixels checked where the
// frozen split, the recommendation colours and the selected row are.
#include "shell/main_window.h"

#include "control/viewer.h"
#include "outside/grid_control.h"
#include "outside/grid_style.h"
#include "outside/recordset.h"
#include "shell/grid_view.h"
#include "shell/qt_color.h"
#include "shell/shell_market.h"
#include "shell/test_application.h"
#include "shell/viewer_host.h"
#include "shell/viewer_surface.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>

namespace qv::test {
namespace {

class MainWindowPicture : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_window.resize(1000, 640);
        m_window.show();
        ASSERT_TRUE(m_window.ShowList(ViewerRequest{}));
        m_symbol = Column("Symbol");
        m_rec = Column("Rec");
        ASSERT_GE(m_symbol, 0);
        ASSERT_GE(m_rec, 0);
        // A person selects the third row.
        const QPoint row = View().CellRect(2, m_symbol).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(
                type, QPointF(row), QPointF(View().viewport()->mapToGlobal(row)), Qt::LeftButton,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(View().viewport(), &event);
        }
        QApplication::processEvents();
        m_picture = m_window.grab().toImage();
        m_picture.save(QStringLiteral("main_window_test.png"));
    }

    GridView& View() { return m_window.Surface().PrimaryView(); }
    GridControl& Grid() { return *m_window.Host().Control().olePriGrid(); }

    int32_t Column(const std::string& p_sCaption) {
        for (const auto& column : Grid().Columns()->DisplayOrder()) {
            if (column->Caption() == p_sCaption) {
                return column->ColIndex();
            }
        }
        return -1;
    }

    // A cell's place in the window's picture.
    QRect InWindow(const QRect& p_rect) {
        return QRect(View().viewport()->mapTo(&m_window, p_rect.topLeft()), p_rect.size());
    }
    QColor Background(int32_t p_lRow, int32_t p_lCol) {
        const QRect cell = InWindow(View().CellRect(p_lRow, p_lCol));
        EXPECT_FALSE(cell.isEmpty()) << p_lRow << " " << p_lCol;
        return m_picture.pixelColor(cell.left() + 1, cell.top() + 2);
    }
    bool HasText(int32_t p_lRow, int32_t p_lCol, int32_t p_lColour) {
        const QColor text = ToQColor(p_lColour);
        const QRect cell = InWindow(View().CellRect(p_lRow, p_lCol)).adjusted(1, 1, -2, -2);
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor pixel = m_picture.pixelColor(x, y);
                if (std::abs(pixel.red() - text.red()) + std::abs(pixel.green() - text.green()) +
                        std::abs(pixel.blue() - text.blue()) <
                    60) {
                    return true;
                }
            }
        }
        return false;
    }
    // The recommendation on line p_lLine of the view.
    std::string Recommendation(int32_t p_lLine) {
        const auto rows = Grid().DataSource();
        return rows
            ->ValueAt(rows->ViewRowId(Grid().TopRow() + p_lLine), rows->Fields().IndexOf("REC"))
            .ToString();
    }

    MarketPlatform m_oPlatform;
    MainWindow m_window{SharedMarket()};
    QImage m_picture;
    int32_t m_symbol = -1;
    int32_t m_rec = -1;
};

TEST_F(MainWindowPicture, ShowsTheFrozenSplitTheRecommendationColoursAndTheSelectedRow) {
    ASSERT_FALSE(m_picture.isNull());
    EXPECT_TRUE(m_window.Surface().SecondaryView().isVisible());

    // The frozen split holds the symbol; a grey divider closes it before the scrolling split.
    const auto frozen = Grid().Splits()->Item(0)->ShownColumns();
    ASSERT_FALSE(frozen.empty());
    EXPECT_TRUE(std::any_of(frozen.begin(), frozen.end(), [this](const auto& p_column) {
        return p_column->ColIndex() == m_symbol;
    }));
    const QRect last = InWindow(View().HeaderRect(frozen.back()->ColIndex()));
    EXPECT_EQ(
        m_picture.pixelColor(last.right(), InWindow(View().CellRect(4, m_symbol)).center().y()),
        QColor(128, 128, 128));

    // The selected row is highlighted across both splits, and no other row is.
    EXPECT_EQ(Grid().SelBookmarks()->Count(), 1);
    const QColor selected = Background(2, m_symbol);
    const auto scrolling = Grid().Splits()->Item(1)->ShownColumns();
    ASSERT_FALSE(scrolling.empty());
    EXPECT_EQ(Background(2, scrolling.front()->ColIndex()), selected);
    EXPECT_NE(Background(1, m_symbol), selected);
    EXPECT_NE(Background(3, m_symbol), selected);
    const auto highlight = Grid().Style(GridStyleKind::HighlightRow)->BackColor();
    if (highlight) {
        EXPECT_EQ(selected, ToQColor(*highlight));
    }

    // Every recommendation on screen in its colours: Buy white on green.
    int32_t buys = 0;
    for (int32_t line = 0; line < View().WholeRowsShown() && line < Grid().RowCount(); ++line) {
        if (line == 2 || Recommendation(line) != "B") {
            continue;
        }
        ++buys;
        EXPECT_EQ(Background(line, m_rec), ToQColor(grid_colors::kGreen)) << line;
        EXPECT_EQ(Background(line, m_rec), QColor(102, 153, 102)) << line;
        EXPECT_TRUE(HasText(line, m_rec, grid_colors::kWhite)) << line;
    }
    EXPECT_GT(buys, 0);
}

}  // namespace
}  // namespace qv::test
