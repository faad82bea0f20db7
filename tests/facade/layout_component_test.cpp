// Layouts through "QorvantOnlineFacade.ViewerFNtr" (reading) and "QorvantOnlineFacade.ViewerFTr"
// (saving, deleting, restoring), with the argument orders of the viewer's layout commands.
#include "facade/viewer_writer_component.h"

#include <gtest/gtest.h>

#include "facade/component_test_support.h"
#include "facade/system_layouts.h"

namespace qv::facade {
namespace {

using namespace testing;

constexpr std::string_view kReader = prog_id::kViewerReader;
constexpr std::string_view kWriter = prog_id::kViewerWriter;

class LayoutComponents : public ComponentTest {
  protected:
    // The viewer's save of the layout's name and columns, sorted by PctChange descending.
    Variant Save(int32_t p_lOwnerId, int32_t& p_lLayoutId, const LayoutRecord& p_oLayout,
                 int32_t p_lDataType) {
        std::vector<Variant> aArgs = SaveLayoutArgs(
            p_lOwnerId, layout_codec::ToVariant(p_oLayout).Array().At(2), p_lDataType);
        aArgs[1] = p_lLayoutId;
        aArgs[2] = p_oLayout.Header.Name;
        aArgs[6] = 1;  // descending
        const Variant vSaved = Call(kWriter, "SaveLayout", aArgs);
        p_lLayoutId = aArgs[1].ToLong();
        return vSaved;
    }

    std::optional<LayoutRecord> Get(int32_t p_lOwnerId, int32_t p_lLayoutId) {
        return LayoutOf(Call(kReader, "GetLayout", {p_lOwnerId, p_lLayoutId}));
    }

    std::optional<LayoutRecord> Default(int32_t p_lOwnerId, int16_t p_iType,
                                        int16_t p_iFinderType = -1) {
        return LayoutOf(Call(kReader, "GetDefaultLayout", {p_lOwnerId, p_iType, p_iFinderType}));
    }

    // A new layout of the owner, saved as the viewer saves one; its id.
    int32_t SaveNew(int32_t p_lOwnerId, const char* p_sName, int32_t p_lDataType = 0) {
        int32_t lId = -1;
        EXPECT_EQ(Save(p_lOwnerId, lId, Custom(p_sName), p_lDataType), Variant(true));
        return lId;
    }

