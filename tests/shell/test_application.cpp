#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace qv::test {

namespace {

class ApplicationEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "shell_tests";
        static char* argv[] = {name, nullptr};
        m_application = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationDisplayName(QStringLiteral("Qorvant Viewer"));
    }

    void TearDown() override { m_application.reset(); }

    std::unique_ptr<QApplication> m_application;
};

ApplicationEnvironment* const g_environment = [] {
    auto* environment = new ApplicationEnvironment;
    testing::AddGlobalTestEnvironment(environment);
    return environment;
}();

}  // namespace

QApplication& Application() {
    return *g_environment->m_application;
}

}  // namespace qv::test
