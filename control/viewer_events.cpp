#include "control/viewer_events.h"

#include <array>

namespace qv {

void ViewerEventDispatcher::Raise(std::string_view p_sEvent, std::span<Variant> p_args) const {
    if (m_fnHandler) {
        m_fnHandler(p_sEvent, p_args);
    }
}

void ViewerEventDispatcher::LayoutCustomized() {
    Raise("LayoutCustomized", {});
}

void ViewerEventDispatcher::LayoutLoaded(int32_t p_lLayoutId) {
    std::array<Variant, 1> args{Variant(p_lLayoutId)};
    Raise("LayoutLoaded", args);
}

void ViewerEventDispatcher::LayoutAdded(int32_t p_lLayoutId, const std::string& p_sLayoutName,
                                        int32_t p_lLayoutCount) {
    std::array<Variant, 3> args{Variant(p_lLayoutId), Variant(p_sLayoutName),
                                Variant(p_lLayoutCount)};
    Raise("LayoutAdded", args);
}

void ViewerEventDispatcher::LayoutDeleted(int32_t p_lLayoutId, int32_t p_lLayoutCount) {
    std::array<Variant, 2> args{Variant(p_lLayoutId), Variant(p_lLayoutCount)};
    Raise("LayoutDeleted", args);
}

void ViewerEventDispatcher::DoubleClick(std::string& p_strSymbol) {
    std::array<Variant, 1> args{Variant(p_strSymbol)};
    Raise("DoubleClick", args);
    p_strSymbol = args[0].ToString();
}

void ViewerEventDispatcher::Navigate(const std::string& p_sURL) {
    std::array<Variant, 1> args{Variant(p_sURL)};
    Raise("Navigate", args);
}

void ViewerEventDispatcher::ChangeSort() {
    Raise("ChangeSort", {});
}

void ViewerEventDispatcher::Find() {
    Raise("Find", {});
}

void ViewerEventDispatcher::GetList(const std::string& p_sSearchString, int32_t p_lWatchListID,
                                    double p_dteDate) {
    std::array<Variant, 3> args{Variant(p_sSearchString), Variant(p_lWatchListID),
                                Variant::Date(p_dteDate)};
    Raise("GetList", args);
}

void ViewerEventDispatcher::SortCriteriaEdited(int32_t p_lPrimarySort, int32_t p_lPrimaryDirection,
                                               int32_t p_lSecondarySort,
                                               int32_t p_lSecondaryDirection, bool p_bRunQuery) {
    std::array<Variant, 5> args{Variant(p_lPrimarySort), Variant(p_lPrimaryDirection),
                                Variant(p_lSecondarySort), Variant(p_lSecondaryDirection),
                                Variant(p_bRunQuery)};
    Raise("SortCriteriaEdited", args);
}

void ViewerEventDispatcher::WatchListChanged(int16_t p_iWatchlistType, int32_t p_lOwnerId,
                                             int32_t p_lWatchListId, double p_dStartDate,
                                             const std::string& p_sAverageType) {
    std::array<Variant, 5> args{Variant(p_iWatchlistType), Variant(p_lOwnerId),
                                Variant(p_lWatchListId), Variant::Date(p_dStartDate),
                                Variant(p_sAverageType)};
    Raise("WatchListChanged", args);
}

void ViewerEventDispatcher::WatchListAdded(int16_t p_iWatchListType) {
    std::array<Variant, 1> args{Variant(p_iWatchListType)};
    Raise("WatchListAdded", args);
}

void ViewerEventDispatcher::Delete(const std::string& p_sItems) {
    std::array<Variant, 1> args{Variant(p_sItems)};
    Raise("Delete", args);
}

void ViewerEventDispatcher::ShowStockA(int16_t& p_iType, double& p_dDate) {
    std::array<Variant, 2> args{Variant(p_iType), Variant::Date(p_dDate)};
    Raise("ShowStockA", args);
    p_iType = args[0].ToInt();
    p_dDate = args[1].ToDate();
}

void ViewerEventDispatcher::ShowInfo(int16_t& p_iType, double& p_dDate) {
    std::array<Variant, 2> args{Variant(p_iType), Variant::Date(p_dDate)};
    Raise("ShowInfo", args);
    p_iType = args[0].ToInt();
    p_dDate = args[1].ToDate();
}

}  // namespace qv
