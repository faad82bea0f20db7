// The chart family's pages, offscreen on the shared market (40 trading days): a graph of each
// kind with its series and their points, the quick test with its summary, lines and members or
// the facade's words for bad input, the dividends page against a scripted pages component, and
// the page drawn into a PNG.
#include "shell/chart_pages.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "shell/chart_page.h"
#include "shell/chart_parts.h"
#include "shell/chart_series.h"
#include "shell/dividends_page.h"
#include "shell/headless_mode.h"
#include "shell/market_session.h"
#include "shell/option_price_page.h"
#include "shell/quick_test_page.h"
#include "shell/shell_market.h"
#include "shell/shell_options.h"
#include "shell/test_application.h"
#include "shell/watch_list_graph_page.h"

#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QDate>
#include <QDateTimeAxis>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace qv::test {
namespace {

namespace call = facade_protocol;

constexpr int kDays = 40;

// The share of the pixels of p_oImage unlike its top left one, the page's background.
double InkShare(const QImage& p_oImage) {
    const QRgb background = p_oImage.pixel(0, 0);
    int64_t inked = 0;
    for (int y = 0; y < p_oImage.height(); ++y) {
        for (int x = 0; x < p_oImage.width(); ++x) {
            inked += p_oImage.pixel(x, y) != background ? 1 : 0;
        }
    }
    return static_cast<double>(inked) / (p_oImage.width() * p_oImage.height());
}

double InkOf(QWidget& p_oPage) {
    p_oPage.setAttribute(Qt::WA_DontShowOnScreen);
    p_oPage.resize(1000, 700);
    p_oPage.show();
    return InkShare(p_oPage.grab().toImage());
}

// "name:count" for every series of a pane, then "bars:count" where it has bars.
std::vector<std::string> SeriesOf(const ChartView& p_oPane) {
    std::vector<std::string> series;
    for (QAbstractSeries* each : p_oPane.chart()->series()) {
        series.push_back(each->name().toStdString() + ":" +
                         std::to_string(qobject_cast<QXYSeries*>(each)->count()));
    }
    if (!p_oPane.Bars().empty()) {
        series.push_back("bars:" + std::to_string(p_oPane.Bars().size()));
    }
    return series;
}

class ChartPagesTest : public testing::Test {
  protected:
    void SetUp() override { Application(); }

    static bool TradedEveryDay(const std::string& p_sSymbol) {
        std::array<Variant, call::price_history::kCount> args{Variant(p_sSymbol), Variant(),
                                                              Variant()};
        return RecordsetOf(CallPages(call::price_history::kMethod, args))->RecordCount() == kDays;
    }

    // The first p_lCount stocks of the market's industry groups with a bar on every day.
    static std::vector<std::string> Symbols(size_t p_lCount) {
        std::vector<std::string> symbols;
        for (const NamedCode& industry : SharedMarket().Industries()) {
            std::array<Variant, call::group_detail::kCount> args{Variant(industry.m_lCode),
                                                                 Variant(), Variant::Nothing()};
            CallPages(call::group_detail::kIndustryMethod, args);
            const std::shared_ptr<Recordset> members = RecordsetOf(args[2]);
            for (members->MoveFirst(); !members->IsEOF() && symbols.size() < p_lCount;
                 members->MoveNext()) {
                const std::string symbol = members->Value("Code").ToString();
                if (TradedEveryDay(symbol)) {
                    symbols.push_back(symbol);
                }
            }
        }
        return symbols;
    }

    static PageRequest Graph(PageKind p_eKind, std::vector<std::string> p_codes,
                             bool p_bAdvanced = false) {
        PageRequest page;
        page.m_eKind = p_eKind;
        page.m_codes = std::move(p_codes);
        page.m_bAdvanced = p_bAdvanced;
        return page;
    }

