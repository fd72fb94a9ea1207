// Statements and result sets: status, update counts, ownership, prefetch, cursor errors,
// getters with their conversions, and the PL/SQL rules.
#include <cstring>

#include "client_fixture.h"
#include "types/values.h"

namespace clienttest {
namespace {

class ClientStatement : public ::testing::Test {
protected:
    ClientStatement() : s(memdb()) {}
    Statement* make(const std::string& sql = "") { return s.conn()->createStatement(sql); }
    void drop(Statement* st) { s.conn()->terminateStatement(st); }
    Session s;
};

TEST_F(ClientStatement, StatusAndUpdateCounts) {
    Statement* empty = make();
    EXPECT_EQ(Statement::UNPREPARED, empty->status());
    EXPECT_EQ(Statement::UPDATE_COUNT_AVAILABLE, empty->execute("create table t (x integer)"));
    EXPECT_EQ(0u, empty->getUpdateCount());
    drop(empty);

    Statement* bad = make("select * from no_such_table");
    EXPECT_EQ(Statement::PREPARED, bad->status()) << "nothing is parsed before execute";
    EXPECT_EQ("ORA-00942: table or view does not exist\n", oraMessage([&] { bad->execute(); }));
    drop(bad);

    s.exec("insert into t values (1)");
    s.exec("insert into t values (2)");
    s.exec("insert into t values (3)");
    Statement* upd = make("update t set x = x + 1");
    EXPECT_EQ(Statement::UPDATE_COUNT_AVAILABLE, upd->execute());
    EXPECT_EQ(3u, upd->getUpdateCount());
    EXPECT_EQ(2u, upd->executeUpdate("delete from t where x > 2"));
    drop(upd);

    Statement* q = make("select x from t");
    EXPECT_EQ(Statement::RESULT_SET_AVAILABLE, q->execute());
    drop(q);
}

TEST_F(ClientStatement, ResultSetsEndSafelyOnReexecuteAndClose) {
    s.exec("create table t (x integer)");
    s.exec("insert into t values (1)");
    Statement* q = make("select x from t");
    q->execute();
    ResultSet* first = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, first->next());
    q->execute();
    ResultSet* second = q->getResultSet();
    EXPECT_EQ(1001, oraCode([&] { first->next(); }));
    EXPECT_EQ(1001, oraCode([&] { first->getInt(1); }));
    EXPECT_EQ(ResultSet::DATA_AVAILABLE, second->next());
    EXPECT_EQ(1, second->getInt(1));
    q->closeResultSet(second);
    EXPECT_EQ(1001, oraCode([&] { second->next(); }));
    EXPECT_EQ(24338, oraCode([&] { q->getResultSet(); }));
    EXPECT_EQ(0, kavexdb::testing::liveCounts().resultSets);
    drop(q);
}

TEST_F(ClientStatement, CursorErrorsAndEndOfFetch) {
    s.exec("create table t (x integer)");
    s.exec("insert into t values (1)");
    Statement* q = make("select x from t");
    q->execute();
    ResultSet* rs = q->getResultSet();
    EXPECT_EQ("ORA-01002: fetch out of sequence\n", oraMessage([&] { rs->getInt(1); }));
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_EQ("ORA-32109: invalid column or parameter position\n",
              oraMessage([&] { rs->getInt(2); }));
    EXPECT_EQ(32109, oraCode([&] { rs->getString(0); }));
    EXPECT_EQ(ResultSet::END_OF_FETCH, rs->next());
    EXPECT_EQ(ResultSet::END_OF_FETCH, rs->next());
    EXPECT_EQ(1002, oraCode([&] { rs->isNull(1); }));
    drop(q);
}

TEST_F(ClientStatement, PrefetchServesEveryRowInOrder) {
    s.exec("create table t (x integer)");
    Statement* ins = make("insert into t values (:1)");
    for (int i = 1; i <= 1003; ++i) {
        ins->setInt(1, i);
        ins->execute();
    }
    drop(ins);
    for (unsigned prefetch : {0u, 1u, 7u, 500u, 5000u}) {
        Statement* q = make("select x from t order by x");
        q->setPrefetchRowCount(prefetch);
        q->execute();
        ResultSet* rs = q->getResultSet();
        int expected = 0;
        while (rs->next() == ResultSet::DATA_AVAILABLE) ASSERT_EQ(++expected, rs->getInt(1));
        EXPECT_EQ(1003, expected) << prefetch;
        drop(q);
    }
}

TEST_F(ClientStatement, PrefetchedQueryDoesNotBlockWriters) {
    std::string db = memdb();
    Session reader(db), writer(db);
    writer.exec("create table t (x integer)");
    writer.exec("insert into t values (1)");
    writer.exec("commit");
    Statement* q = reader.conn()->createStatement("select x from t");
    q->setPrefetchRowCount(10);
    q->execute();
    // Every row is buffered: the SQLite statement is done, so the writer commits freely.
    writer.exec("insert into t values (2)");
    writer.exec("commit");
    ResultSet* rs = q->getResultSet();
    EXPECT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_EQ(ResultSet::END_OF_FETCH, rs->next());
    reader.conn()->terminateStatement(q);
}

TEST_F(ClientStatement, GettersConvertStoredValues) {
    s.exec("create table t (i integer, n number(10,2), r binary_double, v varchar2(20), "
           "d date, ts timestamp(9), c clob, b blob, w raw(8), e varchar2(5))");
    s.exec("insert into t values (42, 3.25, 0.1, '17', '2024-01-15 14:30:05', "
           "'2024-01-15 14:30:05.123456789', 'text', x'0102', x'ABCD', '')");
    Statement* q = make("select i, n, r, v, d, ts, c, b, w, e, i * 2, 'abc' from t");
    q->execute();
    ResultSet* rs = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_EQ("42", rs->getString(1));
    EXPECT_EQ(42, rs->getInt(1));
    EXPECT_EQ("3.25", rs->getString(2));
    EXPECT_EQ(3, rs->getInt(2));
    EXPECT_DOUBLE_EQ(3.25, rs->getBDouble(2).value);
    EXPECT_EQ("0.1", rs->getString(3));
    EXPECT_FLOAT_EQ(0.1f, rs->getBFloat(3).value);
    EXPECT_EQ(17, rs->getInt(4));
    EXPECT_DOUBLE_EQ(17.0, static_cast<double>(rs->getNumber(4)));
    Date d = rs->getDate(5);
    int year;
    unsigned month, day, hour, minute, second;
    d.getDate(year, month, day, hour, minute, second);
    EXPECT_EQ(2024, year);
    EXPECT_EQ(14u, hour);
    Timestamp ts = rs->getTimestamp(6);
    unsigned h, mi, sec, fs;
    ts.getTime(h, mi, sec, fs);
    EXPECT_EQ(123456789u, fs);
    EXPECT_EQ(4u, rs->getClob(7).length());
    EXPECT_EQ(2u, rs->getBlob(8).length());
    Bytes raw = rs->getBytes(9);
    ASSERT_EQ(2u, raw.length());
    unsigned char buf[2];
    raw.getBytes(buf, 2);
    EXPECT_EQ(0xAB, buf[0]);
    EXPECT_EQ("ABCD", rs->getString(9));
    EXPECT_TRUE(rs->isNull(10)) << "an empty string is NULL";
    EXPECT_TRUE(rs->getNumber(10).isNull());
    EXPECT_TRUE(rs->getBDouble(10).isNull);
    EXPECT_EQ("", rs->getString(10));
    EXPECT_EQ(84, rs->getInt(11));
    EXPECT_EQ("abc", rs->getString(12));
    EXPECT_EQ("ORA-01722: invalid number\n", oraMessage([&] { rs->getNumber(12); }));
    EXPECT_EQ(1861, oraCode([&] { rs->getDate(12); }));
    EXPECT_EQ(1861, oraCode([&] { rs->getTimestamp(4); }));
    drop(q);
}

TEST_F(ClientStatement, NumbersReadExactlyFromIntegersAndReals) {
    s.exec("create table t (id integer, n number(10,2), f number, i integer)");
    s.exec("insert into t values (1, 1234.56, 0.1, 9223372036854775807)");
    s.exec("insert into t values (2, -0.05, 1e100, -9223372036854775808)");
    s.exec("insert into t values (3, 1.0 / 3, 2.5e-7, 0)");
    s.exec("insert into t values (4, 100, -12.5, -1000)");
    Statement* q = make("select n, f, i from t order by id");
    q->execute();
    ResultSet* rs = q->getResultSet();
    auto plain = [](const Number& n) { return kavexdb::detail::numberToPlainText(n); };
    const char* expected[4][3] = {{"1234.56", "0.1", "9223372036854775807"},
                                  {"-0.05", "1E+100", "-9223372036854775808"},
                                  {"0.33", "0.00000025", "0"},
                                  {"100", "-12.5", "-1000"}};
    for (auto& row : expected) {
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        for (unsigned col = 1; col <= 3; ++col) {
            EXPECT_EQ(row[col - 1], plain(rs->getNumber(col))) << row[0] << " col " << col;
            EXPECT_EQ(row[col - 1], rs->getString(col)) << row[0] << " col " << col;
        }
    }
    drop(q);
}

TEST_F(ClientStatement, EmptyLobsAreNotNullButEmptyTextIs) {
    s.exec("create table t (c clob, b blob, v varchar2(10))");
    s.exec("insert into t values (empty_clob(), empty_blob(), '')");
    s.exec("insert into t values (null, null, null)");
    Statement* q = make("select c, b, v from t order by rowid");
    q->execute();
    ResultSet* rs = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_FALSE(rs->isNull(1));
    EXPECT_FALSE(rs->getClob(1).isNull());
    EXPECT_EQ(0u, rs->getClob(1).length());
    EXPECT_FALSE(rs->getBlob(2).isNull());
    EXPECT_TRUE(rs->isNull(3));
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_TRUE(rs->getClob(1).isNull());
    EXPECT_TRUE(rs->getBlob(2).isNull());
    drop(q);
}

TEST_F(ClientStatement, LobReadFromARowOutlivesTheCursor) {
    s.exec("create table t (id integer, c clob)");
    s.exec("insert into t values (1, 'first')");
    s.exec("insert into t values (2, 'second')");
    Statement* q = make("select c from t order by id");
    q->execute();
    ResultSet* rs = q->getResultSet();
    rs->next();
    Clob kept = rs->getClob(1);
    rs->next();
    rs->next();
    drop(q);
    Stream* in = kept.getStream(1, 0);
    char buf[16];
    int n = in->readBuffer(buf, sizeof buf);
    EXPECT_EQ("first", std::string(buf, n > 0 ? n : 0));
    kept.closeStream(in);
}

TEST_F(ClientStatement, MaxColumnSizeTruncatesLongColumns) {
    s.exec("create table t (l long, r long raw, v varchar2(20))");
    s.exec("insert into t values ('abcdefgh', x'0102030405', 'abcdefgh')");
    Statement* q = make("select l, r, v from t");
    q->execute();
    ResultSet* rs = q->getResultSet();
    rs->setMaxColumnSize(1, 3);
    rs->setMaxColumnSize(2, 2);
    rs->setMaxColumnSize(3, 3);
    rs->next();
    EXPECT_EQ("abc", rs->getString(1));
    EXPECT_EQ(2u, rs->getBytes(2).length());
    EXPECT_EQ("abcdefgh", rs->getString(3)) << "only LONG and LONG RAW are cut";
    EXPECT_EQ(32109, oraCode([&] { rs->setMaxColumnSize(4, 1); }));
    drop(q);
}

TEST_F(ClientStatement, IntegerOverflowIsAnError) {
    EXPECT_EQ(1455, oraCode([&] {
        Statement* q = make("select 3000000000");
        q->execute();
        ResultSet* rs = q->getResultSet();
        rs->next();
        try {
            rs->getInt(1);
        } catch (...) {
            drop(q);
            throw;
        }
        drop(q);
    }));
}

TEST_F(ClientStatement, DescribesResultColumnsOncePerExecution) {
    s.exec("create table t (name varchar2(30) not null)");
    s.exec("insert into t values ('abcdef')");
    Statement* q = make("select name, name || 'xy' from t");
    q->execute();
    ResultSet* rs = q->getResultSet();
    std::vector<MetaData> cols = rs->getColumnListMetaData();
    ASSERT_EQ(2u, cols.size());
    EXPECT_EQ("NAME", cols[0].getString(MetaData::ATTR_NAME));
    EXPECT_EQ(30, cols[0].getInt(MetaData::ATTR_DATA_SIZE));
    EXPECT_EQ(8, cols[1].getInt(MetaData::ATTR_DATA_SIZE)) << "sized from the first fetch";
    drop(q);
}

TEST_F(ClientStatement, PlSqlRules) {
    s.exec("begin null; end;");
    s.exec("DECLARE x number; BEGIN x := 1; END;");
    EXPECT_EQ(6550, oraCode([&] { s.exec("DECLARE x number; BEGIN x = 1; END;"); }));
    s.exec("create table t (x integer)");
    s.exec("create table log (x integer)");
    s.exec("create trigger trg after insert on t for each row "
           "begin insert into log values (:new.x); end;");
    s.exec("insert into t values (5)");
    EXPECT_EQ("5", s.one("select x from log"));
}

TEST_F(ClientStatement, TrailingStatementsAreRefused) {
    s.exec("create table t (x integer)");
    EXPECT_EQ(933, oraCode([&] { s.exec("insert into t values (1); delete from t"); }));
    EXPECT_EQ("0", s.one("select count(*) from t"));
}

}  // namespace
}  // namespace clienttest
