// Recordset: the client-side recordset of the ADO client cursor library, with the behaviour the
// system relies on.
//
// A recordset is built by appending fields while it is closed, opening it and adding rows:
//
//     auto recordset = std::make_shared<Recordset>();
//     recordset->SetCursorLocation(adUseClient);
//     recordset->Fields().Append("Symbol", adVarChar, 10);
//     recordset->Fields().Append("Price", adDouble);
//     recordset->Open();
//     recordset->AddNew({Variant("IBM"), Variant(140.5)});
//     recordset->SetFilter("Price > 100");
//     recordset->SetSort("[Price] DESC, Symbol ASC");
//     for (recordset->MoveFirst(); !recordset->IsEOF(); recordset->MoveNext()) {
//         Variant symbol = recordset->Fields().Item("Symbol").Value();
//     }
//
// The rows live in a RowStore shared with every clone. What a recordset shows (its view) is the
// live rows that meet its Filter, ordered by its Sort, held as a vector of row ids, so that the
// row at a position is found in constant time. A bookmark is a row id plus one (a Double, as the
// client cursor gives them), so it stays valid in every clone and across filters and sorts.
//
// Behaviour kept from the library:
//   - RecordCount is the number of rows in the view. After Open, Filter and Sort the cursor is on
//     the first row of the view, or at BOF and EOF together when the view is empty.
//   - Move, MoveFirst, MoveLast, MoveNext, MovePrevious: moving forward at EOF, backward at BOF,
//     or at all in an empty view is error 3021; passing either end stops at BOF or EOF. Move(0)
//     is allowed only on a row.
//     AbsolutePosition is 1-based, adPosBOF (-2) at BOF, adPosEOF (-3) at EOF and adPosUnknown
//     (-1) in an empty view or on a deleted row.
//   - Filter reads adFilterNone (a Long 0) when none is set; "", Empty and 0 clear it. Sort ""
//     clears the sort.
//   - Find takes one comparison; it moves to the first match from the current row (after
//     p_lSkipRecords rows) in the direction given, or to EOF (BOF searching backward).
//   - AddNew appends a row to the shared rows, so every clone sees it, and moves to it. A row
//     appended while a view is filtered or sorted goes at the end of that view, and is filtered
//     and sorted with the others when Filter or Sort is next set.
//   - Delete removes the current row from every view. The cursor stays on the deleted row (values
//     are error 3021) until it moves: MoveNext goes to the row that followed it.
//   - Update and UpdateBatch end the edit; values are written into the rows as they are set, as
//     client-side data with batch optimistic locking shows them. Moving, AddNew, Filter, Sort and
//     Close end an edit first.
//   - A Clone shares the rows but has its own cursor, filter and sort. It starts unfiltered,
//     unsorted and on its first row.
//   - Fields.Append only while closed (3705). Other members need the recordset open (3704), but
//     for the stored properties and Filter and Sort, which read as none while closed. An unknown
//     field is error 3265 naming it; a value at BOF, EOF or on a deleted row is error 3021.
//   - Bad Filter, Sort or Find text (3001 syntax, 3265 unknown field, 13 a value of the wrong
//     type, each naming the text and the position) leaves filter, sort and current row as they
//     were.
//
// Observers (RecordsetObserver, such as a grid bound to the recordset) hear what happens to the
// view after it happened, whichever clone did it: rows inserted or removed and values changed
// (by view position and field), the cursor moved, the view reset (Open, Close, Filter, and a
// Sort that changed the number of rows, announced before and after) or put in another order (a
// Sort). A listener may change or destroy the recordset; the member that raised then touches
// nothing more.
//
// Not kept: the library rejects setting a Null into a field without adFldIsNullable; here every
// field takes Null, and attributes, DefinedSize, CursorLocation and LockType are stored values
// the recordset does not act on. Find starting at EOF (BOF backward) finds nothing instead of
// failing.
#pragma once

#include "outside/dispatch.h"
#include "outside/fields.h"
#include "outside/recordset_criteria.h"
#include "outside/recordset_rows.h"
#include "outside/recordset_sort.h"
#include "outside/sink_list.h"
#include "outside/variant.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum CursorLocationEnum : int32_t { adUseServer = 2, adUseClient = 3 };

enum LockTypeEnum : int32_t {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4,
};

