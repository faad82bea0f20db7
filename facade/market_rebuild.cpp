#include "facade/market_rebuild.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>

#include "facade/market_schema.h"
#include "facade/sqlite_database.h"
#include "outside/numeric_text.h"
#include "outside/vb_date.h"

namespace qv::facade {

namespace {

constexpr size_t kProgressEvery = 64;

// Maps the trading days present in the series to dense indexes.
class Calendar {
  public:
    explicit Calendar(const std::vector<StockSeries>& p_aSeries) {
        for (const StockSeries& oStock : p_aSeries) {
            for (const DailyBar& oBar : oStock.m_aBars) {
                m_aDays.push_back(oBar.m_lDate);
            }
        }
        std::sort(m_aDays.begin(), m_aDays.end());
        m_aDays.erase(std::unique(m_aDays.begin(), m_aDays.end()), m_aDays.end());
        if (m_aDays.empty()) {
            return;
        }
        m_lFirst = m_aDays.front();
        m_aIndexByOffset.assign(static_cast<size_t>(m_aDays.back() - m_lFirst + 1), -1);
        for (size_t i = 0; i < m_aDays.size(); ++i) {
            m_aIndexByOffset[static_cast<size_t>(m_aDays[i] - m_lFirst)] = static_cast<int32_t>(i);
        }
    }

    const std::vector<int32_t>& Days() const { return m_aDays; }
    size_t IndexOf(int32_t p_lDate) const {
        return static_cast<size_t>(m_aIndexByOffset[static_cast<size_t>(p_lDate - m_lFirst)]);
    }

  private:
    std::vector<int32_t> m_aDays;
    std::vector<int32_t> m_aIndexByOffset;
    int32_t m_lFirst = 0;
};

struct Membership {
    size_t m_lIndustry = 0;  // dense indexes into the group codes
    size_t m_lSector = 0;
};

struct GroupCodes {
    std::vector<int64_t> m_aIndustries;
    std::vector<int64_t> m_aSectors;
    std::unordered_map<int64_t, Membership> m_aByStock;
};

GroupCodes ReadGroupCodes(SqliteDatabase& p_oDatabase) {
    GroupCodes oCodes;
    std::map<int64_t, size_t> aIndustryIndex;
    std::map<int64_t, size_t> aSectorIndex;
    SqliteStatement oQuery = p_oDatabase.Prepare(
        "SELECT s.stock_id, s.ind_code, i.sector_code FROM stocks s "
        "JOIN industries i ON i.ind_code = s.ind_code");
    while (oQuery.Step()) {
        const int64_t llIndustry = oQuery.ColumnInt64(1);
        const int64_t llSector = oQuery.ColumnInt64(2);
        auto [itIndustry, bNewIndustry] =
            aIndustryIndex.emplace(llIndustry, oCodes.m_aIndustries.size());
        if (bNewIndustry) {
            oCodes.m_aIndustries.push_back(llIndustry);
        }
        auto [itSector, bNewSector] = aSectorIndex.emplace(llSector, oCodes.m_aSectors.size());
        if (bNewSector) {
            oCodes.m_aSectors.push_back(llSector);
        }
        oCodes.m_aByStock[oQuery.ColumnInt64(0)] = {itIndustry->second, itSector->second};
    }
    return oCodes;
}

// Per stock and bar, the ranking of the bar's day (0: no ranking).
std::vector<std::vector<uint8_t>> RankAllDays(const std::vector<StockSeries>& p_aSeries,
                                              const Calendar& p_oCalendar) {
    struct Entry {
        double m_dScore;
        uint32_t m_lStock;
        uint32_t m_lBar;
    };
    std::vector<std::vector<Entry>> aByDay(p_oCalendar.Days().size());
    std::vector<std::vector<uint8_t>> aRanks(p_aSeries.size());
    for (size_t lStock = 0; lStock < p_aSeries.size(); ++lStock) {
        const std::vector<DailyBar>& aBars = p_aSeries[lStock].m_aBars;
        const std::vector<double> aScores = StrengthScores(aBars);
        aRanks[lStock].assign(aBars.size(), 0);
        for (size_t lBar = 0; lBar < aBars.size(); ++lBar) {
            if (!std::isnan(aScores[lBar])) {
                aByDay[p_oCalendar.IndexOf(aBars[lBar].m_lDate)].push_back(
                    {aScores[lBar], static_cast<uint32_t>(lStock), static_cast<uint32_t>(lBar)});
            }
        }
    }
    for (std::vector<Entry>& aDay : aByDay) {
        std::sort(aDay.begin(), aDay.end(), [](const Entry& oLeft, const Entry& oRight) {
            return oLeft.m_dScore < oRight.m_dScore;
        });
        const auto llCount = static_cast<int64_t>(aDay.size());
        int64_t llTiePosition = 0;
        for (int64_t k = 0; k < llCount; ++k) {
            const Entry& oEntry = aDay[static_cast<size_t>(k)];
            if (k > 0 && aDay[static_cast<size_t>(k - 1)].m_dScore < oEntry.m_dScore) {
                llTiePosition = k;
            }
            aRanks[oEntry.m_lStock][oEntry.m_lBar] =
                static_cast<uint8_t>(RankingFromPosition(llTiePosition, llCount));
        }
    }
    return aRanks;
}

struct GroupDay {
    int64_t m_llMembers = 0;
    int64_t m_llAdvancing = 0;
    int64_t m_llDeclining = 0;
    int64_t m_llChanges = 0;
    double m_dChangeSum = 0;
    int64_t m_llRanks = 0;
    double m_dRankSum = 0;
    int64_t m_llVolume = 0;

