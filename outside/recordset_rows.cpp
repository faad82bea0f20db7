#include "outside/recordset_rows.h"

#include "outside/automation_error.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace qv {
namespace {

// Grows by a quarter instead of doubling: the rows of a large recordset are appended one by one,
// and doubling would leave up to half of every column unused.
template <class T>
void PushBack(std::vector<T>& p_values, T p_value) {
    if (p_values.size() == p_values.capacity()) {
        p_values.reserve(p_values.capacity() + p_values.capacity() / 4 + 16);
    }
    p_values.push_back(std::move(p_value));
}

template <class T>
std::vector<T> GatherValues(const std::vector<T>& p_values, std::span<const uint32_t> p_rows) {
    std::vector<T> result;
    if (p_values.empty()) {
        return result;
    }
    result.reserve(p_rows.size());
    for (uint32_t row : p_rows) {
        result.push_back(p_values[row]);
    }
    return result;
}

template <class T>
size_t VectorBytes(const std::vector<T>& p_values) {
    return p_values.capacity() * sizeof(T);
}

size_t TextBytes(const std::vector<std::string>& p_texts) {
    size_t bytes = VectorBytes(p_texts);
    const size_t inlineCapacity = std::string().capacity();
    for (const std::string& text : p_texts) {
        if (text.capacity() > inlineCapacity) {
            bytes += text.capacity() + 1;
        }
    }
    return bytes;
}

}  // namespace

ColumnKind ColumnKindOf(int32_t p_lType) {
    switch (p_lType) {
        case 2:   // adSmallInt
        case 16:  // adTinyInt
        case 17:  // adUnsignedTinyInt
            return ColumnKind::Integer;
        case 3:   // adInteger
        case 18:  // adUnsignedSmallInt
            return ColumnKind::Long;
        case 4:    // adSingle
        case 5:    // adDouble
        case 6:    // adCurrency
        case 14:   // adDecimal
        case 19:   // adUnsignedInt
        case 20:   // adBigInt
        case 21:   // adUnsignedBigInt
        case 131:  // adNumeric
        case 139:  // adVarNumeric
            return ColumnKind::Double;
        case 7:    // adDate
        case 133:  // adDBDate
        case 134:  // adDBTime
        case 135:  // adDBTimeStamp
            return ColumnKind::Date;
        case 11:  // adBoolean
            return ColumnKind::Boolean;
        case 8:    // adBSTR
        case 129:  // adChar
        case 130:  // adWChar
        case 200:  // adVarChar
        case 201:  // adLongVarChar
        case 202:  // adVarWChar
        case 203:  // adLongVarWChar
            return ColumnKind::Text;
        default:
            return ColumnKind::Variant;
    }
}

bool IsNumericKind(ColumnKind p_eKind) {
    return p_eKind != ColumnKind::Text && p_eKind != ColumnKind::Variant;
}

Variant RowColumn::Get(uint32_t p_lRow) const {
    if (IsNull(p_lRow)) {
        return Variant::Null();
    }
    switch (m_eKind) {
        case ColumnKind::Double:
            return Variant(m_numbers[p_lRow]);
        case ColumnKind::Date:
            return Variant::Date(m_numbers[p_lRow]);
        case ColumnKind::Long:
            return Variant(m_longs[p_lRow]);
        case ColumnKind::Integer:
            return Variant(m_integers[p_lRow]);
        case ColumnKind::Boolean:
            return Variant(m_booleans[p_lRow] != 0);
        case ColumnKind::Text:
            return Variant(m_texts[p_lRow]);
        case ColumnKind::Variant:
            return m_variants[p_lRow];
    }
    return Variant();
}

void RowColumn::Set(uint32_t p_lRow, const Variant& p_vValue) {
    if (p_vValue.IsNull()) {
        SetNullBit(p_lRow, true);
        return;
    }
    Store(p_lRow, p_vValue);
    SetNullBit(p_lRow, false);
}

// Converts before it writes, so that a failed conversion changes nothing.
void RowColumn::Store(uint32_t p_lRow, const Variant& p_vValue) {
    switch (m_eKind) {
        case ColumnKind::Double:
            m_numbers[p_lRow] = p_vValue.ToDouble();
            return;
        case ColumnKind::Date:
            m_numbers[p_lRow] = p_vValue.ToDate();
            return;
        case ColumnKind::Long:
            m_longs[p_lRow] = p_vValue.ToLong();
            return;
        case ColumnKind::Integer:
            m_integers[p_lRow] = p_vValue.ToInt();
            return;
        case ColumnKind::Boolean:
            m_booleans[p_lRow] = p_vValue.ToBool() ? 1 : 0;
            return;
        case ColumnKind::Text:
            m_texts[p_lRow] = p_vValue.ToString();
            return;
        case ColumnKind::Variant:
            m_variants[p_lRow] = p_vValue;
            return;
    }
}

