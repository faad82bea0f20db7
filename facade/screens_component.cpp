#include "facade/screens_component.h"

#include <optional>
#include <string>

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/recordset_conversion.h"
#include "facade/screen_criteria.h"
#include "facade/screen_store.h"
#include "outside/platform_context.h"
#include "outside/screen_limits.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

namespace get = facade_protocol::get_screens;
namespace save = facade_protocol::save_screen;
namespace del = facade_protocol::delete_screen;
namespace check = facade_protocol::check_screen;
using facade_protocol::Argument;

// The kind of rows of a result type: 0 stocks, 1 industry groups, 2 sectors.
std::optional<RowKind> RowKindOf(int32_t p_lResultType) {
    switch (p_lResultType) {
        case 0:
            return RowKind::Stock;
        case 1:
            return RowKind::Industry;
        case 2:
            return RowKind::Sector;
        default:
            return std::nullopt;
    }
}

RowKind RowKindArgument(const FacadeArguments& p_oArgs, const Argument& p_oType) {
    const int32_t resultType = p_oArgs.Long(p_oType);
    const std::optional<RowKind> rows = RowKindOf(resultType);
    if (!rows) {
        p_oArgs.Fail(p_oType, "there is no screen result type " + std::to_string(resultType) +
                                  " (0 stocks, 1 industry groups, 2 sectors)");
    }
    return *rows;
}

ScreenSql CriteriaArgument(const FacadeArguments& p_oArgs, const Argument& p_oCriteria,
                           RowKind p_eRows) {
    try {
        return CompileScreenCriteria(p_oArgs.Text(p_oCriteria), p_eRows);
    } catch (const ScreenCriteriaError& error) {
        p_oArgs.Fail(p_oCriteria, error.what());
    }
}

std::string NameArgument(const FacadeArguments& p_oArgs, const Argument& p_oName) {
    std::string name(TrimWhitespace(p_oArgs.Text(p_oName)));
    const std::string fault = ScreenNameFault(name);
    if (!fault.empty()) {
        p_oArgs.Fail(p_oName, fault);
    }
    return name;
}

std::string DescriptionOf(const ScreenRecord& p_oScreen) {
    const std::optional<RowKind> rows = RowKindOf(p_oScreen.m_lResultType);
    if (!rows) {
        return p_oScreen.m_sCriteria;
    }
    try {
        return CompileScreenCriteria(p_oScreen.m_sCriteria, *rows).m_sDescription;
    } catch (const ScreenCriteriaError&) {
        return p_oScreen.m_sCriteria;
    }
}

}  // namespace

Variant ScreensComponent::GetScreens(DispatchArgs p_args) {
    FacadeArguments args(get::kMethod, p_args);
    const int32_t ownerId = Owner(args, get::kOwnerId, OwnerAccess::Read);
    ResultTable table({{"Screen_ID", FieldKind::Integer},
                       {"Owner_ID", FieldKind::Integer},
                       {"Name", FieldKind::Text},
                       {"ResultType", FieldKind::Integer},
                       {"Criteria", FieldKind::Text},
                       {"Description", FieldKind::Text},
                       {"Modified", FieldKind::Date}});
    for (ScreenRecord& screen : ScreenStore(Backend().Database()).Screens(ownerId)) {
        std::string description = DescriptionOf(screen);
        table.AppendRow({int64_t{screen.m_lScreenId}, int64_t{screen.m_lOwnerId},
                         std::move(screen.m_sName), int64_t{screen.m_lResultType},
                         std::move(screen.m_sCriteria), std::move(description),
                         screen.m_dModified});
    }
    return RecordsetValue(std::move(table));
}

Variant ScreensComponent::SaveScreen(DispatchArgs p_args) {
    FacadeArguments args(save::kMethod, p_args);
    const int32_t ownerId = Owner(args, save::kOwnerId, OwnerAccess::Write);
    ScreenRecord screen;
    screen.m_lScreenId = args.Long(save::kScreenId);
    screen.m_sName = NameArgument(args, save::kName);
    const RowKind rows = RowKindArgument(args, save::kResultType);
    screen.m_lResultType = args.Long(save::kResultType);
    // Checked, not kept: the text is saved as typed and compiled again whenever it is read.
    CriteriaArgument(args, save::kCriteria, rows);
    screen.m_sCriteria = args.Text(save::kCriteria);
    screen.m_dModified = PlatformContext::Current().Time().Now();
    const std::optional<int32_t> savedId =
        ScreenStore(Backend().Database()).SaveScreen(ownerId, screen);
    if (!savedId) {
        args.Fail(save::kName, "there is already a screen named \"" + screen.m_sName + "\"");
    }
    args.Out(save::kScreenId) = *savedId;
    return true;
}

Variant ScreensComponent::DeleteScreen(DispatchArgs p_args) {
    FacadeArguments args(del::kMethod, p_args);
    const int32_t ownerId = Owner(args, del::kOwnerId, OwnerAccess::Write);
    const int32_t screenId = args.Long(del::kScreenId);
    ScreenStore screens(Backend().Database());
    const std::optional<ScreenRecord> screen = screens.Find(screenId);
    if (screen && screen->m_lOwnerId == kSystemOwnerId) {
        args.Fail(del::kScreenId, "screen " + std::to_string(screenId) +
                                      " is shipped with the market and cannot be deleted");
    }
    // Another owner's screen is not found: a caller learns nothing of what others keep.
    if (!screens.DeleteScreen(ownerId, screenId)) {
        args.Fail(del::kScreenId, "screen " + std::to_string(screenId) + " not found");
    }
    return true;
}

Variant ScreensComponent::CheckScreen(DispatchArgs p_args) {
    FacadeArguments args(check::kMethod, p_args);
    Owner(args, check::kOwnerId, OwnerAccess::Read);
    const RowKind rows = RowKindArgument(args, check::kResultType);
    const ScreenSql screen = CriteriaArgument(args, check::kCriteria, rows);
    const int64_t found =
        CountScreenRows(Backend().Database(), rows, screen, args.Day(check::kDate));
    args.Out(check::kDescription) = screen.m_sDescription;
    return static_cast<int32_t>(found);
}

const DispatchTable& ScreensComponent::Table() const {
    using Self = ScreensComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method(get::kMethod, get::kCount, get::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetScreens(args); })
            .Method(save::kMethod, save::kCount, save::kCount,
                    [](Self& self, DispatchArgs args) { return self.SaveScreen(args); })
            .Method(del::kMethod, del::kCount, del::kCount,
                    [](Self& self, DispatchArgs args) { return self.DeleteScreen(args); })
            .Method(check::kMethod, check::kCount, check::kCount,
                    [](Self& self, DispatchArgs args) { return self.CheckScreen(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
