#include "outside/recordset.h"

#include "outside/automation_error.h"
#include "outside/text_util.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qv {
namespace {

// Find tests the view in slices, so that a match near the cursor is found without testing the
// whole view, and the slices go through the same tight loops as a Filter.
constexpr int32_t kFindSlice = 1024;

bool ClearsFilter(const Variant& p_vFilter) {
    if (p_vFilter.IsEmpty()) {
        return true;
    }
    if (p_vFilter.IsString()) {
        return TrimLineBlanks(p_vFilter.ToString()).empty();
    }
    return p_vFilter.IsNumber() && p_vFilter.ToDouble() == 0;
}

void RaiseBadArgument(const std::string& p_sDetail) {
    RaiseRuntimeError(errors::kArgumentsWrongType, p_sDetail);
}

}  // namespace

Recordset::Recordset() : m_fields(*this), m_vFilter(int32_t{adFilterNone}) {}

Recordset::~Recordset() {
    Detach();
}

void Recordset::Open() {
    if (m_oRows) {
        RaiseRuntimeError(errors::kNotAllowedWhenOpen);
    }
    std::vector<ColumnKind> kinds;
    for (int32_t i = 0; i < m_fields.Count(); ++i) {
        kinds.push_back(ColumnKindOf(m_fields.Item(i).Type()));
    }
    OpenOn(std::make_shared<RowStore>(kinds));
}

void Recordset::Open(std::vector<RowColumn> p_columns) {
    if (m_oRows) {
        RaiseRuntimeError(errors::kNotAllowedWhenOpen);
    }
    if (p_columns.size() != static_cast<size_t>(m_fields.Count())) {
        RaiseRuntimeError(errors::kArgumentsWrongType, "one column per field");
    }
    for (int32_t i = 0; i < m_fields.Count(); ++i) {
        if (p_columns[static_cast<size_t>(i)].Kind() != ColumnKindOf(m_fields.Item(i).Type())) {
            RaiseRuntimeError(errors::kArgumentsWrongType,
                              "column of another type than field " + m_fields.Item(i).Name());
        }
    }
    OpenOn(std::make_shared<RowStore>(std::move(p_columns)));
}

void Recordset::OpenOn(std::shared_ptr<RowStore> p_oRows) {
    if (!Tell([](RecordsetObserver& observer) { observer.ViewAboutToBeReset(); })) {
        return;
    }
    Attach(std::move(p_oRows));
    Tell([](RecordsetObserver& observer) { observer.ViewReset(); });
}

void Recordset::Close() {
    RequireOpen();
    if (!Tell([](RecordsetObserver& observer) { observer.ViewAboutToBeReset(); })) {
        return;
    }
    Detach();
    Tell([](RecordsetObserver& observer) { observer.ViewReset(); });
}

bool Recordset::Tell(const std::function<void(RecordsetObserver&)>& p_fnTell) {
    return m_observers.Empty() || m_observers.Raise(p_fnTell);
}

void Recordset::TellMovedFrom(Cursor p_eCursor, int32_t p_lPosition) {
    if (m_observers.Empty() || (m_eCursor == p_eCursor && m_lPosition == p_lPosition)) {
        return;
    }
    m_observers.Raise([](RecordsetObserver& observer) { observer.CursorMoved(); });
}

void Recordset::Attach(std::shared_ptr<RowStore> p_oRows) {
    m_oRows = std::move(p_oRows);
    m_oRows->AddObserver(this);
    MoveToFirst();
}

void Recordset::Detach() {
    if (m_oRows) {
        m_oRows->RemoveObserver(this);
        m_oRows.reset();
    }
    m_oFilter.reset();
    m_vFilter = Variant(int32_t{adFilterNone});
    m_sortKeys.clear();
    m_sSort.clear();
    m_bOwnView = false;
    m_view.clear();
    m_positionByRow.clear();
    m_lEditMode = adEditNone;
    m_eCursor = Cursor::Bof;
    m_lPosition = -1;
}

void Recordset::RequireOpen() const {
    if (!m_oRows) {
        RaiseRuntimeError(errors::kNotAllowedWhenClosed);
    }
}

// A deleted row stays current even when it was the last one, so that the usual loop of Delete
// and MoveNext ends at EOF rather than failing.
bool Recordset::IsBOF() const {
    RequireOpen();
    return m_eCursor == Cursor::Bof || (ViewSize() == 0 && m_eCursor != Cursor::Deleted);
}