enum ObjectStateEnum : int32_t { adStateClosed = 0, adStateOpen = 1 };
enum PositionEnum : int32_t { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };
enum EditModeEnum : int32_t { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };
enum SearchDirectionEnum : int32_t { adSearchBackward = -1, adSearchForward = 1 };
enum AffectEnum : int32_t { adAffectCurrent = 1, adAffectGroup = 2, adAffectAll = 3 };
enum FilterGroupEnum : int32_t { adFilterNone = 0 };

// Positions are in the recordset's view, after the change.
class RecordsetObserver : public Sink {
  public:
    virtual void ViewAboutToBeReset() {}
    virtual void ViewReset() {}
    virtual void ViewReordered() {}
    virtual void RowsInserted(int32_t p_lFirst, int32_t p_lLast) {}
    virtual void RowsRemoved(int32_t p_lFirst, int32_t p_lLast) {}
    virtual void ValueChanged(int32_t p_lPosition, int32_t p_lField) {}
    // To another row, to BOF or EOF; not told for the moves that come with the changes above.
    virtual void CursorMoved() {}
};

class Recordset : public DispatchObject, private RowStoreObserver {
  public:
    Recordset();
    ~Recordset() override;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    std::string_view DispatchClassName() const override { return "Recordset"; }

    qv::Fields& Fields() { return m_fields; }
    const qv::Fields& Fields() const { return m_fields; }

    int32_t CursorLocation() const { return m_lCursorLocation; }
    void SetCursorLocation(int32_t p_lCursorLocation) { m_lCursorLocation = p_lCursorLocation; }
    int32_t LockType() const { return m_lLockType; }
    void SetLockType(int32_t p_lLockType) { m_lLockType = p_lLockType; }
    int32_t State() const { return m_oRows ? adStateOpen : adStateClosed; }

    // Opens an empty set of rows with the appended fields (3705 when open). Close drops this
    // recordset's hold on the rows (clones keep them) and keeps the fields (3704 when closed).
    void Open();
    // Opens on rows read elsewhere, one column per field, each of the kind its field's type
    // stores and all of one length (3001 otherwise), on the first row. Fills a large recordset
    // without a Variant per value.
    void Open(std::vector<RowColumn> p_columns);
    void Close();

    bool IsBOF() const;
    bool IsEOF() const;
    int32_t RecordCount() const;
    int32_t AbsolutePosition() const;
    // Moves to the row at p_lPosition (1-based); adPosBOF and adPosEOF move to BOF and EOF, so
    // that a position read earlier can be restored. Other values are error 3001.
    void SetAbsolutePosition(int32_t p_lPosition);
    Variant Bookmark() const;
    // Moves to the row of p_vBookmark; a bookmark of no row in this view is error 3001.
    void SetBookmark(const Variant& p_vBookmark);

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(int32_t p_lNumRecords);

    // The values of the current row (see Field::Value).
    Variant Value(int32_t p_lField) const;
    Variant Value(std::string_view p_sField) const;
    void SetValue(int32_t p_lField, const Variant& p_vValue);
    void SetValue(std::string_view p_sField, const Variant& p_vValue);

    int32_t EditMode() const { return m_lEditMode; }
    // A new row of Nulls, current and in adEditAdd until Update.
    void AddNew();
    // A new row holding p_values in field order (Null for the fields beyond them), committed at
    // once. A value that does not convert to its field's type adds no row.
    void AddNew(std::span<const Variant> p_values);
    void AddNew(std::initializer_list<Variant> p_values);
    void Update();
    void UpdateBatch(int32_t p_lAffectRecords = adAffectAll);
    // Deletes the current row (3021 when there is none); only adAffectCurrent is supported.
    void Delete(int32_t p_lAffectRecords = adAffectCurrent);

    Variant Filter() const;
    void SetFilter(const Variant& p_vFilter);
    const std::string& Sort() const;
    void SetSort(std::string_view p_sSort);
    // p_lSearchDirection is adSearchForward or adSearchBackward; p_vStart, when not Empty or
    // Missing, is the bookmark of the row to start from instead of the current row.
    void Find(std::string_view p_sCriteria, int32_t p_lSkipRecords = 0,
              int32_t p_lSearchDirection = adSearchForward, const Variant& p_vStart = Variant());

    std::shared_ptr<Recordset> Clone() const;
    // An independent recordset with the same fields holding the rows of this view, in view
    // order; it starts unfiltered, unsorted and on its first row.
    std::shared_ptr<Recordset> Copy() const;

