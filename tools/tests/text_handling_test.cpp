// The shell's text handling: where statements end, which placeholders a statement names, how CSV
// is read and written, how NUMBER text is shown, and where CLOB chunks may be cut.
#include <gtest/gtest.h>

#include <sstream>

#include "Binder.h"
#include "CsvReader.h"
#include "CsvWriter.h"
#include "DbError.h"
#include "SqlText.h"
#include "StatementSplitter.h"
#include "TableWriter.h"
#include "ValueReader.h"
#include "Variables.h"

using namespace kavexsql;

namespace {

std::vector<Unit> split(const std::string& text) {
    StatementSplitter splitter;
    std::vector<Unit> units;
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line))
        for (Unit& unit : splitter.addLine(line, ++n)) units.push_back(unit);
    if (auto last = splitter.finish()) units.push_back(*last);
    return units;
}

std::vector<std::string> texts(const std::vector<Unit>& units) {
    std::vector<std::string> out;
    for (const Unit& unit : units)
        out.push_back((unit.kind == Unit::Kind::Command ? "CMD " : "") + unit.text);
    return out;
}

}  // namespace

TEST(StatementSplitter, EndsStatementsAtSemicolonsOutsideQuotesAndComments) {
    auto units = split(
        "SELECT ';' FROM dual; SELECT \"a;b\" FROM t;\n"
        "SELECT 1 -- not the end;\n FROM dual /* nor ; this */;\n"
        "INSERT INTO t VALUES ('it''s; fine');");
    EXPECT_EQ(texts(units),
              (std::vector<std::string>{"SELECT ';' FROM dual", "SELECT \"a;b\" FROM t",
                                        "SELECT 1 -- not the end;\n FROM dual /* nor ; this */",
                                        "INSERT INTO t VALUES ('it''s; fine')"}));
}

TEST(StatementSplitter, ReportsTheLineWhereEachUnitStarts) {
    auto units = split(
        "\n-- heading\n\nSELECT 1\nFROM dual;\n\\echo hi\nSELECT 2 FROM dual; SELECT 3\n FROM "
        "dual;");
    ASSERT_EQ(units.size(), 4u);
    EXPECT_EQ(units[0].line, 4);
    EXPECT_EQ(units[1].line, 6);
    EXPECT_EQ(units[2].line, 7);
    EXPECT_EQ(units[3].line, 7);
}

TEST(StatementSplitter, RecognisesCommandsOnlyAtTheStartOfAUnit) {
    auto units = split(
        "\\set x 1;2\nSELECT 1\nDESCRIBE t;\nFROM dual;\nDESC t; EXIT\nSELECT 2 FROM dual; describe t; "
        "quit\nSELECT a FROM t ORDER BY a\nDESC\n;\nSELECT a\n#SET LINESIZE 50\nFROM t;");
    // DESCRIBE name and #command inside a statement run at once, as in SQL*Plus; an ORDER BY's
    // DESC does not.
    EXPECT_EQ(texts(units),
              (std::vector<std::string>{"CMD \\set x 1;2", "CMD DESCRIBE t", "SELECT 1\nFROM dual",
                                        "CMD DESC t", "CMD EXIT", "SELECT 2 FROM dual",
                                        "CMD describe t", "CMD quit",
                                        "SELECT a FROM t ORDER BY a\nDESC", "CMD SET LINESIZE 50",
                                        "SELECT a\nFROM t"}));
}

TEST(StatementSplitter, EndsEveryLineCommandAtItsLine) {
    // SQLcl's LOAD and the SQL*Plus commands the shell only accepts never take the next lines.
    auto units = split("LOAD t a.csv\nLOAD u b.csv\nREM x;\nHOST ls\nALTER TABLE t ADD (b NUMBER);");
    EXPECT_EQ(texts(units),
              (std::vector<std::string>{"CMD LOAD t a.csv", "CMD LOAD u b.csv", "CMD REM x;",
                                        "CMD HOST ls", "ALTER TABLE t ADD (b NUMBER)"}));
}

