// Scratch files for the facade tests: a temporary folder removed at the end of the test, and
// helpers to write plain and gzip-compressed text into it.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "facade/market_rebuild.h"
#include "facade/sample_market.h"

namespace qv::facade {
class MarketStore;
}

namespace qv::facade::testing {

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_oPath; }
    std::string File(const std::string& p_sName) const { return (m_oPath / p_sName).string(); }

  private:
    std::filesystem::path m_oPath;
};

// What can happen to the file at a path while a connection has it open: it is deleted, or another
// file is renamed over it. m_sSaid is what the error says.
struct FileSwap {
    const char* m_sName;
    const char* m_sSaid;
    std::function<void(const std::string& p_sPath)> m_fSwap;
};
std::vector<FileSwap> FileSwaps();

void WriteText(const std::string& p_sPath, const std::string& p_sText);
void WriteGzip(const std::string& p_sPath, const std::string& p_sText);
std::string ReadBytes(const std::string& p_sPath);

// A stock's bars for a market made by hand, one a day of p_aDays: its close as traded and its
// adjusted close, and a volume of 1,000.
StockSeries HandSeries(int64_t p_llStockId, std::span<const int32_t> p_aDays,
                       const std::vector<std::pair<double, double>>& p_aCloses);

// A small generated market (150 stocks, 30 industry groups, 300 trading days, the demo owner),
// made once per test program. Tests only read it.
MarketStore& SharedSampleMarket();
SampleMarketOptions SharedSampleOptions();

}  // namespace qv::facade::testing
