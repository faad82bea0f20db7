// The state of one viewer: what the host asked for (list kind, owner, watch list or portfolio,
// dates, codes, limits), the sort, the column collections of both grids, the layout in force and
// the field catalogue of the data facade.
//
// Each strategy owns exactly one ViewerElements and the control reaches the state only through
// the current strategy, so a new viewer type starts from a fresh state. Nothing here catches a
// failure: a bad grid index, a malformed layout description or a recordset error propagates to
// the caller's handler.
//
//     auto elements = std::make_shared<ViewerElements>();
//     elements->SetParameterList(catalogue);
//     elements->SetSortInfo(13, 1, 4, 0);          // Sort() == "Price DESC, Symbol ASC"
//     LayoutDescription layout = elements->GridLayoutDescription();
#pragma once

#include "columns/viewer_type.h"
#include "outside/layout_description.h"
#include "outside/variant.h"
#include "state/grid_type.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace qv {

class GridColumns;
class GridLayout;
class Recordset;

class ViewerElements {
  public:
    // StartDate and EndDate start at the platform clock's "now"; GridLayout is a new record.
    ViewerElements();
    ~ViewerElements();
    ViewerElements(const ViewerElements&) = delete;
    ViewerElements& operator=(const ViewerElements&) = delete;

    // Display colours (RGB) the strategies choose and the layout loader applies.
    int32_t HighlightRowBackColor() const { return m_lHighlightRowBackColor; }
    void SetHighlightRowBackColor(int32_t p_lColor) { m_lHighlightRowBackColor = p_lColor; }
    int32_t HighlightRowForeColor() const { return m_lHighlightRowForeColor; }
    void SetHighlightRowForeColor(int32_t p_lColor) { m_lHighlightRowForeColor = p_lColor; }
    int32_t EvenRowForeColor() const { return m_lEvenRowForeColor; }
    void SetEvenRowForeColor(int32_t p_lColor) { m_lEvenRowForeColor = p_lColor; }
    int32_t EvenRowBackColor() const { return m_lEvenRowBackColor; }
    void SetEvenRowBackColor(int32_t p_lColor) { m_lEvenRowBackColor = p_lColor; }
    int32_t OddRowBackColor() const { return m_lOddRowBackColor; }
    void SetOddRowBackColor(int32_t p_lColor) { m_lOddRowBackColor = p_lColor; }
    int32_t OddRowForeColor() const { return m_lOddRowForeColor; }
    void SetOddRowForeColor(int32_t p_lColor) { m_lOddRowForeColor = p_lColor; }
    int32_t InactiveBackColor() const { return m_lInactiveBackColor; }
    void SetInactiveBackColor(int32_t p_lColor) { m_lInactiveBackColor = p_lColor; }
    int32_t HeadBackColor() const { return m_lHeadBackColor; }
    void SetHeadBackColor(int32_t p_lColor) { m_lHeadBackColor = p_lColor; }
    int32_t SecondaryBackColor() const { return m_lSecondaryBackColor; }
    void SetSecondaryBackColor(int32_t p_lColor) { m_lSecondaryBackColor = p_lColor; }
    int32_t SecondaryForeColor() const { return m_lSecondaryForeColor; }
    void SetSecondaryForeColor(int32_t p_lColor) { m_lSecondaryForeColor = p_lColor; }

    // Dates are day serials.
    double PortFolioUpdatedDate() const { return m_dPortFolioUpdatedDate; }
    void SetPortFolioUpdatedDate(double p_dDate) { m_dPortFolioUpdatedDate = p_dDate; }

    // The facade rejected the login time code: another user logged into the account.
    bool TimeCodeFailed() const { return m_bTimeCodeFailed; }
    void SetTimeCodeFailed(bool p_bFailed) { m_bTimeCodeFailed = p_bFailed; }
    const std::string& TimeCode() const { return m_sTimeCode; }
    void SetTimeCode(std::string p_sTimeCode) { m_sTimeCode = std::move(p_sTimeCode); }

    int32_t ProgramsMask() const { return m_lProgramsMask; }
    void SetProgramsMask(int32_t p_lMask) { m_lProgramsMask = p_lMask; }

    // The field catalogue: one row per field the facade can deliver.
    const std::shared_ptr<Recordset>& ParameterList() const { return m_rParameterList; }
    void SetParameterList(std::shared_ptr<Recordset> p_rParameterList) {
        m_rParameterList = std::move(p_rParameterList);
    }

    bool DoubleGrid() const { return m_bDoubleGrid; }
    void SetDoubleGrid(bool p_bDoubleGrid) { m_bDoubleGrid = p_bDoubleGrid; }

