// qorvant-viewer: the desktop viewer of the market lists, and its headless modes.
#include "shell/headless_mode.h"
#include "shell/shell_options.h"
#include "shell/window_mode.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace qv;
    ShellOptions options;
    try {
        options = ParseShellOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::cerr << "qorvant-viewer: " << error.what() << "\n\n" << kShellUsage;
        return 2;
    }
    switch (options.m_eMode) {
        case ShellMode::Help:
            std::cout << kShellUsage;
            return 0;
        case ShellMode::Print:
        case ShellMode::Export:
        case ShellMode::ListScreens:
        case ShellMode::SaveScreen:
        case ShellMode::DeleteScreen:
            return RunHeadless(options, std::cout, std::cerr);
        case ShellMode::PrintPdf:
            return RunPdfPrint(options, argc, argv);
        case ShellMode::ChartPng:
            return RunChartPng(options, argc, argv);
        case ShellMode::Window:
            break;
    }
    if (!options.m_sScreenshotPath.empty() && !WindowPossible()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    if (!WindowPossible()) {
        std::cerr << "qorvant-viewer: no display ($DISPLAY and $WAYLAND_DISPLAY are empty).\n"
                     "Run it under a display, or with xvfb-run -a, or use --print or --export.\n";
        return 1;
    }
    return RunWindow(options, argc, argv);
}
