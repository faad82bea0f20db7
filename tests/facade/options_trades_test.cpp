// The owners' options-analysis trades: none until a user has some, and only the owner's own.
#include "facade/component_test_support.h"
#include "facade/sqlite_database.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"

#include <gtest/gtest.h>

namespace qv::facade {
namespace {

using testing::ComponentTest;
using testing::FieldNames;
using testing::Texts;

class OptionsTradesTest : public ComponentTest {
  protected:
    std::shared_ptr<Recordset> Trades(int32_t p_lOwnerId) {
        return RecordsetOf(Call(prog_id::kPortfolioReader,
                                facade_protocol::get_options_trades::kMethod, {p_lOwnerId}));
    }
    static void AddGroup(int32_t p_lOwnerId, int32_t p_lGroupId, const char* p_sName,
                         std::vector<std::pair<int32_t, const char*>> p_trades) {
        Database().Execute("INSERT INTO options_groups (group_id, owner_id, name) VALUES (" +
                           std::to_string(p_lGroupId) + ", " + std::to_string(p_lOwnerId) + ", '" +
                           p_sName + "')");
        for (const auto& [id, name] : p_trades) {
            Database().Execute("INSERT INTO options_trades (trade_id, group_id, name) VALUES (" +
                               std::to_string(id) + ", " + std::to_string(p_lGroupId) + ", '" +
                               name + "')");
        }
    }
};

TEST_F(OptionsTradesTest, AnOwnerSeesOnlyTheirOwnGroupsAndTrades) {
    const int32_t other = NewOwner();
    AddGroup(other, 9001, "Theirs", {{9101, "Not mine"}});
    const int32_t owner = NewOwner();
    EXPECT_EQ(Trades(owner)->RecordCount(), 0);
    AddGroup(owner, 9002, "Spreads", {{9103, "IBM put"}, {9102, "IBM call"}});
    AddGroup(owner, 9003, "Empty", {});
    const std::shared_ptr<Recordset> trades = Trades(owner);
    EXPECT_EQ(FieldNames(*trades), (std::vector<std::string>{"Name", "Group_ID", "tradeID"}));
    EXPECT_EQ(Texts(*trades, "Name"),
              (std::vector<std::string>{"Spreads", "IBM call", "IBM put", "Empty"}));
    EXPECT_EQ(Texts(*trades, "tradeID"), (std::vector<std::string>{"-1", "9102", "9103", "-1"}));
}

}  // namespace
}  // namespace qv::facade