    // False when the total volume would pass what 64 bits hold; the day is then left as it was.
    bool Add(const DailyBar& p_oBar, const DailyMetrics& p_oMetrics, uint8_t p_cRank) {
        if (p_oBar.m_llVolume > std::numeric_limits<int64_t>::max() - m_llVolume) {
            return false;
        }
        ++m_llMembers;
        m_llVolume += p_oBar.m_llVolume;
        if (!std::isnan(p_oMetrics.m_dPctChange)) {
            ++m_llChanges;
            m_dChangeSum += p_oMetrics.m_dPctChange;
            m_llAdvancing += p_oMetrics.m_dPctChange > 0 ? 1 : 0;
            m_llDeclining += p_oMetrics.m_dPctChange < 0 ? 1 : 0;
        }
        if (p_cRank > 0) {
            ++m_llRanks;
            m_dRankSum += p_cRank;
        }
        return true;
    }
};

// A group's total volume is stored as a 64-bit integer: a total beyond it fails the rebuild, as a
// capped figure would pass for a real one.
[[noreturn]] void VolumeOverflow(const SqliteDatabase& p_oDatabase, const char* p_sGroup,
                                 int64_t p_llCode, int32_t p_lDate) {
    throw FacadeError(p_oDatabase.Path(), 0,
                      std::string("the total volume of ") + p_sGroup + " " +
                          std::to_string(p_llCode) + " on " + IsoDateText(p_lDate) +
                          " passes what the store holds (" +
                          std::to_string(std::numeric_limits<int64_t>::max()) + " shares)");
}

// Days of each group of one kind: [group index][day index].
using GroupTable = std::vector<std::vector<GroupDay>>;

// The importer keeps prices and volumes within what the store holds (market_schema.h), so a value
// that does not convert means a caller let one through: it fails the rebuild rather than store
// garbage.
class DayWriter {
  public:
    explicit DayWriter(SqliteDatabase& p_oDatabase)
        : m_sPath(p_oDatabase.Path()),
          m_oInsert(p_oDatabase.Prepare(
              "INSERT INTO stock_bars (day_key, open, high, low, close, adj_close, volume, "
              "pct_change, avg_volume_50, high_52w, low_52w, ma_50, ma_200, rs_rank) "
              "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)")) {}

