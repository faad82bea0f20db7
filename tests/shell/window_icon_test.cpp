// The window's icon comes from a resource of the shell's static library, which a program links
// only when something pulls the resource's initialiser in.
#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QIcon>

namespace qv::test {
namespace {

TEST(WindowIcon, TheIconResourceIsLinkedIntoTheProgramsOfTheShell) {
    Application();
    const QIcon icon(QStringLiteral(":/icons/qorvant-viewer.png"));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
}

}  // namespace
}  // namespace qv::test
