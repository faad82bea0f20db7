// The viewer control's members by name, for hosts that bind late.
#include "control/viewer.h"

#include "outside/dispatch_table.h"
#include "outside/recordset.h"

#include <algorithm>
#include <type_traits>

namespace qv {

namespace {

using Builder = DispatchTable::Builder<Viewer>;

// By dispatch, a recordset property is assigned with set and every other property with let.
void AddAssignment(Builder& p_builder, const char* p_sName, bool p_bObject,
                   Builder::AssignFn p_fnAssign) {
    if (p_bObject) {
        p_builder.Set(p_sName, std::move(p_fnAssign));
    } else {
        p_builder.Let(p_sName, std::move(p_fnAssign));
    }
}

bool OptionalBool(DispatchArgs p_args, size_t p_lIndex, bool p_bDefault) {
    if (p_args.size() <= p_lIndex || p_args[p_lIndex].IsMissing()) {
        return p_bDefault;
    }
    return p_args[p_lIndex].ToBool();
}

// A get for every row of the table, and a let or set for each that can be assigned.
// clang-format off
#define QV_DISPATCH_FORWARDER(name, type, get, assign, member)                                 \
    p_builder.Get(#name, [](Viewer& self) {                                                    \
        return viewer_property::type::ToVariant(self.name());                                  \
    });                                                                                        \
    QV_VIEWER_ASSIGNABLE_##assign(                                                             \
        AddAssignment(p_builder, #name,                                                        \
                      std::is_same_v<viewer_property::type, viewer_property::RecordsetObject>, \
                      [](Viewer& self, const Variant& v) {                                     \
                          self.Set##name(viewer_property::type::FromVariant(v));               \
                      });)
// clang-format on

void AddForwardingProperties(Builder& p_builder) {
    QV_VIEWER_FORWARDERS(QV_DISPATCH_FORWARDER)
}
#undef QV_DISPATCH_FORWARDER

void AddOwnProperties(Builder& p_builder) {
    p_builder
        .Property(
            "ViewerType",
            [](Viewer& self) { return Variant(static_cast<int32_t>(self.ViewerType())); },
            [](Viewer& self, const Variant& v) { self.SetViewerType(v.ToLong()); })
        .Property(
            "TimeCode", [](Viewer& self) { return Variant(self.TimeCode()); },
            [](Viewer& self, const Variant& v) { self.SetTimeCode(v.ToString()); })
        .Property(
            "PortFolioUpdatedDate",
            [](Viewer& self) { return Variant::Date(self.PortFolioUpdatedDate()); },
            [](Viewer& self, const Variant& v) { self.SetPortFolioUpdatedDate(v.ToDate()); })
        .Set("CompanyList",
             [](Viewer& self, const Variant& v) {
                 self.SetCompanyList(viewer_property::RecordsetObject::FromVariant(v));
             })
        .Set("SectorList",
             [](Viewer& self, const Variant& v) {
                 self.SetSectorList(viewer_property::RecordsetObject::FromVariant(v));
             })
        .Set("IndustryList",
             [](Viewer& self, const Variant& v) {
                 self.SetIndustryList(viewer_property::RecordsetObject::FromVariant(v));
             })
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
        .Method("Sort", 0, 3,
                [](Viewer& self, DispatchArgs args) {
                    const bool listGiven = !args.empty() && !args[0].IsMissing();
                    const auto list = listGiven
                                          ? viewer_property::RecordsetObject::FromVariant(args[0])
                                          : nullptr;
                    const bool deltaGiven = args.size() > 2 && !args[2].IsMissing();
                    std::string delta = deltaGiven ? args[2].ToString() : std::string();
                    const bool sorted =
                        self.Sort(list, OptionalBool(args, 1, true), deltaGiven ? &delta : nullptr);
                    if (deltaGiven) {
                        args[2] = Variant(delta);
                    }
                    return Variant(sorted);
                })
        .Method("Destroy", 0, 0, [](Viewer& self, DispatchArgs) {
            self.Destroy();
            return Variant();
        });
}