    void Write(const StockSeries& p_oStock, const std::vector<DailyMetrics>& p_aMetrics,
               const std::vector<uint8_t>& p_aRanks) {
        m_llStockId = p_oStock.m_llStockId;
        for (size_t i = 0; i < p_oStock.m_aBars.size(); ++i) {
            const DailyBar& oBar = p_oStock.m_aBars[i];
            const DailyMetrics& oDay = p_aMetrics[i];
            m_oInsert.BindInt64(1, DayKey(p_oStock.m_llStockId, oBar.m_lDate));
            BindWhole(2, oBar.m_dOpen, kPriceScale);
            BindWhole(3, oBar.m_dHigh, kPriceScale);
            BindWhole(4, oBar.m_dLow, kPriceScale);
            BindWhole(5, oBar.m_dClose, kPriceScale);
            BindWhole(6, oBar.m_dAdjClose, kPriceScale);
            m_oInsert.BindInt64(7, oBar.m_llVolume);
            m_oInsert.BindOptionalDouble(8, oDay.m_dPctChange);
            BindWhole(9, oDay.m_dAvgVolume, 1);
            BindWhole(10, oDay.m_dHigh52, kPriceScale);
            BindWhole(11, oDay.m_dLow52, kPriceScale);
            BindWhole(12, oDay.m_dMa50, kPriceScale);
            BindWhole(13, oDay.m_dMa200, kPriceScale);
            if (p_aRanks[i] > 0) {
                m_oInsert.BindInt64(14, p_aRanks[i]);
            } else {
                m_oInsert.BindNull(14);
            }
            m_oInsert.Run();
        }
    }

  private:
    // p_dValue * p_dScale as a whole number; NaN (no value) is NULL.
    void BindWhole(int p_lIndex, double p_dValue, double p_dScale) {
        if (std::isnan(p_dValue)) {
            m_oInsert.BindNull(p_lIndex);
            return;
        }
        const std::optional<int64_t> llWhole = RoundToWholeNumber(p_dValue * p_dScale);
        if (!llWhole) {
            throw FacadeError(m_sPath, 0,
                              "stock " + std::to_string(m_llStockId) + " has a daily value (" +
                                  std::to_string(p_dValue) + ") beyond what the store holds");
        }
        m_oInsert.BindInt64(p_lIndex, *llWhole);
    }

