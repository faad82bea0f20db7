// The modes of qorvant-viewer that need no display: --print, --export, --png and the screen
// commands (screen_commands.h). They open the
// market, show the list the options ask for through a ViewerHost on a headless platform, and print
// or write it (list_output.h). Progress of a first run's sample market goes to p_err.
#pragma once

#include <iosfwd>
#include <string>

namespace qv {

struct ShellOptions;
class ViewerHost;

// The exit status: 0, or 1 after a failure told on p_err: a market that cannot be opened, a
// request it cannot answer, a query the viewer reported as failed (nothing is printed or
// written then) or a file that cannot be written. The host's notes on the list shown go to
// p_err too.
int RunHeadless(const ShellOptions& p_oOptions, std::ostream& p_out, std::ostream& p_err);

// --print-pdf: RunHeadless with a Qt application of its own, off screen when there is no
// display, for the fonts and the PDF writer.
int RunPdfPrint(const ShellOptions& p_oOptions, int p_iArgc, char** p_pArgv);

// --png: the page of p_oOptions.m_sPageAddress, on a Qt application of its own (off screen when
// there is no display), drawn into p_oOptions.m_sPngPath. 1 after a failure told on stderr: an
// address that is no chart, quick test or dividends page, or a graph the facade refused.
int RunChartPng(const ShellOptions& p_oOptions, int p_iArgc, char** p_pArgv);

// RunChartPng's drawing, on the application there is: 0, or throws what went wrong.
int DrawPagePng(const ShellOptions& p_oOptions, std::ostream& p_err);

// What --print writes: the caption lines (the list's caption, its sort and its Buy/Sell/Hold
// counts where the list has them) and the list's text.
std::string PrintedList(ViewerHost& p_oHost);

}  // namespace qv