    // For painting a grid: the view's size, the row id at a 0-based view position, and the value
    // of a field in a row (by id, whatever the cursor). Ids and positions out of range are error
    // 9.
    int32_t ViewCount() const;
    uint32_t ViewRowId(int32_t p_lPosition) const;
    Variant ValueAt(uint32_t p_lRowId, int32_t p_lField) const;
    const RowStore& Rows() const;

    // Bytes held by the rows and this recordset's view.
    size_t MemoryBytes() const;

    void AddObserver(RecordsetObserver* p_oObserver) { m_observers.Add(p_oObserver); }
    void RemoveObserver(RecordsetObserver* p_oObserver) { m_observers.Remove(p_oObserver); }

  private:
    enum class Cursor : uint8_t { Bof, Row, Deleted, Eof };
    // A change of the shared rows, held until every clone has adjusted its view.
    struct RowChange {
        enum class Kind : uint8_t { Inserted, Removed, Value } What;
        int32_t Position;
        int32_t Field;
    };

    void RowAppended(uint32_t p_lRow, const RowStoreObserver* p_oBy) override;
    void RowDeleting(uint32_t p_lRow, size_t p_lLivePosition) override;
    void ValueSet(uint32_t p_lRow, size_t p_lColumn, const RowStoreObserver* p_oBy) override;
    void ChangeDone() override;
    void Hold(RowChange p_change);
    // Tells the observers; false when the recordset went away meanwhile.
    bool Tell(const std::function<void(RecordsetObserver&)>& p_fnTell);
    // Tells of a cursor move unless the cursor is where it was.
    void TellMovedFrom(Cursor p_eCursor, int32_t p_lPosition);

    void RequireOpen() const;
    uint32_t CurrentRow() const;
    int32_t FieldIndex(std::string_view p_sField) const;
    const std::vector<uint32_t>& View() const { return m_bOwnView ? m_view : m_oRows->LiveRows(); }
    int32_t ViewSize() const { return static_cast<int32_t>(View().size()); }
    int32_t PositionOfRow(uint32_t p_lRow);
    int32_t PositionOfBookmark(const Variant& p_vBookmark);
    void Attach(std::shared_ptr<RowStore> p_oRows);
    void OpenOn(std::shared_ptr<RowStore> p_oRows);
    void Detach();
    void CopyFieldsTo(Recordset& p_rRecordset) const;
    void EndEdit();
    // The rows of the view a filter and sort would give; empty when there are neither.
    std::vector<uint32_t> BuildView(const CriteriaNode* p_oFilter,
                                    std::span<const SortKey> p_keys) const;
    // Takes p_rows as the view of the filter and sort now set, on its first row.
    void UseView(std::vector<uint32_t> p_rows);
    void MoveTo(int32_t p_lPosition);
    void MoveToFirst();
    int32_t FindFrom(const CriteriaNode& p_oCriteria, int32_t p_lFrom, bool p_bForward) const;
    int32_t FindInSlice(const CriteriaNode& p_oCriteria, int64_t p_lBegin, int64_t p_lEnd,
                        bool p_bForward) const;

    qv::Fields m_fields;
    int32_t m_lCursorLocation = adUseServer;
    int32_t m_lLockType = adLockReadOnly;
    std::shared_ptr<RowStore> m_oRows;

    std::unique_ptr<CriteriaNode> m_oFilter;
    Variant m_vFilter;
    std::vector<SortKey> m_sortKeys;
    std::string m_sSort;
    bool m_bOwnView = false;
    std::vector<uint32_t> m_view;
    std::vector<int32_t> m_positionByRow;  // built on demand for a sorted view

    Cursor m_eCursor = Cursor::Bof;
    int32_t m_lPosition = -1;  // the row, or on a deleted row the position of the one after it
    int32_t m_lEditMode = adEditNone;
    int32_t m_lAppendEditMode = adEditNone;  // what the next row this recordset appends leaves

    SinkListOf<RecordsetObserver> m_observers;
    std::vector<RowChange> m_held;
};

// A recordset crosses dispatch as an Object Variant; none is Nothing.
Variant RecordsetVariant(std::shared_ptr<Recordset> p_rRecordset);

// The recordset p_vValue carries, or nullptr for any other value.
std::shared_ptr<Recordset> RecordsetOf(const Variant& p_vValue);

// For a value that must be a recordset or none: nullptr for Nothing and Empty, error 13 (Type
// mismatch) for any other value that is not a recordset, with p_sDetail when it is an object.
std::shared_ptr<Recordset> ExpectRecordset(const Variant& p_vValue, const std::string& p_sDetail);

}  // namespace qv
