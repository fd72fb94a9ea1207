// What triggers need of a DML statement's text: the table it writes and the events it is, and an
// INSERT ... VALUES written with an inline BEFORE INSERT trigger's values in it
// (catalog/stored_triggers.h).
#ifndef KAVEXDB_REWRITE_DML_TRIGGER_TARGETS_H
#define KAVEXDB_REWRITE_DML_TRIGGER_TARGETS_H

#include <set>
#include <string>
#include <vector>

namespace kavexdb {
namespace detail {

// The table a DML statement writes and the events its statement triggers answer to: INSERT INTO t
// ('I'), UPDATE t ... SET ('U', with the columns set), DELETE [FROM] t ('D'), MERGE INTO t ('IU',
// and 'D' with a DELETE clause). No table for other statements (INSERT ALL among them).
struct DmlTarget {
    std::string table;  // as SQL names it, without its schema
    std::string events;
    std::vector<std::string> updated;
};
DmlTarget dmlTarget(const std::string& sql);

// sql, an INSERT INTO t [(columns)] VALUES (...) of one row, with the values of t's inline
// trigger (inlineInsert: "INSERT INTO T (C1, ...) VALUES (E1, ...)", each E in terms of NEW.C):
// the columns it sets or the trigger assigns, each E with NEW.C as the statement's value of C
// (NULL for one it leaves out). False when that cannot be: another form, a value the trigger
// reads from a column left to its default (defaulted, in upper case), or binds that would not
// stay each once in their order.
bool insertWithTriggerValues(const std::string& sql, const std::string& inlineInsert,
                             const std::set<std::string>& defaulted, std::string& out);

}  // namespace detail
}  // namespace kavexdb

#endif
