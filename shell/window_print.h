// Printing from the window: File > "Print…" (the control's print command, as Ctrl+P in the list
// runs it), "Print Preview…" (the same command, its pages shown in a print preview first) and
// "Page Setup…" (the control's page setup, kept in "pagesetup.dat" for the next print).
//
// The headless --print-pdf writes the list to a PDF without a display, on the same pages.
#pragma once

#include <filesystem>

namespace qv {

class ViewerHost;

// Prints every row of the list p_oHost shows to p_path under the list's page header, on the page
// setup saved last. Error 75 naming the path when the file cannot be written.
void PrintListToPdf(ViewerHost& p_oHost, const std::filesystem::path& p_path);

}  // namespace qv
