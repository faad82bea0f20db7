#include "server/pg_database.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "facade/sqlite_database.h"
#include "pg_test_database.h"

namespace qv::server {
namespace {

using facade::FacadeError;
using facade::SqlStatement;
using facade::SqlTransaction;
using facade::SqlValueKind;
using test::ScratchDatabaseTest;

struct TranslationCase {
    const char* m_sSql;
    const char* m_sExpected;
    int m_lParameters;
};

TEST(PgTranslation, RewritesParametersAndCastsOutsideQuotesAndComments) {
    const TranslationCase cases[] = {
        {"SELECT a FROM t WHERE b = ?1 AND c = ?2", "SELECT a FROM t WHERE b = $1 AND c = $2", 2},
        {"?3 + ? - ?1, ?", "$3 + $4 - $1, $5", 5},
        {"SELECT '?', 'it''s ?', \"odd?name\", ?", "SELECT '?', 'it''s ?', \"odd?name\", $1", 1},
        {"SELECT 1 -- why?\n, /* ?1 */ ?2", "SELECT 1 -- why?\n, /* ?1 */ $2", 2},
        {"SELECT 'open ?", "SELECT 'open ?", 0},
        {"cast(x as real) / CAST(k AS\n INTEGER)",
         "cast(x as DOUBLE PRECISION) / CAST(k AS\n BIGINT)", 0},
        {"SELECT real, x AS real_value, 'AS REAL', \"AS\" REAL, y AS t, REAL, z AS \"w\" REAL",
         "SELECT real, x AS real_value, 'AS REAL', \"AS\" REAL, y AS t, REAL, z AS \"w\" REAL", 0},
    };
    for (const TranslationCase& item : cases) {
        const PgSql translated = TranslateSql(item.m_sSql);
        EXPECT_EQ(translated.m_sText, item.m_sExpected) << item.m_sSql;
        EXPECT_EQ(translated.m_lParameterCount, item.m_lParameters) << item.m_sSql;
    }
}

TEST(PgTranslation, NamesAnAddressWithoutItsPassword) {
    const std::pair<const char*, const char*> cases[] = {
        {"postgresql:///qorvant?host=/tmp/pg&port=5432",
         "postgresql:///qorvant?host=/tmp/pg&port=5432"},
        {"postgres://me:s3cr@t@db:5433/market", "postgres://me@db:5433/market"},
        {"postgresql://me@db/market?password=x&sslmode=require",
         "postgresql://me@db/market?sslmode=require"},
        {"host=/tmp dbname=market password=x user=me", "host=/tmp dbname=market user=me"},
    };
    for (const auto& [url, expected] : cases) {
        EXPECT_EQ(UrlWithoutPassword(url), expected) << url;
    }
}

class PgDatabaseTest : public ScratchDatabaseTest {
  protected:
    int64_t Count(const char* p_sTable) {
        return Db().QueryInt64(std::string("SELECT count(*) FROM ") + p_sTable);
    }

