// Oracle's lexical forms as a host meets them through the flat exports: q-quoted literals with
// every kind of delimiter, national literals, quoted identifiers, comments and hints. What sits
// inside any of them (";", "--", "/*", ":name", quotes) is text, never SQL.
#include <string>

#include "flat_host.h"

namespace {

class TextLiterals : public FlatSession {
protected:
    std::string value(const std::string& sql) {
        firstRow(sql);
        return text(0).value_or("<null>");
    }

    std::string failure(const std::string& sql) {
        const int result = ExecuteQuery(id, sql.c_str(), 1);
        return result < 0 ? std::string(GetError(result)) : "<succeeded>";
    }
};

TEST_F(TextLiterals, QQuotesCloseWithTheirDelimiter) {
    EXPECT_EQ("it's", value("SELECT q'[it's]' FROM dual"));
    EXPECT_EQ("a{b}c'd", value("select Q'{a{b}c'd}' from dual"));
    EXPECT_EQ("(x)", value("select q'((x))' from dual"));
    EXPECT_EQ("<'>", value("select q'<<'>>' from dual"));
    EXPECT_EQ("it's", value("select q'!it's!' from dual"));
    EXPECT_EQ("a'#b", value("select q'#a'#b#' from dual"));
    EXPECT_EQ("x", value("select q'xxx' from dual"));  // a letter closes with itself too
    EXPECT_EQ("two\nlines", value("select q'|two\nlines|' from dual"));
    EXPECT_EQ("\xC2\xA7 inside", value("select q'\xC2\xA7\xC2\xA7 inside\xC2\xA7' from dual"));
    // The first closing delimiter followed by a quote ends the literal; brackets do not nest.
    EXPECT_EQ("a]b", value("select q'[a]b]' from dual"));
    EXPECT_EQ("empty", value("select nvl(q'[]', 'empty') from dual"));  // '' is NULL
    EXPECT_EQ("''", value("select q'['']' from dual"));
}

TEST_F(TextLiterals, QQuotesAreTextLiteralsWhereverOneMayStand) {
    run("create table notes (id number, body varchar2(40))");
    run("insert into notes values (1, q'[it's]')");
    run("insert into notes (id, body) values (2, q'{don't; -- stop /* here}')");
    EXPECT_EQ("1", value("select to_char(id) from notes where body = q'<it's>'"));
    EXPECT_EQ("don't; -- stop /* here", value("select body from notes where id = 2"));
    EXPECT_EQ("it's mine", value("select body || q'! mine!' from notes where id = 1"));
    EXPECT_EQ("[it's]", value("select '[' || q'(it's)' || ']' from dual"));
    EXPECT_EQ("4", value("select to_char(length(q'[it's]')) from dual"));
    run("update notes set body = q'#x'y#' where body like q'[it%]'");
    EXPECT_EQ("x'y", value("select body from notes where id = 1"));
    run("create view note_view as select q'[v'w]' as tag, body from notes where id = 1");
    EXPECT_EQ("v'w", value("select tag from note_view"));
}

TEST_F(TextLiterals, NothingInsideAQQuoteIsSql) {
    EXPECT_EQ("a; b", value("select q'[a; b]' from dual"));
    EXPECT_EQ("-- not a comment", value("select q'[-- not a comment]' from dual"));
    EXPECT_EQ("/* nor this */", value("select q'{/* nor this */}' from dual"));
    EXPECT_EQ("/* open", value("select q'</* open>' from dual"));
    EXPECT_EQ("\"x", value("select q'!\"x!' from dual"));
    EXPECT_EQ(":name", value("select q'[:name]' from dual"));
    // Only :v is a placeholder, so it is parameter 1.
    ASSERT_EQ(0, PrepareQuery(id, "select q'[:name, ]' || :v || q'{ :w}' from dual", 1));
    ASSERT_EQ(0, SetString(id, 1, "bound", 0));
    ASSERT_GE(Execute(id), 0);
    ASSERT_EQ(1, NextRow(id));
    EXPECT_EQ(":name, bound :w", text(0).value_or("<null>"));
}

TEST_F(TextLiterals, NationalLiteralsInEveryForm) {
    EXPECT_EQ("abc", value("select N'abc' from dual"));
    EXPECT_EQ("it's", value("select n'it''s' from dual"));
    EXPECT_EQ("it's", value("select nq'[it's]' from dual"));
    EXPECT_EQ("a;b", value("select NQ'{a;b}' from dual"));
    EXPECT_EQ("x:y", value("select Nq'!x:y!' || nQ'<>' from dual"));
    run("create table names (n nvarchar2(10))");
    run("insert into names values (nq'[o'k]')");
    EXPECT_EQ("o'k", value("select n from names where n = N'o''k'"));
}

TEST_F(TextLiterals, UnterminatedQuotesAreReportedAsOracleDoes) {
    const std::string unterminated = "ORA-01756: quoted string not properly terminated\n";
    EXPECT_EQ(unterminated, failure("select q'[abc' from dual"));
    EXPECT_EQ(unterminated, failure("select q'[abc] from dual"));
    EXPECT_EQ(unterminated, failure("select nq'{abc' from dual"));
    EXPECT_EQ(unterminated, failure("select 'abc from dual"));
    EXPECT_EQ("ORA-01740: missing double quote in identifier\n",
              failure("select 1 as \"abc from dual"));
}

TEST_F(TextLiterals, QuotedIdentifiersCommentsAndHintsHideWhatTheyHold) {
    run("create table \"Odd; -- :name\" (\"it's /* col */\" number)");
    run("insert into \"Odd; -- :name\" values (7)");
    EXPECT_EQ("7", value("select to_char(\"it's /* col */\") from \"Odd; -- :name\""));
    EXPECT_EQ("1", value("select /*+ FULL(t) q'[ :hint */ to_char(1) from dual t"));
    EXPECT_EQ("2", value("select --+ index(t) :x q'[\n to_char(2) from dual"));
    EXPECT_EQ("3", value("select to_char(3) /* it's; :x */ from dual -- it's :y"));
    ASSERT_EQ(0, PrepareQuery(id, "select /* :a */ :b -- :c\n from dual", 1));
    ASSERT_EQ(0, SetString(id, 1, "only b", 0));
    ASSERT_GE(Execute(id), 0);
    ASSERT_EQ(1, NextRow(id));
    EXPECT_EQ("only b", text(0).value_or("<null>"));
}

}  // namespace