    int32_t PortfolioID() const { return m_lPortfolioID; }
    void SetPortfolioID(int32_t p_lId) { m_lPortfolioID = p_lId; }

    int32_t FinderResultsType() const { return m_lFinderResultsType; }
    void SetFinderResultsType(int32_t p_lType) { m_lFinderResultsType = p_lType; }
    const std::shared_ptr<Recordset>& FinderResults() const { return m_rFinderResults; }
    void SetFinderResults(std::shared_ptr<Recordset> p_rFinderResults) {
        m_rFinderResults = std::move(p_rFinderResults);
    }

    const std::string& BSHCaption() const { return m_sBSHCaption; }
    void SetBSHCaption(std::string p_sCaption) { m_sBSHCaption = std::move(p_sCaption); }
    const std::string& ServerAddress() const { return m_sServerAddress; }
    void SetServerAddress(std::string p_sAddress) { m_sServerAddress = std::move(p_sAddress); }
    const std::string& GridLayoutPath() const { return m_sGridLayoutPath; }
    void SetGridLayoutPath(std::string p_sPath) { m_sGridLayoutPath = std::move(p_sPath); }

    double StartDate() const { return m_dStartDate; }
    void SetStartDate(double p_dDate) { m_dStartDate = p_dDate; }
    double EndDate() const { return m_dEndDate; }
    void SetEndDate(double p_dDate) { m_dEndDate = p_dDate; }

    const std::string& Symbol() const { return m_sSymbol; }
    void SetSymbol(std::string p_sSymbol) { m_sSymbol = std::move(p_sSymbol); }
    const std::string& WatchListName() const { return m_sWatchListName; }
    void SetWatchListName(std::string p_sName) { m_sWatchListName = std::move(p_sName); }

    qv::ViewerType ViewerType() const { return m_eViewerType; }
    void SetViewerType(qv::ViewerType p_eViewerType) { m_eViewerType = p_eViewerType; }
    // FinderResultsType for finder results, otherwise the viewer type.
    int32_t ResultType() const;

    int32_t MaxRows() const { return m_lMaxRows; }
    void SetMaxRows(int32_t p_lMaxRows) { m_lMaxRows = p_lMaxRows; }
    bool ReturnAll() const { return m_bReturnAll; }
    void SetReturnAll(bool p_bReturnAll) { m_bReturnAll = p_bReturnAll; }

    // The column collection of a grid; reading a grid that holds none stores a new, empty one
    // first. Any index but gtPrimary and gtSecondary is error 9.
    std::shared_ptr<qv::GridColumns> GridColumns(GridType p_eGridType);
    void SetGridColumns(GridType p_eGridType, std::shared_ptr<qv::GridColumns> p_oColumns);

    const std::shared_ptr<qv::GridLayout>& GridLayout() const { return m_oGridLayout; }

    // The sort block of a layout description: Sort, PriSortFieldId, PriSortDir, SecSortFieldId,
    // SecSortDir; Empty when Sort is empty.
    Variant SortInfo() const;
    const std::string& Sort() const { return m_sSort; }
    // Sets the four sort members and Sort, and is their only writer (a layout's sort block comes
    // in through it too). Fields of data type 24 are never sort fields, ids 38
    // and 39 stand for 35 and 36, and a secondary field equal to the primary one is dropped.
    void SetSortInfo(int32_t p_lPriFieldId, int32_t p_lPriDir, int32_t p_lSecFieldId,
                     int32_t p_lSecDir);

    const Variant& SecGridFilter() const { return m_vSecGridFilter; }
    void SetSecGridFilter(Variant p_vFilter) { m_vSecGridFilter = std::move(p_vFilter); }

    int32_t StartTimeId() const { return m_lStartTimeId; }
    void SetStartTimeId(int32_t p_lId) { m_lStartTimeId = p_lId; }
    const std::string& AvgType() const { return m_sAvgType; }
    void SetAvgType(std::string p_sAvgType) { m_sAvgType = std::move(p_sAvgType); }
    int32_t IndCode() const { return m_lIndCode; }
    void SetIndCode(int32_t p_lCode) { m_lIndCode = p_lCode; }
    int32_t SectorCode() const { return m_lSectorCode; }
    void SetSectorCode(int32_t p_lCode) { m_lSectorCode = p_lCode; }

    // The catalogue's "Column_Name" of the sort fields; empty when there is none.
    std::string PriSortField() const;
    std::string SecSortField() const;
    // 0 or less: no primary sort field.
    int32_t PriSortFieldId() const { return m_lPriSortFieldId; }
    // -1: no secondary sort field.
    int32_t SecSortFieldId() const { return m_lSecSortFieldId; }
    // 0 ascending, anything else descending.
    int32_t PriSortDir() const { return m_lPriSortDir; }
    int32_t SecSortDir() const { return m_lSecSortDir; }

