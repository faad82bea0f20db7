// The main window on the shared market, shown at a fixed size on its first list.
#pragma once

#include "control/viewer.h"
#include "outside/grid_control.h"
#include "shell/grid_view.h"
#include "shell/main_window.h"
#include "shell/shell_market.h"
#include "shell/test_application.h"
#include "shell/viewer_host.h"
#include "shell/viewer_surface.h"

#include <gtest/gtest.h>

namespace qv::test {

class WindowTest : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_window.resize(1000, 640);
        m_window.show();
        ASSERT_TRUE(m_window.ShowList(ViewerRequest{}));
    }

    GridView& PrimaryView() { return m_window.Surface().PrimaryView(); }
    GridControl& Primary() { return *m_window.Host().Control().olePriGrid(); }

    MarketPlatform m_oPlatform;
    MainWindow m_window{SharedMarket()};
};

}  // namespace qv::test