// The layout commands; by-reference arguments are written back as the control left them.
void AddLayoutMethods(Builder& p_builder) {
    p_builder
        .Method("LoadDefaultLayout", 0, 2,
                [](Viewer& self, DispatchArgs args) {
                    const auto given = [&](size_t index) {
                        return args.size() > index && !args[index].IsMissing();
                    };
                    int16_t viewerType = given(0) ? args[0].ToInt() : int16_t{-1};
                    int16_t finderType = given(1) ? args[1].ToInt() : int16_t{-1};
                    self.LoadDefaultLayout(viewerType, finderType);
                    if (given(0)) {
                        args[0] = Variant(viewerType);
                    }
                    if (given(1)) {
                        args[1] = Variant(finderType);
                    }
                    return Variant();
                })
        .Method("LoadLayout", 1, 2,
                [](Viewer& self, DispatchArgs args) {
                    self.LoadLayout(args[0].ToLong(), OptionalBool(args, 1, false));
                    return Variant();
                })
        .Method("SaveLayout", 0, 1,
                [](Viewer& self, DispatchArgs args) {
                    return Variant(self.SaveLayout(OptionalBool(args, 0, false)));
                })
        .Method("DeleteLayout", 0, 0,
                [](Viewer& self, DispatchArgs) {
                    self.DeleteLayout();
                    return Variant();
                })
        .Method("RestoreDefaultLayout", 1, 1,
                [](Viewer& self, DispatchArgs args) {
                    bool userOnly = args[0].ToBool();
                    self.RestoreDefaultLayout(userOnly);
                    args[0] = Variant(userOnly);
                    return Variant();
                })
        .Method("CreateLayoutMenu", 1, 1,
                [](Viewer& self, DispatchArgs args) {
                    std::shared_ptr<DispatchObject> menu = args[0].ToObject();
                    return Variant(self.CreateLayoutMenu(menu));
                })
        .Method("HandleExMenuClick", 1, 1, [](Viewer& self, DispatchArgs args) {
            self.HandleExMenuClick(args[0].ToLong());
            return Variant();
        });
}

// The field customization's members; a recordset argument may be missing or Nothing.
void AddCustomizationMethods(Builder& p_builder) {
    const auto recordsetArg = [](DispatchArgs p_args, size_t p_lIndex) {
        return p_args.size() <= p_lIndex || p_args[p_lIndex].IsMissing()
                   ? nullptr
                   : ExpectRecordset(p_args[p_lIndex], "a recordset was expected");
    };
    p_builder
        .Method("Customize", 0, 2,
                [recordsetArg](Viewer& self, DispatchArgs args) {
                    bool save = OptionalBool(args, 1, true);
                    const bool result = self.Customize(recordsetArg(args, 0), save);
                    if (args.size() > 1 && !args[1].IsMissing()) {
                        args[1] = Variant(save);
                    }
                    return Variant(result);
                })
        .Method("CreateFieldRecordset", 0, 1,
                [recordsetArg](Viewer& self, DispatchArgs args) {
                    return RecordsetVariant(self.CreateFieldRecordset(recordsetArg(args, 0)));
                })
        .Method("CreateFieldRSFromLayout", 2, 2,
                [recordsetArg](Viewer& self, DispatchArgs args) {
                    return RecordsetVariant(self.CreateFieldRSFromLayout(
                        recordsetArg(args, 0), layout_codec::Parse(args[1])));
                })
        .Method("AddFieldToLayout", 6, 6,
                [](Viewer& self, DispatchArgs args) {
                    std::vector<LayoutColumn> table = layout_codec::ParseColumnTable(args[0]);
                    self.AddFieldToLayout(table, args[1].ToLong(), args[2].ToLong(),
                                          args[3].ToString(), args[4].ToString(), args[5].ToLong());
                    args[0] = layout_codec::ColumnTableToVariant(table);
                    return Variant();
                })
        .Method("ReFillParams", 0, 0, [](Viewer& self, DispatchArgs) {
            self.ReFillParams();
            return Variant();
        });
}

