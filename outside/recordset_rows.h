// The rows behind a recordset and its clones.
//
// Rows are stored column by column in typed arrays (a Double column is a std::vector<double>, a
// text column a std::vector<std::string>), each with a null mask that is only allocated once a
// Null is stored. A row keeps its id for its whole life: ids are issued in order, a deleted row
// leaves a tombstone, and the ids of the rows still alive are kept in ascending order. Views
// (filtered, sorted recordsets) are vectors of these ids, and bookmarks are ids too.
//
// Every recordset sharing a store registers as an observer, so that it can keep its own view and
// cursor right when another clone appends, deletes or changes a row. A change reaches the
// observers in two passes: first each adjusts its own view and cursor (and runs nothing else),
// then, with every view right, each tells its own listeners, who may change or destroy anything.
#pragma once

#include "outside/sink_list.h"
#include "outside/variant.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// How a field's values are stored. Date values are day serials in the Double array.
enum class ColumnKind : uint8_t { Double, Date, Long, Integer, Boolean, Text, Variant };

// The storage kind for an ADO type code; codes the store has no typed array for keep Variants.
ColumnKind ColumnKindOf(int32_t p_lType);
bool IsNumericKind(ColumnKind p_eKind);

// One field's values for every row id.
class RowColumn {
  public:
    explicit RowColumn(ColumnKind p_eKind) : m_eKind(p_eKind) {}

    ColumnKind Kind() const { return m_eKind; }
    size_t Size() const { return m_lSize; }
    bool HasNulls() const { return m_lNullCount > 0; }
    bool IsNull(uint32_t p_lRow) const {
        return m_lNullCount > 0 && ((m_nulls[p_lRow >> 6] >> (p_lRow & 63)) & 1) != 0;
    }

    Variant Get(uint32_t p_lRow) const;
    // Converts p_vValue to the column's kind (error 13, 6 or 94 as the Variant conversions say);
    // a failed conversion leaves the column as it was.
    void Set(uint32_t p_lRow, const Variant& p_vValue);
    void Append(const Variant& p_vValue);
    // Appends of a value already of the column's kind, for a reader that fills a column straight
    // from its source. AppendNumber serves Double and Date columns; a value of another kind goes
    // through the Variant conversions.
    void AppendNull();
    void AppendNumber(double p_dValue);
    void AppendLong(int32_t p_lValue);
    void AppendBoolean(bool p_bValue);
    void AppendText(std::string p_sValue);
    void PopBack();

    // The column holding p_rows of this one, in that order.
    RowColumn Gather(std::span<const uint32_t> p_rows) const;
    size_t MemoryBytes() const;

    // Typed arrays for the fast paths; only the one of the column's kind is filled. Numbers()
    // serves Double and Date columns, Booleans() holds 0 or 1.
    const std::vector<double>& Numbers() const { return m_numbers; }
    const std::vector<int32_t>& Longs() const { return m_longs; }
    const std::vector<int16_t>& Integers() const { return m_integers; }
    const std::vector<uint8_t>& Booleans() const { return m_booleans; }
    const std::vector<std::string>& Texts() const { return m_texts; }
    const std::vector<Variant>& Variants() const { return m_variants; }

  private:
    void SetNullBit(uint32_t p_lRow, bool p_bNull);
    // Counts the row just pushed onto the typed array.
    void Grown(bool p_bNull);
    void Store(uint32_t p_lRow, const Variant& p_vValue);

    ColumnKind m_eKind;
    size_t m_lSize = 0;
    std::vector<double> m_numbers;
    std::vector<int32_t> m_longs;
    std::vector<int16_t> m_integers;
    std::vector<uint8_t> m_booleans;
    std::vector<std::string> m_texts;
    std::vector<Variant> m_variants;
    std::vector<uint64_t> m_nulls;
    size_t m_lNullCount = 0;
};

// p_oBy is the observer that made the change, so that it can move its own cursor to the new row
// or count an edit as its own.
class RowStoreObserver : public Sink {
  public:
    virtual void RowAppended(uint32_t p_lRow, const RowStoreObserver* p_oBy) = 0;
    // Called before the row leaves the live rows; p_lLivePosition is its index there.
    virtual void RowDeleting(uint32_t p_lRow, size_t p_lLivePosition) = 0;
    virtual void ValueSet(uint32_t p_lRow, size_t p_lColumn, const RowStoreObserver* p_oBy) = 0;
    // The second pass, once every observer has adjusted.
    virtual void ChangeDone() = 0;
};

class RowStore {
  public:
    explicit RowStore(const std::vector<ColumnKind>& p_kinds);
    // A store of rows 0 to n-1 holding these columns; columns of unequal sizes are error 3001.
    explicit RowStore(std::vector<RowColumn> p_columns);
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    size_t ColumnCount() const { return m_columns.size(); }
    const RowColumn& Column(size_t p_lColumn) const { return m_columns[p_lColumn]; }
    // Ids issued so far, deleted rows included.
    uint32_t RowCount() const { return m_lRowCount; }
    bool IsDeleted(uint32_t p_lRow) const { return m_deleted[p_lRow] != 0; }
    // Ids of the rows not deleted, ascending.
    const std::vector<uint32_t>& LiveRows() const { return m_liveRows; }

    Variant Get(uint32_t p_lRow, size_t p_lColumn) const;
    // The changes end by telling the observers, who may destroy the store: a caller touches
    // nothing of it afterwards. A value that does not convert leaves the store as it was and
    // tells no one.
    void Set(uint32_t p_lRow, size_t p_lColumn, const Variant& p_vValue,
             const RowStoreObserver* p_oBy);
    // Appends a row with p_values in column order, Null for the columns beyond them.
    void AppendRow(std::span<const Variant> p_values, const RowStoreObserver* p_oBy);
    void DeleteRow(uint32_t p_lRow);

    // A new store holding p_rows of this one, in that order, with ids 0 to n-1.
    std::shared_ptr<RowStore> CopyRows(std::span<const uint32_t> p_rows) const;
    size_t MemoryBytes() const;

    void AddObserver(RowStoreObserver* p_oObserver);
    void RemoveObserver(RowStoreObserver* p_oObserver);

  private:
    RowStore() = default;

    void Announce();

    std::vector<RowColumn> m_columns;
    std::vector<uint8_t> m_deleted;
    std::vector<uint32_t> m_liveRows;
    uint32_t m_lRowCount = 0;
    SinkListOf<RowStoreObserver> m_observers;
};

}  // namespace qv
