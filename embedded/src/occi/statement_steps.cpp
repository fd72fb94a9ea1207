// A statement the rewriting turned into steps (MERGE, INSERT ALL): every step of one iteration
// runs inside a savepoint, binding the host's parameters by name, so a failing step undoes the
// steps before it as Oracle undoes a failing statement.
#include <algorithm>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "catalog/constraint_errors.h"
#include "occi/binds.h"
#include "occi/connection.h"
#include "occi/statement.h"

#include "sql/numbered_parameters.h"
#include "rewrite/dml/merge.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

void StatementImpl::runSteps(const RewrittenSql& r) {
    sqlite3* db = connection_.db();
    if (binds_.highestIndex() > r.dml.bindNames.size()) raise(ora::kInvalidPosition);
    connection_.beginWork();
    const unsigned iterations = binds_.iterations();
    CallCancel& cancel = connection_.cancel();
    for (unsigned it = 0; it < iterations; ++it) {
        cancel.betweenIterations(connection_.hasPendingWork());
        // One MERGE is one statement: a failing step undoes the steps before it.
        execSql(db, "SAVEPOINT kavex_merge");
        try {
            runMergeIteration(r, it);
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK TO kavex_merge", nullptr, nullptr, nullptr);
            sqlite3_exec(db, "RELEASE kavex_merge", nullptr, nullptr, nullptr);
            throw;
        }
        execSql(db, "RELEASE kavex_merge");
        if (!autoCommit_) connection_.workDone();
    }
    status_ = UPDATE_COUNT_AVAILABLE;
    if (autoCommit_) connection_.commitWork();
}

void StatementImpl::runMergeIteration(const RewrittenSql& r, unsigned it) {
    sqlite3* db = connection_.db();
    {
        sqlite3_int64 bound = 0;
        for (std::size_t k = 0; k < r.dml.steps.size(); ++k) {
            const std::string& sql = r.dml.steps[k];
            const NumberedParameters parameters(sql);
            SqliteStmt step = prepareSql(db, parameters.sql());
            const int count = sqlite3_bind_parameter_count(step.get());
            for (int p = 1; p <= count; ++p) {
                const std::string& n = parameters.name(p);
                if (n == kMergeRowidBound) {
                    sqlite3_bind_int64(step.get(), p, bound);
                    continue;
                }
                const auto at = std::find(r.dml.bindNames.begin(), r.dml.bindNames.end(), n);
                const unsigned index = static_cast<unsigned>(at - r.dml.bindNames.begin()) + 1;
                const BindView v = binds_.resolve(index, it, connection_.charset());
                if (v.kind == BindValue::Kind::Unset) raise(ora::kNotAllVariablesBound);
                ParameterConversion* conversion = nullptr;
                for (ParameterConversion& c : stepConversions_[k])
                    if (c.parameter() == n) conversion = &c;
                const int rc = conversion ? conversion->bind(db, step.get(), p, v)
                                          : bindToSqlite(step.get(), p, v, SQLITE_STATIC);
                if (rc != SQLITE_OK) raiseSqlite(db, rc);
            }
            int rc;
            const std::uint64_t done = connection_.triggers().rowsDone();
            while ((rc = sqlite3_step(step.get())) == SQLITE_ROW)
                bound = sqlite3_column_int64(step.get(), 0);
            if (rc != SQLITE_DONE) raiseStepFailure(db, rc, sql, connection_.schema());
            // Rows its triggers wrote in place of the step's count as its own.
            if (sql.compare(0, 6, "UPDATE") == 0 || sql.compare(0, 6, "INSERT") == 0)
                updateCount_ += static_cast<unsigned>(sqlite3_changes(db) +
                                                      connection_.triggers().rowsDone() - done);
        }
    }
}

}  // namespace detail
}  // namespace kavexdb
