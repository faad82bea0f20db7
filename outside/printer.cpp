#include "outside/printer.h"

#include <utility>

namespace qv {

PrinterInfo LetterPagePrinter(std::string p_sDeviceName) {
    constexpr int32_t kInch = 1440;
    PrinterInfo info;
    info.DeviceName = std::move(p_sDeviceName);
    info.PageWidth = kInch * 17 / 2;
    info.PageHeight = kInch * 11;
    info.LeftMargin = kInch / 2;
    info.TopMargin = kInch / 2;
    info.RightMargin = kInch / 2;
    info.BottomMargin = kInch / 2;
    info.Orientation = vbPRORPortrait;
    return info;
}

}  // namespace qv
