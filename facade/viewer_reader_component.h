// "QorvantOnlineFacade.ViewerFNtr": the lists, histories, layouts, field catalogue and name
// searches the viewer reads, with the argument orders its callers use.
//
// Arguments in the callers' order; "ref" marks a by-reference argument, "out" one the call writes
// back, "in/out" one it reads and writes back. Types: Long 32-bit, Integer 16-bit, Date a day
// (the time of day is dropped), Variant any, Recordset an object.
//
// StockViewer (returns the main Recordset; Nothing on a login conflict)
//    1 OwnerId Long, 2 LayoutId Long, 3 StartDate Date, 4 MaxRows Long in/out,
//    5 ReturnAll Boolean in/out, 6 AvgType String, 7 LayoutInfo Variant in/out,
//    8 SecondaryColumns Variant ref (a select list, "Field as [Field]"), 9 Rows Recordset out,
//    10 SecondaryRows Recordset out, 11 StartTimeId Long out, 12 IndCode Long,
//    13 SectorCode Long, 14 WatchListId Long, 15 WatchListName String out,
//    16 ParameterList Recordset out, 17 PortfolioID Long, 18 ListScope Integer,
//    19 TimeCode String, 20 TimeCodeFailed Boolean out
// SearchStocks (returns the Recordset found)
//    1 OwnerId Long, 2 LayoutId Long, 3 StartDate Date, 4 MaxRows Long, 5 SearchText String ref,
//    6 SearchOpt1 Integer ref, 7 SearchOpt2 Integer ref, 8 LayoutInfo Variant in/out,
//    9 SecondaryColumns Variant, 10 Rows Recordset out, 11 SecondaryRows Recordset out,
//    12 StartTimeId Long out, 13 WatchListId Long, 14 IndCode Long, 15 SectorCode Long
// GetSectorDetail (returns the sector's Recordset)
//    1 StartTimeId Long, 2 SectorCode Long ref, 3 AvgType String, 4 Columns Variant ref
// IndustryViewer (returns the main Recordset; Nothing on a login conflict)
//    1 OwnerId Long, 2 StartDate Date, 3 MaxRows Long in/out, 4 ReturnAll Boolean in/out,
//    5 AvgType String, 6 LayoutInfo Variant in/out, 7 SecondaryColumns Variant,
//    8 Rows Recordset out, 9 SecondaryRows Recordset out, 10 StartTimeId Long out,
//    11 SectorCode Long, 12 WatchListId Long, 13 ListScope Long in/out,
//    14 ParameterList Recordset out, 15 WatchListName String out, 16 TimeCode String,
//    17 TimeCodeFailed Boolean out
// SectorViewer (returns the Recordset; Nothing on a login conflict)
//    1 OwnerId Long, 2 StartDate Date, 3 MaxRows Long in/out, 4 ReturnAll Boolean in/out,
//    5 AvgType String, 6 LayoutInfo Variant in/out, 7 Rows Recordset out,
//    8 StartTimeId Long out, 9 ParameterList Recordset out, 10 TimeCode String,
//    11 TimeCodeFailed Boolean out
// SearchIndustries (returns the Recordset found)
//    1 OwnerId Long, 2 LayoutId Long, 3 StartDate Date, 4 MaxRows Long, 5 SearchText String ref,
//    6 SearchOpt1 Integer ref, 7 LayoutInfo Variant in/out, 8 SecondaryColumns Variant,
//    9 Rows Recordset out, 10 SecondaryRows Recordset out, 11 StartTimeId Long out,
//    12 ListScope Long in/out, 13 SectorCode Long, 14 WatchListId Long
// SearchSector (returns the Recordset found)
//    1 OwnerId Long, 2 LayoutId Long, 3 StartDate Date, 4 SearchText String ref,
//    5 SearchOpt1 Integer ref, 6 MaxRows Long, 7 LayoutInfo Variant in/out,
//    8 Rows Recordset out, 9 StartTimeId Long out
// HistoryStockEX, HistoryIndustryEX, HistorySectorEX (return the history Recordset)
//    1 StartDate Date, 2 EndDate Date, 3 Symbol String / IndCode Long / SectorCode Long,
//    4 LayoutInfo Variant in/out, 5 ParameterList Recordset out, 6 OwnerId Long,
//    7 MaxRows Long in/out, 8 ReturnAll Boolean in/out
// GetDefaultLayout (returns a layout description or Empty)
//    1 OwnerId Long ref, 2 ViewerType Integer ref, 3 FinderType Integer ref
// GetLayout (returns a layout description or Empty)
//    1 OwnerId Long, 2 LayoutId Long ref
// GetCustomFieldList (returns the ParameterList Recordset: the whole catalogue, for every owner
// and result type, since the viewer picks the fields of a grid by their table mask)
//    1 OwnerId Long, 2 ResultType Integer
// GetDefaultLayoutID (returns the Long id, 0 when there is none)
//    1 OwnerId Long, 2 PrintType Integer, 3 ResultType Integer ref
// SearchCompanyName (returns "CompanyName", "Symbol")
//    1 SearchText String, 2 IndCode Integer, 3 SectorCode Integer, 4 WatchListId Long,
//    5 Date String, 6 OwnerId Long (optional, for hosts; the viewer's search dialog sends none
//    and the session's owner is meant)
// SearchIndustryName (returns "IndName", "IndCode")
//    1 SearchText String, 2 SectorCode Integer, 3 WatchListId Long, 4 Date String,
//    5 OwnerId Long (optional, as for SearchCompanyName)
// SearchSectorName (returns "SectorName", "SectorCode")
//    1 SearchText String, 2 Date String
// getdefaultmaxrows (returns the Long row limit; an owner has one limit for every list kind)
//    1 ListKind Long, 2 MaxRows Long out, 3 ReturnAll Boolean out (False), 4 OwnerId Long
// GetLayoutNames, for hosts (returns "LayoutID", "Name": the owner's layouts, then the system's)
//    1 OwnerId Long, 2 ViewerType Integer
// Login, for hosts (returns the String time code, and makes the login the facade's session)
//    1 OwnerId Long, 2 Name String (optional: the owner's new name; a name of another owner is
//    refused)
// RunScreen, for hosts (returns the finder-results Recordset)
//    1 OwnerId Long, 2 ResultType Integer (0 or 5 stocks, 1 industries, 2 sectors),
//    3 Criteria Variant: array (0..2, 0..n-1) of field name, operator ("=", "<>", "<", "<=",
//      ">", ">="), value; Empty for none, 4 Date Date, 5 MaxRows Long (optional),
//    6 ReturnAll Boolean (optional: every row found, whatever MaxRows says)
//
// Owners: every call with an OwnerId is authorised against the session (owner_authority.h): the
// session's owner, or 0 (the system) for reading the system's layouts and the market lists; any
// other owner, or a call without a session, is refused. GetSectorDetail, GetCustomFieldList and
// SearchSectorName read system data only and need no session.
//
// What the lists answer:
// - Rows of the layout in force: the description sent when it holds columns, else the layout of
//   the id (the header's id where the call has no id argument) when the owner may read it, else
//   the owner's default; the description used is written back. Rows carry the fields the layout
//   fetches (hidden columns are not fetched) and the key fields (market_lists.h), ordered by the
//   layout's sort.
// - MaxRows and ReturnAll as market_lists.h resolves them, written back.
// - StartTimeId: the trading day the rows belong to, as a day serial: the latest trading day on
//   or before the date asked for. GetSectorDetail takes it back to read the same day.
// - A login conflict (a newer login of the session's owner than the session's login or than
//   TimeCode) sets TimeCodeFailed and writes back nothing else.
// - A watch list or portfolio scopes a list, or a name search, only for its owner: another
//   owner's lists no rows.
// - Searches: SearchOpt1 1 searches company names starting with the text; otherwise the text
//   is a list of symbols (stocks) or codes (industries, sectors) separated by commas, and for
//   industries and sectors a text that is not a list of codes searches names.
#pragma once

