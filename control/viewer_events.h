// The events the viewer control raises to its host, and their late-bound form.
//
// A host derives from ViewerEvents and overrides what it listens to; the other events do
// nothing. The members are declared in the order of the control's event interface. Arguments
// passed by reference (DoubleClick's symbol, the type and date of ShowStockA and ShowInfo) may be
// changed by the handler; the control reads them back.
//
// A host that binds late (another language, the host framework) takes ViewerEventDispatcher
// instead: every event arrives as its name and its arguments as Variants, and by-reference
// arguments written by the handler are copied back into the event's parameters.
//
//     auto sink = std::make_shared<ViewerEventDispatcher>(
//         [](std::string_view name, std::span<Variant> args) { log(name, args); });
//     viewer->AddSink(sink);
#pragma once

#include "outside/variant.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

class ViewerEvents {
  public:
    virtual ~ViewerEvents() = default;

    virtual void LayoutCustomized() {}
    virtual void LayoutLoaded(int32_t p_lLayoutId) {}
    // Declared for the host; the control never raises it.
    virtual void LayoutAdded(int32_t p_lLayoutId, const std::string& p_sLayoutName,
                             int32_t p_lLayoutCount) {}
    virtual void LayoutDeleted(int32_t p_lLayoutId, int32_t p_lLayoutCount) {}
    virtual void DoubleClick(std::string& p_strSymbol) {}
    // A page address relative to the host's web server.
    virtual void Navigate(const std::string& p_sURL) {}
    virtual void ChangeSort() {}
    virtual void Find() {}
    // Declared for the host; the control never raises it.
    virtual void GetList(const std::string& p_sSearchString, int32_t p_lWatchListID,
                         double p_dteDate) {}
    virtual void SortCriteriaEdited(int32_t p_lPrimarySort, int32_t p_lPrimaryDirection,
                                    int32_t p_lSecondarySort, int32_t p_lSecondaryDirection,
                                    bool p_bRunQuery) {}
    // Declared for the host; the control never raises it.
    virtual void WatchListChanged(int16_t p_iWatchlistType, int32_t p_lOwnerId,
                                  int32_t p_lWatchListId, double p_dStartDate,
                                  const std::string& p_sAverageType) {}
    virtual void WatchListAdded(int16_t p_iWatchListType) {}
    // The keys of the rows the user asked to delete from the watch list.
    virtual void Delete(const std::string& p_sItems) {}
    virtual void ShowStockA(int16_t& p_iType, double& p_dDate) {}
    virtual void ShowInfo(int16_t& p_iType, double& p_dDate) {}
};

// Turns every event into a call of one function with the event's name and arguments.
class ViewerEventDispatcher : public ViewerEvents {
  public:
    using Handler = std::function<void(std::string_view p_sEvent, std::span<Variant> p_args)>;

    explicit ViewerEventDispatcher(Handler p_fnHandler) : m_fnHandler(std::move(p_fnHandler)) {}

    void LayoutCustomized() override;
    void LayoutLoaded(int32_t p_lLayoutId) override;
    void LayoutAdded(int32_t p_lLayoutId, const std::string& p_sLayoutName,
                     int32_t p_lLayoutCount) override;
    void LayoutDeleted(int32_t p_lLayoutId, int32_t p_lLayoutCount) override;
    void DoubleClick(std::string& p_strSymbol) override;
    void Navigate(const std::string& p_sURL) override;
    void ChangeSort() override;
    void Find() override;
    void GetList(const std::string& p_sSearchString, int32_t p_lWatchListID,
                 double p_dteDate) override;
    void SortCriteriaEdited(int32_t p_lPrimarySort, int32_t p_lPrimaryDirection,
                            int32_t p_lSecondarySort, int32_t p_lSecondaryDirection,
                            bool p_bRunQuery) override;
    void WatchListChanged(int16_t p_iWatchlistType, int32_t p_lOwnerId, int32_t p_lWatchListId,
                          double p_dStartDate, const std::string& p_sAverageType) override;
    void WatchListAdded(int16_t p_iWatchListType) override;
    void Delete(const std::string& p_sItems) override;
    void ShowStockA(int16_t& p_iType, double& p_dDate) override;
    void ShowInfo(int16_t& p_iType, double& p_dDate) override;

  private:
    void Raise(std::string_view p_sEvent, std::span<Variant> p_args) const;

    Handler m_fnHandler;
};

}  // namespace qv