void RowColumn::Append(const Variant& p_vValue) {
    const bool isNull = p_vValue.IsNull();
    switch (m_eKind) {
        case ColumnKind::Double:
            PushBack(m_numbers, isNull ? 0.0 : p_vValue.ToDouble());
            break;
        case ColumnKind::Date:
            PushBack(m_numbers, isNull ? 0.0 : p_vValue.ToDate());
            break;
        case ColumnKind::Long:
            PushBack(m_longs, isNull ? 0 : p_vValue.ToLong());
            break;
        case ColumnKind::Integer:
            PushBack(m_integers, isNull ? int16_t{0} : p_vValue.ToInt());
            break;
        case ColumnKind::Boolean:
            PushBack(m_booleans, static_cast<uint8_t>(!isNull && p_vValue.ToBool()));
            break;
        case ColumnKind::Text:
            PushBack(m_texts, isNull ? std::string() : p_vValue.ToString());
            break;
        case ColumnKind::Variant:
            PushBack(m_variants, isNull ? Variant() : p_vValue);
            break;
    }
    Grown(isNull);
}

void RowColumn::Grown(bool p_bNull) {
    ++m_lSize;
    if (!m_nulls.empty() && m_nulls.size() * 64 < m_lSize) {
        PushBack(m_nulls, uint64_t{0});
    }
    if (p_bNull) {
        SetNullBit(static_cast<uint32_t>(m_lSize - 1), true);
    }
}

void RowColumn::AppendNull() {
    Append(Variant::Null());
}

void RowColumn::AppendNumber(double p_dValue) {
    if (m_eKind != ColumnKind::Double && m_eKind != ColumnKind::Date) {
        Append(Variant(p_dValue));
        return;
    }
    PushBack(m_numbers, p_dValue);
    Grown(false);
}

void RowColumn::AppendLong(int32_t p_lValue) {
    if (m_eKind != ColumnKind::Long) {
        Append(Variant(p_lValue));
        return;
    }
    PushBack(m_longs, p_lValue);
    Grown(false);
}

void RowColumn::AppendBoolean(bool p_bValue) {
    if (m_eKind != ColumnKind::Boolean) {
        Append(Variant(p_bValue));
        return;
    }
    PushBack(m_booleans, static_cast<uint8_t>(p_bValue));
    Grown(false);
}

void RowColumn::AppendText(std::string p_sValue) {
    if (m_eKind != ColumnKind::Text) {
        Append(Variant(std::move(p_sValue)));
        return;
    }
    PushBack(m_texts, std::move(p_sValue));
    Grown(false);
}

void RowColumn::PopBack() {
    const auto last = static_cast<uint32_t>(m_lSize - 1);
    SetNullBit(last, false);
    switch (m_eKind) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            m_numbers.pop_back();
            break;
        case ColumnKind::Long:
            m_longs.pop_back();
            break;
        case ColumnKind::Integer:
            m_integers.pop_back();
            break;
        case ColumnKind::Boolean:
            m_booleans.pop_back();
            break;
        case ColumnKind::Text:
            m_texts.pop_back();
            break;
        case ColumnKind::Variant:
            m_variants.pop_back();
            break;
    }
    --m_lSize;
}

void RowColumn::SetNullBit(uint32_t p_lRow, bool p_bNull) {
    if (m_nulls.empty()) {
        if (!p_bNull) {
            return;
        }
        m_nulls.assign((m_lSize + 63) / 64, 0);
    }
    uint64_t& word = m_nulls[p_lRow >> 6];
    const uint64_t bit = uint64_t{1} << (p_lRow & 63);
    const bool wasNull = (word & bit) != 0;
    if (wasNull == p_bNull) {
        return;
    }
    word ^= bit;
    if (p_bNull) {
        ++m_lNullCount;
    } else {
        --m_lNullCount;
    }
}

RowColumn RowColumn::Gather(std::span<const uint32_t> p_rows) const {
    RowColumn result(m_eKind);
    result.m_lSize = p_rows.size();
    result.m_numbers = GatherValues(m_numbers, p_rows);
    result.m_longs = GatherValues(m_longs, p_rows);
    result.m_integers = GatherValues(m_integers, p_rows);
    result.m_booleans = GatherValues(m_booleans, p_rows);
    result.m_texts = GatherValues(m_texts, p_rows);
    result.m_variants = GatherValues(m_variants, p_rows);
    if (m_lNullCount == 0) {
        return result;
    }
    for (size_t i = 0; i < p_rows.size(); ++i) {
        if (IsNull(p_rows[i])) {
            result.SetNullBit(static_cast<uint32_t>(i), true);
        }
    }
    return result;
}

