#include "facade/layout_store.h"

#include <algorithm>
#include <string>
#include <utility>

#include "facade/owner_store.h"
#include "facade/sqlite_database.h"

namespace qv::facade {

namespace {

void ReadColumns(SqlDatabase& p_oDatabase, LayoutRecord& p_oLayout) {
    SqlStatement query = p_oDatabase.Prepare(
        "SELECT parameter_id, state, sql_column, caption, table_mask, sequence, column_format "
        "FROM layout_columns WHERE layout_id = ?1 ORDER BY position");
    query.BindInt64(1, p_oLayout.Header.Id);
    while (query.Step()) {
        LayoutColumn column;
        column.ParameterId = static_cast<int32_t>(query.ColumnInt64(0));
        column.State = static_cast<int32_t>(query.ColumnInt64(1));
        column.SQLColumn = query.ColumnText(2);
        column.Caption = query.ColumnText(3);
        column.TableMask = static_cast<int32_t>(query.ColumnInt64(4));
        column.Sequence = static_cast<int32_t>(query.ColumnInt64(5));
        column.ColumnFormat = query.ColumnText(6);
        p_oLayout.Columns.push_back(std::move(column));
    }
}

void WriteLayout(SqlDatabase& p_oDatabase, const LayoutRecord& p_oLayout) {
    SqlStatement header = p_oDatabase.Prepare(
        "INSERT INTO layouts (layout_id, owner_id, name, description, parent_id, data_type, "
        "finder_type, sort_text, pri_sort_id, pri_sort_dir, sec_sort_id, sec_sort_dir) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12) "
        "ON CONFLICT (layout_id) DO UPDATE SET owner_id = excluded.owner_id, name = excluded.name, "
        "description = excluded.description, parent_id = excluded.parent_id, "
        "data_type = excluded.data_type, finder_type = excluded.finder_type, "
        "sort_text = excluded.sort_text, pri_sort_id = excluded.pri_sort_id, "
        "pri_sort_dir = excluded.pri_sort_dir, sec_sort_id = excluded.sec_sort_id, "
        "sec_sort_dir = excluded.sec_sort_dir");
    const LayoutSort sort = p_oLayout.Sort.value_or(LayoutSort{});
    header.BindInt64(1, p_oLayout.Header.Id);
    header.BindInt64(2, p_oLayout.Header.OwnerId);
    header.BindText(3, p_oLayout.Header.Name);
    header.BindText(4, p_oLayout.Header.Description);
    header.BindInt64(5, p_oLayout.Header.ParentId);
    header.BindInt64(6, p_oLayout.m_lDataType);
    header.BindInt64(7, p_oLayout.m_lFinderType);
    header.BindText(8, sort.SortText);
    header.BindInt64(9, sort.PriSortId);
    header.BindInt64(10, sort.PriSortDir);
    header.BindInt64(11, sort.SecSortId);
    header.BindInt64(12, sort.SecSortDir);
    header.Run();

    SqlStatement clear = p_oDatabase.Prepare("DELETE FROM layout_columns WHERE layout_id = ?1");
    clear.BindInt64(1, p_oLayout.Header.Id);
    clear.Run();
    SqlStatement column = p_oDatabase.Prepare(
        "INSERT INTO layout_columns (layout_id, position, parameter_id, state, sql_column, "
        "caption, table_mask, sequence, column_format) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    int64_t position = 0;
    for (const LayoutColumn& entry : p_oLayout.Columns) {
        column.BindInt64(1, p_oLayout.Header.Id);
        column.BindInt64(2, position++);
        column.BindInt64(3, entry.ParameterId);
        column.BindInt64(4, entry.State);
        column.BindText(5, entry.SQLColumn);
        column.BindText(6, entry.Caption);
        column.BindInt64(7, entry.TableMask);
        column.BindInt64(8, entry.Sequence);
        column.BindText(9, entry.ColumnFormat);
        column.Run();
    }
}

}  // namespace

std::string SortTextOf(const LayoutDescription& p_oLayout) {
    return p_oLayout.Sort ? p_oLayout.Sort->SortText : std::string();
}

std::optional<LayoutRecord> LayoutStore::GetLayout(int32_t p_lLayoutId) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT layout_id, name, description, parent_id, owner_id, data_type, finder_type, "
        "sort_text, pri_sort_id, pri_sort_dir, sec_sort_id, sec_sort_dir "
        "FROM layouts WHERE layout_id = ?1");
    query.BindInt64(1, p_lLayoutId);
    if (!query.Step()) {
        return std::nullopt;
    }
    LayoutRecord layout;
    layout.Header.Id = static_cast<int32_t>(query.ColumnInt64(0));
    layout.Header.Name = query.ColumnText(1);
    layout.Header.Description = query.ColumnText(2);
    layout.Header.ParentId = static_cast<int32_t>(query.ColumnInt64(3));
    layout.Header.OwnerId = static_cast<int32_t>(query.ColumnInt64(4));
    layout.m_lDataType = static_cast<int32_t>(query.ColumnInt64(5));
    layout.m_lFinderType = static_cast<int32_t>(query.ColumnInt64(6));
    // A layout without a sort block is stored with an empty sort text.
    std::string sortText = query.ColumnText(7);
    if (!sortText.empty()) {
        layout.Sort = LayoutSort{std::move(sortText), static_cast<int32_t>(query.ColumnInt64(8)),
                                 static_cast<int32_t>(query.ColumnInt64(9)),
                                 static_cast<int32_t>(query.ColumnInt64(10)),
                                 static_cast<int32_t>(query.ColumnInt64(11))};
    }
    ReadColumns(m_oDatabase, layout);
    return layout;
}