#include "facade/facade_component.h"

namespace qv::facade {

class ViewerReaderComponent : public FacadeComponent {
  public:
    using FacadeComponent::FacadeComponent;

    std::string_view DispatchClassName() const override { return "ViewerFNtr"; }

    Variant StockViewer(DispatchArgs p_args);
    Variant SearchStocks(DispatchArgs p_args);
    Variant GetSectorDetail(DispatchArgs p_args);
    Variant IndustryViewer(DispatchArgs p_args);
    Variant SectorViewer(DispatchArgs p_args);
    Variant SearchIndustries(DispatchArgs p_args);
    Variant SearchSector(DispatchArgs p_args);
    Variant History(std::string_view p_sMethod, int32_t p_lViewerType, DispatchArgs p_args);
    Variant GetDefaultLayout(DispatchArgs p_args);
    Variant GetLayout(DispatchArgs p_args);
    Variant GetCustomFieldList(DispatchArgs p_args);
    Variant GetDefaultLayoutID(DispatchArgs p_args);
    Variant SearchCompanyName(DispatchArgs p_args);
    Variant SearchIndustryName(DispatchArgs p_args);
    Variant SearchSectorName(DispatchArgs p_args);
    Variant GetDefaultMaxRows(DispatchArgs p_args);
    Variant GetLayoutNames(DispatchArgs p_args);
    Variant Login(DispatchArgs p_args);
    Variant RunScreen(DispatchArgs p_args);

  protected:
    const DispatchTable& Table() const override;
};

}  // namespace qv::facade
