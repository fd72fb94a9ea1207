// CLOBs larger than memory chunks written into their rows from temporary storage, and everything
// that reads them: the result set, Oracle's character functions and operators, copies, updates.
#include <sqlite3.h>

#include "client_fixture.h"

namespace clienttest {
namespace {

const char* const kBlock = "begin dbms_lob.createtemporary(:p1, FALSE); end;";

// Multibyte text past the temporary storage's 1 MiB chunks, ending with a marker.
std::string bigText() {
    std::string out;
    for (int i = 0; out.size() < 2 * 1024 * 1024 + 777; ++i)
        out += "line " + std::to_string(i) + " caf\xC3\xA9 \xE2\x82\xAC\n";
    return out + "END \xC3\x84\xC3\x96";
}

std::size_t characters(const std::string& text) {
    std::size_t n = 0;
    for (char ch : text) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    return n;
}

class StreamedClob : public ::testing::Test {
protected:
    StreamedClob() : s(db.create()), text(bigText()), chars(characters(text)) {
        s.exec("create table t (id number(10), c clob, n varchar2(20))");
        s.exec("create table t2 (id number(10), c nclob)");
    }

    Clob temporary(const std::string& data) {
        Statement* block = s.conn()->createStatement(kBlock);
        block->registerOutParam(1, OCCICLOB);
        block->execute();
        Clob lob = block->getClob(1);
        s.conn()->terminateStatement(block);
        Stream* out = lob.getStream(1, 0);
        std::string copy = data;
        for (std::size_t at = 0; at < copy.size(); at += 65521)
            out->writeBuffer(&copy[at], static_cast<unsigned>(std::min<std::size_t>(65521, copy.size() - at)));
        out->writeLastBuffer(nullptr, 0);
        lob.closeStream(out);
        return lob;
    }

    static std::string read(Clob lob, unsigned offset = 1, unsigned amount = 0) {
        std::string out;
        Stream* in = lob.getStream(offset, amount);
        std::string buffer(70000, '\0');
        for (int n; (n = in->readBuffer(&buffer[0], 70000)) > 0;) out.append(buffer.data(), n);
        lob.closeStream(in);
        return out;
    }

    void insert(const std::string& sql, int id, const Clob& c) {
        Statement* ins = s.conn()->createStatement(sql);
        ins->setInt(1, id);
        ins->setClob(2, c);
        ins->execute();
        s.conn()->terminateStatement(ins);
    }

