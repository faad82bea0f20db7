// The command line of qorvant-viewer: the window (the default), or a headless mode that prints
// or exports one list, and the list to show.
//
//   qorvant-viewer [--print | --print-pdf FILE.pdf | --export FILE.csv | --screenshot FILE.png
//                   | --png FILE.png | --help]
//                  [--chart SYMBOL[,SYMBOL] | --chart-industry CODE | --chart-sector CODE]
//                  [--advanced]
//                  [--size WIDTHxHEIGHT] [--db PATH] [--server URL [--user NAME]]
//                  [--type TYPE] [--date YYYY-MM-DD] [--industry CODE]
//                  [--sector CODE] [--watch-list ID] [--portfolio NAME|ID] [--symbol SYMBOL]
//                  [--rows N] [--page ADDRESS]
//                  [--screen NAME | --screen-criteria TEXT]
//                  [--screen-rows stocks|industries|sectors]
//   qorvant-viewer --screens | --save-screen NAME --screen-criteria TEXT | --delete-screen NAME
#pragma once

#include "shell/viewer_request.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

enum class ShellMode {
    Window,
    Print,
    Export,
    Help,
    PrintPdf,
    ChartPng,
    ListScreens,
    SaveScreen,
    DeleteScreen
};

struct ShellOptions {
    ShellMode m_eMode = ShellMode::Window;
    std::string m_sExportPath;
    std::string m_sPdfPath;
    // --png: the page of m_sPageAddress (a chart, quick test or dividends page) drawn off screen
    // into this file, at m_lWidth x m_lHeight.
    std::string m_sPngPath;
    // The window saves a picture of itself here once the list is painted, and closes.
    std::string m_sScreenshotPath;
    // The window's size in pixels; 0 for the size it last had.
    int32_t m_lWidth = 0;
    int32_t m_lHeight = 0;
    // Empty for the default database.
    std::string m_sDatabase;
    // A facade server to use instead of the database, and the name to log in with.
    std::string m_sServer;
    std::string m_sUser;
    // The screen commands take their screen's name, criteria and kind from here too.
    ViewerRequest m_oRequest;
    // True when an option chose the list; the window otherwise opens on the list it last showed.
    bool m_bListChosen = false;
    // A page address the window opens once its list shows, as the navigator would.
    std::string m_sPageAddress;
    // --advanced: the graph of --chart... in its advanced edition.
    bool m_bAdvancedChart = false;
};

// A command line the program cannot follow; the message says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

extern const char* const kShellUsage;

// p_args without the program name. Throws UsageError.
ShellOptions ParseShellOptions(const std::vector<std::string>& p_args);

// The viewer type named on the command line ("stocks", "industry-history", ... or its number),
// or -1.
int32_t ViewerTypeNamed(const std::string& p_sName);

}  // namespace qv