    MarketPlatform m_oPlatform;
};

struct GraphCase {
    const char* m_sName;
    PageRequest m_oPage;
    // Each pane's series, "name:points".
    std::vector<std::vector<std::string>> m_panes;
};

TEST_F(ChartPagesTest, EveryKindOfGraphDrawsItsSeriesOverTheMarketsDays) {
    const std::vector<std::string> stocks = Symbols(3);
    const std::string industry = std::to_string(SharedMarket().Industries().front().m_lCode);
    const std::string sector = std::to_string(SharedMarket().Sectors().front().m_lCode);
    const std::string days = ":" + std::to_string(kDays);
    const std::string bars = "bars" + days;
    const std::vector<GraphCase> cases = {
        {"stock", Graph(PageKind::StockGraph, {stocks[0]}), {{stocks[0] + days, bars}}},
        {"industry", Graph(PageKind::IndustryGraph, {industry}), {{industry + days, bars}}},
        {"sector", Graph(PageKind::SectorGraph, {sector}), {{sector + days, bars}}},
        {"several",
         Graph(PageKind::StockGraph, stocks),
         {{stocks[0] + days, stocks[1] + days, stocks[2] + days}}},
        // 40 days are too few for either average: their lines have no points.
        {"advanced",
         Graph(PageKind::StockGraph, {stocks[0]}, true),
         {{stocks[0] + days, "MA50:0", "MA200:0", bars}, {"Relative strength" + days}}},
    };
    for (const GraphCase& c : cases) {
        SCOPED_TRACE(c.m_sName);
        // Three years reach back before the market's first day: the graph starts on it.
        ChartPage page(c.m_oPage, ChartRange::ThreeYears);
        ASSERT_EQ(page.Panes().size(), c.m_panes.size());
        for (size_t i = 0; i < c.m_panes.size(); ++i) {
            EXPECT_EQ(SeriesOf(*page.Panes()[i]), c.m_panes[i]) << "pane " << i;
        }
        EXPECT_GT(InkOf(page), 0.05);
    }
}

TEST_F(ChartPagesTest, SeveralLinesStartAt100AndARangeFetchesAgain) {
    ChartPage page(Graph(PageKind::StockGraph, Symbols(2)), ChartRange::ThreeYears);
    for (QAbstractSeries* line : page.Panes().front()->chart()->series()) {
        EXPECT_DOUBLE_EQ(qobject_cast<QXYSeries*>(line)->at(0).y(), 100.0);
    }
    const int32_t last = page.Lines().front().m_points.back().m_lDay;
    page.ShowRange(ChartRange::ThreeMonths);
    EXPECT_EQ(page.Lines().front().m_points.back().m_lDay, last);
}

TEST_F(ChartPagesTest, TheLogScaleRedrawsThePriceOnALogAxis) {
    ChartPage page(Graph(PageKind::StockGraph, Symbols(1), true), ChartRange::ThreeYears);
    const auto priceAxis = [&page] {
        return page.Panes().front()->chart()->axes(Qt::Vertical).front()->type();
    };
    EXPECT_EQ(priceAxis(), QAbstractAxis::AxisTypeValue);
    page.findChild<QCheckBox*>(QStringLiteral("logScale"))->click();
    EXPECT_EQ(priceAxis(), QAbstractAxis::AxisTypeLogValue);
    EXPECT_EQ(page.Panes().size(), 2u);
}

TEST_F(ChartPagesTest, TheMouseReadsOutTheDayAndEverySeriesThere) {
    const std::string symbol = Symbols(1).front();
    ChartPage page(Graph(PageKind::StockGraph, {symbol}), ChartRange::ThreeYears);
    InkOf(page);
    ChartView& pane = *page.Panes().front();
    const QPoint middle = pane.chart()->plotArea().center().toPoint();
    QMouseEvent move(QEvent::MouseMove, middle, pane.viewport()->mapToGlobal(middle), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pane.viewport(), &move);
    const QString readout = page.findChild<QLabel*>(QStringLiteral("chartReadout"))->text();
    const QStringList parts = readout.split(QStringLiteral("   "));
    ASSERT_EQ(parts.size(), 3) << readout.toStdString();
    EXPECT_TRUE(QDate::fromString(parts[0], Qt::ISODate).isValid()) << readout.toStdString();
    EXPECT_TRUE(parts[1].startsWith(QString::fromStdString(symbol + " ")));
    EXPECT_TRUE(parts[2].startsWith(QStringLiteral("Volume (millions) ")));
}

TEST_F(ChartPagesTest, TheWheelZoomsTheDaysOfEveryPaneAlike) {
    ChartPage page(Graph(PageKind::StockGraph, Symbols(1), true), ChartRange::ThreeYears);
    InkOf(page);
    const QDateTimeAxis& price = *page.Panes()[0]->DayAxis();
    const QDateTimeAxis& strength = *page.Panes()[1]->DayAxis();
    const qint64 before = price.min().msecsTo(price.max());
    const QPointF middle = page.Panes()[0]->chart()->plotArea().center();
    QWheelEvent wheel(middle, page.Panes()[0]->viewport()->mapToGlobal(middle), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page.Panes()[0]->viewport(), &wheel);
    EXPECT_LT(price.min().msecsTo(price.max()), before);
    EXPECT_EQ(strength.min(), price.min());
    EXPECT_EQ(strength.max(), price.max());
}

TEST_F(ChartPagesTest, AGraphTheFacadeRefusesSaysWhy) {
    ChartPage page(Graph(PageKind::StockGraph, {"NOPE"}));
    EXPECT_TRUE(page.Panes().empty());
    const QString says = page.findChild<QLabel*>(QStringLiteral("chartReadout"))->text();
    EXPECT_EQ(says, page.Problem());
    EXPECT_TRUE(says.contains(QStringLiteral("NOPE"))) << says.toStdString();
}

TEST_F(ChartPagesTest, AQuickTestShowsItsSummaryLinesAndMembers) {
    PageRequest request;
    request.m_eKind = PageKind::QuickTest;
    request.m_sCodeKey = "symbols";
    request.m_codes = Symbols(2);
    QuickTestPage page(request);
    ASSERT_NE(page.Lines(), nullptr);
    EXPECT_EQ(SeriesOf(*page.Lines()), (std::vector<std::string>{"Portfolio:40", "Market:40"}));
    ASSERT_EQ(page.Members()->rowCount(), 2);
    EXPECT_EQ(page.Members()->item(1, 0)->text().toStdString(), request.m_codes[1]);
    EXPECT_TRUE(page.Members()->item(0, 4)->text().endsWith('%'));
    QStringList texts;
    for (const QLabel* label : page.findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.contains(QString::fromStdString(request.m_codes[0])) ||
                texts.contains(QString::fromStdString(request.m_codes[1])))
        << "best or worst member";
    EXPECT_GT(InkOf(page), 0.05);
}

TEST_F(ChartPagesTest, AQuickTestOfBadInputSaysWhatIsWrong) {
    struct BadCase {
        std::vector<std::string> m_codes;
        int32_t m_lStart;
        const char* m_sSays;
    };
    const std::vector<BadCase> cases = {
        {{}, 0, "no codes"},
        {{"NOPE"}, 0, "NOPE"},
        {{Symbols(1).front()}, kMarketLastDay + 30, "StartDate"},
    };
    for (const BadCase& c : cases) {
        PageRequest request;
        request.m_eKind = PageKind::QuickTest;
        request.m_sCodeKey = "symbols";
        request.m_codes = c.m_codes;
        request.m_lDate = c.m_lStart;
        QuickTestPage page(request);
        EXPECT_EQ(page.Lines(), nullptr);
        const QString says = page.findChild<QLabel*>(QStringLiteral("quickTestProblem"))->text();
        EXPECT_TRUE(says.contains(QString::fromLatin1(c.m_sSays))) << says.toStdString();
    }
}

TEST_F(ChartPagesTest, AWatchListsGraphAveragesItsMembersOverTheRangeChosen) {
    const std::vector<std::string> members = Symbols(3);
    VariantArray items = VariantArray::Vector(0, static_cast<int32_t>(members.size()) - 1);
    for (size_t i = 0; i < members.size(); ++i) {
        items.At(static_cast<int32_t>(i)) = members[i];
    }
    namespace add = call::new_watch_list_and_items;
    std::array<Variant, add::kCount> args{Variant(0),  Variant(std::move(items)),
                                          Variant(0),  Variant("Graphed"),
                                          Variant(""), Variant(SharedMarket().OwnerId())};
    const std::shared_ptr<DispatchObject> writer = CreateObject(call::prog_id::kWatchListWriter);
    PageRequest request;
    request.m_eKind = PageKind::WatchListGraph;
    request.m_lWatchListId = CallMethod(*writer, add::kMethod, args).ToLong();
    WatchListGraphPage page(request, SharedMarket().OwnerId(), kMarketLastDay);
    ASSERT_NE(page.Average(), nullptr) << page.Problem().toStdString();
    ASSERT_EQ(page.Average()->Members()->rowCount(), 3);
    EXPECT_EQ(SeriesOf(*page.Average()->Lines()),
              (std::vector<std::string>{"Watch list:40", "Market:40"}));
    // The market holds 40 days: three months reach back before them, and start on the first.
    page.Average()->findChild<QPushButton*>(QStringLiteral("range3M"))->click();
    QApplication::processEvents();
    ASSERT_NE(page.Average()->Lines(), nullptr);
    EXPECT_EQ(SeriesOf(*page.Average()->Lines()).front(), "Watch list:40");

    request.m_lWatchListId = 999999;
    WatchListGraphPage stranger(request, SharedMarket().OwnerId(), kMarketLastDay);
    EXPECT_EQ(stranger.Average(), nullptr);
    EXPECT_TRUE(stranger.Problem().contains(QStringLiteral("not one of your watch lists")));
}

TEST_F(ChartPagesTest, AnOptionIsRepricedAsItsInputsChange) {
    PageRequest request;
    request.m_eKind = PageKind::OptionPrice;
    request.m_codes = Symbols(1);
    OptionPricePage page(request);
    ASSERT_TRUE(page.Problem().isEmpty()) << page.Problem().toStdString();
    const double atTheMoney = page.Figure("CallPrice").toDouble();
    EXPECT_GT(atTheMoney, 0);
    page.Strike()->setValue(page.Strike()->value() * 1.2);
    EXPECT_LT(page.Figure("CallPrice").toDouble(), atTheMoney);
    request.m_codes = {"NOPE"};
    OptionPricePage unknown(request);
    EXPECT_TRUE(unknown.Problem().contains(QStringLiteral("unknown symbol 'NOPE'")));
    EXPECT_TRUE(unknown.Figure("CallPrice").isEmpty());
}

// A pages component that answers "Dividends" from a script and notes the stocks asked for.
class ScriptedDividends : public DispatchObject {
  public:
    explicit ScriptedDividends(std::vector<std::string>& p_asked) : m_asked(p_asked) {}
    Variant Invoke(std::string_view p_sName, InvokeKind, std::span<Variant> p_args) override {
        EXPECT_EQ(p_sName, call::dividends::kMethod);
        m_asked.push_back(p_args[0].ToString());
        auto rows = std::make_shared<Recordset>();
        rows->SetCursorLocation(adUseClient);
        rows->Fields().Append("Symbol", adVarChar, 10);
        rows->Fields().Append("ExDate", adDate);
        rows->Fields().Append("Amount", adDouble);
        rows->Fields().Append("Estimated", adBoolean);
        rows->Open();
        rows->AddNew({Variant("QA"), Variant::Date(46000), Variant(0.25), Variant(false)});
        rows->AddNew({Variant("QA"), Variant::Date(46091), Variant(0.25), Variant(true)});
        return Variant(std::static_pointer_cast<DispatchObject>(rows));
    }