    int32_t WatchListId() const { return m_lWatchListId; }
    void SetWatchListId(int32_t p_lId) { m_lWatchListId = p_lId; }
    int32_t OwnerId() const { return m_lOwnerId; }
    void SetOwnerId(int32_t p_lId) { m_lOwnerId = p_lId; }

    // The layout of the primary grid, assembled from GridLayout, the sort (none while Sort is
    // empty) and the primary columns.
    LayoutDescription GridLayoutDescription();
    // Takes a layout apart into GridLayout, the sort and the primary columns, and points
    // LeftColIndex at the last entry with sequence 1. A layout without a sort block is error 13
    // and changes nothing.
    void SetGridLayoutDescription(const LayoutDescription& p_layout);
    // The same as the layout description the host and the data facade exchange; a malformed
    // description is an automation error naming what is wrong and changes nothing.
    Variant GridLayoutInfo();
    void SetGridLayoutInfo(const Variant& p_vLayoutInfo);

    int32_t LeftColIndex() const { return m_lLeftColIndex; }
    void SetLeftColIndex(int32_t p_lIndex) { m_lLeftColIndex = p_lIndex; }

    const std::string& PortfolioName() const { return m_sPortfolioName; }
    void SetPortfolioName(std::string p_sName) { m_sPortfolioName = std::move(p_sName); }
    const std::string& SearchName() const { return m_sSearchName; }
    void SetSearchName(std::string p_sName) { m_sSearchName = std::move(p_sName); }

    // The host is the desktop shell rather than a web page.
    bool IsWin32() const { return m_bIsWin32; }
    void SetIsWin32(bool p_bIsWin32) { m_bIsWin32 = p_bIsWin32; }

    // The "_Print" member of the viewer type; other values unchanged.
    qv::ViewerType PrintType() const;
    // The kind of rows shown: 0 stocks, 1 industries, 2 sectors, 3 portfolio holdings, or the
    // finder results type.
    int32_t MainResultData() const;

  private:
    std::optional<LayoutSort> SortBlock() const;
    std::string FieldNameOf(int32_t p_lParameterId) const;
    bool IsNeverSortField(int32_t p_lParameterId) const;

    int32_t m_lHighlightRowBackColor = 0;
    int32_t m_lHighlightRowForeColor = 0;
    int32_t m_lEvenRowForeColor = 0;
    int32_t m_lEvenRowBackColor = 0;
    int32_t m_lOddRowBackColor = 0;
    int32_t m_lOddRowForeColor = 0;
    int32_t m_lInactiveBackColor = 0;
    int32_t m_lHeadBackColor = 0;
    int32_t m_lSecondaryBackColor = 0;
    int32_t m_lSecondaryForeColor = 0;
    double m_dPortFolioUpdatedDate = 0;
    bool m_bTimeCodeFailed = false;
    std::string m_sTimeCode;
    int32_t m_lProgramsMask = 0;
    std::shared_ptr<Recordset> m_rParameterList;
    bool m_bDoubleGrid = false;
    int32_t m_lPortfolioID = 0;
    int32_t m_lFinderResultsType = 0;
    std::shared_ptr<Recordset> m_rFinderResults;
    std::string m_sBSHCaption;
    std::string m_sServerAddress;
    std::string m_sGridLayoutPath;
    double m_dStartDate = 0;
    double m_dEndDate = 0;
    std::string m_sSymbol;
    std::string m_sWatchListName;
    qv::ViewerType m_eViewerType = vt_Stocks;
    int32_t m_lMaxRows = 0;
    bool m_bReturnAll = false;
    std::array<std::shared_ptr<qv::GridColumns>, 2> m_oGridColumns;
    std::shared_ptr<qv::GridLayout> m_oGridLayout;
    std::string m_sSort;
    Variant m_vSecGridFilter;
    int32_t m_lStartTimeId = 0;
    std::string m_sAvgType;
    int32_t m_lIndCode = 0;
    int32_t m_lSectorCode = 0;
    int32_t m_lPriSortFieldId = 0;
    int32_t m_lSecSortFieldId = 0;
    int32_t m_lPriSortDir = 0;
    int32_t m_lSecSortDir = 0;
    int32_t m_lWatchListId = 0;
    int32_t m_lOwnerId = 0;
    int32_t m_lLeftColIndex = 0;
    std::string m_sPortfolioName;
    std::string m_sSearchName;
    bool m_bIsWin32 = false;
};

}  // namespace qv
