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
        m_application = std::make_unique<QApplication>(m_iArgc, m_argv);
        QApplication::setApplicationDisplayName(QStringLiteral("Qorvant Viewer"));
    }

    void TearDown() override { m_application.reset(); }

    QApplication& Get() { return *m_application; }

  private:
    int m_iArgc = 1;
    char m_sName[12] = "shell_tests";
    char* m_argv[2] = {m_sName, nullptr};
    std::unique_ptr<QApplication> m_application;
};

ApplicationEnvironment* const g_environment = [] {
    auto* environment = new ApplicationEnvironment;
    testing::AddGlobalTestEnvironment(environment);
    return environment;
}();

}  // namespace

QApplication& Application() {
    return g_environment->Get();
}

}  // namespace qv::test
