// The statement texts triggers work from: a DML statement's table, events and SET columns, and an
// INSERT written with an inline trigger's values, or left alone when that would change what the
// statement means (binds, defaults, forms).
#include <gtest/gtest.h>

#include "rewrite/dml/trigger_targets.h"

namespace kavexdb {
namespace detail {
namespace {

TEST(TriggerTargets, TableEventsAndSetColumns) {
    DmlTarget t = dmlTarget("insert into scott.emp (a) values (1)");
    EXPECT_EQ("EMP", t.table);
    EXPECT_EQ("I", t.events);
    t = dmlTarget("UPDATE emp e SET e.sal = 1, (job, \"Mgr\") = (SELECT 'x', 2 FROM dual) WHERE 1 = 0");
    EXPECT_EQ("U", t.events);
    EXPECT_EQ((std::vector<std::string>{"SAL", "JOB", "Mgr"}), t.updated);
    EXPECT_EQ("D", dmlTarget("delete emp where id = 3").events);
    t = dmlTarget("merge into emp using d on (1 = 1) when matched then update set sal = 2 "
                  "delete where sal > 1 when not matched then insert (id) values (1)");
    EXPECT_EQ("IUD", t.events);
    EXPECT_EQ((std::vector<std::string>{"SAL"}), t.updated);
    EXPECT_EQ("", dmlTarget("insert all into a values (1) select * from dual").table);
    EXPECT_EQ("", dmlTarget("select * from emp").table);
}

TEST(TriggerTargets, InsertTakesTheTriggersValuesOrIsLeftAlone) {
    const std::string trigger =
        "INSERT INTO EMP (ID, NAME, KIND) VALUES (emp_seq.NEXTVAL, upper(NEW.NAME), NEW.KIND)";
    const std::set<std::string> defaulted{"KIND"};
    std::string out;
    ASSERT_TRUE(insertWithTriggerValues("insert into emp (name) values (:1) returning id into :2",
                                        trigger, defaulted, out));
    EXPECT_EQ("insert into emp (ID, NAME) VALUES (emp_seq.NEXTVAL, upper((:1))) returning id "
              "into :2",
              out);
    ASSERT_TRUE(insertWithTriggerValues("INSERT INTO emp VALUES (1, 'a', 'k')", trigger,
                                        defaulted, out));
    EXPECT_EQ("INSERT INTO emp (ID, NAME, KIND) VALUES (emp_seq.NEXTVAL, upper(('a')), ('k'))",
              out);
    // The trigger reads KIND, which this INSERT leaves to its default.
    const std::string readsKind =
        "INSERT INTO EMP (ID, NAME, KIND) VALUES (NEW.KIND, NEW.NAME, NEW.KIND)";
    EXPECT_FALSE(insertWithTriggerValues("insert into emp (name) values ('a')", readsKind,
                                         defaulted, out));
    // A bind the trigger would read twice, or drop, keeps the statement as it is.
    const std::string twice = "INSERT INTO EMP (ID, NAME, KIND) VALUES (NEW.NAME, NEW.NAME, 1)";
    EXPECT_FALSE(insertWithTriggerValues("insert into emp (name) values (:1)", twice, {}, out));
    const std::string drops = "INSERT INTO EMP (ID, NAME, KIND) VALUES (1, 'x', NEW.KIND)";
    EXPECT_FALSE(insertWithTriggerValues("insert into emp (id, name) values (:1, :2)", drops, {},
                                         out));
    EXPECT_FALSE(insertWithTriggerValues("insert into emp (name) select 'a' from dual", trigger,
                                         {}, out));
}

}  // namespace
}  // namespace detail
}  // namespace kavexdb