    std::string m_sPath;
    SqliteStatement m_oInsert;
    int64_t m_llStockId = 0;
};

void WriteGroupDays(SqliteDatabase& p_oDatabase, int64_t p_llKind,
                    const std::vector<int64_t>& p_aCodes, const GroupTable& p_aTable,
                    const std::vector<int32_t>& p_aDays) {
    SqliteStatement oInsert = p_oDatabase.Prepare(
        "INSERT INTO group_days (group_key, member_count, advancing, declining, avg_pct_change, "
        "avg_rank, index_value, total_volume) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (size_t lGroup = 0; lGroup < p_aCodes.size(); ++lGroup) {
        double dIndex = kNoValue;
        for (size_t lDay = 0; lDay < p_aDays.size(); ++lDay) {
            const GroupDay& oDay = p_aTable[lGroup][lDay];
            if (oDay.m_llMembers == 0) {
                continue;
            }
            const double dAverage = oDay.m_llChanges > 0
                                        ? oDay.m_dChangeSum / static_cast<double>(oDay.m_llChanges)
                                        : kNoValue;
            dIndex = std::isnan(dIndex)
                         ? 100.0
                         : dIndex * (1.0 + (std::isnan(dAverage) ? 0 : dAverage) / 100.0);
            oInsert.BindInt64(1, GroupDayKey(p_llKind, p_aCodes[lGroup], p_aDays[lDay]));
            oInsert.BindInt64(2, oDay.m_llMembers);
            oInsert.BindInt64(3, oDay.m_llAdvancing);
            oInsert.BindInt64(4, oDay.m_llDeclining);
            oInsert.BindOptionalDouble(5, dAverage);
            oInsert.BindOptionalDouble(
                6, oDay.m_llRanks > 0 ? oDay.m_dRankSum / static_cast<double>(oDay.m_llRanks)
                                      : kNoValue);
            oInsert.BindDouble(7, dIndex);
            oInsert.BindInt64(8, oDay.m_llVolume);
            oInsert.Run();
        }
    }
}

void WriteCalendar(SqliteDatabase& p_oDatabase, const std::vector<int32_t>& p_aDays) {
    SqliteStatement oInsert = p_oDatabase.Prepare("INSERT INTO trading_days VALUES (?1)");
    for (const int32_t lDay : p_aDays) {
        oInsert.BindInt64(1, lDay);
        oInsert.Run();
    }
}

}  // namespace

std::vector<StockSeries> LoadStockSeries(SqliteDatabase& p_oDatabase) {
    std::vector<StockSeries> aSeries;
    SqliteStatement oQuery = p_oDatabase.Prepare(
        "SELECT stock_id, trade_date, open, high, low, close, adj_close, volume FROM stock_days "
        "ORDER BY day_key");
    while (oQuery.Step()) {
        const int64_t llStockId = oQuery.ColumnInt64(0);
        if (aSeries.empty() || aSeries.back().m_llStockId != llStockId) {
            aSeries.push_back({llStockId, {}});
        }
        DailyBar oBar;
        oBar.m_lDate = static_cast<int32_t>(oQuery.ColumnInt64(1));
        oBar.m_dOpen = oQuery.ColumnOptionalDouble(2).value_or(kNoValue);
        oBar.m_dHigh = oQuery.ColumnOptionalDouble(3).value_or(kNoValue);
        oBar.m_dLow = oQuery.ColumnOptionalDouble(4).value_or(kNoValue);
        oBar.m_dClose = oQuery.ColumnDouble(5);
        oBar.m_dAdjClose = oQuery.ColumnDouble(6);
        oBar.m_llVolume = oQuery.ColumnInt64(7);
        aSeries.back().m_aBars.push_back(oBar);
    }
    return aSeries;
}

void RewriteDailyData(SqliteDatabase& p_oDatabase, const std::vector<StockSeries>& p_aSeries,
                      const ProgressFn& p_fProgress) {
    const auto llStocks = static_cast<int64_t>(p_aSeries.size());
    ReportProgress(p_fProgress, "Ranking", 0, llStocks);
    const Calendar oCalendar(p_aSeries);
    const GroupCodes oCodes = ReadGroupCodes(p_oDatabase);
    const std::vector<std::vector<uint8_t>> aRanks = RankAllDays(p_aSeries, oCalendar);

    p_oDatabase.Execute("DELETE FROM stock_bars; DELETE FROM group_days; DELETE FROM trading_days");
    const size_t lDays = oCalendar.Days().size();
    GroupTable aIndustries(oCodes.m_aIndustries.size(), std::vector<GroupDay>(lDays));
    GroupTable aSectors(oCodes.m_aSectors.size(), std::vector<GroupDay>(lDays));
    DayWriter oDays(p_oDatabase);
    for (size_t lStock = 0; lStock < p_aSeries.size(); ++lStock) {
        const StockSeries& oStock = p_aSeries[lStock];
        const std::vector<DailyMetrics> aMetrics = ComputeDailyMetrics(oStock.m_aBars);
        oDays.Write(oStock, aMetrics, aRanks[lStock]);
        const auto itMember = oCodes.m_aByStock.find(oStock.m_llStockId);
        if (itMember != oCodes.m_aByStock.end()) {
            const Membership& oMember = itMember->second;
            for (size_t i = 0; i < oStock.m_aBars.size(); ++i) {
                const int32_t lDate = oStock.m_aBars[i].m_lDate;
                const size_t lDay = oCalendar.IndexOf(lDate);
                if (!aIndustries[oMember.m_lIndustry][lDay].Add(oStock.m_aBars[i], aMetrics[i],
                                                                aRanks[lStock][i])) {
                    VolumeOverflow(p_oDatabase, "industry group",
                                   oCodes.m_aIndustries[oMember.m_lIndustry], lDate);
                }
                if (!aSectors[oMember.m_lSector][lDay].Add(oStock.m_aBars[i], aMetrics[i],
                                                           aRanks[lStock][i])) {
                    VolumeOverflow(p_oDatabase, "sector", oCodes.m_aSectors[oMember.m_lSector],
                                   lDate);
                }
            }
        }
        if (lStock % kProgressEvery == 0) {
            ReportProgress(p_fProgress, "Writing daily bars", static_cast<int64_t>(lStock),
                           llStocks);
        }
    }
    ReportProgress(p_fProgress, "Writing daily bars", llStocks, llStocks);
    WriteGroupDays(p_oDatabase, kIndustryGroupKind, oCodes.m_aIndustries, aIndustries,
                   oCalendar.Days());
    WriteGroupDays(p_oDatabase, kSectorGroupKind, oCodes.m_aSectors, aSectors, oCalendar.Days());
    WriteCalendar(p_oDatabase, oCalendar.Days());
}

}  // namespace qv::facade
