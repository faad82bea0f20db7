// The default printer: whether one is installed, and its page. Sizes are in twips (1440 to the
// inch); the margins are the parts of the page the printer cannot print on. It also takes the
// pages a grid prints (print_engine.h) and puts them on paper, in a file or on the screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

struct PrintJob;

enum PrinterOrientation : int32_t {
    vbPRORPortrait = 1,
    vbPRORLandscape = 2,
};

struct PrinterInfo {
    std::string DeviceName;
    int32_t PageWidth = 0;
    int32_t PageHeight = 0;
    int32_t LeftMargin = 0;
    int32_t TopMargin = 0;
    int32_t RightMargin = 0;
    int32_t BottomMargin = 0;
    PrinterOrientation Orientation = vbPRORPortrait;
};

// US Letter, portrait, half-inch margins: the page of a printer that prints to a file.
PrinterInfo LetterPagePrinter(std::string p_sDeviceName);

class Printer {
  public:
    virtual ~Printer() = default;
    // The default printer, or nothing when no printer is installed.
    virtual std::optional<PrinterInfo> DefaultPrinter() const = 0;
    bool Installed() const { return DefaultPrinter().has_value(); }
    // Prints p_job's pages. A failure (the printer or the file refused them) is an automation
    // error that says why; a person who cancels the printer's own dialog prints nothing.
    virtual void PrintPages(const PrintJob& p_job) = 0;
};

}  // namespace qv
