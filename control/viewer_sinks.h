// The viewer control's listeners on its two grid controls and its two Grid wrappers: each
// forwards the events the control handles to the control's own handlers.
#pragma once

#include "control/viewer.h"
#include "control/viewer_events.h"
#include "grid/cell_formatting.h"
#include "grid/grid_events.h"
#include "outside/grid_control_events.h"

namespace qv {

class Viewer::PrimaryControlSink : public GridControlEvents {
  public:
    explicit PrimaryControlSink(Viewer& p_oViewer) : m_oViewer(p_oViewer) {}
    void Click() override { m_oViewer.PrimaryClick(); }
    void DblClick() override { m_oViewer.PrimaryDblClick(); }
    void HeadClick(int16_t p_iColIndex) override { m_oViewer.PrimaryHeadClick(p_iColIndex); }
    void RowColChange(const Variant&, int16_t) override { m_oViewer.SortSecondaryGrid(); }
    void MouseMove(int16_t, int16_t, int32_t p_lX, int32_t p_lY) override {
        m_oViewer.PrimaryMouseMove(p_lX, p_lY);
    }
    void MouseDown(int16_t p_iButton, int16_t, int32_t, int32_t) override {
        if (p_iButton == gmbRight) {
            m_oViewer.PrimaryClick();
        }
    }
    void MouseUp(int16_t p_iButton, int16_t, int32_t p_lX, int32_t p_lY) override {
        m_oViewer.PrimaryMouseUp(p_iButton, p_lX, p_lY);
    }
    void KeyDown(int16_t& p_iKeyCode, int16_t p_iShift) override {
        m_oViewer.PrimaryKeyDown(p_iKeyCode, p_iShift);
    }
    void FetchCellStyle(int16_t, int16_t, const Variant&, int16_t, std::string_view p_sCellText,
                        GridStyle& p_oCellStyle) override {
        GridUtilities::ApplyNegativeNumberStyle(p_sCellText, p_oCellStyle);
    }
    void ColMove(int16_t p_iPosition, bool&) override { m_oViewer.PrimaryColMove(p_iPosition); }

  private:
    Viewer& m_oViewer;
};

class Viewer::SecondaryControlSink : public GridControlEvents {
  public:
    explicit SecondaryControlSink(Viewer& p_oViewer) : m_oViewer(p_oViewer) {}
    void Click() override { m_oViewer.SecondaryClick(); }
    void MouseDown(int16_t p_iButton, int16_t, int32_t, int32_t) override {
        if (p_iButton == gmbRight) {
            m_oViewer.SecondaryClick();
        }
    }
    void FetchCellStyle(int16_t, int16_t, const Variant&, int16_t, std::string_view p_sCellText,
                        GridStyle& p_oCellStyle) override {
        GridUtilities::ApplyNegativeNumberStyle(p_sCellText, p_oCellStyle);
    }

  private:
    Viewer& m_oViewer;
};

class Viewer::PrimaryWrapperSink : public GridEvents {
  public:
    explicit PrimaryWrapperSink(Viewer& p_oViewer) : m_oViewer(p_oViewer) {}
    void Navigate(const std::string& p_sAddress) override { m_oViewer.PrimaryNavigate(p_sAddress); }
    void DblClick(const std::string& p_sAddress) override {
        m_oViewer.RaiseEvent([&](ViewerEvents& sink) { sink.Navigate(p_sAddress); });
    }
    void AddToWatchList() override { m_oViewer.PrimaryAddToWatchList(); }
    void GridMenuClick(int32_t p_lItemId, const std::string& p_sItemTag) override {
        m_oViewer.GridMenuClick(p_lItemId, p_sItemTag);
    }
    void MultipleGraphSelect(int16_t& p_iCount, bool& p_bCancel) override {
        m_oViewer.PrimaryMultipleGraphSelect(p_iCount, p_bCancel);
    }
    void Delete(const std::string& p_sKeys) override { m_oViewer.PrimaryDelete(p_sKeys); }
    void QuickTest() override { m_oViewer.PrimaryQuickTest(); }

  private:
    Viewer& m_oViewer;
};

class Viewer::SecondaryWrapperSink : public GridEvents {
  public:
    explicit SecondaryWrapperSink(Viewer& p_oViewer) : m_oViewer(p_oViewer) {}
    void Navigate(const std::string& p_sAddress) override {
        m_oViewer.RaiseEvent([&](ViewerEvents& sink) { sink.Navigate(p_sAddress); });
    }
    void DblClick(const std::string& p_sAddress) override {
        m_oViewer.RaiseEvent([&](ViewerEvents& sink) { sink.Navigate(p_sAddress); });
    }
    void GridMenuClick(int32_t p_lItemId, const std::string& p_sItemTag) override {
        m_oViewer.GridMenuClick(p_lItemId, p_sItemTag);
    }

  private:
    Viewer& m_oViewer;
};

}  // namespace qv
