// Every SQL function a session has, called with the values that break careless code: NULL, '',
// empty BLOBs (literal, EMPTY_BLOB(), stored, bound), negative, huge and fractional lengths.
// Expected results are Oracle's: '' is NULL, a length below 1 gives NULL, a fractional length is
// truncated.
#include "client_fixture.h"

namespace clienttest {
namespace {

const char* const kBlock = "begin dbms_lob.createtemporary(:p1, FALSE); end;";

class SqlFunctionEdges : public ::testing::Test {
  protected:
    SqlFunctionEdges() : s(memdb()) {
        s.exec("create table lobs (b blob, c clob)");
        s.exec("insert into lobs values (empty_blob(), empty_clob())");
    }

    // An empty temporary LOB made through the block, as the library makes them.
    template <class Lob>
    Lob emptyTemporary(Type type) {
        Statement* block = s.conn()->createStatement(kBlock);
        block->registerOutParam(1, type);
        block->execute();
        Lob lob;
        if constexpr (std::is_same<Lob, Clob>::value)
            lob = block->getClob(1);
        else
            lob = block->getBlob(1);
        s.conn()->terminateStatement(block);
        return lob;
    }

    // The query's one value with :1 bound to an empty BLOB (OCCIBLOB) or CLOB (OCCICLOB).
    std::string withEmptyLob(Type type, const std::string& sql) {
        Statement* q = s.conn()->createStatement(sql);
        std::string out;
        try {
            if (type == OCCIBLOB)
                q->setBlob(1, emptyTemporary<Blob>(type));
            else
                q->setClob(1, emptyTemporary<Clob>(type));
            q->execute();
            ResultSet* rs = q->getResultSet();
            out = rs->next() && !rs->isNull(1) ? rs->getString(1) : "<null>";
        } catch (...) {
            s.conn()->terminateStatement(q);
            throw;
        }
        s.conn()->terminateStatement(q);
        return out;
    }