bool Recordset::IsEOF() const {
    RequireOpen();
    return m_eCursor == Cursor::Eof || (ViewSize() == 0 && m_eCursor != Cursor::Deleted);
}

int32_t Recordset::RecordCount() const {
    RequireOpen();
    return ViewSize();
}

int32_t Recordset::AbsolutePosition() const {
    RequireOpen();
    if (ViewSize() == 0) {
        return adPosUnknown;
    }
    switch (m_eCursor) {
        case Cursor::Bof:
            return adPosBOF;
        case Cursor::Eof:
            return adPosEOF;
        case Cursor::Deleted:
            return adPosUnknown;
        case Cursor::Row:
            return m_lPosition + 1;
    }
    return adPosUnknown;
}

void Recordset::SetAbsolutePosition(int32_t p_lPosition) {
    RequireOpen();
    const Cursor cursor = m_eCursor;
    const int32_t position = m_lPosition;
    if (ViewSize() > 0 && (p_lPosition == adPosBOF || p_lPosition == adPosEOF)) {
        EndEdit();
        m_eCursor = p_lPosition == adPosBOF ? Cursor::Bof : Cursor::Eof;
        m_lPosition = p_lPosition == adPosBOF ? -1 : ViewSize();
        TellMovedFrom(cursor, position);
        return;
    }
    if (p_lPosition < 1 || p_lPosition > ViewSize()) {
        RaiseBadArgument("AbsolutePosition " + std::to_string(p_lPosition) +
                         " is outside the rows 1 to " + std::to_string(ViewSize()));
    }
    EndEdit();
    MoveTo(p_lPosition - 1);
    TellMovedFrom(cursor, position);
}

uint32_t Recordset::CurrentRow() const {
    RequireOpen();
    if (m_eCursor != Cursor::Row || ViewSize() == 0) {
        RaiseRuntimeError(errors::kNoCurrentRecord);
    }
    return View()[static_cast<size_t>(m_lPosition)];
}

Variant Recordset::Bookmark() const {
    return Variant(static_cast<double>(CurrentRow()) + 1);
}

void Recordset::SetBookmark(const Variant& p_vBookmark) {
    RequireOpen();
    const int32_t target = PositionOfBookmark(p_vBookmark);
    const Cursor cursor = m_eCursor;
    const int32_t position = m_lPosition;
    EndEdit();
    MoveTo(target);
    TellMovedFrom(cursor, position);
}

int32_t Recordset::PositionOfBookmark(const Variant& p_vBookmark) {
    if (!p_vBookmark.IsNumber()) {
        RaiseBadArgument("not a bookmark");
    }
    const double value = p_vBookmark.ToDouble();
    if (!(value >= 1 && value <= m_oRows->RowCount()) || value != std::floor(value)) {
        RaiseBadArgument("not a bookmark of this recordset");
    }
    const auto row = static_cast<uint32_t>(value) - 1;
    const int32_t position = m_oRows->IsDeleted(row) ? -1 : PositionOfRow(row);
    if (position < 0) {
        RaiseBadArgument("the bookmark's row is not in the recordset");
    }
    return position;
}

// An unsorted view is ascending (live rows in id order, filtered, and rows appended later have
// higher ids), so a binary search serves; a sorted one gets an index from row id to position.
int32_t Recordset::PositionOfRow(uint32_t p_lRow) {
    const std::vector<uint32_t>& view = View();
    if (m_sortKeys.empty()) {
        const auto found = std::lower_bound(view.begin(), view.end(), p_lRow);
        return found != view.end() && *found == p_lRow ? static_cast<int32_t>(found - view.begin())
                                                       : -1;
    }
    if (m_positionByRow.empty()) {
        m_positionByRow.assign(m_oRows->RowCount(), -1);
        for (size_t i = 0; i < view.size(); ++i) {
            m_positionByRow[view[i]] = static_cast<int32_t>(i);
        }
    }
    return p_lRow < m_positionByRow.size() ? m_positionByRow[p_lRow] : -1;
}

void Recordset::MoveTo(int32_t p_lPosition) {
    m_eCursor = Cursor::Row;
    m_lPosition = p_lPosition;
}

void Recordset::MoveToFirst() {
    if (ViewSize() > 0) {
        MoveTo(0);
        return;
    }
    m_eCursor = Cursor::Bof;
    m_lPosition = -1;
}

