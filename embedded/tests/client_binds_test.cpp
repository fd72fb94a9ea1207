// Binding every kind of value, data buffers, and array DML through iterations.
#include "client_fixture.h"

namespace clienttest {
namespace {

class ClientBinds : public ::testing::Test {
protected:
    ClientBinds() : s(memdb()) {
        s.exec("create table t (id integer, i integer, n number(12,3), f binary_float, "
               "d binary_double, v varchar2(40), ts timestamp(9), tz timestamp with time zone, "
               "c clob, b blob)");
    }
    Statement* make(const std::string& sql) { return s.conn()->createStatement(sql); }
    void drop(Statement* st) { s.conn()->terminateStatement(st); }
    Session s;
};

TEST_F(ClientBinds, EveryBindTypeRoundTrips) {
    Statement* ins = make("insert into t values (:id, :i, :n, :f, :d, :v, :ts, :tz, :c, :b)");
    Environment* env = s.env();
    // Row 1: values.
    ins->setInt(1, 1);
    ins->setInt(2, -7);
    ins->setString(3, "12.125");
    BFloat f;
    f.value = 1.5f;
    ins->setBFloat(4, f);
    BDouble d;
    d.value = 2.25;
    ins->setBDouble(5, d);
    ins->setString(6, "h\xC3\xA9llo");
    ins->setTimestamp(7, Timestamp(env, 2024, 2, 29, 23, 59, 58, 123456789));
    ins->setTimestamp(8, Timestamp(env, 2024, 1, 15, 14, 30, 5, 0, 5, 30));
    Statement* lob = make("begin dbms_lob.createtemporary(:p1, FALSE); end;");
    lob->registerOutParam(1, OCCICLOB);
    lob->executeUpdate();
    Clob clob = lob->getClob(1);
    lob->registerOutParam(1, OCCIBLOB);
    lob->executeUpdate();
    Blob blob = lob->getBlob(1);
    drop(lob);
    Stream* w = clob.getStream(1, 0);
    char text[] = "clob text";
    w->writeBuffer(text, 9);
    w->writeLastBuffer(text, 0);
    clob.closeStream(w);
    w = blob.getStream(1, 0);
    char bytes[] = {1, 0, 2};
    w->writeBuffer(bytes, 3);
    w->writeLastBuffer(bytes, 0);
    blob.closeStream(w);
    ins->setClob(9, clob);
    ins->setBlob(10, blob);
    EXPECT_EQ(1u, ins->executeUpdate());

    // Row 2: NULL through every setter.
    ins->setInt(1, 2);
    ins->setNull(2, OCCIINT);
    ins->setString(3, "");
    f.isNull = true;
    ins->setBFloat(4, f);
    d.isNull = true;
    ins->setBDouble(5, d);
    ins->setNull(6, OCCISTRING);
    ins->setTimestamp(7, Timestamp());
    ins->setNull(8, OCCITIMESTAMP);
    ins->setClob(9, Clob());
    ins->setBlob(10, Blob());
    EXPECT_EQ(1u, ins->executeUpdate());
    drop(ins);

    Statement* q = make("select i, n, f, d, v, ts, tz, c, b from t order by id");
    q->execute();
    ResultSet* rs = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_EQ(-7, rs->getInt(1));
    EXPECT_EQ("12.125", rs->getString(2));
    EXPECT_EQ(1.5f, rs->getBFloat(3).value);
    EXPECT_EQ(2.25, rs->getBDouble(4).value);
    EXPECT_EQ("h\xC3\xA9llo", rs->getString(5));
    EXPECT_EQ("2024-02-29 23:59:58.123456789", rs->getString(6));
    int tzh, tzm;
    rs->getTimestamp(7).getTimeZoneOffset(tzh, tzm);
    EXPECT_EQ(5, tzh);
    EXPECT_EQ(30, tzm);
    EXPECT_EQ(9u, rs->getClob(8).length());
    EXPECT_EQ(3u, rs->getBlob(9).length());
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    for (unsigned col = 1; col <= 9; ++col) EXPECT_TRUE(rs->isNull(col)) << col;
    drop(q);
}

TEST_F(ClientBinds, BindTypesIntoOtherColumnTypes) {
    s.exec("create table x (n number, n2 number(10,2), v varchar2(20), d binary_double, "
           "dt date, r raw(16))");
    Statement* ins = make("insert into x values (:1, :2, :3, :4, :5, :6)");
    ins->setString(1, "12.5");
    BDouble half;
    half.value = 2.5;
    ins->setBDouble(2, half);
    ins->setInt(3, 7);
    ins->setString(4, "0.25");
    ins->setTimestamp(5, Timestamp(s.env(), 2023, 12, 31, 23, 59, 59, 500000000));
    Statement* lob = make("begin dbms_lob.createtemporary(:p1, FALSE); end;");
    lob->registerOutParam(1, OCCIBLOB);
    lob->execute();
    Blob raw = lob->getBlob(1);
    Stream* w = raw.getStream(1, 0);
    char bytes[] = {'\x0A', '\x0B'};
    w->writeBuffer(bytes, 2);
    raw.closeStream(w);
    drop(lob);
    ins->setBlob(6, raw);
    ins->execute();
    int cell = 42;
    ub2 length = sizeof cell;
    ins->setDataBuffer(1, &cell, OCCIINT, sizeof cell, &length);
    ins->setNull(2, OCCINUMBER);
    ins->setNull(3, OCCI_SQLT_CHR);
    ins->setNull(4, OCCIBDOUBLE);
    ins->setNull(5, OCCIDATE);
    ins->setNull(6, OCCI_SQLT_BIN);
    ins->execute();
    drop(ins);

    Statement* q = make("select n, n2, v, d, dt, r from x order by n");
    q->execute();
    ResultSet* rs = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_EQ("12.5", rs->getString(1));
    EXPECT_EQ("2.5", rs->getString(2));
    EXPECT_EQ("7", rs->getString(3));
    EXPECT_EQ(0.25, rs->getBDouble(4).value);
    int year;
    unsigned month, day, hour, minute, second;
    rs->getDate(5).getDate(year, month, day, hour, minute, second);
    EXPECT_EQ(2023, year);
    EXPECT_EQ(59u, second);
    EXPECT_EQ("0A0B", rs->getString(6));
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_EQ(42, rs->getInt(1));
    for (unsigned col = 2; col <= 6; ++col) EXPECT_TRUE(rs->isNull(col)) << col;
    drop(q);
}

TEST_F(ClientBinds, ParameterPositionsAndUnboundParameters) {
    Statement* ins = make("insert into t (id, v) values (:a, :b)");
    EXPECT_EQ(32109, oraCode([&] { ins->setInt(0, 1); }));
    ins->setInt(1, 1);
    EXPECT_EQ("ORA-01008: not all variables bound\n", oraMessage([&] { ins->execute(); }));
    ins->setInt(3, 1);
    ins->setString(2, "x");
    EXPECT_EQ(32109, oraCode([&] { ins->execute(); }));
    drop(ins);
    Statement* twice = make("select :a + :a, :b");
    twice->setInt(1, 20);
    twice->setInt(2, 2);
    twice->execute();
    ResultSet* rs = twice->getResultSet();
    rs->next();
    EXPECT_EQ(40, rs->getInt(1)) << "a name used twice is one parameter";
    EXPECT_EQ(2, rs->getInt(2));
    drop(twice);
}

TEST_F(ClientBinds, ReexecutionKeepsTheLastValues) {
    Statement* ins = make("insert into t (id, v) values (:1, :2)");
    ins->setInt(1, 1);
    ins->setString(2, "same");
    ins->execute();
    ins->execute();
    ins->setInt(1, 2);
    ins->execute();
    drop(ins);
    EXPECT_EQ("3", s.one("select count(*) from t where v = 'same'"));
    EXPECT_EQ("1", s.one("select count(*) from t where id = 2"));
}

TEST_F(ClientBinds, DataBufferIsReadAtExecuteAndNeverPastItsCells) {
    Statement* ins = make("insert into t (id, v) values (:1, :2)");
    char cell[4] = {'a', 'b', 'c', 'd'};  // no terminator: only 4 bytes may be read
    ub2 length = 0;
    sb2 indicator = 0;
    ins->setInt(1, 1);
    ins->setDataBuffer(2, cell, OCCI_SQLT_STR, sizeof cell, &length, &indicator);
    ins->execute();
    indicator = -1;
    ins->setInt(1, 2);
    ins->execute();
    ub4 length32 = 2;
    indicator = 0;
    ins->setDataBuffer(2, cell, OCCI_SQLT_CHR, sizeof cell, &length32, &indicator);
    ins->setInt(1, 3);
    ins->execute();
    drop(ins);
    EXPECT_EQ("abcd", s.one("select v from t where id = 1"));
    EXPECT_EQ("<null>", s.one("select v from t where id = 2"));
    EXPECT_EQ("ab", s.one("select v from t where id = 3"));
}

TEST_F(ClientBinds, BufferAppliesToIterationsWithoutOtherBinds) {
    Statement* ins = make("insert into t (id, i) values (:1, :2)");
    ins->setMaxIterations(3);
    static const char empty[] = "";
    ub2 length = 0;
    sb2 indicator = -1;
    ins->setDataBuffer(2, const_cast<char*>(empty), OCCI_SQLT_STR, 0, &length, &indicator);
    ins->setInt(1, 1);
    ins->addIteration();
    ins->setInt(1, 2);
    ins->setInt(2, 5);
    ins->addIteration();
    ins->setInt(1, 3);
    EXPECT_EQ(3u, ins->executeUpdate());
    drop(ins);
    Statement* q = make("select i from t order by id");
    q->execute();
    ResultSet* rs = q->getResultSet();
    std::vector<std::string> got;
    while (rs->next()) got.push_back(rs->isNull(1) ? "NULL" : rs->getString(1));
    EXPECT_EQ((std::vector<std::string>{"NULL", "5", "NULL"}), got);
    drop(q);
}

TEST_F(ClientBinds, ArrayDmlOfThousandsOfRowsInOneExecute) {
    const unsigned rows = 5000;
    Statement* ins = make("insert into t (id, v, d) values (:1, :2, :3)");
    ins->setMaxIterations(rows);
    ins->setMaxParamSize(2, 20);
    for (unsigned r = 0; r < rows; ++r) {
        if (r) ins->addIteration();
        ins->setInt(1, static_cast<int>(r));
        ins->setString(2, "row " + std::to_string(r));
        BDouble d;
        d.value = r / 2.0;
        ins->setBDouble(3, d);
    }
    EXPECT_EQ(rows, ins->executeUpdate());
    EXPECT_EQ(24333, oraCode([&] { ins->setMaxIterations(0); }));
    drop(ins);
    EXPECT_EQ("5000", s.one("select count(*) from t"));
    EXPECT_EQ("row 4999", s.one("select v from t where id = 4999"));
    EXPECT_EQ("2499.5", s.one("select d from t where id = 4999"));
}

TEST_F(ClientBinds, ArrayDmlKeepsEveryTextWhole) {
    // Texts of every length up to 4000 bytes, megabytes in all, and one larger than any of
    // them, in two executions of one statement; a value set twice in an iteration is the last.
    auto text = [](unsigned row, unsigned pass) {
        std::string v((row * 37 + pass * 11) % 4001, static_cast<char>('a' + (row + pass) % 26));
        if (!v.empty()) v.back() = static_cast<char>('A' + row % 26);
        return v;
    };
    const unsigned rows = 2500;
    const std::string large(5u << 20, 'L');
    s.exec("create table w (id integer, v varchar2(4000), c clob)");
    Statement* ins = make("insert into w values (:1, :2, :3)");
    ins->setMaxIterations(rows);
    ins->setMaxParamSize(2, 4000);
    ins->setMaxParamSize(3, static_cast<unsigned>(large.size()));
    for (unsigned pass = 0; pass < 2; ++pass) {
        for (unsigned r = 0; r < rows; ++r) {
            if (r) ins->addIteration();
            ins->setInt(1, static_cast<int>(pass * rows + r));
            ins->setString(2, "replaced");
            ins->setString(2, text(r, pass));
            ins->setString(3, r == 1234 ? large : std::to_string(r));
        }
        EXPECT_EQ(rows, ins->executeUpdate());
    }
    drop(ins);
    Statement* q = make("select id, v, c from w order by id");
    q->execute();
    ResultSet* rs = q->getResultSet();
    unsigned seen = 0, wrong = 0;
    for (; rs->next(); ++seen) {
        const unsigned id = static_cast<unsigned>(rs->getInt(1));
        const std::string v = text(id % rows, id / rows);
        // Oracle has no empty strings: the empty text is NULL.
        if (v.empty() ? !rs->isNull(2) : rs->isNull(2) || rs->getString(2) != v) ++wrong;
        if (id % rows == 1234) {
            EXPECT_EQ(large.size(), rs->getClob(3).length());
        }
    }
    drop(q);
    EXPECT_EQ(2 * rows, seen);
    EXPECT_EQ(0u, wrong);
    EXPECT_EQ("2", s.one("select count(*) from w where c = '2499'"));
}

TEST_F(ClientBinds, FailingIterationStopsAndKeepsEarlierRows) {
    s.exec("create table u (id integer primary key)");
    Statement* ins = make("insert into u values (:1)");
    ins->setMaxIterations(4);
    for (int id : {1, 2, 2, 3}) {
        if (id != 1) ins->addIteration();
        ins->setInt(1, id);
    }
    EXPECT_EQ(1, oraCode([&] { ins->execute(); }));
    EXPECT_EQ(2u, ins->getUpdateCount());
    drop(ins);
    EXPECT_EQ("2", s.one("select count(*) from u"));
}

TEST_F(ClientBinds, IterationLimits) {
    Statement* ins = make("insert into t (id, v) values (:1, :2)");
    ins->setMaxIterations(2);
    EXPECT_EQ("ORA-32108: max column or parameter size not specified\n",
              oraMessage([&] { ins->setString(2, "x"); }));
    ins->setMaxParamSize(2, 3);
    ins->setString(2, "abc");
    EXPECT_EQ(1461, oraCode([&] { ins->setString(2, "abcd"); }));
    ins->setInt(1, 1);
    ins->addIteration();
    ins->setInt(1, 2);
    EXPECT_NE(0, oraCode([&] { ins->addIteration(); }));
    EXPECT_EQ(2u, ins->executeUpdate());
    drop(ins);
    EXPECT_EQ("2", s.one("select count(*) from t where v = 'abc'"));
}

TEST(ClientCharset, Utf8SessionsStoreStandardUtf8) {
    std::string db = memdb();
    Session s(db, "u", "p", "utf8");
    s.exec("create table t (v varchar2(10))");
    const std::string surrogates = "\xED\xA0\xBD\xED\xB8\x80";  // U+1F600 as modified UTF-8
    Statement* ins = s.conn()->createStatement("insert into t values (:1)");
    ins->setString(1, surrogates);
    ins->execute();
    s.conn()->terminateStatement(ins);
    EXPECT_EQ("F09F9880", s.one("select hex(v) from t"));
    EXPECT_EQ(surrogates, s.one("select v from t"));
}

}  // namespace
}  // namespace clienttest
