// Feeds arbitrary bytes to the screen language; the first byte picks the kind of rows (stocks,
// industry groups or sectors). Text that does not parse must fail with a criteria error whose
// position lies within the text or just after it; text that parses must give SQL with one
// placeholder per value, which SQLite must accept and which counts no rows of an empty market.
// Anything else (another exception, a crash, a deep recursion) is a finding.
#include "facade/market_schema.h"
#include "facade/screen_criteria.h"
#include "facade/sqlite_database.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace qv::facade;

struct EmptyMarket {
    EmptyMarket() { MigrateSchema(m_oDatabase); }

    SqliteDatabase m_oDatabase{":memory:", SqliteDatabase::OpenMode::Create};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_data, size_t p_size) {
    if (p_size == 0) {
        return 0;
    }
    constexpr RowKind kKinds[] = {RowKind::Stock, RowKind::Industry, RowKind::Sector};
    const RowKind eRows = kKinds[p_data[0] % 3];
    const std::string_view sText(reinterpret_cast<const char*>(p_data) + 1, p_size - 1);
    ScreenSql oScreen;
    try {
        oScreen = CompileScreenCriteria(sText, eRows);
    } catch (const ScreenCriteriaError& oError) {
        Check(oError.Position() >= 1 && oError.Position() <= sText.size() + 1);
        return 0;
    }
    Check(static_cast<size_t>(std::count(oScreen.m_sWhere.begin(), oScreen.m_sWhere.end(), '?')) ==
          oScreen.m_aValues.size());
    Check(!oScreen.m_sDescription.empty());
    static EmptyMarket oMarket;
    Check(CountScreenRows(oMarket.m_oDatabase, eRows, oScreen, 0) == 0);
    return 0;
}