TEST(StatementSplitter, PlsqlUnitsEndOnlyAtASlashLineAndASlashAloneRunsAgain) {
    auto units = split(
        "BEGIN\n  x := 1;\nEND;\n/\n"
        "CREATE OR REPLACE TRIGGER tr AFTER INSERT ON t BEGIN\n  UPDATE t SET a = 1;\nEND;\n/\n"
        "create editionable package body p as procedure q is begin null; end; end;\n/\n"
        "SELECT 1 FROM dual\n/\n/\nSELECT 2 FROM dual;\n");
    EXPECT_EQ(
        texts(units),
        (std::vector<std::string>{
            "BEGIN\n  x := 1;\nEND;",
            "CREATE OR REPLACE TRIGGER tr AFTER INSERT ON t BEGIN\n  UPDATE t SET a = 1;\nEND;",
            "create editionable package body p as procedure q is begin null; end; end;",
            "SELECT 1 FROM dual", "/", "SELECT 2 FROM dual"}));
    EXPECT_EQ(units[4].kind, Unit::Kind::Rerun);
    EXPECT_EQ(units[4].line, 13);
}

TEST(StatementSplitter, QQuotesHideTheirQuotesAndSemicolons) {
    auto units = split(
        "SELECT q'[it's; ok]', Q'{a'';'}', nq'!x'!', q'<'>' FROM dual;\n"
        "SELECT q'(two\nlines;)' FROM dual; SELECT 3 FROM dual;");
    EXPECT_EQ(texts(units), (std::vector<std::string>{
                                "SELECT q'[it's; ok]', Q'{a'';'}', nq'!x'!', q'<'>' FROM dual",
                                "SELECT q'(two\nlines;)' FROM dual", "SELECT 3 FROM dual"}));
    EXPECT_EQ(standardLiterals(units[0].text),
              "SELECT 'it''s; ok', 'a'''';''', n'x''', '''' FROM dual");
}

TEST(StatementSplitter, AnOpenQuoteAtTheEndIsAnErrorNamingItsLine) {
    auto units = split("SELECT 1 FROM dual;\nSELECT 'it''s\nFROM dual;\nSELECT 2 FROM dual;\n");
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[1].kind, Unit::Kind::Error);
    EXPECT_EQ(units[1].line, 2);
    EXPECT_EQ(units[1].text,
              "a quoted text opened on line 2 is not closed at the end of the input; lines 2 to 4 "
              "were not run");
}

TEST(StatementSplitter, ABackslashLineEndsThePendingStatement) {
    auto units = split("SELECT 1 FROM dual\n\\echo hi\nSELECT '\n\\ inside' FROM dual;");
    EXPECT_EQ(texts(units), (std::vector<std::string>{"SELECT 1 FROM dual", "CMD \\echo hi",
                                                      "SELECT '\n\\ inside' FROM dual"}));
}

TEST(StatementSplitter, KeepsAnUnfinishedStatementForTheEndAndDropsBlankOnes) {
    StatementSplitter splitter;
    EXPECT_TRUE(splitter.addLine("SELECT 'open", 1).empty());
    EXPECT_TRUE(splitter.open());
    EXPECT_TRUE(splitter.addLine("; still open'", 2).empty());
    auto last = splitter.finish();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->text, "SELECT 'open\n; still open'");
    EXPECT_TRUE(split(";;\n  ;\n-- only a comment\n").empty());
}

TEST(SqlText, PlaceholdersAreDistinctUpperCasedAndOutsideQuotes) {
    EXPECT_EQ(
        placeholders("INSERT INTO t VALUES (:name, :Age, ':skip', \":skip\", :NAME, :1) -- :no"),
        (std::vector<std::string>{"NAME", "AGE", "1"}));
    EXPECT_TRUE(placeholders("SELECT '10:30:00', a::text FROM t /* :x */").empty());
    EXPECT_EQ(firstKeyword("  -- note\n /* c */ update t set a = 1"), "UPDATE");
    EXPECT_EQ(upperPlaceholders("SELECT :a, :A, ':a', q'[:a]' FROM dual"),
              "SELECT :A, :A, ':a', q'[:a]' FROM dual");
}

