// Layouts through "QorvantOnlineFacade.ViewerFNtr" (reading) and "QorvantOnlineFacade.ViewerFTr"
// (saving, deleting, restoring), with the argument orders of the viewer's layout commands.
#include "facade/viewer_writer_component.h"

#include <gtest/gtest.h>

#include "facade/component_test_support.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/layout_variant.h"
#include "facade/market_store.h"
#include "facade/system_layouts.h"
#include "outside/component_factory.h"

namespace qv::facade {
namespace {

using testing::ComponentTest;

constexpr std::string_view kReader = prog_id::kViewerReader;
constexpr std::string_view kWriter = prog_id::kViewerWriter;

class LayoutComponents : public ComponentTest {
  protected:
    // The viewer's save: the header and sort block of p_vDescription taken apart.
    Variant Save(int32_t p_lOwnerId, int32_t& p_lLayoutId, const LayoutRecord& p_oLayout,
                 int32_t p_lDataType, int16_t p_iFinderType = -1) {
        const Variant vTable = LayoutToVariant(p_oLayout).Array().At(2);
        std::vector<Variant> aArgs{p_lOwnerId,
                                   p_lLayoutId,
                                   p_oLayout.m_sName,
                                   p_oLayout.m_sDescription,
                                   p_oLayout.m_lParentId,
                                   p_oLayout.m_oSort.m_lPriSortId,
                                   p_oLayout.m_oSort.m_lPriSortDir,
                                   p_oLayout.m_oSort.m_lSecSortId,
                                   p_oLayout.m_oSort.m_lSecSortDir,
                                   vTable,
                                   p_lDataType,
                                   p_iFinderType};
        const Variant vSaved = Call(kWriter, "SaveLayout", aArgs);
        p_lLayoutId = aArgs[1].ToLong();
        return vSaved;
    }

    std::optional<LayoutRecord> Get(int32_t p_lOwnerId, int32_t p_lLayoutId) {
        return LayoutFromVariant(Call(kReader, "GetLayout", {p_lOwnerId, p_lLayoutId}));
    }

    std::optional<LayoutRecord> Default(int32_t p_lOwnerId, int16_t p_iType,
                                        int16_t p_iFinderType = -1) {
        return LayoutFromVariant(
            Call(kReader, "GetDefaultLayout", {p_lOwnerId, p_iType, p_iFinderType}));
    }

