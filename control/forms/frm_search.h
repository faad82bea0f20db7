// The Find dialog: a person finds a symbol, company, industry or sector in the list shown, picks
// names from a list fetched for a text, or asks the server for the rows.
//
// The dialog holds the logic of its controls: the search type (cboSearchType), the text
// (txtSearch), the names found (lstItems, several can be selected) and the buttons Find (cmdOK),
// Close (cmdCancel) and Display (cmdDisplay, shown only while the dialog is expanded). What a
// button asks for it raises to its events (frmSearchEvents): the viewer looks the text up and
// fills the list (FillList), or closes the dialog after a symbol was found (Unload). The dialog
// stays open until Display, Close or the viewer closes it; the owner then reads Cancelled,
// SearchString and OneCompanySelected.
//
//     frmSearch form;
//     form.SetEvents(&handlers);
//     form.Init(0, true);                  // stocks, the whole list is in the grid
//     form.TypeText("ib");                 // as the keys arrive: "IB"
//     form.cmdOK_Click();                  // raises FindNext("IB")
//
// A window shows the dialog through the platform's dialog runner and mirrors these controls; it
// hears every change of them through SetOnChanged and closes when Closed() becomes true.
#pragma once

#include "outside/dialog_runner.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class Recordset;

class frmSearchEvents {
  public:
    virtual ~frmSearchEvents() = default;
    // A local find of p_sText (a symbol, or several separated by commas).
    virtual void FindNext(const std::string& p_sText) {}
    // The names that start with p_sText, for FillList.
    virtual void GetLists(const std::string& p_sText) {}
    virtual void SearchChanged() {}
    virtual void ResetSearch() {}
};

class frmSearch : public ModalDialog {
  public:
    // The dialog's heights in twips: with the list and Display, and without them.
    static constexpr int32_t kExpandedHeight = 4455;
    static constexpr int32_t kCollapsedHeight = 1635;

    struct ListItem {
        std::string Text;
        int32_t ItemData = 0;
        bool Selected = false;
    };

    std::string DialogCaption() const override { return "Find"; }
    // The close box: as Close.
    void DismissDialog() override { cmdCancel_Click(); }

    void SetEvents(frmSearchEvents* p_oEvents) { m_oEvents = p_oEvents; }
    // Called after every change of a control or of the dialog's state, for a window that shows it.
    void SetOnChanged(std::function<void()> p_fnChanged) { m_fnChanged = std::move(p_fnChanged); }

    // p_iMode: 0 stocks, 1 industries, 2 sectors (another mode offers no search type);
    // p_bListFlag: the whole list is in the grid, so names are picked from it.
    void Init(int16_t p_iMode, bool p_bListFlag);
    // The names of p_rRows that start with the text (CompanyName, IndName or SectorName by mode;
    // the rows are left filtered by them), or the not-found line. Nothing for a null recordset.
    void FillList(const std::shared_ptr<Recordset>& p_rRows);

    // --- The controls, as a person uses them ---------------------------------------------------
    // The character a key press in the text box leaves ("" drops it): upper case; a space only
    // in a company-name search, a comma only where commas are allowed, never an apostrophe.
    std::string txtSearch_KeyPress(std::string_view p_sCharacter) const;
    // What the key presses of p_sText leave, character by character (a paste is typed alike).
    std::string KeptText(std::string_view p_sText) const;
    // Typing p_sText at the end of the text box, key by key.
    void TypeText(std::string_view p_sText);
    // The text box's new text (the Change event): the list is cleared and Find follows it.
    void SetText(const std::string& p_sText);
    const std::string& Text() const { return m_sText; }
    // Choosing a search type (the combo box's Click); -1 for none.
    void SetSearchTypeIndex(int32_t p_lIndex);
    int32_t SearchTypeIndex() const { return m_lTypeIndex; }
    const std::vector<std::string>& SearchTypes() const { return m_searchTypes; }
    bool SearchTypeEnabled() const { return m_bTypeEnabled; }
    const std::vector<ListItem>& Items() const { return m_items; }
    void SetItemSelected(int32_t p_lIndex, bool p_bSelected);
    // The list's current row (-1 for none).
    int32_t ListIndex() const { return m_lListIndex; }
    void SetListIndex(int32_t p_lIndex);
    bool FindEnabled() const { return m_bFindEnabled; }
    bool DisplayEnabled() const { return m_bDisplayEnabled; }
    void cmdOK_Click();
    void cmdDisplay_Click();
    void cmdCancel_Click();

    // --- The dialog's state ----------------------------------------------------------------------
    int32_t Height() const { return m_lHeight; }
    bool Expanded() const { return m_lHeight == kExpandedHeight; }
    bool Closed() const { return m_bClosed; }
    // Closes the dialog as its owner does after a symbol was found.
    void Unload();
    int16_t Mode() const { return m_iMode; }
    bool ListFlag() const { return m_bListFlag; }
    bool CommasAllowed() const { return m_bCommasAllowed; }
    bool IsFinder() const { return m_bIsFinder; }
    void SetIsFinder(bool p_bIsFinder) { m_bIsFinder = p_bIsFinder; }
    bool OneCompanySelected() const { return m_bOneCompanySelected; }
    bool Cancelled() const { return m_bCancelled; }
    void SetCancelled(bool p_bCancelled) { m_bCancelled = p_bCancelled; }
    const std::string& SearchString() const { return m_sSearchString; }
    // In mode 0: 1 for a company-name search, else 0; 2 in mode 1; 3 in mode 2.
    int16_t SearchType() const;
    // 1 when the names are picked from the grid, else 0.
    int16_t SearchLoc() const { return m_bListFlag ? 1 : 0; }

  private:
    std::string SelectedSearchType() const;
    void ShowNotFound();
    void Changed() const;

    frmSearchEvents* m_oEvents = nullptr;
    std::function<void()> m_fnChanged;
    int16_t m_iMode = 0;
    bool m_bListFlag = false;
    bool m_bCommasAllowed = false;
    bool m_bIsFinder = false;
    bool m_bOneCompanySelected = false;
    bool m_bCancelled = false;
    bool m_bClosed = false;
    std::string m_sSearchString;
    std::vector<std::string> m_searchTypes;
    int32_t m_lTypeIndex = -1;
    bool m_bTypeEnabled = true;
    std::string m_sText;
    std::vector<ListItem> m_items;
    int32_t m_lListIndex = -1;
    bool m_bFindEnabled = false;
    bool m_bDisplayEnabled = false;
    int32_t m_lHeight = kExpandedHeight;
};

}  // namespace qv
