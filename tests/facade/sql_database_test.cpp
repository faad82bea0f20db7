// The query layer over an in-memory SQLite database: transaction scopes nested inside one
// another, each kept or undone on its own, and the kind each value reads as.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "facade/sql_database.h"
#include "facade/sqlite_database.h"

namespace qv::facade {
namespace {

class SqlDatabaseTest : public ::testing::Test {
  protected:
    SqlDatabaseTest() { m_oDatabase.Execute("CREATE TABLE marks (level INTEGER NOT NULL)"); }

    std::string Marks() {
        std::string marks;
        SqlStatement read = m_oDatabase.Prepare("SELECT level FROM marks ORDER BY level");
        while (read.Step()) {
            marks += std::to_string(read.ColumnInt64(0));
        }
        return marks;
    }

    // Opens one scope per entry of p_aCommits, outermost first, each adding its level to the
    // table, then closes them innermost first, committing those marked so.
    void Nest(const std::vector<bool>& p_aCommits, size_t p_lLevel = 0) {
        if (p_lLevel == p_aCommits.size()) {
            return;
        }
        SqlTransaction work(m_oDatabase);
        SqlStatement insert = m_oDatabase.Prepare("INSERT INTO marks (level) VALUES (?1)");
        insert.BindInt64(1, static_cast<int64_t>(p_lLevel + 1));
        insert.Run();
        Nest(p_aCommits, p_lLevel + 1);
        if (p_aCommits[p_lLevel]) {
            work.Commit();
        }
    }

    SqliteDatabase m_oDatabase{":memory:", SqliteDatabase::OpenMode::Create};
};

TEST_F(SqlDatabaseTest, NestedScopesKeepOnlyWhatEveryEnclosingScopeCommits) {
    struct Case {
        std::vector<bool> m_aCommits;  // outermost first
        const char* m_sKept;
    };
    const Case cases[] = {
        {{true}, "1"},
        {{false}, ""},
        {{true, true}, "12"},
        {{true, false}, "1"},
        {{false, true}, ""},
        {{true, false, true}, "1"},
        {{true, true, false}, "12"},
        {{true, true, true}, "123"},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(::testing::PrintToString(testCase.m_aCommits));
        m_oDatabase.Execute("DELETE FROM marks");
        Nest(testCase.m_aCommits);
        EXPECT_EQ(Marks(), testCase.m_sKept);
        EXPECT_FALSE(m_oDatabase.InTransaction());
    }
}

TEST_F(SqlDatabaseTest, AFailedSavepointLeavesTheEnclosingTransactionUsable) {
    SqlTransaction outer(m_oDatabase);
    m_oDatabase.Execute("INSERT INTO marks (level) VALUES (1)");
    {
        SqlTransaction inner(m_oDatabase);
        m_oDatabase.Execute("INSERT INTO marks (level) VALUES (2)");
        EXPECT_THROW(m_oDatabase.Execute("INSERT INTO marks (level) VALUES (NULL)"), FacadeError);
    }
    m_oDatabase.Execute("INSERT INTO marks (level) VALUES (3)");
    outer.Commit();
    EXPECT_EQ(Marks(), "13");
}

TEST_F(SqlDatabaseTest, ColumnKindsFollowTheValues) {
    SqlStatement row = m_oDatabase.Prepare("SELECT 7, 2.5, 'text', NULL, CAST(3 AS REAL)");
    ASSERT_TRUE(row.Step());
    const SqlValueKind kinds[] = {SqlValueKind::Integer, SqlValueKind::Real, SqlValueKind::Text,
                                  SqlValueKind::Null, SqlValueKind::Real};
    ASSERT_EQ(row.ColumnCount(), 5);
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(row.ColumnKind(column), kinds[column]) << "column " << column;
    }
    EXPECT_TRUE(row.ColumnIsNull(3));
    EXPECT_EQ(row.ColumnOptionalDouble(3), std::nullopt);
    EXPECT_EQ(row.ColumnOptionalDouble(4), 3.0);
}

}  // namespace
}  // namespace qv::facade
