#include "facade/layout_variant.h"

#include <string>

#include "facade/facade_arguments.h"
#include "outside/automation_error.h"

namespace qv::facade {

namespace {

constexpr int32_t kColumnRows = 7;

[[noreturn]] void Malformed(const std::string& p_sWhat) {
    throw AutomationError(errors::kTypeMismatch, kFacadeSource, "layout description, " + p_sWhat);
}

// The elements of a one-dimensional array of at least p_lCount elements, from its lower bound.
const VariantArray& Elements(const Variant& p_vValue, int32_t p_lCount, const char* p_sWhat) {
    if (!p_vValue.IsArray() || p_vValue.Array().Dimensions() != 1 ||
        p_vValue.Array().UBound() - p_vValue.Array().LBound() + 1 < p_lCount) {
        Malformed(std::string(p_sWhat) + ": not an array of " + std::to_string(p_lCount) +
                  " elements");
    }
    return p_vValue.Array();
}

// The part named by p_sWhat and, for a column table cell, the entry p_lEntry (-1: none); the
// label is only composed for a failure, as reading a description must stay cheap.
[[noreturn]] void MalformedPart(const char* p_sWhat, int32_t p_lEntry,
                                const AutomationError& p_oError) {
    Malformed((p_lEntry >= 0 ? "column " + std::to_string(p_lEntry) + ", " : std::string()) +
              p_sWhat + ": " + p_oError.Description());
}

int32_t LongOf(const Variant& p_vValue, const char* p_sWhat, int32_t p_lEntry = -1) {
    try {
        return p_vValue.ToLong();
    } catch (const AutomationError& oError) {
        MalformedPart(p_sWhat, p_lEntry, oError);
    }
}

std::string TextOf(const Variant& p_vValue, const char* p_sWhat, int32_t p_lEntry = -1) {
    try {
        return p_vValue.ToString();
    } catch (const AutomationError& oError) {
        MalformedPart(p_sWhat, p_lEntry, oError);
    }
}

Variant HeaderVariant(const LayoutRecord& p_oLayout) {
    return VariantArray::Vector({Variant(p_oLayout.m_lId), Variant(p_oLayout.m_sName),
                                 Variant(p_oLayout.m_sDescription), Variant(p_oLayout.m_lParentId),
                                 Variant(p_oLayout.m_lOwnerId)});
}

Variant SortVariant(const LayoutSort& p_oSort) {
    if (p_oSort.m_sSortText.empty()) {
        return Variant();
    }
    return VariantArray::Vector({Variant(p_oSort.m_sSortText), Variant(p_oSort.m_lPriSortId),
                                 Variant(p_oSort.m_lPriSortDir), Variant(p_oSort.m_lSecSortId),
                                 Variant(p_oSort.m_lSecSortDir)});
}

Variant TableVariant(const std::vector<LayoutColumn>& p_aColumns) {
    if (p_aColumns.empty()) {
        return Variant();
    }
    VariantArray aTable = VariantArray::Table(kColumnRows, static_cast<int32_t>(p_aColumns.size()));
    for (int32_t i = 0; i < static_cast<int32_t>(p_aColumns.size()); ++i) {
        const LayoutColumn& oColumn = p_aColumns[static_cast<size_t>(i)];
        aTable.At(0, i) = oColumn.m_lParameterId;
        aTable.At(1, i) = oColumn.m_lState;
        aTable.At(2, i) = oColumn.m_sSQLColumn;
        aTable.At(3, i) = oColumn.m_sCaption;
        aTable.At(4, i) = oColumn.m_lTableMask;
        aTable.At(5, i) = oColumn.m_lSequence;
        aTable.At(6, i) = oColumn.m_sColumnFormat;
    }
    return aTable;
}

LayoutSort SortOfVariant(const Variant& p_vSort) {
    if (p_vSort.IsEmpty()) {
        return {};
    }
    const VariantArray& aSort = Elements(p_vSort, 5, "sort block");
    const int32_t lFirst = aSort.LBound();
    return {TextOf(aSort.At(lFirst), "sort text"), LongOf(aSort.At(lFirst + 1), "primary sort id"),
            LongOf(aSort.At(lFirst + 2), "primary direction"),
            LongOf(aSort.At(lFirst + 3), "secondary sort id"),
            LongOf(aSort.At(lFirst + 4), "secondary direction")};
}

}  // namespace

Variant LayoutToVariant(const LayoutRecord& p_oLayout) {
    return VariantArray::Vector({HeaderVariant(p_oLayout), SortVariant(p_oLayout.m_oSort),
                                 TableVariant(p_oLayout.m_aColumns)});
}

int32_t LayoutIdOfVariant(const Variant& p_vDescription) {
    if (!p_vDescription.IsArray() || p_vDescription.Array().Dimensions() != 1 ||
        p_vDescription.Array().Size() < 1) {
        return 0;
    }
    const Variant& vHeader = p_vDescription.Array().At(p_vDescription.Array().LBound());
    if (!vHeader.IsArray() || vHeader.Array().Dimensions() != 1 || vHeader.Array().Size() < 1) {
        return 0;
    }
    try {
        return vHeader.Array().At(vHeader.Array().LBound()).ToLong();
    } catch (const AutomationError&) {
        return 0;
    }
}

std::optional<LayoutRecord> LayoutFromVariant(const Variant& p_vDescription) {
    if (p_vDescription.IsEmpty() || p_vDescription.IsMissing()) {
        return std::nullopt;
    }
    const VariantArray& aParts = Elements(p_vDescription, 3, "the description");
    const int32_t lFirst = aParts.LBound();
    std::vector<LayoutColumn> aColumns = ColumnsFromVariant(aParts.At(lFirst + 2));
    if (aColumns.empty()) {
        return std::nullopt;
    }
    const VariantArray& aHeader = Elements(aParts.At(lFirst), 5, "header");
    const int32_t lHeader = aHeader.LBound();
    LayoutRecord oLayout;
    oLayout.m_lId = LongOf(aHeader.At(lHeader), "layout id");
    oLayout.m_sName = TextOf(aHeader.At(lHeader + 1), "name");
    oLayout.m_sDescription = TextOf(aHeader.At(lHeader + 2), "description");
    oLayout.m_lParentId = LongOf(aHeader.At(lHeader + 3), "parent id");
    oLayout.m_lOwnerId = LongOf(aHeader.At(lHeader + 4), "owner id");
    oLayout.m_oSort = SortOfVariant(aParts.At(lFirst + 1));
    oLayout.m_aColumns = std::move(aColumns);
    return oLayout;
}

std::vector<LayoutColumn> ColumnsFromVariant(const Variant& p_vTable) {
    std::vector<LayoutColumn> aColumns;
    if (p_vTable.IsEmpty() || p_vTable.IsMissing()) {
        return aColumns;
    }
    if (!p_vTable.IsArray() || p_vTable.Array().Dimensions() != 2 ||
        p_vTable.Array().UBound(1) - p_vTable.Array().LBound(1) + 1 < kColumnRows) {
        Malformed("column table: not an array of 7 rows by n columns");
    }
    const VariantArray& aTable = p_vTable.Array();
    const int32_t lRow = aTable.LBound(1);
    for (int32_t i = aTable.LBound(2); i <= aTable.UBound(2); ++i) {
        aColumns.push_back({LongOf(aTable.At(lRow, i), "parameter id", i),
                            LongOf(aTable.At(lRow + 1, i), "state", i),
                            TextOf(aTable.At(lRow + 2, i), "SQL column", i),
                            TextOf(aTable.At(lRow + 3, i), "caption", i),
                            LongOf(aTable.At(lRow + 4, i), "table mask", i),
                            LongOf(aTable.At(lRow + 5, i), "sequence", i),
                            TextOf(aTable.At(lRow + 6, i), "column format", i)});
    }
    return aColumns;
}

}  // namespace qv::facade
