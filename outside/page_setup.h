// The page a grid prints on: paper, orientation and margins, in twips (1440 to the inch), and
// the settings block the grid control hands out and takes back (print settings, member 25).
//
// The block is ours: the magic "QVPS", a format version, then the values little-endian. A block
// without the magic, of another version, cut short or with values no printer has (a page smaller
// than an inch, margins that leave no room to print) is refused, so that a corrupt or foreign
// "pagesetup.dat" can never reach a printer.
//
//     std::vector<uint8_t> block = EncodePageSetup(setup);
//     std::optional<PageSetup> back = DecodePageSetup(block);   // == setup
#pragma once

#include "outside/dialog_runner.h"
#include "outside/printer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct PageSetup {
    // Paper as it is named and sized when held upright.
    std::string PaperName = "Letter";
    int32_t PaperWidth = 12240;
    int32_t PaperHeight = 15840;
    PrinterOrientation Orientation = vbPRORPortrait;
    int32_t LeftMargin = 720;
    int32_t TopMargin = 720;
    int32_t RightMargin = 720;
    int32_t BottomMargin = 720;

    // The page as it is printed, turned by the orientation.
    int32_t PageWidth() const { return Orientation == vbPRORLandscape ? PaperHeight : PaperWidth; }
    int32_t PageHeight() const { return Orientation == vbPRORLandscape ? PaperWidth : PaperHeight; }
    bool operator==(const PageSetup&) const = default;
};

// Whether a printer could print on p_setup: paper from one inch to a hundred, margins not
// negative and leaving at least an inch each way.
bool PlausiblePageSetup(const PageSetup& p_setup);

std::vector<uint8_t> EncodePageSetup(const PageSetup& p_setup);
// Nothing for a block that is not a plausible page setup of this format.
std::optional<PageSetup> DecodePageSetup(std::span<const uint8_t> p_block);

// The page-setup dialog of the grid control: the shell shows it as its page setup, tests script
// it, and without a display it is dismissed, which counts as Cancel.
class PageSetupDialog : public ModalDialog {
  public:
    static constexpr const char* kCaption = "Page Setup";

    explicit PageSetupDialog(PageSetup p_setup) : m_setup(std::move(p_setup)) {}

    std::string DialogCaption() const override { return kCaption; }
    void DismissDialog() override { m_bCancelled = true; }

    const PageSetup& Setup() const { return m_setup; }
    // OK with p_setup; a page no printer has is refused (false) and the dialog stays open.
    bool Accept(const PageSetup& p_setup);
    bool Cancelled() const { return m_bCancelled; }

  private:
    PageSetup m_setup;
    bool m_bCancelled = true;
};

}  // namespace qv
