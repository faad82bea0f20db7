// One column of a grid layout: the recordset field it shows, how it is shown and its state.
#pragma once

#include "columns/column_state.h"

#include <cstdint>
#include <string>
#include <utility>

namespace qv {

class GridColumn {
  public:
    // The format a column has until one is given.
    static constexpr const char* kDefaultColumnFormat = "##0.#0";

    // Index of the grid-control column created for this column.
    int32_t TrueGridColumnNumber() const { return m_lTrueGridColumnNumber; }
    void SetTrueGridColumnNumber(int32_t p_lNumber) { m_lTrueGridColumnNumber = p_lNumber; }

    // Bit n set: the column applies to a grid whose data type is n.
    int32_t TableMask() const { return m_lTableMask; }
    void SetTableMask(int32_t p_lTableMask) { m_lTableMask = p_lTableMask; }

    int32_t ParameterId() const { return m_lParameterId; }
    void SetParameterId(int32_t p_lParameterId) { m_lParameterId = p_lParameterId; }

    // 1-based display position within the grid.
    int32_t Sequence() const { return m_lSequence; }
    void SetSequence(int32_t p_lSequence) { m_lSequence = p_lSequence; }

    ColumnState GridColumn_State_Setting() const { return m_eState; }
    void SetGridColumn_State_Setting(ColumnState p_eState) { m_eState = p_eState; }

    // The recordset field shown; also the column's key in its collection, fixed when it is added.
    const std::string& SQLColumn() const { return m_sSQLColumn; }
    void SetSQLColumn(std::string p_sSQLColumn) { m_sSQLColumn = std::move(p_sSQLColumn); }

    const std::string& Caption() const { return m_sCaption; }
    void SetCaption(std::string p_sCaption) { m_sCaption = std::move(p_sCaption); }

    // 0 is the frozen left split, 1 the scrolling split.
    int16_t SplitNumber() const { return m_iSplitNumber; }
    void SetSplitNumber(int16_t p_iSplitNumber) { m_iSplitNumber = p_iSplitNumber; }

    // A number or date format, or "Left" / "Center" for a text column.
    const std::string& ColumnFormat() const { return m_sColumnFormat; }
    void SetColumnFormat(std::string p_sColumnFormat) {
        m_sColumnFormat = std::move(p_sColumnFormat);
    }

    // The default display width in twips for the parameter id; 0 (size to the caption) for ids
    // without a width of their own.
    int32_t ColumnWidth() const;

  private:
    int32_t m_lParameterId = 0;
    int32_t m_lSequence = 0;
    std::string m_sCaption;
    std::string m_sSQLColumn;
    ColumnState m_eState = static_cast<ColumnState>(0);
    int16_t m_iSplitNumber = 0;
    int32_t m_lTableMask = 0;
    int32_t m_lTrueGridColumnNumber = 0;
    std::string m_sColumnFormat = kDefaultColumnFormat;
};

}  // namespace qv