    static LayoutRecord Custom(const char* p_sName) {
        LayoutRecord oLayout;
        oLayout.m_sName = p_sName;
        oLayout.m_sDescription = "mine";
        oLayout.m_lParentId = 2;
        oLayout.m_oSort = MakeLayoutSort(6, 1, -1, 0);
        oLayout.m_aColumns = BuildLayoutColumns({2, 6, 9}, 0, -1);
        return oLayout;
    }
};

TEST_F(LayoutComponents, TheSystemLayoutsTheViewerReliesOn) {
    for (const int32_t lId : {3, 9, 4, 10, 14, 297}) {
        const std::optional<LayoutRecord> oLayout = Get(NewOwner(), lId);
        ASSERT_TRUE(oLayout) << lId;
        EXPECT_EQ(oLayout->m_lId, lId);
        EXPECT_EQ(oLayout->m_lOwnerId, 0);
        EXPECT_FALSE(oLayout->m_oSort.m_sSortText.empty());
    }
    // The portfolio viewer sends finder type 1 for some lists; there is no layout of its own.
    EXPECT_EQ(Default(NewOwner(), 7, 1)->m_lId, system_layout::kPortfolio);
    EXPECT_FALSE(Default(0, 6, 4)) << "finder result type 4 has no layout";
    // A default for every viewer type and print type, and for each finder result type.
    for (int16_t iType = 0; iType <= 16; ++iType) {
        if (iType == 6 || iType == 8 || iType == 15) {
            continue;
        }
        EXPECT_TRUE(Default(0, iType)) << iType;
    }
    for (const int16_t iFinderType : {0, 1, 2, 3, 5}) {
        EXPECT_TRUE(Default(0, 6, iFinderType)) << iFinderType;
        EXPECT_TRUE(Default(0, 15, iFinderType)) << iFinderType;
    }
    EXPECT_EQ(Call(kReader, "GetDefaultLayoutID", {0, int16_t{9}, int16_t{-1}}), Variant(109));
}

TEST_F(LayoutComponents, AMissingOrForeignLayoutIsEmpty) {
    const int32_t lOwner = NewOwner();
    int32_t lId = -1;
    ASSERT_EQ(Save(lOwner, lId, Custom("Private"), 0), Variant(true));
    EXPECT_TRUE(Call(kReader, "GetLayout", {lOwner, lId}).IsArray());
    EXPECT_TRUE(Call(kReader, "GetLayout", {lOwner, 987654}).IsEmpty());
    EXPECT_TRUE(Call(kReader, "GetDefaultLayout", {lOwner, int16_t{42}, int16_t{-1}}).IsEmpty());
    EXPECT_EQ(Call(kReader, "GetDefaultLayoutID", {lOwner, int16_t{42}, int16_t{-1}}), Variant(0));
    EXPECT_TRUE(Call(kReader, "GetLayout", {NewOwner(), lId}).IsEmpty());
}

TEST_F(LayoutComponents, SavingANewLayoutMakesItTheOwnersDefault) {
    const int32_t lOwner = NewOwner();
    int32_t lId = -1;
    const LayoutRecord oCustom = Custom("Custom Stock List");
    ASSERT_EQ(Save(lOwner, lId, oCustom, 0), Variant(true));
    EXPECT_GE(lId, kFirstOwnerLayoutId);

    const std::optional<LayoutRecord> oSaved = Get(lOwner, lId);
    ASSERT_TRUE(oSaved);
    EXPECT_EQ(oSaved->m_lOwnerId, lOwner);
    EXPECT_EQ(oSaved->m_sName, "Custom Stock List");
    EXPECT_EQ(oSaved->m_lParentId, 2);
    EXPECT_EQ(oSaved->m_oSort.m_sSortText, "PctChange DESC");
    EXPECT_EQ(oSaved->m_aColumns, oCustom.m_aColumns);
    EXPECT_EQ(Default(lOwner, 0)->m_lId, lId);

    // A list call of the owner without a layout in force works with the saved default.
    testing::StockViewerCall oCall;
    oCall.m_lOwnerId = lOwner;
    oCall.m_lLayoutId = 0;
    std::vector<Variant> aArgs = oCall.Args();
    Call(kReader, "StockViewer", aArgs);
    EXPECT_EQ(LayoutIdOfVariant(aArgs[testing::stock_viewer_arg::kLayoutInfo]), lId);

    // Saved again under its id, it is changed in place.
    LayoutRecord oRenamed = oCustom;
    oRenamed.m_sName = "Renamed";
    int32_t lSameId = lId;
    ASSERT_EQ(Save(lOwner, lSameId, oRenamed, 0), Variant(true));
    EXPECT_EQ(lSameId, lId);
    EXPECT_EQ(Get(lOwner, lId)->m_sName, "Renamed");
    EXPECT_EQ(Default(NewOwner(), 0)->m_lId, 3);
}

TEST_F(LayoutComponents, SystemAndForeignLayoutsAreNeverChanged) {
    const std::optional<LayoutRecord> oSystem = Get(0, 3);
    const int32_t lOwner = NewOwner();
    int32_t lId = 3;
    ASSERT_EQ(Save(lOwner, lId, Custom("Custom Stock List"), 0), Variant(true));
    EXPECT_NE(lId, 3);
    EXPECT_EQ(Get(0, 3), oSystem);

    const int32_t lOther = NewOwner();
    int32_t lForeign = lId;
    ASSERT_EQ(Save(lOther, lForeign, Custom("Taken over"), 0), Variant(true));
    EXPECT_NE(lForeign, lId);
    std::vector<Variant> aDelete{lOther, lId, 0, Variant()};
    EXPECT_EQ(Call(kWriter, "DeleteLayout", aDelete), Variant(false));
    EXPECT_TRUE(aDelete[3].IsEmpty());

    Backend().Login(lOwner, "");
    EXPECT_EQ(Get(lOwner, lId)->m_sName, "Custom Stock List");
    EXPECT_EQ(Call(kWriter, "DeleteLayout", {lOwner, 3, 0, Variant()}), Variant(false));
    EXPECT_TRUE(Get(0, 3));
}

TEST_F(LayoutComponents, SavesThatCannotBeStoredAreRefused) {
    struct Case {
        int32_t m_lOwnerId;
        LayoutRecord m_oLayout;
        int32_t m_lDataType;
    };
    LayoutRecord oEmpty = Custom("No columns");
    oEmpty.m_aColumns.clear();
    const int32_t lOwner = NewOwner();
    for (const Case& oCase : {Case{lOwner, oEmpty, 0}, Case{lOwner, Custom("Type"), 17}}) {
        int32_t lId = -1;
        EXPECT_EQ(Save(oCase.m_lOwnerId, lId, oCase.m_oLayout, oCase.m_lDataType), Variant(false))
            << oCase.m_oLayout.m_sName;
        EXPECT_EQ(lId, -1);
    }
}

TEST_F(LayoutComponents, DeletingHandsBackTheLayoutThatStandsIn) {
    const int32_t lOwner = NewOwner();
    int32_t lId = -1;
    ASSERT_EQ(Save(lOwner, lId, Custom("Short lived"), 1), Variant(true));
    std::vector<Variant> aArgs{lOwner, lId, 1, Variant()};
    EXPECT_EQ(Call(kWriter, "DeleteLayout", aArgs), Variant(true));
    EXPECT_EQ(LayoutIdOfVariant(aArgs[3]), system_layout::kIndustryList);
    EXPECT_TRUE(Call(kReader, "GetLayout", {lOwner, lId}).IsEmpty());
    EXPECT_EQ(Default(lOwner, 1)->m_lId, system_layout::kIndustryList);
}

TEST_F(LayoutComponents, RestoringGivesTheOwnersOrTheSystemDefault) {
    const int32_t lOwner = NewOwner();
    int32_t lId = -1;
    ASSERT_EQ(Save(lOwner, lId, Custom("Mine"), 0), Variant(true));

    std::vector<Variant> aUserOnly{lOwner, int16_t{0}, int16_t{-1}, true};
    EXPECT_EQ(LayoutIdOfVariant(Call(kWriter, "RestoreDefaultLayout", aUserOnly)), lId);
    EXPECT_EQ(Default(lOwner, 0)->m_lId, lId);

    std::vector<Variant> aSystem{lOwner, int16_t{0}, int16_t{-1}, false};
    EXPECT_EQ(LayoutIdOfVariant(Call(kWriter, "RestoreDefaultLayout", aSystem)), 3);
    EXPECT_EQ(Default(lOwner, 0)->m_lId, 3);
    EXPECT_TRUE(Get(lOwner, lId)) << "restoring deletes no layout";
}

TEST_F(LayoutComponents, DeletingCustomPrintLayoutsBringsBackTheSystemOnes) {
    const int32_t lOwner = NewOwner();
    int32_t lId = -1;
    ASSERT_EQ(Save(lOwner, lId, Custom("Print mine"), 9), Variant(true));
    std::vector<Variant> aPrintId{lOwner, int16_t{9}, int16_t{-1}};
    EXPECT_EQ(Call(kReader, "GetDefaultLayoutID", aPrintId), Variant(lId));

    std::vector<Variant> aDelete{lOwner, int16_t{9}, int16_t{-1}};
    EXPECT_TRUE(Call(kWriter, "DeleteCustomLayout", aDelete).IsEmpty());
    EXPECT_EQ(Call(kReader, "GetDefaultLayoutID", aPrintId), Variant(109));
    EXPECT_TRUE(Call(kReader, "GetLayout", {lOwner, lId}).IsEmpty());
    EXPECT_TRUE(Get(0, 109));
}

TEST_F(LayoutComponents, ASecondProcessSeesWhatTheFirstSaved) {
    // Two connections to one file, as two processes have; the owner moves from one to the other.
    ComponentFactory oOtherProcess;
    auto oOtherBackend = std::make_shared<FacadeBackend>(
        std::make_shared<MarketStore>(Backend().Store().Path(), MarketStore::Access::ReadWrite));
    RegisterFacadeComponents(oOtherProcess, oOtherBackend);
    const int32_t lOwner = NewOwner();
    int32_t lId = -1;
    ASSERT_EQ(Save(lOwner, lId, Custom("Shared"), 0), Variant(true));
    oOtherBackend->Login(lOwner, "");
    std::vector<Variant> aArgs{lOwner, lId};
    const Variant vSeen =
        CallMethod(*oOtherProcess.CreateObject(prog_id::kViewerReader), "GetLayout", aArgs);
    ASSERT_TRUE(LayoutFromVariant(vSeen));
    EXPECT_EQ(LayoutFromVariant(vSeen)->m_sName, "Shared");

    std::vector<Variant> aOther{lOwner,
                                -1,
                                Variant("From the other"),
                                Variant(""),
                                2,
                                6,
                                0,
                                -1,
                                0,
                                LayoutToVariant(Custom("x")).Array().At(2),
                                1,
                                int16_t{-1}};
    EXPECT_EQ(CallMethod(*oOtherProcess.CreateObject(prog_id::kViewerWriter), "SaveLayout", aOther),
              Variant(true));
    Backend().Login(lOwner, "");
    EXPECT_EQ(Default(lOwner, 1)->m_sName, "From the other");
}

}  // namespace
}  // namespace qv::facade