    Session s;
};

TEST_F(SqlFunctionEdges, PadWithAnEmptyFillerIsNull) {
    for (const char* fn : {"lpad", "rpad"}) {
        const std::string f = fn;
        for (const std::string& filler :
             {std::string("X''"), std::string("''"), std::string("empty_blob()"),
              std::string("empty_clob()"), std::string("zeroblob(0)"), std::string("null")})
            EXPECT_EQ("<null>", s.one("select " + f + "('a', 5, " + filler + ") from dual"))
                << f << " " << filler;
        EXPECT_EQ("<null>", s.one("select " + f + "('a', 5, b) from lobs")) << f;
        EXPECT_EQ("<null>", s.one("select " + f + "('a', 5, c) from lobs")) << f;
        EXPECT_EQ("<null>", withEmptyLob(OCCIBLOB, "select " + f + "('a', 5, :1) from dual")) << f;
        EXPECT_EQ("<null>", withEmptyLob(OCCICLOB, "select " + f + "('a', 5, :1) from dual")) << f;
        EXPECT_EQ("<null>", withEmptyLob(OCCICLOB, "select " + f + "(:1, 5, '*') from dual")) << f;
    }
}

TEST_F(SqlFunctionEdges, PadLengths) {
    EXPECT_EQ("***ab", s.one("select lpad('ab', 5, '*') from dual"));
    EXPECT_EQ("ab***", s.one("select rpad('ab', 5, '*') from dual"));
    EXPECT_EQ("xyxab", s.one("select lpad('ab', 5, 'xy') from dual"));
    EXPECT_EQ("   ab", s.one("select lpad('ab', 5) from dual"));
    EXPECT_EQ("ab", s.one("select lpad('abc', 2) from dual")) << "cut to length";
    EXPECT_EQ("ab", s.one("select rpad('abc', 2, '*') from dual"));
    EXPECT_EQ("*a", s.one("select lpad('a', 2.9, '*') from dual")) << "fraction truncated";
    EXPECT_EQ(
        "\xC3\xA9\xC3\xA9"
        "a",
        s.one("select lpad('a', 3, '\xC3\xA9') from dual"));
    for (const char* length : {"0", "0.5", "-1", "-2.5", "-9223372036854775808", "1e300",
                               "9223372036854775807", "''", "null"}) {
        const std::string n = length;
        EXPECT_EQ("<null>", s.one("select lpad('a', " + n + ", '*') from dual")) << n;
        EXPECT_EQ("<null>", s.one("select rpad('a', " + n + ") from dual")) << n;
    }
    EXPECT_EQ("<null>", s.one("select lpad(null, 5, '*') from dual"));
    EXPECT_EQ("<null>", s.one("select rpad('', 5, '*') from dual"));
    EXPECT_EQ(std::string(32767, '*'), s.one("select lpad('*', 32767, '*') from dual"));
    EXPECT_EQ("32767", s.one("select length(rpad('a', 32767.9, 'xyz')) from dual"));
    EXPECT_EQ("<null>", s.one("select rpad('a', 32768, 'xyz') from dual"));
}

TEST_F(SqlFunctionEdges, TextFunctionsTakeEmptyBlobsAndNulls) {
    for (const std::string& arg : {std::string("null"), std::string("''"), std::string("X''"),
                                   std::string("empty_blob()"), std::string("empty_clob()")}) {
        EXPECT_EQ("<null>", s.one("select initcap(" + arg + ") from dual")) << arg;
        EXPECT_EQ("<null>", s.one("select to_char(" + arg + ") from dual")) << arg;
        EXPECT_EQ("<null>", s.one("select to_number(" + arg + ") from dual")) << arg;
        EXPECT_EQ("<null>", s.one("select to_date(" + arg + ", 'YYYY-MM-DD') from dual")) << arg;
        EXPECT_EQ("<null>", s.one("select to_char(" + arg + ", '999') from dual")) << arg;
    }
    EXPECT_EQ("<null>", s.one("select initcap(b) from lobs"));
    EXPECT_EQ("<null>", withEmptyLob(OCCIBLOB, "select initcap(:1) from dual"));
    EXPECT_EQ("<null>", withEmptyLob(OCCICLOB, "select initcap(:1) from dual"));
    EXPECT_EQ("<null>", withEmptyLob(OCCIBLOB, "select to_char(:1) from dual"));
    EXPECT_EQ("<null>", withEmptyLob(OCCICLOB, "select to_number(:1) from dual"));
    EXPECT_EQ("Ab Cd", s.one("select initcap('aB cD') from dual"));
}

TEST_F(SqlFunctionEdges, NullFormatModelsGiveNull) {
    EXPECT_EQ("<null>", s.one("select to_char(12, '') from dual"));
    EXPECT_EQ("<null>", s.one("select to_char(12, null) from dual"));
    EXPECT_EQ("<null>", s.one("select to_char(date '2024-01-15', '') from dual"));
    EXPECT_EQ("<null>", s.one("select to_number('12', '') from dual"));
    EXPECT_EQ("<null>", s.one("select to_date('2024-01-15', '') from dual"));
    EXPECT_EQ("<null>", s.one("select to_date('2024-01-15', null) from dual"));
}

TEST_F(SqlFunctionEdges, NullHandlingOfChoiceFunctions) {
    EXPECT_EQ("b", s.one("select nvl('', 'b') from dual"));
    EXPECT_EQ("b", s.one("select nvl(null, 'b') from dual"));
    EXPECT_EQ("<null>", s.one("select nvl(null, '') from dual"));
    EXPECT_EQ("2", s.one("select nvl2('', 1, 2) from dual"));
    EXPECT_EQ("2", s.one("select nvl2(null, 1, 2) from dual"));
    EXPECT_EQ("1", s.one("select nvl2(b, 1, 2) from lobs")) << "an empty LOB is not NULL";
    EXPECT_EQ("1", withEmptyLob(OCCIBLOB, "select nvl2(:1, 1, 2) from dual"));
    EXPECT_EQ("n", s.one("select decode('', null, 'n', 'v') from dual"));
    EXPECT_EQ("n", s.one("select decode(null, '', 'n', 'v') from dual"));
    EXPECT_EQ("<null>", s.one("select decode(1, 2, 'x') from dual"));
    EXPECT_EQ("d", s.one("select decode(1, 2, 'x', 'd') from dual"));
    EXPECT_EQ(938, oraCode([&] { s.one("select decode(1, 2) from dual"); }));
    EXPECT_EQ(938, oraCode([&] { s.one("select decode(1) from dual"); }));
    EXPECT_EQ("<null>", s.one("select greatest(1, null, 3) from dual"));
    EXPECT_EQ("<null>", s.one("select least('a', '') from dual"));
    EXPECT_EQ("3", s.one("select greatest(1, 3, 2) from dual"));
    EXPECT_EQ("-2.5", s.one("select least(1, -2.5, 2) from dual"));
    EXPECT_EQ(938, oraCode([&] { s.one("select greatest() from dual"); }));
    EXPECT_EQ(938, oraCode([&] { s.one("select least() from dual"); }));
    EXPECT_EQ("ab", s.one("select 'a' || null || '' || 'b' from dual"));
    EXPECT_EQ("<null>", s.one("select null || '' from dual"));
}

TEST_F(SqlFunctionEdges, ConversionsOfOddNumbers) {
    EXPECT_EQ("-.5", s.one("select to_char(-0.5) from dual"));
    EXPECT_EQ("<null>", s.one("select to_number(' ') from dual"));
    EXPECT_EQ(1722, oraCode([&] { s.one("select to_number('1e') from dual"); }));
    EXPECT_EQ(1722, oraCode([&] { s.one("select to_number('abc') from dual"); }));
    EXPECT_EQ(1722, oraCode([&] { s.one("select to_char('abc', '999') from dual"); }));
    EXPECT_EQ(1481, oraCode([&] { s.one("select to_char(1, 'QQQ') from dual"); }));
    EXPECT_EQ(1821, oraCode([&] { s.one("select to_date('2024', 'ZZZ') from dual"); }));
    EXPECT_EQ(1861, oraCode([&] { s.one("select to_date('x', 'YYYY') from dual"); }));
}

}  // namespace
}  // namespace clienttest