void AddNavigationMethods(Builder& p_builder) {
    p_builder.Method("RaiseNavigate", 1, 1, [](Viewer& self, DispatchArgs args) {
        self.RaiseNavigate(args[0].ToLong());
        return Variant();
    });
}

// The watch-list command and the host's read-outs for its portfolio pages.
void AddWatchListMethods(Builder& p_builder) {
    p_builder
        .Method("AddToWatchList", 0, 2,
                [](Viewer& self, DispatchArgs args) {
                    const bool listGiven =
                        !args.empty() && !args[0].IsMissing() && !args[0].IsNothing();
                    const bool typeGiven = args.size() > 1 && !args[1].IsMissing();
                    self.AddToWatchList(
                        listGiven ? ExpectRecordset(args[0], "a recordset was expected") : nullptr,
                        typeGiven ? args[1].ToLong() : 0);
                    return Variant();
                })
        .Get("PortfolioItems", [](Viewer& self) { return self.PortfolioItems(); })
        .Method("EditTrade", 0, 0, [](Viewer& self, DispatchArgs) { return self.EditTrade(); });
}

// The search members; FindSingleStock's text is by reference.
void AddSearchMethods(Builder& p_builder) {
    p_builder
        .Method("SearchStocks", 0, 1,
                [](Viewer& self, DispatchArgs args) {
                    const bool given = !args.empty() && !args[0].IsMissing();
                    self.SearchStocks(given ? args[0].ToString() : std::string());
                    return Variant();
                })
        .Method("FindSingleStock", 1, 1, [](Viewer& self, DispatchArgs args) {
            std::string symbol = args[0].ToString();
            const bool found = self.FindSingleStock(symbol);
            args[0] = Variant(symbol);
            return Variant(found);
        });
}

void AddQuickTestMethods(Builder& p_builder) {
    p_builder.Method("ShowQuickTest", 0, 0, [](Viewer& self, DispatchArgs) {
        self.ShowQuickTest();
        return Variant();
    });
}

// The export; its type is by reference.
void AddExportMethods(Builder& p_builder) {
    p_builder.Method("Export", 1, 1, [](Viewer& self, DispatchArgs args) {
        int32_t type = args[0].ToLong();
        const bool result = self.Export(type);
        args[0] = Variant(type);
        return Variant(result);
    });
}

void AddPrintMethods(Builder& p_builder) {
    p_builder
        .Method("PrintControl", 0, 0,
                [](Viewer& self, DispatchArgs) { return Variant(self.PrintControl()); })
        .Method("PrintSelected", 0, 1, [](Viewer& self, DispatchArgs args) {
            self.PrintSelected(OptionalBool(args, 0, false));
            return Variant();
        });
}

}  // namespace

Variant viewer_property::RecordsetObject::ToVariant(const Value& p_rValue) {
    return RecordsetVariant(p_rValue);
}

viewer_property::RecordsetObject::Value viewer_property::RecordsetObject::FromVariant(
    const Variant& p_vValue) {
    return ExpectRecordset(p_vValue, "a recordset was expected");
}

const DispatchTable& Viewer::Table() {
    static const DispatchTable table = [] {
        Builder builder;
        AddForwardingProperties(builder);
        AddOwnProperties(builder);
        AddMethods(builder);
        AddLayoutMethods(builder);
        AddCustomizationMethods(builder);
        AddNavigationMethods(builder);
        AddWatchListMethods(builder);
        AddSearchMethods(builder);
        AddQuickTestMethods(builder);
        AddExportMethods(builder);
        AddPrintMethods(builder);
        return builder.Build();
    }();
    return table;
}

Variant Viewer::Invoke(std::string_view p_sName, InvokeKind p_eKind, std::span<Variant> p_args) {
    return Table().Invoke(*this, p_sName, p_eKind, p_args);
}

bool Viewer::AnswersMember(std::string_view p_sName, InvokeKind p_eKind, int p_iArgs) {
    return Table().Answers(p_sName, p_eKind, p_iArgs);
}

}  // namespace qv
