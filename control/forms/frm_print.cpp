#include "control/forms/frm_print.h"

#include "outside/numeric_text.h"
#include "outside/platform_context.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

namespace qv {

namespace {

// The stored number when it is a whole number in the spinner's range; anything else a person or
// a damaged settings file left there gives the default.
int32_t StoredNumber(const std::string& p_sText) {
    const std::optional<double> number = ParseNumericText(p_sText);
    if (!number || *number != std::floor(*number) || *number < frmPrint::kMinimumNumber ||
        *number > frmPrint::kMaximumNumber) {
        return frmPrint::kDefaultNumber;
    }
    return static_cast<int32_t>(*number);
}

}  // namespace

void frmPrint::SetUpQuickTest() {
    m_bQuickTest = true;
    m_sCaption = kQuickTestCaption;
    m_sSelectedCaption = "Test Selected Items";
    m_sAllCaption = "Test All Items";
    m_sTopCaption = "Test Top";
    m_iSelection = psTopRows;
    m_lSpinner = StoredNumber(
        GetSetting(kSettingsApp, kQuickTestSection, kQuickTestKey, std::to_string(kDefaultNumber)));
}

void frmPrint::SetUpSelectColums() {
    m_bColumnSelectVisible = true;
}

void frmPrint::HideColumnSelect() {
    m_bColumnSelectVisible = false;
}

void frmPrint::ChooseOption(int16_t p_iSelection) {
    if (p_iSelection < psAllRows || p_iSelection > psTopRows) {
        return;
    }
    m_iSelection = p_iSelection;
}

void frmPrint::SetSpinner(int32_t p_lValue) {
    m_lSpinner = std::clamp(p_lValue, kMinimumNumber, kMaximumNumber);
}

void frmPrint::OK() {
    m_lNumToPrint = m_iSelection == psTopRows ? m_lSpinner : 1;
    m_bCancelled = false;
    if (!m_bQuickTest || m_iSelection != psTopRows) {
        return;
    }
    // The remembered number only saves typing next time: a settings store that cannot be
    // written must not stop the test the person asked for.
    try {
        SaveSetting(kSettingsApp, kQuickTestSection, kQuickTestKey, std::to_string(m_lSpinner));
    } catch (const std::exception&) {
    }
}

void frmPrint::SelectColumns() {
    if (m_oEvents != nullptr && m_bColumnSelectVisible) {
        m_oEvents->SelectColumns();
    }
}

void frmPrint::PageSetup() {
    if (m_oEvents != nullptr && PageSetupVisible()) {
        m_oEvents->ShowPageSetup();
    }
}

}  // namespace qv
