// Opening the viewer's main window on a 5,000-stock generated market to a painted stock list.
// BM_MainWindowOpen times the whole opening (window, query, layout, first frame) for the record;
// the ratio compares the time per painted frame of the opened window with that of a window of
// the same size holding a plain QTableView: a model that hands out ready-made texts, with no
// formats or colours, for as many rows and columns as the stock list.
#include "bench/ratio.h"
#include "bench/shell_bench.h"
#include "control/viewer.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "shell/main_window.h"
#include "shell/market_session.h"
#include "shell/viewer_host.h"
#include "shell/viewer_request.h"

#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QMainWindow>
#include <QTableView>

#include <array>
#include <filesystem>
#include <memory>
#include <random>

namespace {

constexpr int kWidth = 1100;
constexpr int kHeight = 720;

class MarketFolder {
  public:
    MarketFolder() {
        std::random_device device;
        m_path = std::filesystem::temp_directory_path() /
                 ("qv-bench-shell-open-" + std::to_string(device()));
        std::filesystem::create_directories(m_path);
    }
    ~MarketFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    MarketFolder(const MarketFolder&) = delete;
    MarketFolder& operator=(const MarketFolder&) = delete;
    std::string File() const { return (m_path / "market.db").string(); }

  private:
    std::filesystem::path m_path;
};

qv::MarketSession& Market() {
    static MarketFolder s_folder;
    static qv::MarketSession s_session = [] {
        auto store = std::make_shared<qv::facade::MarketStore>(
            s_folder.File(), qv::facade::MarketStore::Access::ReadWrite);
        qv::facade::SampleMarketOptions options;
        options.m_lStocks = 5000;
        options.m_lTradingDays = 60;
        qv::facade::GenerateSampleMarket(*store, options, {});
        return qv::MarketSession(store);
    }();
    return s_session;
}

// The platform of the window: the headless services with the market's facade components.
qv::PlatformContext& Platform() {
    static qv::PlatformContext s_context;
    static const bool s_registered = (Market().Register(s_context.Components()), true);
    (void)s_registered;
    return s_context;
}

void BM_MainWindowOpen(benchmark::State& state) {
    qv::ScopedPlatform installed(Platform());
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        qv::MainWindow window(Market());
        window.resize(kWidth, kHeight);
        window.show();
        window.ShowList(qv::ViewerRequest{});
        window.render(&image);
    }
}
BENCHMARK(BM_MainWindowOpen)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_MainWindowFrame(benchmark::State& state) {
    qv::ScopedPlatform installed(Platform());
    qv::MainWindow window(Market());
    window.resize(kWidth, kHeight);
    window.show();
    window.ShowList(qv::ViewerRequest{});
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        window.render(&image);
    }
}
BENCHMARK(BM_MainWindowFrame)->UseRealTime();

// The baseline's model: ready-made texts, nothing else.
class PlainModel : public QAbstractTableModel {
  public:
    PlainModel(int p_iRows, int p_iColumns) : m_iRows(p_iRows), m_iColumns(p_iColumns) {
        for (int i = 0; i < kTexts; ++i) {
            m_texts[static_cast<size_t>(i)] = QStringLiteral("Text %1").arg(i);
        }
    }
    int rowCount(const QModelIndex& p_parent) const override {
        return p_parent.isValid() ? 0 : m_iRows;
    }
    int columnCount(const QModelIndex& p_parent) const override {
        return p_parent.isValid() ? 0 : m_iColumns;
    }
    QVariant data(const QModelIndex& p_index, int p_iRole) const override {
        if (p_iRole != Qt::DisplayRole) {
            return {};
        }
        return m_texts[static_cast<size_t>((p_index.row() + p_index.column()) % kTexts)];
    }

  private:
    static constexpr int kTexts = 97;
    std::array<QString, kTexts> m_texts;
    int m_iRows;
    int m_iColumns;
};

void BM_PlainTableViewFrame(benchmark::State& state) {
    int rows = 0;
    int columns = 0;
    {
        qv::ScopedPlatform installed(Platform());
        qv::MainWindow opened(Market());
        opened.ShowList(qv::ViewerRequest{});
        const auto& grid = *opened.Host().Control().olePriGrid();
        rows = grid.RowCount();
        columns = grid.Columns()->Count();
    }
    PlainModel model(rows, columns);
    QMainWindow window;
    auto* table = new QTableView(&window);
    table->setModel(&model);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(16);
    window.setCentralWidget(table);
    window.resize(kWidth, kHeight);
    window.show();
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        window.render(&image);
    }
}
BENCHMARK(BM_PlainTableViewFrame)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunShellWithRatios(
        argc, argv,
        {{"shell.open", "BM_MainWindowFrame/real_time", "BM_PlainTableViewFrame/real_time", 3}});
}
