#include "facade/facade_test_files.h"

#include <stdlib.h>
#include <zlib.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "facade/market_store.h"

namespace qv::facade::testing {

ScratchFolder::ScratchFolder() {
    std::string sTemplate = (std::filesystem::temp_directory_path() / "qv-facade-XXXXXX").string();
    if (mkdtemp(sTemplate.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    m_oPath = sTemplate;
}

ScratchFolder::~ScratchFolder() {
    std::error_code oError;
    std::filesystem::remove_all(m_oPath, oError);
}

std::vector<FileSwap> FileSwaps() {
    return {{"deleted", "was deleted",
             [](const std::string& p_sPath) { std::filesystem::remove(p_sPath); }},
            {"replaced", "was replaced by another file", [](const std::string& p_sPath) {
                 std::filesystem::copy_file(p_sPath, p_sPath + ".copy");
                 std::filesystem::rename(p_sPath + ".copy", p_sPath);
             }}};
}

void WriteText(const std::string& p_sPath, const std::string& p_sText) {
    std::ofstream oFile(p_sPath, std::ios::binary);
    oFile << p_sText;
}

void WriteGzip(const std::string& p_sPath, const std::string& p_sText) {
    gzFile oFile = gzopen(p_sPath.c_str(), "wb");
    gzwrite(oFile, p_sText.data(), static_cast<unsigned>(p_sText.size()));
    gzclose(oFile);
}

std::string ReadBytes(const std::string& p_sPath) {
    std::ifstream oFile(p_sPath, std::ios::binary);
    std::ostringstream oBytes;
    oBytes << oFile.rdbuf();
    return oBytes.str();
}

SampleMarketOptions SharedSampleOptions() {
    return {.m_lStocks = 150, .m_lIndustries = 30, .m_lTradingDays = 300, .m_llSeed = 7};
}

MarketStore& SharedSampleMarket() {
    static ScratchFolder s_oFolder;
    static const std::unique_ptr<MarketStore> s_oStore = [] {
        auto oStore = std::make_unique<MarketStore>(s_oFolder.File("shared.db"),
                                                    MarketStore::Access::ReadWrite);
        GenerateSampleMarket(*oStore, SharedSampleOptions(), {});
        return oStore;
    }();
    return *s_oStore;
}

StockSeries HandSeries(int64_t p_llStockId, std::span<const int32_t> p_aDays,
                       const std::vector<std::pair<double, double>>& p_aCloses) {
    StockSeries oSeries{p_llStockId, {}};
    for (size_t i = 0; i < p_aCloses.size(); ++i) {
        oSeries.m_aBars.push_back({.m_lDate = p_aDays[i],
                                   .m_dClose = p_aCloses[i].first,
                                   .m_dAdjClose = p_aCloses[i].second,
                                   .m_llVolume = 1000});
    }
    return oSeries;
}

}  // namespace qv::facade::testing