size_t RowColumn::MemoryBytes() const {
    return sizeof(RowColumn) + VectorBytes(m_numbers) + VectorBytes(m_longs) +
           VectorBytes(m_integers) + VectorBytes(m_booleans) + TextBytes(m_texts) +
           VectorBytes(m_variants) + VectorBytes(m_nulls);
}

RowStore::RowStore(const std::vector<ColumnKind>& p_kinds) {
    m_columns.reserve(p_kinds.size());
    for (ColumnKind kind : p_kinds) {
        m_columns.emplace_back(kind);
    }
}

RowStore::RowStore(std::vector<RowColumn> p_columns) : m_columns(std::move(p_columns)) {
    const size_t rows = m_columns.empty() ? 0 : m_columns.front().Size();
    for (const RowColumn& column : m_columns) {
        if (column.Size() != rows) {
            RaiseRuntimeError(errors::kArgumentsWrongType, "columns of unequal lengths");
        }
    }
    if (rows > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        RaiseRuntimeError(errors::kOverflow, "too many rows");
    }
    m_lRowCount = static_cast<uint32_t>(rows);
    m_deleted.assign(rows, 0);
    m_liveRows.resize(rows);
    std::iota(m_liveRows.begin(), m_liveRows.end(), uint32_t{0});
}

Variant RowStore::Get(uint32_t p_lRow, size_t p_lColumn) const {
    return m_columns[p_lColumn].Get(p_lRow);
}

void RowStore::Set(uint32_t p_lRow, size_t p_lColumn, const Variant& p_vValue,
                   const RowStoreObserver* p_oBy) {
    m_columns[p_lColumn].Set(p_lRow, p_vValue);
    m_observers.Raise(
        [&](RowStoreObserver& observer) { observer.ValueSet(p_lRow, p_lColumn, p_oBy); });
    Announce();
}

void RowStore::Announce() {
    m_observers.Raise([](RowStoreObserver& observer) { observer.ChangeDone(); });
}

void RowStore::AppendRow(std::span<const Variant> p_values, const RowStoreObserver* p_oBy) {
    if (m_lRowCount == static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
        RaiseRuntimeError(errors::kOverflow, "too many rows");
    }
    const Variant null = Variant::Null();
    size_t appended = 0;
    try {
        for (; appended < m_columns.size(); ++appended) {
            m_columns[appended].Append(appended < p_values.size() ? p_values[appended] : null);
        }
    } catch (...) {
        while (appended > 0) {
            m_columns[--appended].PopBack();
        }
        throw;
    }
    const uint32_t row = m_lRowCount++;
    PushBack(m_deleted, uint8_t{0});
    PushBack(m_liveRows, row);
    m_observers.Raise([&](RowStoreObserver& observer) { observer.RowAppended(row, p_oBy); });
    Announce();
}

void RowStore::DeleteRow(uint32_t p_lRow) {
    if (p_lRow >= m_lRowCount || m_deleted[p_lRow] != 0) {
        return;
    }
    const auto live = std::lower_bound(m_liveRows.begin(), m_liveRows.end(), p_lRow);
    const auto position = static_cast<size_t>(live - m_liveRows.begin());
    m_observers.Raise([&](RowStoreObserver& observer) { observer.RowDeleting(p_lRow, position); });
    m_deleted[p_lRow] = 1;
    m_liveRows.erase(m_liveRows.begin() + static_cast<std::ptrdiff_t>(position));
    Announce();
}

std::shared_ptr<RowStore> RowStore::CopyRows(std::span<const uint32_t> p_rows) const {
    std::shared_ptr<RowStore> copy(new RowStore());
    const bool wholeStore = p_rows.size() == m_lRowCount && m_liveRows.size() == m_lRowCount &&
                            std::is_sorted(p_rows.begin(), p_rows.end());
    copy->m_columns.reserve(m_columns.size());
    for (const RowColumn& column : m_columns) {
        copy->m_columns.push_back(wholeStore ? column : column.Gather(p_rows));
    }
    copy->m_lRowCount = static_cast<uint32_t>(p_rows.size());
    copy->m_deleted.assign(p_rows.size(), 0);
    copy->m_liveRows.resize(p_rows.size());
    for (uint32_t i = 0; i < copy->m_lRowCount; ++i) {
        copy->m_liveRows[i] = i;
    }
    return copy;
}

size_t RowStore::MemoryBytes() const {
    size_t bytes = sizeof(RowStore) + VectorBytes(m_deleted) + VectorBytes(m_liveRows);
    for (const RowColumn& column : m_columns) {
        bytes += column.MemoryBytes();
    }
    return bytes;
}

void RowStore::AddObserver(RowStoreObserver* p_oObserver) {
    m_observers.Add(p_oObserver);
}

void RowStore::RemoveObserver(RowStoreObserver* p_oObserver) {
    m_observers.Remove(p_oObserver);
}

}  // namespace qv