  private:
    std::vector<std::string>& m_asked;
};

TEST_F(ChartPagesTest, TheDividendsPageLabelsTheEstimatedDate) {
    std::vector<std::string> asked;
    m_oPlatform.Components().Register(
        call::prog_id::kPages, [&asked] { return std::make_shared<ScriptedDividends>(asked); });
    PageRequest request;
    request.m_eKind = PageKind::Dividends;
    request.m_codes = {"4", "9"};
    DividendsPage page(request);
    EXPECT_EQ(asked, std::vector<std::string>{"4,9"});
    ASSERT_NE(page.Table(), nullptr);
    ASSERT_EQ(page.Table()->rowCount(), 2);
    EXPECT_EQ(page.Table()->item(0, 3)->text().toStdString(), "paid");
    EXPECT_EQ(page.Table()->item(1, 3)->text().toStdString(), "estimate");
    EXPECT_EQ(page.Table()->item(1, 1)->text().toStdString(), DayText(46091).toStdString());
}

TEST_F(ChartPagesTest, AGraphDrawnToAPngHasItsSizeAndIsNotBlank) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "qv-chart-page-test.png";
    ShellOptions options;
    options.m_eMode = ShellMode::ChartPng;
    options.m_sPngPath = file.string();
    options.m_sDatabase = SharedMarket().Path();
    options.m_sPageAddress = "pagecontroller.aspx?pagetype=10&iwp=1&symbol=" + Symbols(1).front();
    options.m_lWidth = 900;
    options.m_lHeight = 600;
    std::ostringstream err;
    ASSERT_EQ(DrawPagePng(options, err), 0) << err.str();
    const QImage image(QString::fromStdString(file.string()));
    std::filesystem::remove(file);
    EXPECT_EQ(image.size(), QSize(900, 600));
    EXPECT_GT(InkShare(image), 0.05);
}

}  // namespace
}  // namespace qv::test
