#include "control/forms/frm_search.h"

#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/recordset_criteria.h"
#include "outside/text_util.h"

#include <algorithm>

namespace qv {

namespace {

// The part of a company row ("Name -  SYMBOL") that FillList put after the name.
constexpr std::string_view kSymbolMark = "-  ";

struct ModeNames {
    const char* NameField;
    const char* KeyField;
    const char* NotFound;
};

ModeNames NamesOf(int16_t p_iMode) {
    switch (p_iMode) {
        case 1:
            return {"IndName", "IndCode", "Industry not found."};
        case 2:
            return {"SectorName", "SectorCode", "Sector not found."};
        default:
            return {"CompanyName", "Symbol", "Company not found."};
    }
}

std::string Trimmed(std::string_view p_sText) {
    return std::string(TrimSpaces(p_sText));
}

std::string TextOf(const Variant& p_vValue) {
    return p_vValue.IsNull() || p_vValue.IsEmpty() ? std::string() : p_vValue.ToString();
}

}  // namespace

void frmSearch::Init(int16_t p_iMode, bool p_bListFlag) {
    m_searchTypes.clear();
    m_lTypeIndex = -1;
    m_iMode = p_iMode;
    m_bListFlag = p_bListFlag;
    m_bCommasAllowed = false;
    m_bTypeEnabled = true;
    switch (p_iMode) {
        case 0:
            m_searchTypes = {"Symbol", "Company Name"};
            m_bCommasAllowed = true;
            break;
        case 1:
            m_searchTypes = {"Industry Name"};
            break;
        case 2:
            m_searchTypes = {"Sector Name"};
            break;
        default:
            break;
    }
    if (p_iMode == 1 || p_iMode == 2) {
        m_lHeight = kExpandedHeight;
        m_bTypeEnabled = false;
    }
    if (!m_searchTypes.empty()) {
        SetSearchTypeIndex(0);
    }
    Changed();
}

std::string frmSearch::SelectedSearchType() const {
    if (m_lTypeIndex < 0 || m_lTypeIndex >= static_cast<int32_t>(m_searchTypes.size())) {
        return std::string();
    }
    return ToUpperAscii(m_searchTypes[static_cast<size_t>(m_lTypeIndex)]);
}

int16_t frmSearch::SearchType() const {
    switch (m_iMode) {
        case 0:
            return m_lTypeIndex == 1 ? 1 : 0;
        case 1:
            return 2;
        case 2:
            return 3;
        default:
            return 0;
    }
}

std::string frmSearch::txtSearch_KeyPress(std::string_view p_sCharacter) const {
    if (p_sCharacter.size() != 1) {
        return std::string(p_sCharacter);
    }
    const char typed = p_sCharacter.front();
    const bool dropped =
        (typed == ' ' && SearchType() != 1) || typed == '\'' || (typed == ',' && !m_bCommasAllowed);
    return dropped ? std::string() : std::string(1, ToUpperAscii(typed));
}

std::string frmSearch::KeptText(std::string_view p_sText) const {
    std::string kept;
    for (size_t at = 0; at < p_sText.size();) {
        const size_t length = std::max<size_t>(1, Utf8SequenceLength(p_sText, at));
        kept += txtSearch_KeyPress(p_sText.substr(at, length));
        at += length;
    }
    return kept;
}

void frmSearch::TypeText(std::string_view p_sText) {
    for (size_t at = 0; at < p_sText.size();) {
        const size_t length = std::max<size_t>(1, Utf8SequenceLength(p_sText, at));
        const std::string kept = txtSearch_KeyPress(p_sText.substr(at, length));
        if (!kept.empty()) {
            SetText(m_sText + kept);
        }
        at += length;
    }
}

void frmSearch::SetText(const std::string& p_sText) {
    m_sText = p_sText;
    if (m_oEvents) {
        m_oEvents->SearchChanged();
    }
    m_items.clear();
    m_lListIndex = -1;
    m_bFindEnabled = !Trimmed(m_sText).empty();
    Changed();
}

void frmSearch::SetSearchTypeIndex(int32_t p_lIndex) {
    m_lTypeIndex = p_lIndex;
    const std::string chosen = SelectedSearchType();
    if (chosen == "COMPANY NAME") {
        m_lHeight = kExpandedHeight;
    } else if (chosen == "SYMBOL") {
        m_lHeight = kCollapsedHeight;
    }
    if (m_oEvents) {
        m_oEvents->ResetSearch();
    }
    SetText(std::string());
}

void frmSearch::SetItemSelected(int32_t p_lIndex, bool p_bSelected) {
    if (p_lIndex >= 0 && p_lIndex < static_cast<int32_t>(m_items.size())) {
        m_items[static_cast<size_t>(p_lIndex)].Selected = p_bSelected;
    }
}

void frmSearch::SetListIndex(int32_t p_lIndex) {
    const bool inList = p_lIndex >= 0 && p_lIndex < static_cast<int32_t>(m_items.size());
    m_lListIndex = inList ? p_lIndex : -1;
}

void frmSearch::cmdOK_Click() {
    const std::string text = Trimmed(m_sText);
    const std::string chosen = SelectedSearchType();
    frmSearchEvents* events = m_oEvents;
    const auto findNext = [&] {
        m_sSearchString = text;
        if (events) {
            events->FindNext(text);
        }
    };
    const auto getLists = [&] {
        if (events) {
            events->GetLists(text);
        }
    };
    if (chosen == "COMPANY NAME") {
        getLists();
    } else if (!m_bListFlag) {
        if (chosen == "SYMBOL") {
            findNext();
        } else {
            getLists();
        }
    } else if (!m_bIsFinder) {
        m_sSearchString = text;
        if (SearchType() != 0) {
            getLists();
        } else {
            findNext();
        }
    } else if (m_iMode == 0) {
        findNext();
    } else if (m_iMode == 1 || m_iMode == 2) {
        m_sSearchString = text;
        getLists();
    }
}

void frmSearch::cmdDisplay_Click() {
    std::string chosen;
    for (const ListItem& item : m_items) {
        if (!item.Selected) {
            continue;
        }
        std::string key;
        if (m_iMode == 1 || m_iMode == 2) {
            key = std::to_string(item.ItemData);
        } else {
            const size_t mark = item.Text.rfind(kSymbolMark);
            key = mark == std::string::npos ? std::string()
                                            : Trimmed(item.Text.substr(mark + kSymbolMark.size()));
        }
        chosen += chosen.empty() ? key : "," + key;
    }
    if (chosen.empty()) {
        MsgBox("Please select item(s) to display.", vbOKOnly, vbInformation, "Display");
        return;
    }
    m_sSearchString = chosen;
    m_bOneCompanySelected = chosen.find(',') == std::string::npos && m_bListFlag;
    if (m_bOneCompanySelected && (m_iMode == 1 || m_iMode == 2) && m_lListIndex >= 0) {
        m_sSearchString = m_items[static_cast<size_t>(m_lListIndex)].Text;
    }
    Unload();
}

void frmSearch::cmdCancel_Click() {
    m_bCancelled = true;
    Unload();
}

void frmSearch::Unload() {
    m_bClosed = true;
    Changed();
}

void frmSearch::ShowNotFound() {
    m_items.push_back({NamesOf(m_iMode).NotFound, 0, false});
    m_bDisplayEnabled = false;
}

void frmSearch::FillList(const std::shared_ptr<Recordset>& p_rRows) {
    if (!p_rRows) {
        return;
    }
    // A second Find must not leave the lines of the first behind.
    m_items.clear();
    m_lListIndex = -1;
    const ModeNames names = NamesOf(m_iMode);
    if (p_rRows->RecordCount() == 0) {
        ShowNotFound();
        Changed();
        return;
    }
    m_bDisplayEnabled = true;
    p_rRows->SetFilter(Variant(std::string(names.NameField) + " Like " +
                               CriteriaText(LikeLiteral(Trimmed(m_sText)) + "%")));
    if (p_rRows->RecordCount() == 0) {
        ShowNotFound();
        p_rRows->SetFilter(Variant(""));
        Changed();
        return;
    }
    for (p_rRows->MoveFirst(); !p_rRows->IsEOF(); p_rRows->MoveNext()) {
        const std::string name = TextOf(p_rRows->Value(names.NameField));
        if (m_iMode == 1 || m_iMode == 2) {
            m_items.push_back({name, p_rRows->Value(names.KeyField).ToLong(), false});
        } else {
            m_items.push_back(
                {name + " " + std::string(kSymbolMark) + TextOf(p_rRows->Value(names.KeyField)), 0,
                 false});
        }
    }
    Changed();
}

void frmSearch::Changed() const {
    if (m_fnChanged) {
        m_fnChanged();
    }
}

}  // namespace qv
