// The field catalogue: every field the facade can deliver, with the attributes the viewer reads
// from the "ParameterList" recordset ("Parameter_ID", "Column_Name", "Caption", "DataType_ID",
// "Table_Mask", "Group", "Column_Format") and, kept in the program rather than in the database,
// the SQL expression that computes the field for each kind of row. Callers name fields only by
// their "Column_Name"; the expressions are the facade's own text, so nothing a caller sends ever
// becomes part of an SQL statement.
//
// The definitions below are seeded into the table field_catalogue by a schema migration, which
// is what "GetCustomFieldList" hands out.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qv::facade {

class SqlDatabase;

// How a field's values are typed in a result.
enum class FieldKind {
    Integer,
    Double,
    Text,
    Date,  // a day serial (days since 1899-12-30)
    Boolean,
};

// "DataType_ID" values. The viewer gives 24 and 26 a fixed meaning (never a sort field, never
// offered for a layout) and offers 21 to 23 only in the portfolio viewer; the others describe the
// values for people.
namespace data_type {
constexpr int32_t kCount = 1;
constexpr int32_t kPrice = 2;
constexpr int32_t kPercent = 3;
constexpr int32_t kVolume = 4;
constexpr int32_t kDate = 5;
constexpr int32_t kRatio = 6;
constexpr int32_t kRank = 7;
constexpr int32_t kCode = 8;      // a short text code such as the recommendation B, H or S
constexpr int32_t kKeyText = 12;  // names and symbols: sortable although their group is negative
constexpr int32_t kPortfolioNumber = 21;
constexpr int32_t kPortfolioMoney = 22;
constexpr int32_t kPortfolioText = 23;  // texts and dates of a holding
constexpr int32_t kIdentifier = 24;     // internal ids and codes
constexpr int32_t kInternal = 26;       // values the viewer reads itself, never shown as a choice
}  // namespace data_type

// "Table_Mask" bits: bit n set means the field applies to a grid whose data type is n.
namespace table_mask {
constexpr int32_t kStocks = 1;
constexpr int32_t kIndustries = 2;
constexpr int32_t kSectors = 4;
constexpr int32_t kPortfolio = 8;
constexpr int32_t kFinderStocks = 32;  // finder results of result type 5
constexpr int32_t kGroups = kIndustries | kSectors;
constexpr int32_t kStockRows = kStocks | kPortfolio | kFinderStocks;
// A holding is a stock row of a portfolio: the portfolio grid (data type 3) shows its fields, and
// the portfolio viewer asks whether the host's rows carry the layout's fields as stock fields
// (data type 0), so a holding field needs both bits or that check never sees it missing.
constexpr int32_t kHoldingRows = kStocks | kPortfolio;
constexpr int32_t kStockAndIndustryRows = kStockRows | kIndustries;
constexpr int32_t kAllRows = kStockRows | kGroups;
constexpr int32_t kHistoryRows = kStocks | kGroups;
}  // namespace table_mask

// "Group" values. A negative group is never offered for a layout; group 5 is offered but is not a
// sort field; group -3 is a sort field although negative.
namespace field_group {
constexpr int32_t kGroupPrice = 0;
constexpr int32_t kGroupTechnical = 1;
constexpr int32_t kGroupFundamental = 2;
constexpr int32_t kGroupAggregate = 3;
constexpr int32_t kGroupPortfolio = 4;
constexpr int32_t kGroupDescriptive = 5;
constexpr int32_t kGroupSystem = -1;
constexpr int32_t kGroupKey = -2;
constexpr int32_t kGroupDateKey = -3;
}  // namespace field_group

// Row kinds a field can be computed for; each selects one of the SQL expressions.
enum class RowKind {
    Stock,
    Industry,
    Sector,
    Holding,  // a portfolio trade with its stock
};

struct FieldDefinition {
    int32_t m_lParameterId;
    const char* m_sColumnName;
    const char* m_sCaption;
    int32_t m_lDataTypeId;
    int32_t m_lTableMask;
    int32_t m_lGroup;
    const char* m_sColumnFormat;
    FieldKind m_eKind;
    // SQL over the aliases of each row kind (see market_queries.cpp); nullptr when the field has
    // no value for that kind. Holding rows fall back to the stock expression.
    const char* m_sStockSql;
    const char* m_sIndustrySql;
    const char* m_sSectorSql;
    const char* m_sHoldingSql;
    const char* m_sMeaning;

    // The expression for p_eKind, or nullptr.
    const char* SqlFor(RowKind p_eKind) const;
};

// All fields, in catalogue order.
const std::vector<FieldDefinition>& FieldDefinitions();
const FieldDefinition* FindField(int32_t p_lParameterId);
// By "Column_Name", without regard to letter case.
const FieldDefinition* FindFieldByName(std::string_view p_sColumnName);

// Writes the definitions into the table field_catalogue, replacing what it held.
void SeedFieldCatalogue(SqlDatabase& p_oDatabase);
// Seeds the catalogue again and gives the holding columns of stored layouts the catalogue's
// table mask; stored layouts written before holding fields had the stock bit lacked it.
void RealignHoldingMasks(SqlDatabase& p_oDatabase);

}  // namespace qv::facade
