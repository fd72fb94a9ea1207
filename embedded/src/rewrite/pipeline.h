// The one order in which a statement passes through the rewriting, from the Oracle SQL a host
// sends to the SQL SQLite runs. Every path a statement takes uses it: a statement a host
// prepares, the query and INSERT of CREATE TABLE AS, the steps of MERGE and INSERT ALL, the
// definitions of views, and the tables ALTER TABLE rebuilds.
//
// The passes are rows of one table (pipeline.cpp): each has a name, the kinds of statement it
// applies to, and whether it reads the database (the schema passes, which run after the text
// passes). With KAVEX_TRACE_REWRITE set in the environment (to anything but "0"), the SQL after
// each pass that changed it goes to standard error as "rewrite <pass>: <sql>".
#ifndef KAVEXDB_REWRITE_PIPELINE_H
#define KAVEXDB_REWRITE_PIPELINE_H

#include <sqlite3.h>

#include <set>
#include <string>
#include <vector>

#include "rewrite/dml/write_conversion.h"
#include "sql/plan.h"

namespace kavexdb {
namespace detail {

// The text passes alone: what needs no database. sessionSchema is the connected user's name in
// upper case; "SCHEMA.table" naming it becomes "table". Throws ORA errors only for forms it
// cannot carry over, e.g. an unterminated string literal (ORA-01756).
RewrittenSql rewriteSql(const std::string& oracleSql, const std::string& sessionSchema);

// A statement rewritten by every pass, with the conversions its parameters need when bound
// (the statement's own, and one list per step).
struct PreparedSql {
    RewrittenSql plan;
    std::vector<ParameterConversion> conversions;
    std::vector<std::vector<ParameterConversion>> stepConversions;
    // Binds compared with text: the SQL above holds for the numericBinds it was made with; a
    // run whose binds of these are numbers otherwise needs it made again.
    std::set<std::string> typedBinds;
};

// Every pass, in the pipeline's order: synonyms resolved in db first, the text passes, then the
// schema passes (implicit conversions of comparisons, DML forms, write conversions, CLOB reads).
// numericBinds: the binds (as written) whose values in the coming run are numbers.
// exactResults: a query's result may carry NUMBER values past a double's digits as their exact
// text (exact_results.h); only for results that go to a host, never to further SQL.
PreparedSql prepareStatementSql(sqlite3* db, const std::string& oracleSql,
                                const std::string& sessionSchema,
                                const std::set<std::string>& numericBinds = {},
                                bool exactResults = false);

}  // namespace detail
}  // namespace kavexdb

#endif
