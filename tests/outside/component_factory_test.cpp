#include "outside/component_factory.h"

#include "outside/dispatch.h"
#include "outside/platform_context.h"
#include "outside/scripted_services.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qv {
namespace {

class Facade : public DispatchObject {
  public:
    explicit Facade(int p_iKind) : m_iKind(p_iKind) {}
    int m_iKind;
};

TEST(ComponentFactoryTest, ProgIdsMatchWithoutRegardToCaseAndEachCallCreatesAnObject) {
    ComponentFactory factory;
    factory.Register("QorvantOnlineFacade.ViewerFNtr", [] { return std::make_shared<Facade>(1); });
    auto first = factory.CreateObject("QorvantOnlineFacade.ViewerFNTr");
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, factory.CreateObject("qorvantonlinefacade.viewerfntr"));
    // Registering again replaces; unregistering removes once.
    factory.Register("qorvantonlinefacade.viewerfntr", [] { return std::make_shared<Facade>(2); });
    auto second = factory.CreateObject("QorvantOnlineFacade.ViewerFNtr");
    EXPECT_EQ(std::dynamic_pointer_cast<Facade>(second)->m_iKind, 2);
    EXPECT_TRUE(factory.Unregister("QORVANTONLINEFACADE.VIEWERFNTR"));
    EXPECT_FALSE(factory.Unregister("QorvantOnlineFacade.ViewerFNtr"));
}

TEST(ComponentFactoryTest, UnknownProgIdIsError429NamingIt) {
    ComponentFactory factory;
    const Failure unknown =
        FailureOf([&] { factory.CreateObject("QorvantOnlineFacade.ViewerFTr"); });
    EXPECT_EQ(unknown.Number, 429);
    EXPECT_EQ(unknown.Description,
              "ActiveX component can't create object: QorvantOnlineFacade.ViewerFTr");
    factory.Register("Null.Component", [] { return std::shared_ptr<DispatchObject>(); });
    EXPECT_EQ(FailureOf([&] { factory.CreateObject("Null.Component"); }).Number, 429);
}

TEST(ComponentFactoryTest, RegistrationsLiveInTheInstalledContext) {
    {
        ScopedTestPlatform platform;
        platform.Components().Register("Test.Double", [] { return std::make_shared<Facade>(3); });
        EXPECT_NE(CreateObject("test.double"), nullptr);
    }
    EXPECT_FALSE(PlatformContext::Current().Components().IsRegistered("Test.Double"));
}

}  // namespace
}  // namespace qv
