// The main of a program that measures the shell: a QApplication (offscreen where there is no
// display, as on CI) around RunWithRatios.
//
//     int main(int argc, char** argv) {
//         return qv::bench::RunShellWithRatios(argc, argv, {{"shell.open", ..., 3}});
//     }
#pragma once

#include "bench/ratio.h"

#include <QApplication>

#include <vector>

namespace qv::bench {

inline int RunShellWithRatios(int argc, char** argv, const std::vector<RatioSpec>& p_entries) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt keeps the argument count by reference: it must outlive the application.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    return RunWithRatios(argc, argv, p_entries);
}

}  // namespace qv::bench