    // Ends this test's connection from the server's side and waits until it has ended.
    void EndConnection() {
        const int64_t pid = Db().QueryInt64("SELECT pg_backend_pid()");
        SqlStatement end =
            m_oSchema->Admin().Prepare("SELECT pg_terminate_backend(?1::integer, 10000)");
        end.BindInt64(1, pid);
        ASSERT_TRUE(end.Step());
        ASSERT_EQ(end.ColumnInt64(0), 1);
    }
};

struct ValueCase {
    const char* m_sExpression;
    SqlValueKind m_eKind;
    int64_t m_llInteger;
    double m_dReal;
    const char* m_sText;
};

TEST_F(PgDatabaseTest, ReadsEachColumnByItsType) {
    const ValueCase cases[] = {
        {"CAST(7 AS smallint)", SqlValueKind::Integer, 7, 7.0, "7"},
        {"9007199254740993::bigint", SqlValueKind::Integer, 9007199254740993, 9007199254740992.0,
         "9007199254740993"},
        {"-2.5::real", SqlValueKind::Real, -2, -2.5, "-2.5"},
        {"sum(x) FROM (VALUES (9223372036854775800::bigint), (7)) v (x)", SqlValueKind::Integer,
         std::numeric_limits<int64_t>::max(), 9223372036854775807.0, "9223372036854775807"},
        {"7 / 2.0", SqlValueKind::Real, 3, 3.5, "3.5000000000000000"},
        {"1e300::float8 * 10", SqlValueKind::Real, std::numeric_limits<int64_t>::max(), 1e301,
         "1e+301"},
        {"CAST(-70000 AS int)", SqlValueKind::Integer, -70000, -70000.0, "-70000"},
        {"CAST(-7 AS smallint)", SqlValueKind::Integer, -7, -7.0, "-7"},
        {"10000::numeric", SqlValueKind::Integer, 10000, 10000.0, "10000"},
        {"0::numeric", SqlValueKind::Integer, 0, 0.0, "0"},
        {"-0.0005::numeric", SqlValueKind::Real, 0, -0.0005, "-0.0005"},
        {"-123456789.000100::numeric", SqlValueKind::Real, -123456789, -123456789.0001,
         "-123456789.000100"},
        {"1 > 2", SqlValueKind::Integer, 0, 0.0, "f"},
        {"2 > 1", SqlValueKind::Integer, 1, 1.0, "t"},
        {"'2020-01-02'::date", SqlValueKind::Text, 2020, 2020.0, "2020-01-02"},
        {"'12 apples'", SqlValueKind::Text, 12, 12.0, "12 apples"},
        {"NULL", SqlValueKind::Null, 0, 0.0, ""},
    };
    for (const ValueCase& item : cases) {
        SqlStatement select = Db().Prepare(std::string("SELECT ") + item.m_sExpression);
        ASSERT_TRUE(select.Step()) << item.m_sExpression;
        EXPECT_EQ(select.ColumnKind(0), item.m_eKind) << item.m_sExpression;
        EXPECT_EQ(select.ColumnInt64(0), item.m_llInteger) << item.m_sExpression;
        EXPECT_EQ(select.ColumnDouble(0), item.m_dReal) << item.m_sExpression;
        EXPECT_EQ(select.ColumnText(0), item.m_sText) << item.m_sExpression;
        EXPECT_FALSE(select.Step());
    }
}

TEST_F(PgDatabaseTest, BoundValuesComeBackExactlyAndIntegersAreWorkedOutIn64Bits) {
    SqlStatement select = Db().Prepare("SELECT ?1 * 4194304 + ?2, ?3, ?4");
    for (const double value : {0.1, 1.0 / 3, -1e-300, std::numeric_limits<double>::infinity()}) {
        select.BindInt64(1, 5000);
        select.BindInt64(2, std::numeric_limits<int32_t>::max());
        select.BindDouble(3, value);
        select.BindText(4, "it's \"quoted\" ? ü");
        ASSERT_TRUE(select.Step());
        EXPECT_EQ(select.ColumnInt64(0), int64_t{5000} * 4194304 + 2147483647);
        EXPECT_EQ(select.ColumnDouble(1), value);
        EXPECT_EQ(select.ColumnText(2), "it's \"quoted\" ? ü");
        select.Reset();
    }
}

TEST_F(PgDatabaseTest, PreparesAStatementOncePerConnection) {
    const char* sql = "SELECT count(*) FROM pg_prepared_statements WHERE statement = $1";
    for (int round = 0; round < 3; ++round) {
        SqlStatement count =
            Db().Prepare("SELECT count(*) FROM pg_prepared_statements WHERE statement = ?1");
        count.BindText(1, sql);
        ASSERT_TRUE(count.Step());
        EXPECT_EQ(count.ColumnInt64(0), 1);
    }
}

TEST_F(PgDatabaseTest, FailuresNameTheDatabaseAndSayWhatFailed) {
    try {
        Db().Prepare("SELECT FROM WHERE");
        FAIL() << "a statement that does not parse was prepared";
    } catch (const FacadeError& error) {
        EXPECT_EQ(error.Path(), UrlWithoutPassword(m_oSchema->Url()));
        EXPECT_TRUE(error.Message().starts_with("cannot prepare a query: syntax error"))
            << error.Message();
    }
    SqlStatement two = Db().Prepare("SELECT ?1 * 2 + ?2");
    EXPECT_THROW(two.BindInt64(3, 1), FacadeError);
}

TEST_F(PgDatabaseTest, TransactionsCommitRollBackAndNestAsSavepoints) {
    Db().Execute("CREATE TABLE w (x INTEGER UNIQUE)");
    {
        SqlTransaction work(Db());
        EXPECT_TRUE(Db().InTransaction());
        Db().Execute("INSERT INTO w VALUES (1)");
    }
    EXPECT_FALSE(Db().InTransaction());
    EXPECT_EQ(Count("w"), 0) << "a scope left without Commit rolls back";

    {
        SqlTransaction work(Db());
        Db().Execute("INSERT INTO w VALUES (1)");
        {
            SqlTransaction inner(Db());
            Db().Execute("INSERT INTO w VALUES (2)");
        }
        {
            SqlTransaction inner(Db());
            EXPECT_THROW(Db().Execute("INSERT INTO w VALUES (1)"), FacadeError);
        }
        {
            SqlTransaction inner(Db());
            Db().Execute("INSERT INTO w VALUES (3)");
            inner.Commit();
        }
        work.Commit();
    }
    EXPECT_EQ(Db().QueryInt64("SELECT sum(x) FROM w"), 4)
        << "an inner scope's failure or rollback leaves the outer work to commit";

    SqlStatement update = Db().Prepare("UPDATE w SET x = x + 10 WHERE x > ?1");
    update.BindInt64(1, 0);
    update.Run();
    EXPECT_EQ(Db().ChangedRows(), 2);
    EXPECT_EQ(Count("w"), 2) << "a query changes nothing";
    EXPECT_EQ(Db().ChangedRows(), 2);
    {
        SqlTransaction work(Db());
        Db().Execute("INSERT INTO w VALUES (5)");
        EXPECT_THROW(Db().Execute("INSERT INTO w VALUES (11)"), FacadeError);
        EXPECT_THROW(work.Commit(), FacadeError);
    }
    EXPECT_FALSE(Db().InTransaction());
    EXPECT_EQ(Count("w"), 2) << "a transaction whose statement failed commits nothing";
}

TEST_F(PgDatabaseTest, WriteTransactionsTakeTurns) {
    PgDatabase other(m_oSchema->Url(), 50);
    {
        SqlTransaction work(Db());
        try {
            SqlTransaction waiting(other);
            FAIL() << "two write transactions at once";
        } catch (const FacadeError& error) {
            EXPECT_TRUE(error.Message().starts_with("the database is busy")) << error.Message();
        }
        EXPECT_FALSE(other.InTransaction());
        EXPECT_EQ(other.QueryInt64("SELECT 1"), 1);
    }
    // The write lock is the database's, which other test programs running beside this one take
    // too: the turn after waits as long as the store's connections do.
    PgDatabase later(m_oSchema->Url());
    SqlTransaction after(later);
    after.Commit();
}

TEST_F(PgDatabaseTest, AReadTransactionSeesOneStateAndWritesNothing) {
    Db().Execute("CREATE TABLE r (x INTEGER)");
    PgDatabase other(m_oSchema->Url());
    Db().BeginRead();
    EXPECT_EQ(Count("r"), 0);
    other.Execute("INSERT INTO r VALUES (1)");
    EXPECT_EQ(Count("r"), 0);
    EXPECT_THROW(Db().Execute("INSERT INTO r VALUES (2)"), FacadeError);
    Db().RollbackTransaction();
    EXPECT_EQ(Count("r"), 1);
}

TEST_F(PgDatabaseTest, AnEndedConnectionIsOpenedAgainOutsideATransaction) {
    SqlStatement select = Db().Prepare("SELECT pg_backend_pid()");
    ASSERT_TRUE(select.Step());
    const int64_t before = select.ColumnInt64(0);
    select.Reset();

    EndConnection();
    ASSERT_TRUE(select.Step()) << "prepared before, runs on the new connection at once";
    EXPECT_NE(select.ColumnInt64(0), before);
    select.Reset();

    Db().BeginWrite();
    EndConnection();
    EXPECT_THROW(Db().QueryInt64("SELECT 1"), FacadeError);
    try {
        Db().QueryInt64("SELECT 1");
        FAIL() << "a transaction went on over a new connection";
    } catch (const FacadeError& error) {
        EXPECT_NE(error.Message().find("during a transaction"), std::string::npos)
            << error.Message();
    }
    EXPECT_THROW(Db().CommitTransaction(), FacadeError);
    EXPECT_FALSE(Db().InTransaction());
    EXPECT_EQ(Db().QueryInt64("SELECT 1"), 1);
}

}  // namespace
}  // namespace qv::server