void Recordset::MoveFirst() {
    RequireOpen();
    if (ViewSize() == 0) {
        RaiseRuntimeError(errors::kNoCurrentRecord);
    }
    const Cursor cursor = m_eCursor;
    const int32_t position = m_lPosition;
    EndEdit();
    MoveTo(0);
    TellMovedFrom(cursor, position);
}

void Recordset::MoveLast() {
    RequireOpen();
    if (ViewSize() == 0) {
        RaiseRuntimeError(errors::kNoCurrentRecord);
    }
    const Cursor cursor = m_eCursor;
    const int32_t position = m_lPosition;
    EndEdit();
    MoveTo(ViewSize() - 1);
    TellMovedFrom(cursor, position);
}

void Recordset::MoveNext() {
    if (IsEOF()) {
        RaiseRuntimeError(errors::kNoCurrentRecord);
    }
    Move(1);
}

void Recordset::MovePrevious() {
    if (IsBOF()) {
        RaiseRuntimeError(errors::kNoCurrentRecord);
    }
    Move(-1);
}

// A deleted row sits between the row before it and the one after it (at m_lPosition), so that
// Move(1) reaches the row after it and Move(-1) the row before.
void Recordset::Move(int32_t p_lNumRecords) {
    RequireOpen();
    const int64_t size = ViewSize();
    if ((p_lNumRecords == 0 && m_eCursor != Cursor::Row) || (p_lNumRecords > 0 && IsEOF()) ||
        (p_lNumRecords < 0 && IsBOF())) {
        RaiseRuntimeError(errors::kNoCurrentRecord);
    }
    const Cursor cursor = m_eCursor;
    const int32_t position = m_lPosition;
    EndEdit();
    int64_t from = m_lPosition;
    if (m_eCursor == Cursor::Eof) {
        from = size;
    } else if (m_eCursor == Cursor::Deleted && p_lNumRecords > 0) {
        from = m_lPosition - 1;
    }
    const int64_t target = from + p_lNumRecords;
    if (target < 0) {
        m_eCursor = Cursor::Bof;
        m_lPosition = -1;
    } else if (target >= size) {
        m_eCursor = Cursor::Eof;
        m_lPosition = static_cast<int32_t>(size);
    } else {
        MoveTo(static_cast<int32_t>(target));
    }
    TellMovedFrom(cursor, position);
}

int32_t Recordset::FieldIndex(std::string_view p_sField) const {
    const int32_t index = m_fields.IndexOf(p_sField);
    if (index < 0) {
        RaiseRuntimeError(errors::kItemNotFound, "field '" + std::string(p_sField) + "'");
    }
    return index;
}

Variant Recordset::Value(int32_t p_lField) const {
    const int32_t field = m_fields.Item(p_lField).Index();
    const uint32_t row = CurrentRow();
    return m_oRows->Get(row, static_cast<size_t>(field));
}

Variant Recordset::Value(std::string_view p_sField) const {
    return Value(FieldIndex(p_sField));
}

void Recordset::SetValue(int32_t p_lField, const Variant& p_vValue) {
    const int32_t field = m_fields.Item(p_lField).Index();
    const uint32_t row = CurrentRow();
    // Held: a listener may close or destroy this recordset.
    const std::shared_ptr<RowStore> rows = m_oRows;
    rows->Set(row, static_cast<size_t>(field), p_vValue, this);
}

void Recordset::SetValue(std::string_view p_sField, const Variant& p_vValue) {
    SetValue(FieldIndex(p_sField), p_vValue);
}

void Recordset::AddNew() {
    RequireOpen();
    EndEdit();
    m_lAppendEditMode = adEditAdd;
    const std::shared_ptr<RowStore> rows = m_oRows;
    rows->AppendRow({}, this);
}

void Recordset::AddNew(std::span<const Variant> p_values) {
    RequireOpen();
    if (p_values.size() > static_cast<size_t>(m_fields.Count())) {
        RaiseBadArgument(std::to_string(p_values.size()) + " values for " +
                         std::to_string(m_fields.Count()) + " fields");
    }
    EndEdit();
    m_lAppendEditMode = adEditNone;
    const std::shared_ptr<RowStore> rows = m_oRows;
    rows->AppendRow(p_values, this);
}

void Recordset::AddNew(std::initializer_list<Variant> p_values) {
    AddNew(std::span<const Variant>(p_values.begin(), p_values.size()));
}

