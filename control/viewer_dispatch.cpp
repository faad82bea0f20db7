// The viewer control's members by name, for hosts that bind late.
#include "control/viewer.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/recordset.h"

#include <algorithm>

namespace qv {

namespace {

using Builder = DispatchTable::Builder<Viewer>;

// A recordset argument: Nothing gives null, any other object is a type mismatch.
std::shared_ptr<Recordset> RecordsetArgument(const Variant& p_vValue) {
    if (p_vValue.IsNothing() || p_vValue.IsEmpty()) {
        return nullptr;
    }
    auto rows = p_vValue.ToObjectAs<Recordset>();
    if (!rows) {
        RaiseRuntimeError(errors::kTypeMismatch, "a recordset was expected");
    }
    return rows;
}

Variant RecordsetValue(std::shared_ptr<Recordset> p_rRows) {
    return p_rRows ? Variant(std::shared_ptr<DispatchObject>(std::move(p_rRows)))
                   : Variant::Nothing();
}

bool OptionalBool(DispatchArgs p_args, size_t p_lIndex, bool p_bDefault) {
    if (p_args.size() <= p_lIndex || p_args[p_lIndex].IsMissing()) {
        return p_bDefault;
    }
    return p_args[p_lIndex].ToBool();
}

void AddForwardingProperties(Builder& p_builder) {
    p_builder
        .Property(
            "ProgramsMask", [](Viewer& self) { return Variant(self.ProgramsMask()); },
            [](Viewer& self, const Variant& v) { self.SetProgramsMask(v.ToLong()); })
        .Property(
            "PortfolioID", [](Viewer& self) { return Variant(self.PortfolioID()); },
            [](Viewer& self, const Variant& v) { self.SetPortfolioID(v.ToLong()); })
        .Property(
            "WatchListId", [](Viewer& self) { return Variant(self.WatchListId()); },
            [](Viewer& self, const Variant& v) { self.SetWatchListId(v.ToLong()); })
        .Get("ParameterList", [](Viewer& self) { return RecordsetValue(self.ParameterList()); })
        .Set("ParameterList",
             [](Viewer& self, const Variant& v) { self.SetParameterList(RecordsetArgument(v)); })
        .Get("FinderResults", [](Viewer& self) { return RecordsetValue(self.FinderResults()); })
        .Set("FinderResults",
             [](Viewer& self, const Variant& v) { self.SetFinderResults(RecordsetArgument(v)); })
        .Property(
            "FinderResultsType", [](Viewer& self) { return Variant(self.FinderResultsType()); },
            [](Viewer& self, const Variant& v) { self.SetFinderResultsType(v.ToLong()); })
        .Property(
            "MaxRows", [](Viewer& self) { return Variant(self.MaxRows()); },
            [](Viewer& self, const Variant& v) { self.SetMaxRows(v.ToLong()); })
        .Property(
            "ReturnAll", [](Viewer& self) { return Variant(self.ReturnAll()); },
            [](Viewer& self, const Variant& v) { self.SetReturnAll(v.ToBool()); })
        .Property(
            "ServerAddress", [](Viewer& self) { return Variant(self.ServerAddress()); },
            [](Viewer& self, const Variant& v) { self.SetServerAddress(v.ToString()); })
        .Property(
            "GridLayoutPath", [](Viewer& self) { return Variant(self.GridLayoutPath()); },
            [](Viewer& self, const Variant& v) { self.SetGridLayoutPath(v.ToString()); })
        .Property(
            "LayoutInfo", [](Viewer& self) { return self.LayoutInfo(); },
            [](Viewer& self, const Variant& v) { self.SetLayoutInfo(v); })
        .Property(
            "AvgType", [](Viewer& self) { return Variant(self.AvgType()); },
            [](Viewer& self, const Variant& v) { self.SetAvgType(v.ToString()); })
        .Property(
            "IndCode", [](Viewer& self) { return Variant(self.IndCode()); },
            [](Viewer& self, const Variant& v) { self.SetIndCode(v.ToLong()); })
        .Property(
            "SectorCode", [](Viewer& self) { return Variant(self.SectorCode()); },
            [](Viewer& self, const Variant& v) { self.SetSectorCode(v.ToLong()); })
        .Property(
            "OwnerId", [](Viewer& self) { return Variant(self.OwnerId()); },
            [](Viewer& self, const Variant& v) { self.SetOwnerId(v.ToLong()); })
        .Property(
            "PortfolioName", [](Viewer& self) { return Variant(self.PortfolioName()); },
            [](Viewer& self, const Variant& v) { self.SetPortfolioName(v.ToString()); })
        .Property(
            "SearchName", [](Viewer& self) { return Variant(self.SearchName()); },
            [](Viewer& self, const Variant& v) { self.SetSearchName(v.ToString()); })
        .Property(
            "IsWin32", [](Viewer& self) { return Variant(self.IsWin32()); },
            [](Viewer& self, const Variant& v) { self.SetIsWin32(v.ToBool()); })
        .Property(
            "StartDate", [](Viewer& self) { return Variant::Date(self.StartDate()); },
            [](Viewer& self, const Variant& v) { self.SetStartDate(v.ToDate()); })
        .Property(
            "EndDate", [](Viewer& self) { return Variant::Date(self.EndDate()); },
            [](Viewer& self, const Variant& v) { self.SetEndDate(v.ToDate()); })
        .Get("BSHCaption", [](Viewer& self) { return Variant(self.BSHCaption()); })
        .Get("SortCaption", [](Viewer& self) { return Variant(self.SortCaption()); })
        .Get("StartTimeId", [](Viewer& self) { return Variant(self.StartTimeId()); })
        .Property(
            "Symbol", [](Viewer& self) { return Variant(self.Symbol()); },
            [](Viewer& self, const Variant& v) { self.SetSymbol(v.ToString()); })
        .Property(
            "ViewerType",
            [](Viewer& self) { return Variant(static_cast<int32_t>(self.ViewerType())); },
            [](Viewer& self, const Variant& v) { self.SetViewerType(v.ToLong()); });
}

void AddOwnProperties(Builder& p_builder) {
    p_builder
        .Property(
            "TimeCode", [](Viewer& self) { return Variant(self.TimeCode()); },
            [](Viewer& self, const Variant& v) { self.SetTimeCode(v.ToString()); })
        .Property(
            "PortFolioUpdatedDate",
            [](Viewer& self) { return Variant::Date(self.PortFolioUpdatedDate()); },
            [](Viewer& self, const Variant& v) { self.SetPortFolioUpdatedDate(v.ToDate()); })
        .Set("CompanyList",
             [](Viewer& self, const Variant& v) { self.SetCompanyList(RecordsetArgument(v)); })
        .Set("SectorList",
             [](Viewer& self, const Variant& v) { self.SetSectorList(RecordsetArgument(v)); })
        .Set("IndustryList",
             [](Viewer& self, const Variant& v) { self.SetIndustryList(RecordsetArgument(v)); })
        .Get("RecordCount", [](Viewer& self) { return Variant(self.RecordCount()); })
        .Get("ViewerTypeCaption", [](Viewer& self) { return Variant(self.ViewerTypeCaption()); })
        .Get("ViewerOtherCaption", [](Viewer& self) { return Variant(self.ViewerOtherCaption()); })
        .IndexedLet("StartDateStr", 1, 1,
                    [](Viewer& self, DispatchArgs args) {
                        self.SetStartDateStr(args[0].ToString());
                        // By reference: the host's text comes back as it was read.
                        std::string text = args[0].ToString();
                        std::replace(text.begin(), text.end(), '.', '/');
                        args[0] = Variant(text);
                    })
        .Let("RemoteServer",
             [](Viewer& self, const Variant& v) { self.SetRemoteServer(v.ToString()); })
        .Get("EventClass", [](Viewer&) { return Variant::Nothing(); })
        .Get("Win32Setup", [](Viewer& self) { return self.Win32Setup(); })
        .Get("Win32Key", [](Viewer& self) { return Variant(self.Win32Key()); })
        .Get("SelectedGridType", [](Viewer& self) { return Variant(self.SelectedGridType()); });
}

void AddMethods(Builder& p_builder) {
    p_builder
        .Method("UpdateViewer", 0, 2,
                [](Viewer& self, DispatchArgs args) {
                    return Variant(self.UpdateViewer(OptionalBool(args, 0, true),
                                                     OptionalBool(args, 1, false)));
                })
        .Method("ClearViewer", 0, 0, [](Viewer& self, DispatchArgs) { return self.ClearViewer(); })
        .Method("ClearResults", 0, 1,
                [](Viewer& self, DispatchArgs args) {
                    self.ClearResults(args.empty() ? Variant::Missing() : args[0]);
                    return Variant();
                })
        .Method("ChangeRunningStatus", 0, 2,
                [](Viewer& self, DispatchArgs args) {
                    const bool given = !args.empty() && !args[0].IsMissing();
                    self.ChangeRunningStatus(given ? args[0].ToString() : "",
                                             OptionalBool(args, 1, false));
                    return Variant();
                })
        .Method("ShowDetails", 0, 0,
                [](Viewer& self, DispatchArgs) {
                    self.ShowDetails();
                    return Variant();
                })
        .Method("ShowStockA", 0, 0,
                [](Viewer& self, DispatchArgs) {
                    self.ShowStockA();
                    return Variant();
                })
        .Method("ResizeMe", 0, 0,
                [](Viewer& self, DispatchArgs) {
                    self.ResizeMe();
                    return Variant();
                })
        .Method("Destroy", 0, 0, [](Viewer& self, DispatchArgs) {
            self.Destroy();
            return Variant();
        });
}

}  // namespace

const DispatchTable& Viewer::Table() {
    static const DispatchTable table = [] {
        Builder builder;
        AddForwardingProperties(builder);
        AddOwnProperties(builder);
        AddMethods(builder);
        return builder.Build();
    }();
    return table;
}

Variant Viewer::Invoke(std::string_view p_sName, InvokeKind p_eKind, std::span<Variant> p_args) {
    return Table().Invoke(*this, p_sName, p_eKind, p_args);
}

}  // namespace qv