    // How SQLite stores the column, read past the client.
    std::string storedType(const std::string& table, int id) {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(db.path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* q = nullptr;
        const std::string sql =
            "select typeof(c) from " + table + " where id = " + std::to_string(id);
        sqlite3_prepare_v2(raw, sql.c_str(), -1, &q, nullptr);
        std::string out = sqlite3_step(q) == SQLITE_ROW
                              ? reinterpret_cast<const char*>(sqlite3_column_text(q, 0))
                              : "<none>";
        sqlite3_finalize(q);
        sqlite3_close(raw);
        return out;
    }

    // Row 1: the large text, streamed; row 2: a short text; row 3: NULL; row 4: an empty CLOB.
    void fill() {
        insert("insert into t (id, c) values (:1, :2)", 1, temporary(text));
        s.exec("insert into t (id, c) values (2, 'line 0 d\xC3\xA9j\xC3\xA0')");
        s.exec("insert into t (id, c) values (3, null)");
        s.exec("insert into t (id, c) values (4, empty_clob())");
        s.conn()->commit();
    }

    FileDb db;
    Session s;
    const std::string text;
    const std::size_t chars;
};

TEST_F(StreamedClob, IsWrittenAsItsBytesAndReadBackAsText) {
    fill();
    EXPECT_EQ("blob", storedType("t", 1)) << "streamed into its row, not built in memory";
    EXPECT_EQ("text", storedType("t", 2));
    // Read lazily (one table) and copied as fetched (a join), whole and in pieces.
    for (const char* sql : {"select id, c from t order by id",
                            "select a.id, a.c from t a join t b on a.id = b.id order by a.id"}) {
        SCOPED_TRACE(sql);
        Statement* q = s.conn()->createStatement(sql);
        q->setPrefetchRowCount(4);
        q->execute();
        ResultSet* rs = q->getResultSet();
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        EXPECT_TRUE(rs->getString(2) == text);
        Clob c = rs->getClob(2);
        EXPECT_EQ(chars, c.length());
        EXPECT_EQ("line 0 caf\xC3\xA9 \xE2\x82\xAC", read(c, 1, 13));
        EXPECT_EQ("END \xC3\x84\xC3\x96", read(c, static_cast<unsigned>(chars - 5)));
        EXPECT_TRUE(read(c) == text);
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        EXPECT_EQ("line 0 d\xC3\xA9j\xC3\xA0", rs->getString(2));
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        EXPECT_TRUE(rs->isNull(2));
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        EXPECT_FALSE(rs->isNull(2)) << "an empty CLOB is not NULL";
        EXPECT_EQ(0u, rs->getClob(2).length());
        s.conn()->terminateStatement(q);
    }
    // Described as the CLOB it is, by its name, in the forms that read it as text too.
    for (const char* sql :
         {"select c from t where id = 1", "select distinct c from t where id = 1",
          "select x.c from t y, (select id, c from t) x where x.id = 1 and y.id = x.id",
          "select c from t where id = 1 union all select c from t where id = 2"}) {
        SCOPED_TRACE(sql);
        Statement* q = s.conn()->createStatement(sql);
        q->execute();
        ResultSet* rs = q->getResultSet();
        const MetaData column = rs->getColumnListMetaData()[0];
        EXPECT_EQ(OCCI_SQLT_CLOB, column.getInt(MetaData::ATTR_DATA_TYPE));
        EXPECT_EQ("C", column.getString(MetaData::ATTR_NAME));
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        EXPECT_TRUE(rs->getString(1) == text);
        EXPECT_EQ(chars, rs->getClob(1).length());
        s.conn()->terminateStatement(q);
    }
}

TEST_F(StreamedClob, CharacterFunctionsAndOperatorsSeeText) {
    fill();
    // An expression over the column is named by its text, as Oracle names it.
    {
        Statement* q = s.conn()->createStatement(
            "select length(c), length(c) n, 'p' || c from t where id = 2");
        q->execute();
        const auto columns = q->getResultSet()->getColumnListMetaData();
        EXPECT_EQ("LENGTH(C)", columns[0].getString(MetaData::ATTR_NAME));
        EXPECT_EQ("N", columns[1].getString(MetaData::ATTR_NAME));
        EXPECT_EQ("'p' || C", columns[2].getString(MetaData::ATTR_NAME));
        s.conn()->terminateStatement(q);
    }
    const std::string n = std::to_string(chars);
    EXPECT_EQ(n, s.one("select length(c) from t where id = 1")) << "characters, not bytes";
    EXPECT_EQ("11", s.one("select length(c) from t where id = 2"));
    EXPECT_EQ("<null>", s.one("select length(c) from t where id = 3"));
    EXPECT_EQ("caf\xC3\xA9 \xE2\x82\xAC", s.one("select substr(c, 8, 6) from t where id = 1"));
    EXPECT_EQ("\xC3\x84\xC3\x96", s.one("select substr(c, -2) from t where id = 1"));
    EXPECT_EQ("13", s.one("select instr(c, '\xE2\x82\xAC', 1, 1) from t where id = 1"));
    EXPECT_EQ(std::to_string(chars - 5), s.one("select instr(c, 'END') from t where id = 1"));
    EXPECT_EQ("1", s.one("select count(*) from t where c like '%END \xC3\x84_'"));
    EXPECT_EQ("2", s.one("select count(*) from t where c like 'line 0 %'"));
    EXPECT_EQ("LINE 0 CAF", s.one("select upper(substr(c, 1, 10)) from t where id = 1"));
    EXPECT_EQ("end", s.one("select lower(substr(c, -6, 3)) from t where id = 1"));
    EXPECT_EQ(std::to_string(chars + 3), s.one("select length(c || 'xyz') from t where id = 1"));
    EXPECT_EQ("\xC3\x96xyz", s.one("select substr(c || 'xyz', -4) from t where id = 1"));
    EXPECT_EQ("line 0 caf", s.one("select to_char(substr(c, 1, 10)) from t where id = 1"));
    EXPECT_EQ("none", s.one("select nvl(substr(c, 1, 4), 'none') from t where id = 3"));
    EXPECT_EQ("line", s.one("select coalesce(substr(c, 1, 4), 'none') from t where id = 1"));
    EXPECT_EQ("big", s.one("select case when length(c) > 100 then 'big' else 'small' end "
                           "from t where id = 1"));
    // Compared, sorted and grouped as texts with texts: 'line 0 c...' < 'line 0 d...'.
    EXPECT_EQ("2", s.one("select count(*) from t where substr(c, 1, 6) = 'line 0'"));
    EXPECT_EQ("1", s.one("select count(*) from t where substr(c, 1, 8) < 'line 0 d'"));
    EXPECT_EQ("1", s.one("select id from t where c is not null and id < 3 order by substr(c, 1, 8)"));
    EXPECT_EQ("2", s.one("select id from t where c is not null and id < 3 order by substr(c, 1, 8) desc"));
    EXPECT_EQ("1", s.one("select count(distinct substr(c, 1, 4)) from t where id < 3"));
    EXPECT_EQ("2", s.one("select count(*) from t where id < 3 group by substr(c, 1, 4)"));
    // A view reads the column as its table does.
    s.exec("create view v as select id, c from t");
    EXPECT_EQ(n, s.one("select length(c) from v where id = 1"));
    EXPECT_EQ("1", s.one("select count(*) from v where instr(c, 'END') > 0"));
    for (const char* sql :
         {"with w as (select id, c from t) select length(c) from w where id = 1",
          "with w as (select id from t) select length(c) from t where id = 1",
          "select length(c) from t where id = 1 order by id fetch first 1 rows only"})
        EXPECT_EQ(n, s.one(sql)) << sql;
    s.exec("create view v2 (k, l, head) as select id, length(c), upper(substr(c, 1, 4)) from t");
    EXPECT_EQ(n + " LINE", s.one("select l || ' ' || head from v2 where k = 1"));
}

TEST_F(StreamedClob, CopiesAndUpdatesKeepTheText) {
    fill();
    s.exec("insert into t2 (id, c) select id, c from t");
    s.exec("create table t3 as select id, c from t");
    for (const char* table : {"t2", "t3"}) {
        SCOPED_TRACE(table);
        const std::string from = std::string(" from ") + table + " where id = 1";
        EXPECT_EQ(std::to_string(chars), s.one("select length(c)" + from));
        EXPECT_TRUE(s.one("select c" + from) == text);
        EXPECT_EQ("1", s.one("select count(*) from t a join " + std::string(table) +
                             " b on a.id = b.id where a.id = 1 and "
                             "instr(b.c, substr(a.c, -20)) = length(a.c) - 19"));
        EXPECT_EQ("<null>", s.one(std::string("select c from ") + table + " where id = 3"));
    }
    Statement* q = s.conn()->createStatement("select c from t3");
    q->execute();
    EXPECT_EQ(OCCI_SQLT_CLOB,
              q->getResultSet()->getColumnListMetaData()[0].getInt(MetaData::ATTR_DATA_TYPE));
    s.conn()->terminateStatement(q);

    s.exec("update t set c = c || 'x' where id = 1");
    EXPECT_EQ(std::to_string(chars + 1), s.one("select length(c) from t where id = 1"));
    EXPECT_EQ("\xC3\x96x", s.one("select substr(c, -2) from t where id = 1"));
    // A temporary bound in an UPDATE, replacing a short text.
    Statement* up = s.conn()->createStatement("update t set c = :c where id = :id");
    up->setClob(1, temporary(text));
    up->setInt(2, 2);
    EXPECT_EQ(1u, up->executeUpdate());
    s.conn()->terminateStatement(up);
    EXPECT_EQ(std::to_string(chars), s.one("select length(c) from t where id = 2"));
    s.conn()->commit();
    EXPECT_EQ("blob", storedType("t", 2));
    EXPECT_TRUE(s.one("select c from t where id = 2") == text);
    // MERGE reads the source's CLOB as text in both branches.
    s.exec("delete from t2 where id = 2");
    s.exec("merge into t2 d using t s on (d.id = s.id) "
           "when matched then update set d.c = s.c || 'm' "
           "when not matched then insert (id, c) values (s.id, s.c)");
    EXPECT_EQ(std::to_string(chars + 2), s.one("select length(c) from t2 where id = 1"));
    EXPECT_EQ("x" "m", s.one("select substr(c, -2) from t2 where id = 1"));
    EXPECT_EQ(std::to_string(chars), s.one("select length(c) from t2 where id = 2"));
    // The text written into a VARCHAR2 column from a CLOB is text.
    s.exec("update t set n = substr(c, 1, 10) where id = 2");
    EXPECT_EQ("line 0 caf", s.one("select n from t where id = 2"));
}

}  // namespace
}  // namespace clienttest