TEST(CsvReader, ReadsQuotedFieldsNullsAndLineBreaks) {
    std::istringstream in("a,b,c\r\n\"x, y\",,\"say \"\"hi\"\"\"\n\n\"two\nlines\",\"\",z\n");
    CsvReader reader(in);
    auto header = reader.next();
    ASSERT_TRUE(header);
    EXPECT_EQ(header->size(), 3u);
    auto first = reader.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(*(*first)[0], "x, y");
    EXPECT_FALSE((*first)[1]);
    EXPECT_EQ(*(*first)[2], "say \"hi\"");
    auto second = reader.next();
    ASSERT_TRUE(second);
    EXPECT_EQ(reader.line(), 4);
    EXPECT_EQ(*(*second)[0], "two\nlines");
    EXPECT_EQ(*(*second)[1], "");
    EXPECT_FALSE(reader.next());

    std::istringstream broken("a\n\"never closed\n");
    CsvReader bad(broken, "data.csv");
    bad.next();
    try {
        bad.next();
        FAIL() << "an unterminated quote was accepted";
    } catch (const UsageError& e) {
        EXPECT_STREQ(e.what(), "data.csv:2: a quoted field is not closed by the end of the file");
    }
}

TEST(CsvReader, KeepsTheBytesOfQuotedFieldsAndEndsRecordsAtCrLf) {
    std::istringstream in(
        "\xEF\xBB\xBF"
        "a,b\r\n\"x\r\ny\",\"lone\rcr\"\r\n\r\nz,\r\n");
    CsvReader reader(in);
    auto header = reader.next();
    ASSERT_TRUE(header);
    EXPECT_EQ(*(*header)[0], "a");
    auto row = reader.next();
    ASSERT_TRUE(row);
    EXPECT_EQ(*(*row)[0], "x\r\ny");
    EXPECT_EQ(*(*row)[1], "lone\rcr");
    auto last = reader.next();
    ASSERT_TRUE(last);
    EXPECT_EQ(reader.line(), 5);
    EXPECT_EQ(*(*last)[0], "z");
    EXPECT_FALSE((*last)[1]);
    EXPECT_FALSE(reader.next());
}

TEST(CsvWriter, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(csvField("plain"), "plain");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(csvField(" edge"), "\" edge\"");
}

TEST(ValueText, NumbersArePlainWithoutRounding) {
    EXPECT_EQ(plainNumber("1.E+00"), "1");
    EXPECT_EQ(plainNumber("1.25E+01"), "12.5");
    EXPECT_EQ(plainNumber("-1.2345E-05"), "-0.000012345");
    EXPECT_EQ(plainNumber("1.2345678901234567E+16"), "12345678901234567");
    EXPECT_EQ(plainNumber("7."), "7");
    EXPECT_EQ(plainNumber(".5"), "0.5");
    EXPECT_EQ(plainNumber("-0.20"), "-0.2");
    EXPECT_EQ(plainNumber("0.E+00"), "0");
    EXPECT_EQ(plainNumber("1.5E+99"), "1.5E+99");  // too far out to spell
    EXPECT_EQ(plainNumber("###"), "###");
    EXPECT_EQ(plainNumber("12abc"), "12abc");
}

TEST(ValueText, HexWidthsAndEscapes) {
    const unsigned char bytes[] = {0x00, 0xAB, 0x7F};
    EXPECT_EQ(toHex(bytes, 3), "00AB7F");
    EXPECT_EQ(formatDouble(0.1), "0.1");
    EXPECT_EQ(formatFloat(1.5f), "1.5");
    EXPECT_EQ(formatDouble(1e308), "1E+308");
    EXPECT_EQ(formatDouble(1.5e-10), "1.5E-10");
    EXPECT_EQ(formatDouble(-1.5e-7), "-0.00000015");
    EXPECT_EQ(formatDouble(123456789012345678.0), "123456789012345680");
    EXPECT_EQ(formatDouble(1e21), "1E+21");
    EXPECT_EQ(formatDouble(-0.0), "0");
    EXPECT_EQ(formatFloat(16777217.0f), "16777216");
    EXPECT_EQ(formatFloat(1e38f), "1E+38");
    EXPECT_EQ(displayWidth("Zoë €"), 5u);
    EXPECT_EQ(escapeControls("a\nb\tc\x01"), "a\\nb\\tc\\x01");
}

TEST(Binder, ClobChunksEndOnCharacterBoundaries) {
    const std::string text = "ab\xE2\x82\xAC";  // "ab€"
    EXPECT_EQ(completeUtf8Prefix(text.data(), 5), 5u);
    EXPECT_EQ(completeUtf8Prefix(text.data(), 4), 2u);  // € cut after two of its three bytes
    EXPECT_EQ(completeUtf8Prefix(text.data(), 3), 2u);
    EXPECT_EQ(completeUtf8Prefix(text.data(), 2), 2u);
    const std::string whole = "a\xC5\x82";  // "ał"
    EXPECT_EQ(completeUtf8Prefix(whole.data(), whole.size()), whole.size());
}