void Recordset::EndEdit() {
    m_lEditMode = adEditNone;
}

void Recordset::Update() {
    RequireOpen();
    EndEdit();
}

void Recordset::UpdateBatch(int32_t p_lAffectRecords) {
    RequireOpen();
    EndEdit();
}

void Recordset::Delete(int32_t p_lAffectRecords) {
    RequireOpen();
    if (p_lAffectRecords != adAffectCurrent) {
        RaiseBadArgument("only the current row can be deleted");
    }
    const uint32_t row = CurrentRow();
    EndEdit();
    const std::shared_ptr<RowStore> rows = m_oRows;
    rows->DeleteRow(row);
}

Variant Recordset::Filter() const {
    return m_vFilter;
}

void Recordset::SetFilter(const Variant& p_vFilter) {
    RequireOpen();
    std::unique_ptr<CriteriaNode> criteria;
    if (!ClearsFilter(p_vFilter)) {
        if (!p_vFilter.IsString()) {
            RaiseBadArgument("Filter takes criteria text or adFilterNone");
        }
        criteria = ParseFilterCriteria(p_vFilter.ToString(), m_fields);
    }
    std::vector<uint32_t> rows = BuildView(criteria.get(), m_sortKeys);
    if (!Tell([](RecordsetObserver& observer) { observer.ViewAboutToBeReset(); })) {
        return;
    }
    m_vFilter = criteria ? p_vFilter : Variant(int32_t{adFilterNone});
    m_oFilter = std::move(criteria);
    UseView(std::move(rows));
    Tell([](RecordsetObserver& observer) { observer.ViewReset(); });
}

const std::string& Recordset::Sort() const {
    return m_sSort;
}

void Recordset::SetSort(std::string_view p_sSort) {
    RequireOpen();
    const bool clears = TrimLineBlanks(p_sSort).empty();
    std::vector<SortKey> keys;
    if (!clears) {
        keys = ParseSortKeys(p_sSort, m_fields);
    }
    std::vector<uint32_t> rows = BuildView(m_oFilter.get(), keys);
    const bool ownView = m_oFilter || !keys.empty();
    // Rows appended under a filter meet it again here, and may leave the view.
    const bool reordered = (ownView ? rows.size() : m_oRows->LiveRows().size()) == View().size();
    if (!reordered && !Tell([](RecordsetObserver& observer) { observer.ViewAboutToBeReset(); })) {
        return;
    }
    m_sortKeys = std::move(keys);
    m_sSort = clears ? std::string() : std::string(p_sSort);
    UseView(std::move(rows));
    if (reordered) {
        Tell([](RecordsetObserver& observer) { observer.ViewReordered(); });
        return;
    }
    Tell([](RecordsetObserver& observer) { observer.ViewReset(); });
}

// Built before anything changes, so that a failure leaves the old view in place.
std::vector<uint32_t> Recordset::BuildView(const CriteriaNode* p_oFilter,
                                           std::span<const SortKey> p_keys) const {
    std::vector<uint32_t> rows;
    if (p_oFilter == nullptr && p_keys.empty()) {
        return rows;
    }
    rows = p_oFilter != nullptr ? SelectRows(*p_oFilter, *m_oRows) : m_oRows->LiveRows();
    SortRows(*m_oRows, p_keys, rows);
    return rows;
}

void Recordset::UseView(std::vector<uint32_t> p_rows) {
    EndEdit();
    m_bOwnView = m_oFilter || !m_sortKeys.empty();
    m_view = std::move(p_rows);
    m_positionByRow.clear();
    MoveToFirst();
}