    static LayoutRecord Custom(const char* p_sName) {
        LayoutRecord oLayout;
        oLayout.Header.Name = p_sName;
        oLayout.Header.ParentId = 2;
        oLayout.Columns = BuildLayoutColumns({2, 6, 9}, 0, -1);
        return oLayout;
    }
};

// Defaults of viewer, print and finder result types; a missing or foreign layout is Empty.
TEST_F(LayoutComponents, DefaultsAndMissingOrForeignLayouts) {
    EXPECT_TRUE(Default(0, 16));
    EXPECT_TRUE(Default(0, 6, 5));
    EXPECT_TRUE(Default(0, 15, 0));
    const int32_t lOwner = NewOwner();
    // The portfolio viewer sends finder type 1 for some lists; there is no layout of its own.
    EXPECT_EQ(Default(lOwner, 7, 1)->Header.Id, system_layout::kPortfolio);
    EXPECT_FALSE(Default(0, 6, 4)) << "finder result type 4 has no layout";
    EXPECT_TRUE(Call(kReader, "GetDefaultLayout", {lOwner, int16_t{42}, int16_t{-1}}).IsEmpty());
    EXPECT_EQ(Call(kReader, "GetDefaultLayoutID", {0, int16_t{9}, int16_t{-1}}), Variant(109));
    EXPECT_EQ(Call(kReader, "GetDefaultLayoutID", {lOwner, int16_t{42}, int16_t{-1}}), Variant(0));
    const int32_t lId = SaveNew(lOwner, "Private");
    EXPECT_TRUE(Get(lOwner, lId));
    EXPECT_TRUE(Call(kReader, "GetLayout", {lOwner, 987654}).IsEmpty());
    EXPECT_TRUE(Call(kReader, "GetLayout", {NewOwner(), lId}).IsEmpty());
}

TEST_F(LayoutComponents, SavingANewLayoutMakesItTheOwnersDefault) {
    const int32_t lOwner = NewOwner();
    const int32_t lId = SaveNew(lOwner, "Custom Stock List");
    EXPECT_GE(lId, kFirstOwnerLayoutId);
    const std::optional<LayoutRecord> oSaved = Get(lOwner, lId);
    ASSERT_TRUE(oSaved);
    EXPECT_EQ(oSaved->Header.OwnerId, lOwner);
    EXPECT_EQ(SortTextOf(*oSaved), "PctChange DESC");
    EXPECT_EQ(oSaved->Columns, Custom("").Columns);
    EXPECT_EQ(Default(lOwner, 0)->Header.Id, lId);

    // A list call of the owner without a layout in force works with the saved default.
    const std::vector<Variant> aArgs = Run(StockViewerCall{.m_lOwnerId = lOwner, .m_lLayoutId = 0});
    EXPECT_EQ(LayoutIdOf(aArgs[facade_protocol::stock_viewer::kLayoutInfo.Position]), lId);

    // Saved again under its id, it is changed in place.
    int32_t lSameId = lId;
    ASSERT_EQ(Save(lOwner, lSameId, Custom("Renamed"), 0), Variant(true));
    EXPECT_EQ(lSameId, lId);
    EXPECT_EQ(Get(lOwner, lId)->Header.Name, "Renamed");
    EXPECT_EQ(Default(NewOwner(), 0)->Header.Id, 3);
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

    LogIn(lOwner);
    EXPECT_EQ(Get(lOwner, lId)->Header.Name, "Custom Stock List");
    EXPECT_EQ(Call(kWriter, "DeleteLayout", {lOwner, 3, 0, Variant()}), Variant(false));
    EXPECT_TRUE(Get(0, 3));
}

TEST_F(LayoutComponents, SavesThatCannotBeStoredAreRefused) {
    LayoutRecord oEmpty = Custom("No columns");
    oEmpty.Columns.clear();
    const int32_t lOwner = NewOwner();
    for (const auto& [oLayout, lDataType] : {std::pair{oEmpty, 0}, {Custom("Type"), 17}}) {
        int32_t lId = -1;
        EXPECT_EQ(Save(lOwner, lId, oLayout, lDataType), Variant(false)) << oLayout.Header.Name;
        EXPECT_EQ(lId, -1);
    }
}

// Deleting a layout hands back the one that stands in; restoring gives the owner's default or
// the system's and deletes nothing; deleting the custom print layouts brings back the system's.
TEST_F(LayoutComponents, DeletingAndRestoringFallBackToTheSystemLayouts) {
    const int32_t lOwner = NewOwner();
    const int32_t lIndustries = SaveNew(lOwner, "Short lived", 1);
    std::vector<Variant> aArgs{lOwner, lIndustries, 1, Variant()};
    EXPECT_EQ(Call(kWriter, "DeleteLayout", aArgs), Variant(true));
    EXPECT_EQ(LayoutIdOf(aArgs[3]), system_layout::kIndustryList);
    EXPECT_FALSE(Get(lOwner, lIndustries));
    EXPECT_EQ(Default(lOwner, 1)->Header.Id, system_layout::kIndustryList);

    const int32_t lStocks = SaveNew(lOwner, "Mine");
    for (const auto& [bUserOnly, lExpected] : {std::pair{true, lStocks}, {false, 3}}) {
        EXPECT_EQ(LayoutIdOf(Call(kWriter, "RestoreDefaultLayout",
                                  {lOwner, int16_t{0}, int16_t{-1}, bUserOnly})),
                  lExpected);
        EXPECT_EQ(Default(lOwner, 0)->Header.Id, lExpected);
    }
    EXPECT_TRUE(Get(lOwner, lStocks));

    const int32_t lPrint = SaveNew(lOwner, "Print mine", 9);
    const auto PrintId = [&] {
        return Call(kReader, "GetDefaultLayoutID", {lOwner, int16_t{9}, int16_t{-1}});
    };
    EXPECT_EQ(PrintId(), Variant(lPrint));
    EXPECT_TRUE(Call(kWriter, "DeleteCustomLayout", {lOwner, int16_t{9}, int16_t{-1}}).IsEmpty());
    EXPECT_EQ(PrintId(), Variant(109));
    EXPECT_FALSE(Get(lOwner, lPrint));
}

}  // namespace
}  // namespace qv::facade