std::optional<int32_t> LayoutStore::DefaultLayoutId(int32_t p_lOwnerId, int32_t p_lDataType,
                                                    int32_t p_lFinderType) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT layout_id FROM default_layouts "
        "WHERE owner_id = ?1 AND data_type = ?2 AND finder_type = ?3");
    query.BindInt64(1, p_lOwnerId);
    query.BindInt64(2, p_lDataType);
    query.BindInt64(3, p_lFinderType);
    if (!query.Step()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(query.ColumnInt64(0));
}

std::optional<LayoutRecord> LayoutStore::DefaultLayout(int32_t p_lOwnerId, int32_t p_lDataType,
                                                       int32_t p_lFinderType) {
    for (const int32_t owner : {p_lOwnerId, 0}) {
        for (const int32_t finderType : {p_lFinderType, -1}) {
            if (const auto id = DefaultLayoutId(owner, p_lDataType, finderType)) {
                return GetLayout(*id);
            }
        }
    }
    return std::nullopt;
}

int32_t LayoutStore::NextOwnerLayoutId() {
    const int64_t next = m_oDatabase.QueryInt64("SELECT max(layout_id) + 1 FROM layouts", 1);
    return static_cast<int32_t>(std::max<int64_t>(next, kFirstOwnerLayoutId));
}

std::optional<int32_t> LayoutStore::SaveLayout(int32_t p_lOwnerId, const LayoutRecord& p_oLayout) {
    if (p_lOwnerId <= 0) {
        return std::nullopt;
    }
    SqlTransaction work(m_oDatabase);
    OwnerStore(m_oDatabase).EnsureOwner(p_lOwnerId);
    LayoutRecord layout = p_oLayout;
    layout.Header.OwnerId = p_lOwnerId;
    const std::optional<LayoutRecord> existing = GetLayout(p_oLayout.Header.Id);
    const bool ownedByCaller = existing && existing->Header.OwnerId == p_lOwnerId;
    if (!ownedByCaller) {
        layout.Header.Id = NextOwnerLayoutId();
    }
    WriteLayout(m_oDatabase, layout);
    SetDefault(p_lOwnerId, layout.m_lDataType, layout.m_lFinderType, layout.Header.Id);
    work.Commit();
    return layout.Header.Id;
}

bool LayoutStore::DeleteLayout(int32_t p_lOwnerId, int32_t p_lLayoutId) {
    if (p_lOwnerId == 0) {
        return false;
    }
    SqlTransaction work(m_oDatabase);
    SqlStatement deleteRows =
        m_oDatabase.Prepare("DELETE FROM layouts WHERE layout_id = ?1 AND owner_id = ?2");
    deleteRows.BindInt64(1, p_lLayoutId);
    deleteRows.BindInt64(2, p_lOwnerId);
    deleteRows.Run();
    const bool deleted = m_oDatabase.ChangedRows() > 0;
    work.Commit();
    return deleted;
}

void LayoutStore::ClearOwnerDefault(int32_t p_lOwnerId, int32_t p_lDataType, int32_t p_lFinderType,
                                    bool p_bDeleteLayouts) {
    if (p_lOwnerId == 0) {
        return;
    }
    SqlTransaction work(m_oDatabase);
    SqlStatement clear = m_oDatabase.Prepare(
        "DELETE FROM default_layouts WHERE owner_id = ?1 AND data_type = ?2 AND finder_type = ?3");
    clear.BindInt64(1, p_lOwnerId);
    clear.BindInt64(2, p_lDataType);
    clear.BindInt64(3, p_lFinderType);
    clear.Run();
    if (p_bDeleteLayouts) {
        SqlStatement deleteRows = m_oDatabase.Prepare(
            "DELETE FROM layouts WHERE owner_id = ?1 AND data_type = ?2 AND finder_type = ?3");
        deleteRows.BindInt64(1, p_lOwnerId);
        deleteRows.BindInt64(2, p_lDataType);
        deleteRows.BindInt64(3, p_lFinderType);
        deleteRows.Run();
    }
    work.Commit();
}

std::vector<std::pair<int32_t, std::string>> LayoutStore::LayoutNames(int32_t p_lOwnerId,
                                                                      int32_t p_lDataType) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT layout_id, name FROM layouts WHERE data_type = ?2 AND owner_id IN (?1, 0) "
        "ORDER BY owner_id = 0, name, layout_id");
    query.BindInt64(1, p_lOwnerId);
    query.BindInt64(2, p_lDataType);
    std::vector<std::pair<int32_t, std::string>> names;
    while (query.Step()) {
        names.emplace_back(static_cast<int32_t>(query.ColumnInt64(0)), query.ColumnText(1));
    }
    return names;
}

void LayoutStore::PutLayout(const LayoutRecord& p_oLayout) {
    WriteLayout(m_oDatabase, p_oLayout);
}

void LayoutStore::SetDefault(int32_t p_lOwnerId, int32_t p_lDataType, int32_t p_lFinderType,
                             int32_t p_lLayoutId) {
    SqlStatement set = m_oDatabase.Prepare(
        "INSERT INTO default_layouts (owner_id, data_type, finder_type, layout_id) "
        "VALUES (?1, ?2, ?3, ?4) ON CONFLICT (owner_id, data_type, finder_type) "
        "DO UPDATE SET layout_id = excluded.layout_id");
    set.BindInt64(1, p_lOwnerId);
    set.BindInt64(2, p_lDataType);
    set.BindInt64(3, p_lFinderType);
    set.BindInt64(4, p_lLayoutId);
    set.Run();
}

}  // namespace qv::facade