void Recordset::Find(std::string_view p_sCriteria, int32_t p_lSkipRecords,
                     int32_t p_lSearchDirection, const Variant& p_vStart) {
    RequireOpen();
    const std::unique_ptr<CriteriaNode> criteria = ParseFindCriteria(p_sCriteria, m_fields);
    if (p_lSearchDirection != adSearchForward && p_lSearchDirection != adSearchBackward) {
        RaiseBadArgument("search direction " + std::to_string(p_lSearchDirection));
    }
    if (p_lSkipRecords < 0) {
        RaiseBadArgument("skip " + std::to_string(p_lSkipRecords));
    }
    const bool forward = p_lSearchDirection == adSearchForward;
    Cursor cursor = m_eCursor;
    int64_t position = m_lPosition;
    if (!p_vStart.IsEmpty() && !p_vStart.IsMissing()) {
        cursor = Cursor::Row;
        position = PositionOfBookmark(p_vStart);
    }
    int64_t from = -1;
    if (forward && cursor != Cursor::Eof) {
        from = (cursor == Cursor::Bof ? 0 : position) + p_lSkipRecords;
    } else if (!forward && cursor != Cursor::Bof) {
        const int64_t last = cursor == Cursor::Eof ? ViewSize() : position;
        from = (cursor == Cursor::Row ? last : last - 1) - p_lSkipRecords;
    }
    const int32_t found = from < 0 || from >= ViewSize()
                              ? -1
                              : FindFrom(*criteria, static_cast<int32_t>(from), forward);
    const Cursor before = m_eCursor;
    const int32_t beforePosition = m_lPosition;
    EndEdit();
    if (found >= 0) {
        MoveTo(found);
    } else {
        m_eCursor = forward ? Cursor::Eof : Cursor::Bof;
        m_lPosition = forward ? ViewSize() : -1;
    }
    TellMovedFrom(before, beforePosition);
}

int32_t Recordset::FindFrom(const CriteriaNode& p_oCriteria, int32_t p_lFrom,
                            bool p_bForward) const {
    const int64_t size = ViewSize();
    if (p_bForward) {
        for (int64_t begin = p_lFrom; begin < size; begin += kFindSlice) {
            const int32_t found =
                FindInSlice(p_oCriteria, begin, std::min(size, begin + kFindSlice), true);
            if (found >= 0) {
                return found;
            }
        }
        return -1;
    }
    for (int64_t end = int64_t{p_lFrom} + 1; end > 0; end -= kFindSlice) {
        const int32_t found =
            FindInSlice(p_oCriteria, std::max(int64_t{0}, end - kFindSlice), end, false);
        if (found >= 0) {
            return found;
        }
    }
    return -1;
}

int32_t Recordset::FindInSlice(const CriteriaNode& p_oCriteria, int64_t p_lBegin, int64_t p_lEnd,
                               bool p_bForward) const {
    const auto count = static_cast<size_t>(p_lEnd - p_lBegin);
    std::vector<uint8_t> matches(count);
    p_oCriteria.Evaluate(*m_oRows, CriteriaRows{View().data() + p_lBegin, count}, MatchMerge::Set,
                         matches.data());
    for (size_t i = 0; i < count; ++i) {
        const size_t at = p_bForward ? i : count - 1 - i;
        if (matches[at] != 0) {
            return static_cast<int32_t>(p_lBegin + static_cast<int64_t>(at));
        }
    }
    return -1;
}

void Recordset::CopyFieldsTo(Recordset& p_rRecordset) const {
    for (int32_t i = 0; i < m_fields.Count(); ++i) {
        const Field& field = m_fields.Item(i);
        Field& copy = p_rRecordset.m_fields.Append(field.Name(), field.Type(), field.DefinedSize(),
                                                   field.Attributes());
        copy.SetPrecision(field.Precision());
        copy.SetNumericScale(field.NumericScale());
    }
    p_rRecordset.m_lCursorLocation = m_lCursorLocation;
    p_rRecordset.m_lLockType = m_lLockType;
}

std::shared_ptr<Recordset> Recordset::Clone() const {
    RequireOpen();
    auto clone = std::make_shared<Recordset>();
    CopyFieldsTo(*clone);
    clone->Attach(m_oRows);
    return clone;
}

std::shared_ptr<Recordset> Recordset::Copy() const {
    RequireOpen();
    auto copy = std::make_shared<Recordset>();
    CopyFieldsTo(*copy);
    copy->Attach(m_oRows->CopyRows(View()));
    return copy;
}

int32_t Recordset::ViewCount() const {
    RequireOpen();
    return ViewSize();
}

uint32_t Recordset::ViewRowId(int32_t p_lPosition) const {
    RequireOpen();
    if (p_lPosition < 0 || p_lPosition >= ViewSize()) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange,
                          "view position " + std::to_string(p_lPosition));
    }
    return View()[static_cast<size_t>(p_lPosition)];
}

