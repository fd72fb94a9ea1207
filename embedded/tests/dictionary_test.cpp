// The data dictionary views of the session's own schema.
#include "query_rows.h"

namespace clienttest {
namespace {

class Dictionary : public ::testing::Test {
protected:
    Dictionary() : s(memdb()) {
        s.exec("create table dept (deptno number(2) primary key, dname varchar2(14) not null)");
        s.exec("create table emp (empno number(4) constraint pk_emp primary key, "
               "ename varchar2(10 char), sal number(7,2), hired date, note clob, "
               "ratio binary_double, stamp timestamp(3), code char(2), n number, i integer, "
               "deptno number(2) references dept, unique (ename))");
        s.exec("create index emp_sal on emp (sal desc)");
        s.exec("create view v_emp as select empno, ename from emp");
        s.exec("create sequence emp_seq start with 10 increment by 5");
    }
    std::string rows(const std::string& sql) { return queryRows(s, sql); }
    Session s;
};

TEST_F(Dictionary, TablesViewsSequencesUsers) {
    EXPECT_EQ("DEPT\nEMP", rows("select table_name from user_tables order by table_name"));
    EXPECT_EQ("SCOTT|DEPT\nSCOTT|EMP",
              rows("select owner, table_name from all_tables where owner = user order by 2"));
    EXPECT_EQ("V_EMP|select empno, ename from emp", rows("select view_name, text from user_views"));
    EXPECT_EQ("EMP_SEQ|5|N", rows("select sequence_name, increment_by, cycle_flag from user_sequences"));
    EXPECT_EQ("SCOTT", rows("select username from user_users"));
    EXPECT_EQ("EMP|TABLE\nEMP_SAL|INDEX\nEMP_SEQ|SEQUENCE\nV_EMP|VIEW",
              rows("select object_name, object_type from user_objects "
                   "where object_name like 'EMP%' or object_type = 'VIEW' order by 1"));
    EXPECT_EQ(942, oraCode([&] { s.exec("insert into user_tables (table_name) values ('X')"); }));
    // Oracle's short synonyms are common table names: the user's own tables keep them.
    s.exec("create table seq (x integer)");
    EXPECT_EQ("0", s.one("select count(*) from seq"));
    // Nothing of the client's own catalog shows.
    s.exec("create table ident (id number generated always as identity, x integer)");
    EXPECT_EQ("0", s.one("select count(*) from user_tables where table_name like 'KAVEX%'"));
}

TEST_F(Dictionary, Columns) {
    EXPECT_EQ("EMPNO|NUMBER|22|4|0|N|1\n"
              "ENAME|VARCHAR2|10|-|-|Y|2\n"
              "SAL|NUMBER|22|7|2|Y|3\n"
              "HIRED|DATE|7|-|-|Y|4\n"
              "NOTE|CLOB|4000|-|-|Y|5\n"
              "RATIO|BINARY_DOUBLE|8|-|-|Y|6\n"
              "STAMP|TIMESTAMP(3)|11|-|3|Y|7\n"
              "CODE|CHAR|2|-|-|Y|8\n"
              "N|NUMBER|22|-|-|Y|9\n"
              "I|NUMBER|22|-|0|Y|10\n"
              "DEPTNO|NUMBER|22|2|0|Y|11",
              rows("select column_name, data_type, data_length, data_precision, data_scale, "
                   "nullable, column_id from user_tab_columns where table_name = 'EMP' "
                   "order by column_id"));
    EXPECT_EQ("2", s.one("select count(*) from all_tab_columns c where c.table_name = 'V_EMP'"));
    EXPECT_EQ("SCOTT", s.one("select distinct owner from sys.all_tab_columns"));
}

TEST_F(Dictionary, IndexesAndConstraints) {
    EXPECT_EQ("EMP_SAL|NONUNIQUE", rows("select index_name, uniqueness from user_indexes "
                                        "where table_name = 'EMP' and index_name = 'EMP_SAL'"));
    EXPECT_EQ("3", s.one("select count(*) from user_indexes where table_name = 'EMP'"));
    EXPECT_EQ("SAL|DESC", rows("select column_name, descend from user_ind_columns "
                               "where index_name = 'EMP_SAL'"));
    EXPECT_EQ("P|EMP\nR|EMP\nU|EMP",
              rows("select constraint_type, table_name from user_constraints "
                   "where table_name = 'EMP' order by 1"));
    EXPECT_EQ("\"DNAME\" IS NOT NULL",
              s.one("select search_condition from user_constraints where table_name = 'DEPT' "
                    "and constraint_type = 'C'"));
}

}  // namespace
}  // namespace clienttest
