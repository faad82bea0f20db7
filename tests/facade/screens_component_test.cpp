// Stock screens through "QorvantOnlineFacade.ScreensFTr": an owner's screens beside another
// owner's and the shipped ones.
#include "facade/screens_component.h"

#include <gtest/gtest.h>

#include "facade/component_test_support.h"
#include "facade/screen_store.h"
#include "facade/sqlite_database.h"

namespace qv::facade {
namespace {

using namespace testing;

constexpr std::string_view kScreens = prog_id::kScreens;
// The id a save writes back is a new one, above every screen's before it.
const Variant kNewId = Variant("new id");

class Screens : public ComponentTest {
  protected:
    int32_t Save(int32_t p_lOwnerId, const char* p_sName, const char* p_sCriteria) {
        std::vector<Variant> aArgs{p_lOwnerId, 0, p_sName, 0, p_sCriteria};
        Call(kScreens, "SaveScreen", aArgs);
        return aArgs[1].ToLong();
    }

    std::shared_ptr<Recordset> ScreensOf(int32_t p_lOwnerId) {
        return RecordsetOf(Call(kScreens, "GetScreens", {p_lOwnerId}));
    }
};

// The steps run in order on the owner's screens; a refusal changes nothing.
TEST_F(Screens, EachCallServesOrRefusesAsItsContractSays) {
    const int32_t lOther = NewOwner();
    const int32_t lTheirs = Save(lOther, "Theirs", "Price > 10");
    const ScreenRecord oTheirs = *ScreenStore(Database()).Find(lTheirs);
    const int32_t lOwner = NewOwner();
    const int32_t lMine = Save(lOwner, "Movers", "PctChange > 5");
    const Variant vToday = Variant::Date(0);
    const std::string sLong(61, 'x');
    std::string sWide;
    for (int i = 0; i < 60; ++i) {
        sWide += "\xC3\xA9";  // é: 60 characters in 120 bytes
    }
    const auto lBroad = static_cast<int32_t>(
        Count("SELECT count(*) FROM group_days WHERE group_kind = 1 AND advancing * 100.0 >= "
              "60 * member_count AND trade_date = (SELECT max(trade_date) FROM trading_days)"));
    struct Step {
        const char* m_sMethod;
        std::vector<Variant> m_aArgs;
        Variant m_vAnswer;  // Empty: refused
        std::string m_sSays;
        Variant m_vWrittenBack{};
    };
    const Step aSteps[] = {
        {"SaveScreen", {lOwner, lMine, " MOVERS ", 0, "PctChange > 6"}, true, "", lMine},
        {"SaveScreen",
         {lOwner, 0, "movers", 0, "Price > 1"},
         {},
         "argument 3 (Name): there is already a screen named \"movers\""},
        {"SaveScreen", {lOwner, lTheirs, "Theirs", 0, "Price > 1"}, true, "", kNewId},
        {"SaveScreen", {lOwner, 2, "RS leaders", 0, "RSRank >= 90"}, true, "", kNewId},
        {"SaveScreen", {lOwner, 0, sWide, 0, "Price > 1"}, true, "", kNewId},
        {"SaveScreen",
         {lOwner, 0, " \t", 0, "Price > 1"},
         {},
         "argument 3 (Name): A screen needs a name."},
        {"SaveScreen",
         {lOwner, 0, sLong, 0, "Price > 1"},
         {},
         "argument 3 (Name): A screen's name may hold at most 60 characters; this one has 61."},
        {"SaveScreen",
         {lOwner, 0, "Kind", 3, "Price > 1"},
         {},
         "argument 4 (ResultType): there is no screen result type 3"},
        {"SaveScreen", {lOwner, 0, "Kind", 2, "RSRank >= 80"}, {}, "argument 5 (Criteria): "},
        {"SaveScreen",
         {lOwner, 0, "Typo", 0, "Pirce > 10"},
         {},
         "SaveScreen: argument 5 (Criteria): unknown field 'Pirce' at position 1 in 'Pirce > 10'"},
        {"DeleteScreen",
         {lOwner, 1},
         {},
         "argument 2 (ScreenId): screen 1 is shipped with the market and cannot be deleted"},
        {"DeleteScreen",
         {lOwner, lTheirs},
         {},
         "argument 2 (ScreenId): screen " + std::to_string(lTheirs) + " not found"},
        {"CheckScreen",
         {lOwner, 1, "PctAdvancing >= 60", vToday, Variant()},
         lBroad,
         "",
         "% Up >= 60"},
        {"CheckScreen",
         {lOwner, -1, "Price > 1", vToday, Variant()},
         {},
         "CheckScreen: argument 2 (ResultType)"},
        {"CheckScreen",
         {lOwner, 0, "Price >", vToday, Variant()},
         {},
         "CheckScreen: argument 3 (Criteria): "},
        {"DeleteScreen", {lOwner, lMine}, true, ""},
        {"DeleteScreen", {lOwner, lMine}, {}, "screen " + std::to_string(lMine) + " not found"},
    };
    int lStep = 0;
    for (const Step& oStep : aSteps) {
        const std::string sStep = "step " + std::to_string(++lStep) + ", " + oStep.m_sMethod;
        const int64_t llLastId = Count("SELECT max(screen_id) FROM screens");
        if (oStep.m_vAnswer.IsEmpty()) {
            const std::string sError =
                CallError(kScreens, oStep.m_sMethod, oStep.m_aArgs).Description();
            EXPECT_NE(sError.find(oStep.m_sSays), std::string::npos) << sStep << ": " << sError;
            continue;
        }
        std::vector<Variant> aArgs = oStep.m_aArgs;
        EXPECT_EQ(Call(kScreens, oStep.m_sMethod, aArgs), oStep.m_vAnswer) << sStep;
        const Variant& vBack = oStep.m_sMethod == std::string("CheckScreen") ? aArgs[4] : aArgs[1];
        if (oStep.m_vWrittenBack == kNewId) {
            EXPECT_GT(vBack.ToLong(), llLastId) << sStep;
        } else if (!oStep.m_vWrittenBack.IsEmpty()) {
            EXPECT_EQ(vBack, oStep.m_vWrittenBack) << sStep;
        }
    }
    EXPECT_EQ(ScreenStore(Database()).Find(lTheirs), oTheirs);
    EXPECT_EQ(Texts(*ScreensOf(lOwner), "Name"),
              (std::vector<std::string>{"RS leaders", "Theirs", sWide, "Broad industry advances",
                                        "Near 52-week high", "Rated Buy", "RS leaders",
                                        "Sectors up", "Volume surge"}));
}

// A screen whose criteria no longer parse (a field left the catalogue) is listed with its text.
TEST_F(Screens, AListShowsEachScreenAsAPersonReadsIt) {
    const int32_t lOwner = NewOwner();
    Save(lOwner, "Leaders", "RSRank >= 80 AND Price > MA200");
    Database().Execute(
        "INSERT INTO screens (screen_id, owner_id, name, result_type, criteria, modified) "
        "SELECT max(screen_id) + 1, " +
        std::to_string(lOwner) + ", 'Old', 0, 'Gone > 1', 1 FROM screens");
    const std::shared_ptr<Recordset> rScreens = ScreensOf(lOwner);
    EXPECT_EQ(FieldNames(*rScreens),
              (std::vector<std::string>{"Screen_ID", "Owner_ID", "Name", "ResultType", "Criteria",
                                        "Description", "Modified"}));
    EXPECT_EQ(Texts(*rScreens, "Description")[0], "RS >= 80 and Price > 200 Day MA");
    EXPECT_EQ(Texts(*rScreens, "Description")[1], "Gone > 1");
    EXPECT_TRUE(IsSaveTime(Column(*rScreens, "Modified")[0]));
    EXPECT_EQ(Column(*rScreens, "Owner_ID")[2], Variant(0));
    EXPECT_EQ(ScreensOf(kSystemOwnerId)->RecordCount(), 6);
}

}  // namespace
}  // namespace qv::facade
