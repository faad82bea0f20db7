#include "facade/market_rebuild.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

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
        for (const StockSeries& stock : p_aSeries) {
            for (const DailyBar& bar : stock.m_aBars) {
                m_aDays.push_back(bar.m_lDate);
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

GroupCodes ReadGroupCodes(SqlDatabase& p_oDatabase) {
    GroupCodes codes;
    std::map<int64_t, size_t> industryIndex;
    std::map<int64_t, size_t> sectorIndex;
    SqlStatement query = p_oDatabase.Prepare(
        "SELECT s.stock_id, s.ind_code, i.sector_code FROM stocks s "
        "JOIN industries i ON i.ind_code = s.ind_code");
    while (query.Step()) {
        const int64_t industryId = query.ColumnInt64(1);
        const int64_t sectorId = query.ColumnInt64(2);
        auto [industryAt, newIndustry] =
            industryIndex.emplace(industryId, codes.m_aIndustries.size());
        if (newIndustry) {
            codes.m_aIndustries.push_back(industryId);
        }
        auto [sectorAt, newSector] = sectorIndex.emplace(sectorId, codes.m_aSectors.size());
        if (newSector) {
            codes.m_aSectors.push_back(sectorId);
        }
        codes.m_aByStock[query.ColumnInt64(0)] = {industryAt->second, sectorAt->second};
    }
    return codes;
}

// Per stock and bar, the ranking of the bar's day (0: no ranking).
std::vector<std::vector<uint8_t>> RankAllDays(const std::vector<StockSeries>& p_aSeries,
                                              const Calendar& p_oCalendar) {
    struct Entry {
        double m_dScore;
        uint32_t m_lStock;
        uint32_t m_lBar;
    };
    std::vector<std::vector<Entry>> byDay(p_oCalendar.Days().size());
    std::vector<std::vector<uint8_t>> ranks(p_aSeries.size());
    for (size_t stock = 0; stock < p_aSeries.size(); ++stock) {
        const std::vector<DailyBar>& bars = p_aSeries[stock].m_aBars;
        const std::vector<double> scores = StrengthScores(bars);
        ranks[stock].assign(bars.size(), 0);
        for (size_t bar = 0; bar < bars.size(); ++bar) {
            if (!std::isnan(scores[bar])) {
                byDay[p_oCalendar.IndexOf(bars[bar].m_lDate)].push_back(
                    {scores[bar], static_cast<uint32_t>(stock), static_cast<uint32_t>(bar)});
            }
        }
    }
    for (std::vector<Entry>& day : byDay) {
        std::sort(day.begin(), day.end(), [](const Entry& left, const Entry& right) {
            return left.m_dScore < right.m_dScore;
        });
        const auto count = static_cast<int64_t>(day.size());
        int64_t tiePosition = 0;
        for (int64_t k = 0; k < count; ++k) {
            const Entry& entry = day[static_cast<size_t>(k)];
            if (k > 0 && day[static_cast<size_t>(k - 1)].m_dScore < entry.m_dScore) {
                tiePosition = k;
            }
            ranks[entry.m_lStock][entry.m_lBar] =
                static_cast<uint8_t>(RankingFromPosition(tiePosition, count));
        }
    }
    return ranks;
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
    // The volume counts on the member's latest share basis, as its row shows it.
    bool Add(const DailyBar& p_oBar, const DailyMetrics& p_oMetrics, uint8_t p_cRank) {
        const std::optional<int64_t> volume =
            RoundToWholeNumber(static_cast<double>(p_oBar.m_llVolume) * p_oMetrics.m_dShareFactor);
        if (!volume || *volume > std::numeric_limits<int64_t>::max() - m_llVolume) {
            return false;
        }
        ++m_llMembers;
        m_llVolume += *volume;
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
[[noreturn]] void VolumeOverflow(const SqlDatabase& p_oDatabase, const char* p_sGroup,
                                 int64_t p_llCode, int32_t p_lDate) {
    throw FacadeError(p_oDatabase.Name(), 0,
                      std::string("the total volume of ") + p_sGroup + " " +
                          std::to_string(p_llCode) + " on " + IsoDateText(p_lDate) +
                          " passes what the store holds (" +
                          std::to_string(std::numeric_limits<int64_t>::max()) + " shares)");
}

// Days of each group of one kind: [group index][day index].
using GroupTable = std::vector<std::vector<GroupDay>>;

constexpr const char* kInsertBars =
    "INSERT INTO stock_bars (day_key, open, high, low, close, adj_close, volume, pct_change, "
    "avg_volume_50, high_52w, low_52w, ma_50, ma_200, rs_rank, basis_close, share_factor) VALUES ";
constexpr int kBarColumns = 16;
// Bars go to the store this many to a statement: a client of a database server waits for each
// statement's answer, which one row at a time made writing a market take minutes.
constexpr size_t kBarsPerInsert = 256;

// The insert of p_lRows bars, its parameters numbered row by row.
std::string InsertBarsSql(size_t p_lRows) {
    std::string sql = kInsertBars;
    for (size_t row = 0; row < p_lRows; ++row) {
        sql += row == 0 ? "(" : ", (";
        for (int column = 1; column <= kBarColumns; ++column) {
            sql += column == 1 ? "?" : ", ?";
            sql += std::to_string(static_cast<int>(row) * kBarColumns + column);
        }
        sql += ')';
    }
    return sql;
}

// The importer keeps prices and volumes within what the store holds (market_schema.h), so a value
// that does not convert means a caller let one through: it fails the rebuild rather than store
// garbage.
class DayWriter {
  public:
    explicit DayWriter(SqlDatabase& p_oDatabase)
        : m_oDatabase(p_oDatabase), m_oInsert(p_oDatabase.Prepare(InsertBarsSql(kBarsPerInsert))) {}

    void Write(const StockSeries& p_oStock, const std::vector<DailyMetrics>& p_aMetrics,
               const std::vector<uint8_t>& p_aRanks) {
        m_llStockId = p_oStock.m_llStockId;
        for (size_t i = 0; i < p_oStock.m_aBars.size(); ++i) {
            const DailyBar& bar = p_oStock.m_aBars[i];
            const DailyMetrics& day = p_aMetrics[i];
            m_aPending.emplace_back(DayKey(p_oStock.m_llStockId, bar.m_lDate));
            AddWhole(bar.m_dOpen, kPriceScale);
            AddWhole(bar.m_dHigh, kPriceScale);
            AddWhole(bar.m_dLow, kPriceScale);
            AddWhole(bar.m_dClose, kPriceScale);
            AddWhole(bar.m_dAdjClose, kPriceScale);
            m_aPending.emplace_back(bar.m_llVolume);
            m_aPending.push_back(std::isfinite(day.m_dPctChange) ? Value(day.m_dPctChange)
                                                                 : Value());
            AddWhole(day.m_dAvgVolume, 1);
            AddWhole(day.m_dHigh52, kPriceScale);
            AddWhole(day.m_dLow52, kPriceScale);
            AddWhole(day.m_dMa50, kPriceScale);
            AddWhole(day.m_dMa200, kPriceScale);
            m_aPending.push_back(p_aRanks[i] > 0 ? Value(int64_t{p_aRanks[i]}) : Value());
            AddWhole(bar.m_dClose * day.m_dPriceFactor, kPriceScale);
            m_aPending.emplace_back(day.m_dShareFactor);
            if (m_aPending.size() == kBarsPerInsert * kBarColumns) {
                Run(m_oInsert);
            }
        }
    }

    // Writes the bars still waiting for a full statement.
    void Finish() {
        if (!m_aPending.empty()) {
            SqlStatement rest = m_oDatabase.Prepare(InsertBarsSql(m_aPending.size() / kBarColumns));
            Run(rest);
        }
    }

  private:
    // A bound value: none (NULL), a whole number or a double.
    using Value = std::variant<std::monostate, int64_t, double>;

    // p_dValue * p_dScale as a whole number; NaN (no value) is NULL.
    void AddWhole(double p_dValue, double p_dScale) {
        if (std::isnan(p_dValue)) {
            m_aPending.emplace_back();
            return;
        }
        const std::optional<int64_t> whole = RoundToWholeNumber(p_dValue * p_dScale);
        if (!whole) {
            throw FacadeError(m_oDatabase.Name(), 0,
                              "stock " + std::to_string(m_llStockId) + " has a daily value (" +
                                  std::to_string(p_dValue) + ") beyond what the store holds");
        }
        m_aPending.emplace_back(*whole);
    }

    void Run(SqlStatement& p_oInsert) {
        for (size_t i = 0; i < m_aPending.size(); ++i) {
            const int index = static_cast<int>(i) + 1;
            const Value& value = m_aPending[i];
            if (const auto* whole = std::get_if<int64_t>(&value)) {
                p_oInsert.BindInt64(index, *whole);
            } else if (const auto* real = std::get_if<double>(&value)) {
                p_oInsert.BindDouble(index, *real);
            } else {
                p_oInsert.BindNull(index);
            }
        }
        p_oInsert.Run();
        m_aPending.clear();
    }

    SqlDatabase& m_oDatabase;
    SqlStatement m_oInsert;
    std::vector<Value> m_aPending;
    int64_t m_llStockId = 0;
};

void WriteGroupDays(SqlDatabase& p_oDatabase, int64_t p_llKind,
                    const std::vector<int64_t>& p_aCodes, const GroupTable& p_aTable,
                    const std::vector<int32_t>& p_aDays) {
    SqlStatement insert = p_oDatabase.Prepare(
        "INSERT INTO group_days (group_key, member_count, advancing, declining, avg_pct_change, "
        "avg_rank, index_value, total_volume) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (size_t group = 0; group < p_aCodes.size(); ++group) {
        double index = kNoValue;
        for (size_t dayIndex = 0; dayIndex < p_aDays.size(); ++dayIndex) {
            const GroupDay& groupDay = p_aTable[group][dayIndex];
            if (groupDay.m_llMembers == 0) {
                continue;
            }
            const double average =
                groupDay.m_llChanges > 0
                    ? groupDay.m_dChangeSum / static_cast<double>(groupDay.m_llChanges)
                    : kNoValue;
            index = std::isnan(index) ? 100.0
                                      : index * (1.0 + (std::isnan(average) ? 0 : average) / 100.0);
            insert.BindInt64(1, GroupDayKey(p_llKind, p_aCodes[group], p_aDays[dayIndex]));
            insert.BindInt64(2, groupDay.m_llMembers);
            insert.BindInt64(3, groupDay.m_llAdvancing);
            insert.BindInt64(4, groupDay.m_llDeclining);
            insert.BindOptionalDouble(5, average);
            insert.BindOptionalDouble(
                6, groupDay.m_llRanks > 0
                       ? groupDay.m_dRankSum / static_cast<double>(groupDay.m_llRanks)
                       : kNoValue);
            insert.BindDouble(7, index);
            insert.BindInt64(8, groupDay.m_llVolume);
            insert.Run();
        }
    }
}

void WriteCalendar(SqlDatabase& p_oDatabase, const std::vector<int32_t>& p_aDays) {
    SqlStatement insert = p_oDatabase.Prepare("INSERT INTO trading_days VALUES (?1)");
    for (const int32_t day : p_aDays) {
        insert.BindInt64(1, day);
        insert.Run();
    }
}

}  // namespace

std::vector<StockSeries> LoadStockSeries(SqlDatabase& p_oDatabase) {
    std::vector<StockSeries> series;
    SqlStatement query = p_oDatabase.Prepare(
        "SELECT stock_id, trade_date, open, high, low, close, adj_close, volume "
        "FROM stock_days_traded ORDER BY day_key");
    while (query.Step()) {
        const int64_t stockId = query.ColumnInt64(0);
        if (series.empty() || series.back().m_llStockId != stockId) {
            series.push_back({stockId, {}});
        }
        DailyBar bar;
        bar.m_lDate = static_cast<int32_t>(query.ColumnInt64(1));
        bar.m_dOpen = query.ColumnOptionalDouble(2).value_or(kNoValue);
        bar.m_dHigh = query.ColumnOptionalDouble(3).value_or(kNoValue);
        bar.m_dLow = query.ColumnOptionalDouble(4).value_or(kNoValue);
        bar.m_dClose = query.ColumnDouble(5);
        bar.m_dAdjClose = query.ColumnDouble(6);
        bar.m_llVolume = query.ColumnInt64(7);
        series.back().m_aBars.push_back(bar);
    }
    return series;
}

void RewriteDailyData(SqlDatabase& p_oDatabase, const std::vector<StockSeries>& p_aSeries,
                      const ProgressFn& p_fProgress) {
    const auto stocks = static_cast<int64_t>(p_aSeries.size());
    ReportProgress(p_fProgress, "Ranking", 0, stocks);
    const Calendar calendar(p_aSeries);
    const GroupCodes codes = ReadGroupCodes(p_oDatabase);
    const std::vector<std::vector<uint8_t>> ranks = RankAllDays(p_aSeries, calendar);

    p_oDatabase.Execute("DELETE FROM stock_bars; DELETE FROM group_days; DELETE FROM trading_days");
    const size_t dayCount = calendar.Days().size();
    GroupTable industries(codes.m_aIndustries.size(), std::vector<GroupDay>(dayCount));
    GroupTable sectors(codes.m_aSectors.size(), std::vector<GroupDay>(dayCount));
    DayWriter dayWriter(p_oDatabase);
    for (size_t stockIndex = 0; stockIndex < p_aSeries.size(); ++stockIndex) {
        const StockSeries& stockSeries = p_aSeries[stockIndex];
        const std::vector<DailyMetrics> metrics = ComputeDailyMetrics(stockSeries.m_aBars);
        dayWriter.Write(stockSeries, metrics, ranks[stockIndex]);
        const auto memberAt = codes.m_aByStock.find(stockSeries.m_llStockId);
        if (memberAt != codes.m_aByStock.end()) {
            const Membership& member = memberAt->second;
            for (size_t i = 0; i < stockSeries.m_aBars.size(); ++i) {
                const int32_t date = stockSeries.m_aBars[i].m_lDate;
                const size_t day = calendar.IndexOf(date);
                if (!industries[member.m_lIndustry][day].Add(stockSeries.m_aBars[i], metrics[i],
                                                             ranks[stockIndex][i])) {
                    VolumeOverflow(p_oDatabase, "industry group",
                                   codes.m_aIndustries[member.m_lIndustry], date);
                }
                if (!sectors[member.m_lSector][day].Add(stockSeries.m_aBars[i], metrics[i],
                                                        ranks[stockIndex][i])) {
                    VolumeOverflow(p_oDatabase, "sector", codes.m_aSectors[member.m_lSector], date);
                }
            }
        }
        if (stockIndex % kProgressEvery == 0) {
            ReportProgress(p_fProgress, "Writing daily bars", static_cast<int64_t>(stockIndex),
                           stocks);
        }
    }
    dayWriter.Finish();
    ReportProgress(p_fProgress, "Writing daily bars", stocks, stocks);
    WriteGroupDays(p_oDatabase, kIndustryGroupKind, codes.m_aIndustries, industries,
                   calendar.Days());
    WriteGroupDays(p_oDatabase, kSectorGroupKind, codes.m_aSectors, sectors, calendar.Days());
    WriteCalendar(p_oDatabase, calendar.Days());
    // PostgreSQL plans its queries by statistics that it gathers in the background some time after
    // a bulk write; until then the stock list took half as long again. SQLite plans without any.
    if (p_oDatabase.Dialect() == SqlDialect::Postgres) {
        p_oDatabase.Execute("ANALYZE");
    }
}

}  // namespace qv::facade