Variant Recordset::ValueAt(uint32_t p_lRowId, int32_t p_lField) const {
    RequireOpen();
    if (p_lRowId >= m_oRows->RowCount() || m_oRows->IsDeleted(p_lRowId) || p_lField < 0 ||
        p_lField >= m_fields.Count()) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange, "row " + std::to_string(p_lRowId) +
                                                            ", field " + std::to_string(p_lField));
    }
    return m_oRows->Get(p_lRowId, static_cast<size_t>(p_lField));
}

const RowStore& Recordset::Rows() const {
    RequireOpen();
    return *m_oRows;
}

size_t Recordset::MemoryBytes() const {
    const size_t rows = m_oRows ? m_oRows->MemoryBytes() : 0;
    return rows + m_view.capacity() * sizeof(uint32_t) +
           m_positionByRow.capacity() * sizeof(int32_t);
}

void Recordset::RowAppended(uint32_t p_lRow, const RowStoreObserver* p_oBy) {
    if (m_bOwnView) {
        m_view.push_back(p_lRow);
    }
    m_positionByRow.clear();
    const int32_t position = ViewSize() - 1;
    if (p_oBy == this) {
        MoveTo(position);
        m_lEditMode = m_lAppendEditMode;
    }
    Hold({RowChange::Kind::Inserted, position, -1});
}

void Recordset::RowDeleting(uint32_t p_lRow, size_t p_lLivePosition) {
    auto found = m_view.end();
    if (m_bOwnView) {
        found = m_sortKeys.empty() ? std::lower_bound(m_view.begin(), m_view.end(), p_lRow)
                                   : std::find(m_view.begin(), m_view.end(), p_lRow);
        if (found == m_view.end() || *found != p_lRow) {
            return;
        }
    }
    const auto position =
        static_cast<int32_t>(m_bOwnView ? found - m_view.begin() : p_lLivePosition);
    if ((m_eCursor == Cursor::Row || m_eCursor == Cursor::Deleted) && m_lPosition > position) {
        --m_lPosition;
    } else if (m_eCursor == Cursor::Row && m_lPosition == position) {
        m_eCursor = Cursor::Deleted;
        EndEdit();
    }
    if (m_bOwnView) {
        m_view.erase(found);
    }
    m_positionByRow.clear();
    Hold({RowChange::Kind::Removed, position, -1});
}

void Recordset::ValueSet(uint32_t p_lRow, size_t p_lColumn, const RowStoreObserver* p_oBy) {
    if (p_oBy == this && m_lEditMode == adEditNone) {
        m_lEditMode = adEditInProgress;
    }
    if (m_observers.Empty()) {
        return;
    }
    const int32_t position = PositionOfRow(p_lRow);
    if (position >= 0) {
        Hold({RowChange::Kind::Value, position, static_cast<int32_t>(p_lColumn)});
    }
}

void Recordset::Hold(RowChange p_change) {
    if (!m_observers.Empty()) {
        m_held.push_back(p_change);
    }
}

void Recordset::ChangeDone() {
    if (m_held.empty()) {
        return;
    }
    // Taken out first: a listener's change of the rows holds its own.
    const std::vector<RowChange> held = std::exchange(m_held, {});
    for (const RowChange& change : held) {
        const bool alive = m_observers.Raise([&](RecordsetObserver& observer) {
            switch (change.What) {
                case RowChange::Kind::Inserted:
                    observer.RowsInserted(change.Position, change.Position);
                    break;
                case RowChange::Kind::Removed:
                    observer.RowsRemoved(change.Position, change.Position);
                    break;
                case RowChange::Kind::Value:
                    observer.ValueChanged(change.Position, change.Field);
                    break;
            }
        });
        if (!alive) {
            return;
        }
    }
}

Variant RecordsetVariant(std::shared_ptr<Recordset> p_rRecordset) {
    return Variant(std::shared_ptr<DispatchObject>(std::move(p_rRecordset)));
}

std::shared_ptr<Recordset> RecordsetOf(const Variant& p_vValue) {
    return p_vValue.IsObject() ? p_vValue.ToObjectAs<Recordset>() : nullptr;
}

std::shared_ptr<Recordset> ExpectRecordset(const Variant& p_vValue, const std::string& p_sDetail) {
    if (p_vValue.IsNothing() || p_vValue.IsEmpty()) {
        return nullptr;
    }
    auto recordset = p_vValue.ToObjectAs<Recordset>();
    if (!recordset) {
        RaiseRuntimeError(errors::kTypeMismatch, p_sDetail);
    }
    return recordset;
}

}  // namespace qv
