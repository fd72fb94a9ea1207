// Oracle SQL forms of the embedded database as a host meets them through the flat exports:
// sequences, row limiting, MERGE's update count, hierarchies, functions, format models,
// synonyms, the dictionary and errors in Oracle's words.
#include <string>

#include "flat_host.h"

namespace {

class OracleSqlForms : public FlatSession {
protected:
    std::string value(const std::string& sql) {
        firstRow(sql);
        return text(0).value_or("<null>");
    }
};

TEST_F(OracleSqlForms, SequencesAndRowLimiting) {
    run("create sequence order_seq start with 1000 increment by 10");
    run("create table orders (id number(10) default order_seq.nextval, item varchar2(10))");
    run("insert into orders (item) values ('a')");
    run("insert into orders values (order_seq.nextval, 'b')");
    run("insert into orders values (order_seq.nextval, 'c')");
    EXPECT_EQ("1020", value("select to_char(order_seq.currval) from dual"));
    EXPECT_EQ("1010", value("select id from orders where rownum <= 2 and item <> 'a'"));
    EXPECT_EQ("b", value("select item from orders order by id offset 1 rows fetch next 1 row only"));
    EXPECT_EQ("ORDER_SEQ", value("select sequence_name from user_sequences"));
}

TEST_F(OracleSqlForms, MergeCountsHierarchiesAndFunctions) {
    run("create table stock (item varchar2(10) primary key, qty number)");
    run("insert into stock values ('a', 1)");
    EXPECT_EQ(2, ExecuteQuery(id,
                              "merge into stock s using (select 'a' item, 5 qty from dual union all "
                              "select 'b', 7 from dual) n on (s.item = n.item) "
                              "when matched then update set s.qty = s.qty + n.qty "
                              "when not matched then insert values (n.item, n.qty)",
                              1));
    EXPECT_EQ("a=6;b=7", value("select listagg(item || '=' || qty, ';') within group "
                               "(order by item) from stock"));
    EXPECT_EQ("3", value("select to_char(max(level)) from dual connect by level <= 3"));
    EXPECT_EQ("Redwood", value("select regexp_substr('500 Oracle Parkway, Redwood Shores', "
                               "'[[:alpha:]]+', 1, 3) from dual"));
    EXPECT_EQ("SCOTT", value("select user from dual"));
}

TEST_F(OracleSqlForms, FormatModelsAndSynonyms) {
    EXPECT_EQ("$1,234.50", value("select to_char(1234.5, 'FML9G999D00') from dual"));
    EXPECT_EQ("Fourteenth", value("select to_char(date '2024-03-14', 'Ddspth') from dual"));
    EXPECT_EQ("2024-03-14", value("select to_char(to_date('14-March-24', 'DD-MM-RR'), "
                                  "'YYYY-MM-DD') from dual"));
    const int exact = ExecuteQuery(id, "select to_date('1-JAN-1998', 'FXDD-MON-YYYY') from dual", 1);
    ASSERT_LT(exact, 0);
    EXPECT_EQ(std::string("ORA-01862: the numeric value does not match the length of the format "
                          "item\n"),
              GetError(exact));
    run("create table parts (id number)");
    run("create synonym p for parts");
    run("insert into p values (7)");
    EXPECT_EQ("7", value("select to_char(id) from p"));
    EXPECT_EQ("P", value("select synonym_name from user_synonyms"));
}

TEST_F(OracleSqlForms, MistakesAreReportedInOraclesWords) {
    const int failed = ExecuteQuery(id, "select from dual", 1);
    ASSERT_LT(failed, 0);
    EXPECT_EQ(std::string("ORA-00936: missing expression\n"), GetError(failed));
    const int seq = ExecuteQuery(id, "select no_such_seq.nextval from dual", 1);
    ASSERT_LT(seq, 0);
    EXPECT_EQ(std::string("ORA-02289: sequence does not exist\n"), GetError(seq));
}

}  // namespace