TEST(Variables, TimestampsParseWithFractionAndZone) {
    Timestamp t = parseTimestamp("2024-02-03 17:45:00.5 -05:30");
    EXPECT_EQ(t.year, 2024);
    EXPECT_EQ(t.month, 2u);
    EXPECT_EQ(t.hour, 17u);
    EXPECT_EQ(t.fraction, 500000000u);
    EXPECT_EQ(t.tzHour, -5);
    EXPECT_EQ(t.tzMinute, -30);
    Timestamp day = parseTimestamp("1999-12-31");
    EXPECT_EQ(day.hour, 0u);
    EXPECT_THROW(parseTimestamp("yesterday"), UsageError);

    Variables variables;
    Variable v;
    v.kind = Variable::Kind::Text;
    v.text = "x";
    variables.set("name", v);
    ASSERT_TRUE(variables.find("NAME"));
    EXPECT_TRUE(variables.unset("Name"));
    EXPECT_FALSE(variables.find("name"));
}

// VARIABLE's types as SQL*Plus reads them: lengths in bytes unless CHAR says characters (and
// the national types count characters), CHAR and NCHAR one long without a length, VARCHAR2 only
// with one, and lengths within SQL*Plus's limits.
TEST(BindTypes, VariableTypesTakeSqlPlusLengthsAndLimits) {
    const BindType number = parseBindType("number");
    EXPECT_EQ(number.base, BindType::Base::Number);
    EXPECT_EQ(number.shown, "NUMBER");
    const BindType name = parseBindType("varchar2 ( 20 )");
    EXPECT_EQ(name.shown, "VARCHAR2(20)");
    EXPECT_EQ(name.maxBytes, 20u);
    const BindType chars = parseBindType("VARCHAR2(10 CHAR)");
    EXPECT_EQ(chars.shown, "VARCHAR2(10 CHAR)");
    EXPECT_EQ(chars.maxBytes, 40u);
    EXPECT_EQ(parseBindType("CHAR").shown, "CHAR(1)");
    EXPECT_EQ(parseBindType("NCHAR").maxBytes, 4u);
    EXPECT_EQ(parseBindType("VARCHAR2(32767)").length, 32767u);
    EXPECT_THROW(parseBindType("VARCHAR2"), UsageError);
    EXPECT_THROW(parseBindType("VARCHAR2(32768)"), UsageError);
    EXPECT_THROW(parseBindType("CHAR(2001)"), UsageError);
    EXPECT_THROW(parseBindType("CHAR(0)"), UsageError);
    EXPECT_THROW(parseBindType("NUMBER(5)"), UsageError);
    EXPECT_THROW(parseBindType("REFCURSOR"), UsageError);
    EXPECT_THROW(parseBindType("DATE"), UsageError);
}

// What a block assigned takes the declared type: digits for a NUMBER, a padded CHAR, NULL for
// no value; an undeclared variable that held a number keeps one.
TEST(BindTypes, AssignedValuesTakeTheDeclaredType) {
    Variables variables;
    variables.declare("n", parseBindType("NUMBER"));
    variables.declare("c", parseBindType("CHAR(4)"));
    const std::string digits = "12345678901234567890", text = "ab", empty;
    variables.assign("N", &digits);
    variables.assign("c", &text);
    EXPECT_EQ(variables.find("n")->kind, Variable::Kind::Number);
    EXPECT_EQ(variables.find("n")->text, digits);
    EXPECT_EQ(variables.find("C")->text, "ab  ");
    variables.assign("n", &empty);
    EXPECT_EQ(variables.find("n")->kind, Variable::Kind::Null);
    Variable counted;
    counted.kind = Variable::Kind::Integer;
    variables.set("k", counted);
    const std::string seven = "7";
    variables.assign("k", &seven);
    EXPECT_EQ(variables.find("k")->kind, Variable::Kind::Number);
    EXPECT_EQ(variables.declarations().size(), 2u);
    EXPECT_EQ(variables.declarations()[0]->name, "n");
}
