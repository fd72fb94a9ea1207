// One SQL statement of a session: its binds and iterations, its executions and the result
// sets they produced. The result sets stay allocated until the statement is terminated, so a
// host that uses one after it was ended gets ORA-01001 instead of a crash.
#ifndef KAVEXDB_STATEMENT_H
#define KAVEXDB_STATEMENT_H

#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "occi/binds.h"
#include "occi/lob_binds.h"
#include "occi/native_checks.h"
#include "occi/trigger_firing.h"
#include "rewrite/dml/write_conversion.h"
#include "rewrite/sql_rewrite.h"
#include "sql/numbered_parameters.h"
#include "sql/sqlite_util.h"
#include "storage/lazy_lobs.h"
#include "storage/lob_content.h"

namespace kavexdb {
namespace detail {

class ConnectionImpl;
class ResultSetImpl;

class StatementImpl final : public occi::Statement {
public:
    StatementImpl(ConnectionImpl& connection, const std::string& sql);
    ~StatementImpl() override;

    Status execute(const std::string& sql) override;
    Status status() const override;
    occi::ResultSet* getResultSet() override;
    unsigned int getUpdateCount() const override;
    unsigned int executeUpdate(const std::string& sql) override;
    void closeResultSet(occi::ResultSet* resultSet) override;
    void setPrefetchRowCount(unsigned int rowCount) override;
    void setAutoCommit(bool autoCommit) override;
    // Ends and frees the result sets of earlier runs: for the session's own statements, which run
    // again and again and whose result sets no host holds (a host's stay, ended, until it goes).
    void dropEndedResultSets();
    void setMaxParamSize(unsigned int paramIndex, unsigned int maxSize) override;
    void setMaxIterations(unsigned int maxIterations) override;
    void addIteration() override;
    void setNull(unsigned int paramIndex, occi::Type type) override;
    void setInt(unsigned int paramIndex, int x) override;
    void setString(unsigned int paramIndex, const std::string& x) override;
    void setBFloat(unsigned int paramIndex, const occi::BFloat& fval) override;
    void setBDouble(unsigned int paramIndex, const occi::BDouble& dval) override;
    void setTimestamp(unsigned int paramIndex, const occi::Timestamp& x) override;
    void setBlob(unsigned int paramIndex, const occi::Blob& x) override;
    void setClob(unsigned int paramIndex, const occi::Clob& x) override;
    void setDataBuffer(unsigned int paramIndex, void* buffer, occi::Type type, sb4 size,
                       ub2* length, sb2* ind, ub2* rc) override;
    void setDataBuffer(unsigned int paramIndex, void* buffer, occi::Type type, sb4 size,
                       ub4* length, sb2* ind, ub2* rc) override;
    void registerOutParam(unsigned int paramIndex, occi::Type type, unsigned int maxSize,
                          const std::string& sqltype) override;
    occi::Clob getClob(unsigned int paramIndex) override;
    occi::Blob getBlob(unsigned int paramIndex) override;
    occi::Bfile getBfile(unsigned int paramIndex) override;

    // The rows a DML statement's RETURNING returns, for the PL/SQL engine: collected into sink
    // (cleared at each run) while it is set.
    void keepReturnedRows(std::vector<std::vector<BindValue>>* sink) { returned_ = sink; }
    // A value as SQLite takes it, for the PL/SQL engine's binds (indexes as the setters').
    void bindValue(unsigned index, BindValue value) { set(index, std::move(value)); }

private:
    // An out parameter of the temporary-LOB block.
    struct OutParam {
        occi::Type type = occi::OCCICLOB;
        std::shared_ptr<LobContent> lob;  // set once the block ran
    };

    void run(const std::string& sql);
    const RewrittenSql& rewritten();
    // The binds of typedBinds_ that the coming run gives numbers.
    std::set<std::string> numericTypedBinds() const;
    sqlite3_stmt* prepared();
    void checkParameterPositions(sqlite3_stmt* stmt);
    void endResultSets();
    void runQuery();
    void runDml();
    // The rows of runDml, without its statement triggers.
    void runDmlRows();
    // Runs rows (the statement's iterations) between its BEFORE and AFTER statement triggers,
    // undoing all of it when a trigger fails; rows alone when there are none.
    void withStatementTriggers(const std::function<void()>& rows);
    void runSteps(const RewrittenSql& r);  // merge.cpp
    void runMergeIteration(const RewrittenSql& r, unsigned iteration);
    void runDdl(const RewrittenSql& r);
    void runAccountStatement(const RewrittenSql& r);
    void runTempLobBlock();
    void runPlSql();
    OutParam& outParam(unsigned index);
    void set(unsigned index, BindValue value);
    // Where parameter index stores its value whole, for LOBs bound without building them.
    const LobTarget& lobTarget(int index);

    ConnectionImpl& connection_;
    std::string sql_;
    Status status_;
    bool autoCommit_ = false;
    unsigned prefetch_ = 1;
    unsigned updateCount_ = 0;
    bool haveRewrite_ = false;
    std::optional<DmlTarget> dmlTarget_;  // of sql_, read on the first DML run
    // An INSERT's table and the inline trigger its rewrite took (inlineTrigger_ says whether the
    // values went in; if not, the trigger runs as a temporary SQLite trigger).
    std::string insertTable_;
    std::string inlineVersion_;
    bool inlineTrigger_ = false;
    // A query's result may carry NUMBER values as their exact text (prepareStatementSql): on
    // for a host's statements, off for the PL/SQL engine's, which computes on with them.
    RewrittenSql rewrite_;
    NumberedParameters parameters_;  // of rewrite_.sql, as stmt_ was prepared
    // Binds compared with text, by their parameter index; those of them that were numbers when
    // rewrite_ was made. A run whose numbers differ makes it again.
    std::map<std::string, unsigned> typedBinds_;
    std::set<std::string> numericBinds_;
    std::vector<ParameterConversion> conversions_;     // DML parameters converted when bound
    std::vector<ParameterConversion*> conversionAt_;  // by parameter index of stmt_
    std::vector<std::vector<ParameterConversion>> stepConversions_;  // by step of steps
    NativeChecks nativeChecks_;                       // for array DML through stmt_
    SqliteStmt stmt_;
    std::vector<LobTarget> lobTargets_;  // of stmt_, found on first need
    std::unique_ptr<LazyLobQuery> lazyLobs_;  // for a query of stmt_ with LOB columns
    bool havePlan_ = false;
    bool haveLobTargets_ = false;
    BindSet binds_;
    std::vector<BindSet::Column> columns_;  // of binds_, by parameter index - 1, while DML runs
    std::map<unsigned, OutParam> outParams_;
    std::vector<std::unique_ptr<ResultSetImpl>> resultSets_;
    ResultSetImpl* current_ = nullptr;
    std::vector<std::vector<BindValue>>* returned_ = nullptr;  // keepReturnedRows
};

}  // namespace detail
}  // namespace kavexdb

#endif
