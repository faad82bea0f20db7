#include "facade/layout_store.h"

#include <algorithm>
#include <string>
#include <utility>

#include "facade/owner_store.h"
#include "facade/sqlite_database.h"

namespace qv::facade {

namespace {

void ReadColumns(SqliteDatabase& p_oDatabase, LayoutRecord& p_oLayout) {
    SqliteStatement oQuery = p_oDatabase.Prepare(
        "SELECT parameter_id, state, sql_column, caption, table_mask, sequence, column_format "
        "FROM layout_columns WHERE layout_id = ?1 ORDER BY position");
    oQuery.BindInt64(1, p_oLayout.Header.Id);
    while (oQuery.Step()) {
        LayoutColumn oColumn;
        oColumn.ParameterId = static_cast<int32_t>(oQuery.ColumnInt64(0));
        oColumn.State = static_cast<int32_t>(oQuery.ColumnInt64(1));
        oColumn.SQLColumn = oQuery.ColumnText(2);
        oColumn.Caption = oQuery.ColumnText(3);
        oColumn.TableMask = static_cast<int32_t>(oQuery.ColumnInt64(4));
        oColumn.Sequence = static_cast<int32_t>(oQuery.ColumnInt64(5));
        oColumn.ColumnFormat = oQuery.ColumnText(6);
        p_oLayout.Columns.push_back(std::move(oColumn));
    }
}

void WriteLayout(SqliteDatabase& p_oDatabase, const LayoutRecord& p_oLayout) {
    SqliteStatement oHeader = p_oDatabase.Prepare(
        "INSERT INTO layouts (layout_id, owner_id, name, description, parent_id, data_type, "
        "finder_type, sort_text, pri_sort_id, pri_sort_dir, sec_sort_id, sec_sort_dir) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12) "
        "ON CONFLICT (layout_id) DO UPDATE SET owner_id = excluded.owner_id, name = excluded.name, "
        "description = excluded.description, parent_id = excluded.parent_id, "
        "data_type = excluded.data_type, finder_type = excluded.finder_type, "
        "sort_text = excluded.sort_text, pri_sort_id = excluded.pri_sort_id, "
        "pri_sort_dir = excluded.pri_sort_dir, sec_sort_id = excluded.sec_sort_id, "
        "sec_sort_dir = excluded.sec_sort_dir");
    const LayoutSort oSort = p_oLayout.Sort.value_or(LayoutSort{});
    oHeader.BindInt64(1, p_oLayout.Header.Id);
    oHeader.BindInt64(2, p_oLayout.Header.OwnerId);
    oHeader.BindText(3, p_oLayout.Header.Name);
    oHeader.BindText(4, p_oLayout.Header.Description);
    oHeader.BindInt64(5, p_oLayout.Header.ParentId);
    oHeader.BindInt64(6, p_oLayout.m_lDataType);
    oHeader.BindInt64(7, p_oLayout.m_lFinderType);
    oHeader.BindText(8, oSort.SortText);
    oHeader.BindInt64(9, oSort.PriSortId);
    oHeader.BindInt64(10, oSort.PriSortDir);
    oHeader.BindInt64(11, oSort.SecSortId);
    oHeader.BindInt64(12, oSort.SecSortDir);
    oHeader.Run();

    SqliteStatement oClear = p_oDatabase.Prepare("DELETE FROM layout_columns WHERE layout_id = ?1");
    oClear.BindInt64(1, p_oLayout.Header.Id);
    oClear.Run();
    SqliteStatement oColumn = p_oDatabase.Prepare(
        "INSERT INTO layout_columns (layout_id, position, parameter_id, state, sql_column, "
        "caption, table_mask, sequence, column_format) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    int64_t llPosition = 0;
    for (const LayoutColumn& oEntry : p_oLayout.Columns) {
        oColumn.BindInt64(1, p_oLayout.Header.Id);
        oColumn.BindInt64(2, llPosition++);
        oColumn.BindInt64(3, oEntry.ParameterId);
        oColumn.BindInt64(4, oEntry.State);
        oColumn.BindText(5, oEntry.SQLColumn);
        oColumn.BindText(6, oEntry.Caption);
        oColumn.BindInt64(7, oEntry.TableMask);
        oColumn.BindInt64(8, oEntry.Sequence);
        oColumn.BindText(9, oEntry.ColumnFormat);
        oColumn.Run();
    }
}

}  // namespace

std::string SortTextOf(const LayoutDescription& p_oLayout) {
    return p_oLayout.Sort ? p_oLayout.Sort->SortText : std::string();
}

std::optional<LayoutRecord> LayoutStore::GetLayout(int32_t p_lLayoutId) {
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT layout_id, name, description, parent_id, owner_id, data_type, finder_type, "
        "sort_text, pri_sort_id, pri_sort_dir, sec_sort_id, sec_sort_dir "
        "FROM layouts WHERE layout_id = ?1");
    oQuery.BindInt64(1, p_lLayoutId);
    if (!oQuery.Step()) {
        return std::nullopt;
    }
    LayoutRecord oLayout;
    oLayout.Header.Id = static_cast<int32_t>(oQuery.ColumnInt64(0));
    oLayout.Header.Name = oQuery.ColumnText(1);
    oLayout.Header.Description = oQuery.ColumnText(2);
    oLayout.Header.ParentId = static_cast<int32_t>(oQuery.ColumnInt64(3));
    oLayout.Header.OwnerId = static_cast<int32_t>(oQuery.ColumnInt64(4));
    oLayout.m_lDataType = static_cast<int32_t>(oQuery.ColumnInt64(5));
    oLayout.m_lFinderType = static_cast<int32_t>(oQuery.ColumnInt64(6));
    // A layout without a sort block is stored with an empty sort text.
    std::string sSortText = oQuery.ColumnText(7);
    if (!sSortText.empty()) {
        oLayout.Sort = LayoutSort{std::move(sSortText), static_cast<int32_t>(oQuery.ColumnInt64(8)),
                                  static_cast<int32_t>(oQuery.ColumnInt64(9)),
                                  static_cast<int32_t>(oQuery.ColumnInt64(10)),
                                  static_cast<int32_t>(oQuery.ColumnInt64(11))};
    }
    ReadColumns(m_oDatabase, oLayout);
    return oLayout;
}

std::optional<int32_t> LayoutStore::DefaultLayoutId(int32_t p_lOwnerId, int32_t p_lDataType,
                                                    int32_t p_lFinderType) {
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT layout_id FROM default_layouts "
        "WHERE owner_id = ?1 AND data_type = ?2 AND finder_type = ?3");
    oQuery.BindInt64(1, p_lOwnerId);
    oQuery.BindInt64(2, p_lDataType);
    oQuery.BindInt64(3, p_lFinderType);
    if (!oQuery.Step()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(oQuery.ColumnInt64(0));
}

std::optional<LayoutRecord> LayoutStore::DefaultLayout(int32_t p_lOwnerId, int32_t p_lDataType,
                                                       int32_t p_lFinderType) {
    for (const int32_t lOwner : {p_lOwnerId, 0}) {
        for (const int32_t lFinderType : {p_lFinderType, -1}) {
            if (const auto lId = DefaultLayoutId(lOwner, p_lDataType, lFinderType)) {
                return GetLayout(*lId);
            }
        }
    }
    return std::nullopt;
}

int32_t LayoutStore::NextOwnerLayoutId() {
    const int64_t llNext = m_oDatabase.QueryInt64("SELECT max(layout_id) + 1 FROM layouts", 1);
    return static_cast<int32_t>(std::max<int64_t>(llNext, kFirstOwnerLayoutId));
}

std::optional<int32_t> LayoutStore::SaveLayout(int32_t p_lOwnerId, const LayoutRecord& p_oLayout) {
    if (p_lOwnerId <= 0) {
        return std::nullopt;
    }
    SqliteTransaction oWork(m_oDatabase);
    OwnerStore(m_oDatabase).EnsureOwner(p_lOwnerId);
    LayoutRecord oLayout = p_oLayout;
    oLayout.Header.OwnerId = p_lOwnerId;
    const std::optional<LayoutRecord> oExisting = GetLayout(p_oLayout.Header.Id);
    const bool bOwnedByCaller = oExisting && oExisting->Header.OwnerId == p_lOwnerId;
    if (!bOwnedByCaller) {
        oLayout.Header.Id = NextOwnerLayoutId();
    }
    WriteLayout(m_oDatabase, oLayout);
    SetDefault(p_lOwnerId, oLayout.m_lDataType, oLayout.m_lFinderType, oLayout.Header.Id);
    oWork.Commit();
    return oLayout.Header.Id;
}

bool LayoutStore::DeleteLayout(int32_t p_lOwnerId, int32_t p_lLayoutId) {
    if (p_lOwnerId == 0) {
        return false;
    }
    SqliteTransaction oWork(m_oDatabase);
    SqliteStatement oDelete =
        m_oDatabase.Prepare("DELETE FROM layouts WHERE layout_id = ?1 AND owner_id = ?2");
    oDelete.BindInt64(1, p_lLayoutId);
    oDelete.BindInt64(2, p_lOwnerId);
    oDelete.Run();
    const bool bDeleted = m_oDatabase.ChangedRows() > 0;
    oWork.Commit();
    return bDeleted;
}

void LayoutStore::ClearOwnerDefault(int32_t p_lOwnerId, int32_t p_lDataType, int32_t p_lFinderType,
                                    bool p_bDeleteLayouts) {
    if (p_lOwnerId == 0) {
        return;
    }
    SqliteTransaction oWork(m_oDatabase);
    SqliteStatement oClear = m_oDatabase.Prepare(
        "DELETE FROM default_layouts WHERE owner_id = ?1 AND data_type = ?2 AND finder_type = ?3");
    oClear.BindInt64(1, p_lOwnerId);
    oClear.BindInt64(2, p_lDataType);
    oClear.BindInt64(3, p_lFinderType);
    oClear.Run();
    if (p_bDeleteLayouts) {
        SqliteStatement oDelete = m_oDatabase.Prepare(
            "DELETE FROM layouts WHERE owner_id = ?1 AND data_type = ?2 AND finder_type = ?3");
        oDelete.BindInt64(1, p_lOwnerId);
        oDelete.BindInt64(2, p_lDataType);
        oDelete.BindInt64(3, p_lFinderType);
        oDelete.Run();
    }
    oWork.Commit();
}

std::vector<std::pair<int32_t, std::string>> LayoutStore::LayoutNames(int32_t p_lOwnerId,
                                                                      int32_t p_lDataType) {
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT layout_id, name FROM layouts WHERE data_type = ?2 AND owner_id IN (?1, 0) "
        "ORDER BY owner_id = 0, name, layout_id");
    oQuery.BindInt64(1, p_lOwnerId);
    oQuery.BindInt64(2, p_lDataType);
    std::vector<std::pair<int32_t, std::string>> aNames;
    while (oQuery.Step()) {
        aNames.emplace_back(static_cast<int32_t>(oQuery.ColumnInt64(0)), oQuery.ColumnText(1));
    }
    return aNames;
}

void LayoutStore::PutLayout(const LayoutRecord& p_oLayout) {
    WriteLayout(m_oDatabase, p_oLayout);
}

void LayoutStore::SetDefault(int32_t p_lOwnerId, int32_t p_lDataType, int32_t p_lFinderType,
                             int32_t p_lLayoutId) {
    SqliteStatement oSet = m_oDatabase.Prepare(
        "INSERT OR REPLACE INTO default_layouts (owner_id, data_type, finder_type, layout_id) "
        "VALUES (?1, ?2, ?3, ?4)");
    oSet.BindInt64(1, p_lOwnerId);
    oSet.BindInt64(2, p_lDataType);
    oSet.BindInt64(3, p_lFinderType);
    oSet.BindInt64(4, p_lLayoutId);
    oSet.Run();
}

}  // namespace qv::facade
