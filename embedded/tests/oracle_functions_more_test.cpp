// Oracle's built-in functions beyond the common ones, checked against the results the SQL
// Language Reference documents for its examples.
#include "client_fixture.h"

namespace clienttest {
namespace {

class MoreFunctions : public ::testing::Test {
protected:
    MoreFunctions() : s(memdb()) {}
    std::string q(const std::string& expression) { return s.one("select " + expression + " from dual"); }
    int err(const std::string& expression) {
        return oraCode([&] { q(expression); });
    }
    Session s;
};

TEST_F(MoreFunctions, RegularExpressions) {
    EXPECT_EQ(", Redwood Shores,",
              q("regexp_substr('500 Oracle Parkway, Redwood Shores, CA', ',[^,]+,')"));
    EXPECT_EQ("http://www.example.com/",
              q("regexp_substr('http://www.example.com/products', "
                "'http://([[:alnum:]]+\\.?){3,4}/?')"));
    EXPECT_EQ("78", q("regexp_substr('1234567890', '(123)(4(56)(78))', 1, 1, 'i', 4)"));
    EXPECT_EQ("<null>", q("regexp_substr('abc', 'x')"));
    EXPECT_EQ("37", q("regexp_instr('500 Oracle Parkway, Redwood Shores, CA', '[^ ]+', 1, 6)"));
    EXPECT_EQ("28", q("regexp_instr('500 Oracle Parkway, Redwood Shores, CA', "
                      "'[s|r|p][[:alpha:]]{6}', 3, 2, 1, 'i')"));
    EXPECT_EQ("4", q("regexp_instr('1234567890', '(123)(4(56)(78))', 1, 1, 0, 'i', 2)"));
    EXPECT_EQ("7", q("regexp_instr('1234567890', '(123)(4(56)(78))', 1, 1, 0, 'i', 4)"));
    EXPECT_EQ("500 Oracle Parkway, Redwood Shores, CA",
              q("regexp_replace('500   Oracle     Parkway,    Redwood  Shores, CA', '( ){2,}', ' ')"));
    EXPECT_EQ("(515) 123-4567",
              q("regexp_replace('515.123.4567', "
                "'([[:digit:]]{3})\\.([[:digit:]]{3})\\.([[:digit:]]{4})', '(\\1) \\2-\\3')"));
    EXPECT_EQ("a-b c", q("regexp_replace('a b c', ' ', '-', 1, 1)"));
    EXPECT_EQ("abc", q("regexp_replace('a1b2c3', '[0-9]')"));
    EXPECT_EQ("5", q("regexp_count('123123123123123', '(12)3', 1, 'i')"));
    EXPECT_EQ("3", q("regexp_count('123123123123', '123', 3, 'i')"));
    EXPECT_EQ("3", q("regexp_count('A1B2C3', '[A-Z][0-9]')"));
    EXPECT_EQ("1", q("regexp_count('ABC123', '[A-Z][0-9]')"));
    // Match parameters: case, '.' and newlines, multi-line anchors, extended patterns.
    EXPECT_EQ("0", q("regexp_count('Oracle', 'oracle')"));
    EXPECT_EQ("1", q("regexp_count('Oracle', 'oracle', 1, 'i')"));
    EXPECT_EQ("0", q("regexp_count('Oracle', 'oracle', 1, 'ic')"));
    EXPECT_EQ("0", q("regexp_count('a' || chr(10) || 'b', 'a.b')"));
    EXPECT_EQ("1", q("regexp_count('a' || chr(10) || 'b', 'a.b', 1, 'n')"));
    EXPECT_EQ("0", q("regexp_count('x' || chr(10) || 'y', '^y')"));
    EXPECT_EQ("1", q("regexp_count('x' || chr(10) || 'y', '^y', 1, 'm')"));
    EXPECT_EQ("1", q("regexp_count('abc', 'a b c', 1, 'x')"));
    EXPECT_EQ("1", s.one("select count(*) from dual where regexp_like('Steven', '^Ste(v|ph)en$')"));
    EXPECT_EQ("0", s.one("select count(*) from dual where regexp_like('STEVEN', '^ste')"));
    EXPECT_EQ("1", s.one("select count(*) from dual where regexp_like('STEVEN', '^ste', 'i')"));
    // Positions count characters.
    EXPECT_EQ("3", q("regexp_instr('äöx', 'x')"));
    EXPECT_EQ("ö", q("regexp_substr('äöx', '[^ä]')"));
    EXPECT_EQ(1760, err("regexp_like('a', 'a', 'z')"));
    EXPECT_EQ(12725, err("regexp_count('a', '(a')"));
    EXPECT_EQ(12726, err("regexp_count('a', '[a')"));
    EXPECT_EQ(1428, err("regexp_substr('a', 'a', 0)"));
}

TEST_F(MoreFunctions, TextFunctions) {
    EXPECT_EQ("14", q("instr('CORPORATE FLOOR', 'OR', 3, 2)"));
    EXPECT_EQ("2", q("instr('CORPORATE FLOOR', 'OR', -3, 2)"));
    EXPECT_EQ("14", q("instrb('CORPORATE FLOOR', 'OR', 5, 2)"));
    EXPECT_EQ("0", q("instr('CORPORATE FLOOR', 'XY')"));
    EXPECT_EQ("<null>", q("instr('abc', '')"));
    EXPECT_EQ("3", q("instr('äöx', 'x')"));
    EXPECT_EQ("5", q("instrb('äöx', 'x')"));
    EXPECT_EQ(1428, err("instr('abc', 'b', 1, 0)"));
    EXPECT_EQ("CAT", q("chr(67) || chr(65) || chr(84)"));
    EXPECT_EQ("ä", q("chr(50084)"));
    EXPECT_EQ("ab", q("concat('a', 'b')"));
    EXPECT_EQ("a", q("concat('a', null)"));
    EXPECT_EQ("SQL_Plus_Users_Guide", q("translate('SQL*Plus User''s Guide', ' */''', '___')"));
    EXPECT_EQ("9XXX999", q("translate('2KRW229', '0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ', "
                           "'9999999999XXXXXXXXXXXXXXXXXXXXXXXXXX')"));
    EXPECT_EQ("<null>", q("translate('abc', 'a', '')"));
    EXPECT_EQ("GROßE ÄPFEL", q("nls_upper('große äpfel')"));
    EXPECT_EQ("große äpfel", q("nls_lower('GROßE ÄPFEL', 'NLS_SORT = XGERMAN')"));
    EXPECT_EQ("Ijsland Öl", q("nls_initcap('ijsland öL')"));
    // UPPER, LOWER and INITCAP change every letter that has a case, not only ASCII ones.
    EXPECT_EQ("ÉCOLE ÑANDÚ ΑΒΓ ДОМ", q("upper('école ñandú αβγ дом')"));
    EXPECT_EQ("école ñandú αβγ дом", q("lower('ÉCOLE ÑANDÚ ΑΒΓ ДОМ')"));
    EXPECT_EQ("Élan Vital", q("initcap('éLAN vital')"));
    EXPECT_EQ("1", s.one("select 1 from dual where upper('é') = 'É'"));
    EXPECT_EQ("1", q("lnnvl(null = 1)"));
    EXPECT_EQ("1", q("lnnvl(1 = 2)"));
    EXPECT_EQ("0", q("lnnvl(1 = 1)"));
    EXPECT_EQ("AB\\00C4CDE", q("asciistr('ABÄCDE')"));
    EXPECT_EQ("abcåñö", q("unistr('abc\\00e5\\00f1\\00f6')"));
    EXPECT_EQ("😀", q("unistr('\\D83D\\DE00')"));
    EXPECT_EQ("\\D83D\\DE00", q("asciistr(unistr('\\D83D\\DE00'))"));
}

// The SQL Language Reference's examples of FROM_TZ, SYS_EXTRACT_UTC, TO_TIMESTAMP_TZ, VSIZE,
// BIN_TO_NUM and USERENV.
TEST_F(MoreFunctions, ZonesSizesAndBits) {
    EXPECT_EQ("2000-03-28 08:00:00 +03:00",
              q("to_char(from_tz(timestamp '2000-03-28 08:00:00', '3:00'), "
                "'YYYY-MM-DD HH24:MI:SS TZH:TZM')"));
    EXPECT_EQ(1882, oraCode([&] { q("from_tz(timestamp '2000-03-28 08:00:00', 'Mars/Olympus')"); }));
    EXPECT_EQ("28-MAR-00 07.30.00.000000 PM",
              q("to_char(sys_extract_utc(timestamp '2000-03-28 11:30:00.00 -08:00'))"));
    EXPECT_EQ("1999-12-01 11:00 -08:00",
              q("to_char(to_timestamp_tz('1999-12-01 11:00:00 -8:00', "
                "'YYYY-MM-DD HH:MI:SS TZH:TZM'), 'YYYY-MM-DD HH24:MI TZH:TZM')"));
    EXPECT_EQ("-8", q("extract(timezone_hour from to_timestamp_tz('1999-12-01 11:00:00 -8:00', "
                      "'YYYY-MM-DD HH:MI:SS TZH:TZM'))"));
    EXPECT_EQ("4", q("vsize('Baer')"));
    EXPECT_EQ("<null>", q("vsize(null)"));
    EXPECT_EQ("10", q("bin_to_num(1,0,1,0)"));
    EXPECT_EQ(1760, oraCode([&] { q("bin_to_num(1,2)"); }));
    EXPECT_EQ("FALSE", q("userenv('ISDBA')"));
    EXPECT_EQ(2003, oraCode([&] { q("userenv('NOPE')"); }));
}

TEST_F(MoreFunctions, Dump) {
    s.exec("create table d (v varchar2(10), n number)");
    s.exec("insert into d values ('abc', 123)");
    EXPECT_EQ("Typ=1 Len=3: 97,98,99", s.one("select dump(v) from d"));
    EXPECT_EQ("Typ=1 Len=3: 61,62,63", s.one("select dump(v, 16) from d"));
    EXPECT_EQ("Typ=1 Len=3 CharacterSet=AL32UTF8: a,b,c", s.one("select dump(v, 1017) from d"));
    EXPECT_EQ("Typ=2 Len=3: 194,2,24", s.one("select dump(n) from d"));
    EXPECT_EQ("Typ=2 Len=2: 193,2", q("dump(1)"));
    EXPECT_EQ("Typ=2 Len=3: 62,100,102", q("dump(-1)"));
    EXPECT_EQ("Typ=2 Len=1: 128", q("dump(0)"));
    EXPECT_EQ("Typ=2 Len=2: 192,11", q("dump(0.1)"));
    EXPECT_EQ("NULL", q("dump(null)"));
}

TEST_F(MoreFunctions, NumberFunctions) {
    EXPECT_EQ("15.7", q("trunc(15.79, 1)"));
    EXPECT_EQ("10", q("trunc(15.79, -1)"));
    EXPECT_EQ("15", q("trunc(15.79)"));
    EXPECT_EQ("-15", q("trunc(-15.79)"));
    EXPECT_EQ("15.2", q("round(15.193, 1)"));
    EXPECT_EQ("20", q("round(15.193, -1)"));
    EXPECT_EQ("-20", q("round(-15, -1)"));
    EXPECT_EQ("0", q("round(4, -1)"));
    EXPECT_EQ("2", q("bitand(6, 3)"));
    EXPECT_EQ("-1", q("remainder(11, 4)"));
    EXPECT_EQ("2", q("remainder(10, 4)"));   // 2.5 rounds to the even 2
    EXPECT_EQ("-2", q("remainder(14, 4)"));  // 3.5 rounds to the even 4
    EXPECT_EQ(1476, err("remainder(1, 0)"));
    EXPECT_EQ("3", q("width_bucket(1200, 100, 5000, 10)"));
    EXPECT_EQ("0", q("width_bucket(50, 100, 5000, 10)"));
    EXPECT_EQ("11", q("width_bucket(5000, 100, 5000, 10)"));
    EXPECT_EQ("<null>", q("width_bucket(null, 100, 5000, 10)"));
    EXPECT_EQ(30494, err("width_bucket(1, 100, 5000, 0)"));
    EXPECT_EQ("5", q("nanvl(5, 0)"));
    EXPECT_EQ("1.5", q("to_binary_double('1.5')"));
    EXPECT_EQ(1722, err("to_binary_double('x')"));
    EXPECT_EQ("1", q("to_binary_float(1.1) <> 1.1"));
}

TEST_F(MoreFunctions, ConversionErrorsAndNlsArguments) {
    EXPECT_EQ("0", q("to_number('x1' default 0 on conversion error)"));
    EXPECT_EQ("12", q("to_number('12' default 0 on conversion error)"));
    EXPECT_EQ("-1", q("to_number('1,2x' default '-1' on conversion error, '9,9')"));
    EXPECT_EQ("1", q("validate_conversion('1234.56' as number)"));
    EXPECT_EQ("0", q("validate_conversion('$1234' as number)"));
    EXPECT_EQ("1", q("validate_conversion(null as number)"));
    EXPECT_EQ("1", q("validate_conversion('text' as varchar2)"));
    EXPECT_EQ("0", q("validate_conversion('1.5x' as binary_double)"));
    EXPECT_EQ("1", q("validate_conversion('2024-02-29' as date, 'YYYY-MM-DD')"));
    EXPECT_EQ("0", q("validate_conversion('2023-02-29' as date, 'YYYY-MM-DD')"));
    EXPECT_EQ(" 1,234.50", q("to_char(1234.5, '9,999.99', 'NLS_NUMERIC_CHARACTERS = ''.,''')"));
    EXPECT_EQ("12.5", q("to_number('12.5', '99.9', 'NLS_NUMERIC_CHARACTERS = ''.,''')"));
}

TEST_F(MoreFunctions, SessionIdentity) {
    EXPECT_EQ("SCOTT", q("user"));
    EXPECT_EQ("SCOTT", q("sys_context('USERENV', 'SESSION_USER')"));
    EXPECT_EQ("SCOTT", q("sys_context('userenv', 'current_schema')"));
    EXPECT_EQ(2003, err("sys_context('USERENV', 'NO_SUCH_THING')"));
    EXPECT_EQ(q("uid"), q("uid"));
    EXPECT_EQ("16", q("length(sys_guid())"));
    EXPECT_EQ("0", q("sys_guid() = sys_guid()"));
    Statement* st = s.conn()->createStatement(
        "select user, uid, sys_context('USERENV', 'DB_NAME') from dual");
    st->execute();
    ResultSet* rs = st->getResultSet();
    EXPECT_EQ("USER", rs->getColumnListMetaData()[0].getString(MetaData::ATTR_NAME));
    EXPECT_EQ("UID", rs->getColumnListMetaData()[1].getString(MetaData::ATTR_NAME));
    EXPECT_EQ("SYS_CONTEXT('USERENV', 'DB_NAME')",
              rs->getColumnListMetaData()[2].getString(MetaData::ATTR_NAME));
    s.conn()->terminateStatement(st);
}

TEST_F(MoreFunctions, Listagg) {
    s.exec("create table emp (dept integer, name varchar2(10), hired integer)");
    s.exec("insert into emp values (30, 'Raphaely', 3)");
    s.exec("insert into emp values (30, 'Khoo', 1)");
    s.exec("insert into emp values (30, 'Baida', 2)");
    s.exec("insert into emp values (30, null, 0)");
    s.exec("insert into emp values (20, 'Hartstein', 5)");
    s.exec("insert into emp values (20, 'Fay', 5)");
    EXPECT_EQ("Khoo; Baida; Raphaely",
              s.one("select listagg(name, '; ') within group (order by hired, name) "
                    "from emp where dept = 30"));
    EXPECT_EQ("Raphaely,Khoo,Baida",
              s.one("select listagg(name, ',') within group (order by name desc) from emp "
                    "where dept = 30"));
    EXPECT_EQ("20:Fay,Hartstein|30:Baida,Khoo,Raphaely",
              s.one("select listagg(dept || ':' || names, '|') within group (order by dept) from "
                    "(select dept, listagg(name, ',') within group (order by name) as names "
                    "from emp group by dept)"));
    EXPECT_EQ("BaidaFayHartsteinKhooRaphaely",
              s.one("select listagg(name) within group (order by name) from emp"));
    EXPECT_EQ("5,3,2,1,0", s.one("select listagg(distinct hired, ',') within group "
                                 "(order by hired desc) from emp"));
    EXPECT_EQ("<null>", s.one("select listagg(name, ',') within group (order by name) from emp "
                              "where dept = 99"));
    Statement* st = s.conn()->createStatement(
        "select listagg(name, ',') within group (order by name) from emp");
    st->execute();
    EXPECT_EQ("LISTAGG(NAME, ',') WITHIN GROUP (ORDER BY NAME)",
              st->getResultSet()->getColumnListMetaData()[0].getString(MetaData::ATTR_NAME));
    s.conn()->terminateStatement(st);
    // Past 4000 bytes: an error by default, cut at whole values on request.
    s.exec("create table big (v varchar2(100))");
    for (int i = 0; i < 50; ++i) s.exec("insert into big values (rpad('x', 99, 'x'))");
    EXPECT_EQ(1489, oraCode([&] {
                  s.one("select listagg(v, ',') within group (order by v) from big");
              }));
    const std::string cut = s.one(
        "select listagg(v, ',' on overflow truncate '~' with count) within group (order by v) "
        "from big");
    EXPECT_LE(cut.size(), 4000u);
    EXPECT_EQ(",~(11)", cut.substr(cut.size() - 6));
    const std::string noCount = s.one(
        "select listagg(v, ',' on overflow truncate without count) within group (order by v) "
        "from big");
    EXPECT_EQ(",...", noCount.substr(noCount.size() - 4));
}

}  // namespace
}  // namespace clienttest
