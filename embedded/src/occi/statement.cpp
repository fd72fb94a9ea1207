#include "occi/statement.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "base/faults.h"
#include "base/ora_messages.h"
#include "catalog/accounts.h"
#include "catalog/constraint_errors.h"
#include "catalog/constraint_names.h"
#include "catalog/ddl_effects.h"
#include "catalog/foreign_keys.h"
#include "catalog/stored_triggers.h"
#include "catalog/unit_dependencies.h"
#include "catalog/synonyms.h"
#include "exec/alter_table.h"
#include "exec/create_table_as.h"
#include "occi/connection.h"
#include "occi/plsql_port.h"
#include "occi/result_set.h"
#include "rewrite/ddl/alter_index.h"
#include "rewrite/dml/dml_forms.h"
#include "rewrite/expr/clob_text.h"
#include "rewrite/expr/comparison_types.h"
#include "plsql/block_runner.h"
#include "rewrite/pipeline.h"
#include "sql/numbered_parameters.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

namespace {

// Where a call running a statement of this kind may be stopped: anywhere, except inside a write
// that SQLite would undo together with the changes the transaction held before it
// (call_cancel.h); COMMIT and ROLLBACK run to their end.
CallCancel::Reach cancelReach(RewrittenSql::Kind kind, bool transactionHoldsChanges) {
    switch (kind) {
    case RewrittenSql::Kind::Query:
        return CallCancel::Reach::Anywhere;
    case RewrittenSql::Kind::Commit:
    case RewrittenSql::Kind::Rollback:
        return CallCancel::Reach::Boundaries;
    default:
        return transactionHoldsChanges ? CallCancel::Reach::Boundaries
                                       : CallCancel::Reach::Anywhere;
    }
}

// The current row of a statement as SQLite holds its values (RETURNING's rows).
std::vector<BindValue> rowValues(sqlite3_stmt* stmt) {
    std::vector<BindValue> row;
    for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        BindValue v = BindValue::null();
        switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                v.kind = BindValue::Kind::Integer;
                v.integer = sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                v.kind = BindValue::Kind::Real;
                v.real = sqlite3_column_double(stmt, c);
                break;
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                v.kind = sqlite3_column_type(stmt, c) == SQLITE_TEXT ? BindValue::Kind::Text
                                                                     : BindValue::Kind::Blob;
                const void* data = sqlite3_column_blob(stmt, c);
                if (data)
                    v.bytes.assign(static_cast<const char*>(data),
                                   static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
                break;
            }
            default:
                break;
        }
        row.push_back(std::move(v));
    }
    return row;
}

// Throws the Oracle error of a failed step, then leaves the statement ready to run again.
// The lookups that name the failed constraint are the client's own SQL: the authorizer trusts
// them.
[[noreturn]] void failStep(sqlite3* db, sqlite3_stmt* stmt, int rc, const std::string& owner,
                           Authorizer& authorizer) {
    try {
        Authorizer::Trusted trusted(authorizer);
        raiseStepFailure(db, rc, sqlite3_sql(stmt), owner, stmt);
    } catch (...) {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        throw;
    }
}

// A BINARY_FLOAT or BINARY_DOUBLE bind: a REAL, or NULL.
template <class Binary>
void bindReal(BindSet& binds, unsigned index, const Binary& x) {
    if (x.isNull)
        binds.set(index, BindValue::null());
    else
        binds.setReal(index, x.value);
}

// A LOB bind: the locator's content as it is at execute time, or NULL for a null locator.
BindValue lobOrNull(std::shared_ptr<LobContent> content) {
    BindValue v = BindValue::null();
    if (content) {
        v.kind = BindValue::Kind::Lob;
        v.lob = std::move(content);
    }
    return v;
}

// A caller's buffer; the caller then points length16 or length32 at its lengths.
DataBuffer dataBuffer(void* buffer, occi::Type type, sb4 size, sb2* ind) {
    DataBuffer b;
    b.data = buffer;
    b.type = type;
    b.size = size;
    b.indicator = ind;
    return b;
}

}  // namespace

StatementImpl::StatementImpl(ConnectionImpl& connection, const std::string& sql)
    : connection_(connection), sql_(sql), status_(sql.empty() ? UNPREPARED : PREPARED) {
    liveAdd(Live::Statement, 1);
}

StatementImpl::~StatementImpl() {
    endResultSets();
    resultSets_.clear();
    stmt_.reset();
    liveAdd(Live::Statement, -1);
}

// ---- execution -------------------------------------------------------------------------------

occi::Statement::Status StatementImpl::execute(const std::string& sql) {
    checkFault("Statement::execute");
    run(sql);
    return status_;
}

unsigned int StatementImpl::executeUpdate(const std::string& sql) {
    checkFault("Statement::executeUpdate");
    run(sql);
    return updateCount_;
}

void StatementImpl::run(const std::string& sql) {
    endResultSets();
    // The triggers' schema version is read once in this run, and again after it (its DDL, or
    // another session's, may have changed the triggers).
    struct SchemaRead {
        TriggerFiring& triggers;
        explicit SchemaRead(TriggerFiring& t) : triggers(t) { triggers.schemaMayHaveChanged(); }
        ~SchemaRead() { triggers.schemaMayHaveChanged(); }
    } schemaRead(connection_.triggers());
    if (!sql.empty() && sql != sql_) {
        stmt_.reset();
        sql_ = sql;
        haveRewrite_ = false;
        dmlTarget_.reset();
        nativeChecks_ = NativeChecks();
    }
    if (haveRewrite_ && !typedBinds_.empty() && numericTypedBinds() != numericBinds_) {
        stmt_.reset();  // a bind compared with text changed between number and text
        haveRewrite_ = false;
    }
    if (haveRewrite_ && !insertTable_.empty() &&
        connection_.triggers().inlineVersion(insertTable_) != inlineVersion_) {
        stmt_.reset();  // the table's inline trigger came, went or changed
        haveRewrite_ = false;
    }
    updateCount_ = 0;
    status_ = sql_.empty() ? UNPREPARED : PREPARED;
    if (sql_.empty()) raise(ora::kStatementNotPrepared);
    // A request that comes while the statement is rewritten is kept until its kind says where
    // the call may be stopped.
    CallCancel::Scope call(connection_.cancel(), CallCancel::Reach::Boundaries);
    const TempSpace::Scope temporaryFiles(connection_.tempSpace());
    try {
        const RewrittenSql& r = rewritten();
        call.setReach(cancelReach(r.kind, connection_.hasPendingWork()));
        switch (r.kind) {
        case RewrittenSql::Kind::Query:
        case RewrittenSql::Kind::Commit:
        case RewrittenSql::Kind::TempLobBlock:
        case RewrittenSql::Kind::PlSql:
        case RewrittenSql::Kind::AlterSession:
        case RewrittenSql::Kind::Empty:
            break;
        default:
            connection_.keepLobValues();
        }
        switch (r.kind) {
        case RewrittenSql::Kind::Empty:
            raise(ora::kInvalidSqlStatement);
        case RewrittenSql::Kind::Query:
            runQuery();
            break;
        case RewrittenSql::Kind::Dml:
            if (r.dml.steps.empty())
                runDml();
            else
                withStatementTriggers([&] { runSteps(r); });
            break;
        case RewrittenSql::Kind::Ddl:
            runDdl(r);
            connection_.triggers().schemaMayHaveChanged();
            break;
        case RewrittenSql::Kind::Commit:
            connection_.requireIntactTransaction();
            connection_.commitWork();
            status_ = UPDATE_COUNT_AVAILABLE;
            break;
        case RewrittenSql::Kind::Rollback:
            connection_.rollbackWork();
            status_ = UPDATE_COUNT_AVAILABLE;
            break;
        case RewrittenSql::Kind::CreateUser:
        case RewrittenSql::Kind::AlterUser:
        case RewrittenSql::Kind::DropUser:
            runAccountStatement(r);
            break;
        case RewrittenSql::Kind::TempLobBlock:
            runTempLobBlock();
            break;
        case RewrittenSql::Kind::AlterSession:
            // Checked while rewritten: what it asks for is already so. It ends no transaction.
            status_ = UPDATE_COUNT_AVAILABLE;
            break;
        case RewrittenSql::Kind::PlSql:
            runPlSql();
            break;
        }
    } catch (const occi::SQLException& e) {
        binds_.finishExecution();
        throw connection_.withLossNoted(e);
    } catch (...) {
        binds_.finishExecution();
        throw;
    }
    binds_.finishExecution();
}

std::set<std::string> StatementImpl::numericTypedBinds() const {
    std::set<std::string> numeric;
    for (const auto& bind : typedBinds_)
        if (binds_.isNumber(bind.second, connection_.charset())) numeric.insert(bind.first);
    return numeric;
}

namespace {

// Parameter indexes by bind name: SQLite numbers the names in the order they first appear.
std::map<std::string, unsigned> bindIndexes(const std::string& sql,
                                            const std::set<std::string>& names) {
    std::map<std::string, unsigned> indexes;
    std::set<std::string> seen;
    for (const Token& t : lexSql(sql)) {
        if (t.kind != Token::Kind::Bind || !seen.insert(t.text).second) continue;
        if (names.count(t.text) != 0) indexes.emplace(t.text, static_cast<unsigned>(seen.size()));
    }
    return indexes;
}

}  // namespace

const RewrittenSql& StatementImpl::rewritten() {
    if (!haveRewrite_) {
        sqlite3* db = connection_.db();
        // An INSERT into a table with an inline BEFORE INSERT trigger takes its values.
        std::string text = sql_;
        bool inlined = false;
        insertTable_.clear();
        inlineTrigger_ = false;
        if (!dmlTarget_) dmlTarget_ = dmlTarget(sql_);
        if (dmlTarget_->events == "I") {
            insertTable_ = dmlTarget_->table;
            inlineVersion_ = connection_.triggers().inlineVersion(insertTable_);
            std::string written;
            if (connection_.triggers().insertWithTrigger(sql_, written, inlined)) {
                text = written;
                inlineTrigger_ = true;
            }
        }
        PreparedSql prepared = prepareStatementSql(db, text, connection_.schema(), numericBinds_,
                                                  true);
        typedBinds_ = bindIndexes(prepared.plan.sql, prepared.typedBinds);
        const std::set<std::string> numeric = numericTypedBinds();
        if (numeric != numericBinds_) {
            numericBinds_ = numeric;
            prepared = prepareStatementSql(db, text, connection_.schema(), numericBinds_, true);
        }
        rewrite_ = std::move(prepared.plan);
        conversions_ = std::move(prepared.conversions);
        stepConversions_ = std::move(prepared.stepConversions);
        haveRewrite_ = true;
    }
    return rewrite_;
}

sqlite3_stmt* StatementImpl::prepared() {
    if (!stmt_) {
        const char* tail = nullptr;
        Authorizer::UserText user(connection_.authorizer());
        parameters_ = NumberedParameters(rewritten().sql);
        stmt_ = prepareSql(connection_.db(), parameters_.sql(), &tail);
        if (!stmt_) raise(ora::kInvalidSqlStatement);
        if (!onlyTerminators(tail)) {
            stmt_.reset();
            raise(ora::kCommandNotProperlyEnded);
        }
        conversionAt_.assign(static_cast<std::size_t>(sqlite3_bind_parameter_count(stmt_.get())) + 1,
                             nullptr);
        haveLobTargets_ = false;
        havePlan_ = false;
        lazyLobs_.reset();
        for (ParameterConversion& c : conversions_) {
            const int index = parameters_.index(c.parameter());
            if (index > 0) conversionAt_[static_cast<std::size_t>(index)] = &c;
        }
    }
    return stmt_.get();
}

void StatementImpl::checkParameterPositions(sqlite3_stmt* stmt) {
    if (binds_.highestIndex() > static_cast<unsigned>(sqlite3_bind_parameter_count(stmt)))
        raise(ora::kInvalidPosition);
}

void StatementImpl::endResultSets() {
    for (auto& rs : resultSets_) rs->end();
    current_ = nullptr;
}

void StatementImpl::runQuery() {
    sqlite3* db = connection_.db();
    if (rewritten().query.forUpdate) {
        // The write lock, held to COMMIT or ROLLBACK, stands for the rows' locks.
        connection_.requireIntactTransaction();
        connection_.beginWork();
    }
    sqlite3_stmt* query = prepared();
    checkParameterPositions(query);
    if (!havePlan_) {
        Authorizer::UserText user(connection_.authorizer());
        lazyLobs_ = planLazyLobs(db, query, rewritten().sql);
        havePlan_ = true;
    }
    sqlite3_stmt* stmt = lazyLobs_ ? lazyLobs_->rows.get() : query;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int p = 1; p <= count; ++p) {
        const BindView v = binds_.resolve(static_cast<unsigned>(p), 0, connection_.charset());
        if (v.kind == BindValue::Kind::Unset) raise(ora::kNotAllVariablesBound);
        // A query reads its parameters while it is fetched: SQLite keeps its own copy.
        int rc = bindToSqlite(stmt, p, v, SQLITE_TRANSIENT);
        if (rc != SQLITE_OK) raiseSqlite(db, rc);
    }
    auto rs = std::make_unique<ResultSetImpl>(db, query, prefetch_, connection_.charset(),
                                              connection_.cancel(), connection_.tempSpace(),
                                              lazyLobs_.get(),
                                              connection_.lobs());
    rs->start();
    resultSets_.push_back(std::move(rs));
    current_ = resultSets_.back().get();
    status_ = RESULT_SET_AVAILABLE;
    if (autoCommit_) connection_.commitWork();
}

const LobTarget& StatementImpl::lobTarget(int index) {
    if (!haveLobTargets_) {
        lobTargets_ = findLobTargets(connection_.db(), stmt_.get(), rewritten().sql);
        haveLobTargets_ = true;
    }
    return lobTargets_[static_cast<std::size_t>(index)];
}

void StatementImpl::withStatementTriggers(const std::function<void()>& rows) {
    if (!dmlTarget_) dmlTarget_ = dmlTarget(sql_);
    const DmlTarget& target = *dmlTarget_;
    TriggerFiring& triggers = connection_.triggers();
    bool any = false;
    if (!triggers.rewriting())
        for (char event : target.events)
            any = any || triggers.hasStatementTriggers(target.table, event, target.updated);
    const TriggerFiring::StatementScope running(triggers, &target.updated);
    // An INSERT that could not take its table's inline trigger runs with it as a SQLite trigger.
    std::optional<TriggerFiring::TemporaryTrigger> temporary;
    // (An INSERT's run already knows its table's inline trigger: inlineVersion_.)
    if (target.events.find('I') != std::string::npos && !inlineTrigger_ &&
        !(insertTable_.empty() ? triggers.inlineVersion(target.table) : inlineVersion_).empty())
        temporary.emplace(triggers, target.table);
    if (!any) return rows();
    // Inside a trigger the statement is part of the one that fired it, which SQLite undoes
    // whole (and which holds SQLite's savepoints up).
    if (triggers.firing()) {
        for (char event : target.events)
            triggers.fireStatementTriggers(target.table, event, target.updated, true);
        rows();
        for (char event : target.events)
            triggers.fireStatementTriggers(target.table, event, target.updated, false);
        return;
    }
    // The statement with its triggers is one: a failing trigger undoes the rows too. An
    // auto-commit waits for the AFTER triggers.
    sqlite3* db = connection_.db();
    connection_.requireIntactTransaction();
    connection_.beginWork();
    const bool autoCommit = autoCommit_;
    autoCommit_ = false;
    execSql(db, "SAVEPOINT kavex_statement");
    try {
        for (char event : target.events)
            triggers.fireStatementTriggers(target.table, event, target.updated, true);
        rows();
        for (char event : target.events)
            triggers.fireStatementTriggers(target.table, event, target.updated, false);
    } catch (...) {
        autoCommit_ = autoCommit;
        if (sqlite3_exec(db, "ROLLBACK TO kavex_statement", nullptr, nullptr, nullptr) ==
            SQLITE_OK)
            sqlite3_exec(db, "RELEASE kavex_statement", nullptr, nullptr, nullptr);
        throw;
    }
    autoCommit_ = autoCommit;
    execSql(db, "RELEASE kavex_statement");
    connection_.workDone();
    if (autoCommit_ || !connection_.inTransaction()) connection_.commitWork();
}

void StatementImpl::runDml() {
    withStatementTriggers([this] { runDmlRows(); });
}

void StatementImpl::runDmlRows() {
    sqlite3* db = connection_.db();
    if (returned_) returned_->clear();
    sqlite3_stmt* stmt = prepared();
    checkParameterPositions(stmt);
    sqlite3_reset(stmt);
    connection_.requireIntactTransaction();
    connection_.beginWork();
    // An auto-committed execution on its own is all-or-nothing already: losing it is no loss
    // of earlier work.
    const bool keepsWork = !autoCommit_ || connection_.hasPendingWork();
    const int count = sqlite3_bind_parameter_count(stmt);
    const unsigned iterations = binds_.iterations();
    // Many rows into a table with value checks: checked here, without SQLite's constraints,
    // until a value comes that only SQLite can judge.
    std::optional<CheckConstraintsOff> checksOff;
    if (iterations >= NativeChecks::kMinimumRows &&
        nativeChecks_.applies(db, connection_.authorizer(), rewrite_.sql, stmt))
        checksOff.emplace(db, connection_.authorizer());
    LobRowWriter lobs(db);
    const Charset charset = connection_.charset();
    columns_.clear();  // each parameter looked up once for every iteration
    for (int p = 1; p <= count; ++p) columns_.push_back(binds_.column(static_cast<unsigned>(p)));
    CallCancel& cancel = connection_.cancel();
    for (unsigned it = 0; it < iterations; ++it) {
        // A cancel stops the rows still to come; earlier iterations' rows stay, as after a
        // failing one. Once they are the transaction's, SQLite must not stop the next row.
        cancel.betweenIterations(connection_.hasPendingWork());
        bool vouched = checksOff && checksOff->active();
        for (int p = 1; p <= count; ++p) {
            const BindView v = columns_[static_cast<std::size_t>(p - 1)].at(it, charset);
            if (v.kind == BindValue::Kind::Unset) {
                sqlite3_clear_bindings(stmt);
                raise(ora::kNotAllVariablesBound);
            }
            // The value stays where it is until this iteration's step is done.
            ParameterConversion* conversion = conversionAt_[static_cast<std::size_t>(p)];
            if (vouched)
                vouched = (!conversion || conversion->bindsAsIs(v)) && nativeChecks_.at(p).passes(v);
            int rc = SQLITE_OK;
            try {
                // A LOB kept out of memory goes into its row after the step, piece by piece.
                const bool streamed =
                    v.kind == BindValue::Kind::Lob && v.lob && lobTarget(p).streams(*v.lob);
                rc = streamed     ? lobs.bind(stmt, p, lobTarget(p), v.lob)
                     : conversion ? conversion->bind(db, stmt, p, v)
                                  : bindToSqlite(stmt, p, v, SQLITE_STATIC);
            } catch (...) {
                sqlite3_reset(stmt);  // earlier iterations' rows stay
                sqlite3_clear_bindings(stmt);
                throw;
            }
            if (rc != SQLITE_OK) failStep(db, stmt, rc, connection_.schema(), connection_.authorizer());
        }
        if (checksOff && !vouched) checksOff->restore();
        int rc;
        lobs.watch();
        TriggerFiring& triggers = connection_.triggers();
        const std::uint64_t done = triggers.rowsDone();
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (returned_) returned_->push_back(rowValues(stmt));
        }
        if (rc != SQLITE_DONE) failStep(db, stmt, rc, connection_.schema(), connection_.authorizer());  // earlier iterations' rows stay
        if (!lobs.empty()) {
            try {
                lobs.write();
            } catch (...) {
                sqlite3_reset(stmt);
                sqlite3_clear_bindings(stmt);
                throw;
            }
            lobs.clear();
        }
        if (keepsWork) connection_.workDone();
        // Rows its triggers wrote in place of the statement's count as its own.
        const std::uint64_t written = triggers.rowsDone() - done;
        if (written != 0 && triggers.lastRowid() != 0)
            sqlite3_set_last_insert_rowid(db, triggers.lastRowid());
        updateCount_ += static_cast<unsigned>(sqlite3_changes(db) + written);
        sqlite3_reset(stmt);
    }
    sqlite3_clear_bindings(stmt);
    status_ = UPDATE_COUNT_AVAILABLE;
    // SQLite's own END / COMMIT TRANSACTION ended the transaction: its work is committed.
    if (autoCommit_ || !connection_.inTransaction()) connection_.commitWork();
}

void StatementImpl::runDdl(const RewrittenSql& r) {
    sqlite3* db = connection_.db();
    // DDL commits what the session has open, then runs and commits on its own.
    connection_.requireIntactTransaction();
    connection_.commitWork();
    stmt_.reset();
    // Compiled triggers keep statements prepared that could hold the DDL up.
    connection_.triggers().forget();
    // A rebuilt table's old rows go without their children's foreign key actions.
    // (Set outside a transaction: SQLite ignores the setting inside one.)
    std::optional<DbConfigScope> keysOff;
    if (r.ddl.rebuildTable) keysOff.emplace(db, SQLITE_DBCONFIG_ENABLE_FKEY, 0);
    connection_.beginWork();
    try {
        if (!r.ddl.droppedTable.empty() && !referencingTables(db, r.ddl.droppedTable).empty()) {
            // Oracle keeps a parent table while other tables' foreign keys name it.
            if (!r.ddl.cascadeConstraints) raise(ora::kKeysReferencedByForeignKeys);
            Authorizer::Trusted trusted(connection_.authorizer());
            dropReferencesTo(db, r.ddl.droppedTable);
        }
        if (!r.ddl.renamedIndexFrom.empty()) {
            Authorizer::Trusted trusted(connection_.authorizer());
            renameIndex(db, r.ddl.renamedIndexFrom, r.ddl.renamedIndexTo);
        } else if (r.ddl.rebuildTable) {
            Authorizer::Trusted trusted(connection_.authorizer());
            alterTableByRebuild(db, r.ddl.rebuiltFrom, connection_.schema());
        } else if (r.ddl.createsTableAs)
            runCreateTableAs(db, r.ddl.createAs, connection_.schema());
        else {
            refuseUsedConstraintNames(db, r.sql);
            runOnce(db, withConstraintNames(db, r.sql));
        }
        applyDdlEffects(db, r);
        invalidateDependentsOfDdl(db, sql_);
        {
            // A dropped table's triggers go with it; a rebuilt one's come back.
            Authorizer::Trusted trusted(connection_.authorizer());
            syncTriggers(db);
        }
        connection_.commitWork();
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    status_ = UPDATE_COUNT_AVAILABLE;
}

void StatementImpl::runAccountStatement(const RewrittenSql& r) {
    sqlite3* db = connection_.db();
    connection_.requireIntactTransaction();
    connection_.commitWork();
    connection_.beginWork();
    try {
        Authorizer::Trusted trusted(connection_.authorizer());
        AccountStore accounts(db, connection_.schema());
        if (r.kind == RewrittenSql::Kind::CreateUser)
            accounts.create(r.account.userName, r.account.password);
        else if (r.kind == RewrittenSql::Kind::AlterUser)
            accounts.changePassword(r.account.userName, r.account.password);
        else
            accounts.drop(r.account.userName);
        connection_.commitWork();
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    status_ = UPDATE_COUNT_AVAILABLE;
}

void StatementImpl::runPlSql() {
    // The host's binds by name, in the order the names first appear.
    plsql::HostBinds host;
    for (const Token& t : lexSql(sql_)) {
        if (t.kind != Token::Kind::Bind) continue;
        const std::string name = upperAscii(t.text.substr(1));
        if (std::find(host.names.begin(), host.names.end(), name) != host.names.end()) continue;
        host.names.push_back(name);
        const BindView v = binds_.resolve(static_cast<unsigned>(host.names.size()), 0,
                                          connection_.charset());
        plsql::Value value;
        switch (v.kind) {
        case BindValue::Kind::Integer:
        case BindValue::Kind::Real:
            value.type = plsql::ValueType::Number;
            break;
        case BindValue::Kind::Text:
            value.type = plsql::ValueType::Text;
            break;
        case BindValue::Kind::Blob:
            value.type = plsql::ValueType::Raw;
            break;
        default:
            break;
        }
        value.data.kind = v.kind == BindValue::Kind::Unset || v.kind == BindValue::Kind::Lob
                              ? BindValue::Kind::Null
                              : v.kind;
        value.data.integer = v.integer;
        value.data.real = v.real;
        if (v.data) value.data.bytes.assign(v.data, v.size);
        host.values.push_back(std::move(value));
        host.bound.push_back(v.kind != BindValue::Kind::Unset);
        host.maxBytes.push_back(binds_.maxParamSize(static_cast<unsigned>(host.names.size())));
        host.assigned.push_back(false);
    }
    PlSqlPort port(connection_, false);
    const std::size_t first = sql_.find_first_not_of(" \t\r\n");
    const std::string verb = upperAscii(sql_.substr(first == std::string::npos ? 0 : first, 6));
    if (verb.compare(0, 6, "CREATE") == 0 || verb.compare(0, 4, "DROP") == 0 ||
        verb.compare(0, 5, "ALTER") == 0) {
        // DDL: it ends the transaction, as any DDL does.
        connection_.requireIntactTransaction();
        connection_.commitWork();
        status_ = UPDATE_COUNT_AVAILABLE;
        plsql::runUnitDdl(port, sql_);
        return;
    }
    // A block is one statement: what it changed is undone when it fails, and what the
    // transaction held before it stays.
    sqlite3* db = connection_.db();
    connection_.beginWork();
    execSql(db, "SAVEPOINT kavex_block");
    // TABLE(KAVEX$BIND_VALUES) gives what this block assigned to its binds, or nothing.
    connection_.assignedBinds().clear();
    try {
        plsql::runAnonymousBlock(port, sql_, host);
    } catch (...) {
        if (sqlite3_exec(db, "ROLLBACK TO kavex_block", nullptr, nullptr, nullptr) == SQLITE_OK)
            sqlite3_exec(db, "RELEASE kavex_block", nullptr, nullptr, nullptr);
        throw;
    }
    connection_.assignedBinds().keep(host);
    sqlite3_exec(db, "RELEASE kavex_block", nullptr, nullptr, nullptr);
    if (connection_.inTransaction()) connection_.workDone();
    updateCount_ = 1;
    status_ = UPDATE_COUNT_AVAILABLE;
    if (autoCommit_) connection_.commitWork();
}

void StatementImpl::runTempLobBlock() {
    auto it = outParams_.find(1);
    if (it == outParams_.end()) raise(ora::kNotAllVariablesBound);
    OutParam& out = it->second;
    out.lob.reset();
    switch (out.type) {
    case occi::OCCICLOB:
    case occi::OCCI_SQLT_CLOB:
        out.lob = std::make_shared<LobContent>(true, true);
        out.lob->useStorage(connection_.lobs()->storage());
        break;
    case occi::OCCIBLOB:
    case occi::OCCI_SQLT_BLOB:
        out.lob = std::make_shared<LobContent>(false, true);
        out.lob->useStorage(connection_.lobs()->storage());
        break;
    default:
        // A temporary BFILE does not exist, and a RAW is no LOB: Oracle refuses the call.
        raise(ora::kCreateTemporaryArguments);
    }
    updateCount_ = 1;
    status_ = UPDATE_COUNT_AVAILABLE;
}

occi::Statement::Status StatementImpl::status() const {
    checkFault("Statement::status");
    return status_;
}

occi::ResultSet* StatementImpl::getResultSet() {
    checkFault("Statement::getResultSet");
    if (!current_) raise(ora::kStatementNotExecuted);
    return current_;
}

unsigned int StatementImpl::getUpdateCount() const {
    checkFault("Statement::getUpdateCount");
    return updateCount_;
}

void StatementImpl::closeResultSet(occi::ResultSet* resultSet) {
    checkFault("Statement::closeResultSet");
    for (auto& rs : resultSets_) {
        if (rs.get() != resultSet) continue;
        rs->end();
        if (current_ == rs.get()) current_ = nullptr;
    }
}

void StatementImpl::dropEndedResultSets() {
    endResultSets();
    resultSets_.clear();
}

void StatementImpl::setPrefetchRowCount(unsigned int rowCount) {
    checkFault("Statement::setPrefetchRowCount");
    prefetch_ = rowCount;
}

void StatementImpl::setAutoCommit(bool autoCommit) {
    checkFault("Statement::setAutoCommit");
    autoCommit_ = autoCommit;
}

// ---- binds -----------------------------------------------------------------------------------

void StatementImpl::setMaxParamSize(unsigned int paramIndex, unsigned int maxSize) {
    checkFault("Statement::setMaxParamSize");
    binds_.setMaxParamSize(paramIndex, maxSize);
}

void StatementImpl::setMaxIterations(unsigned int maxIterations) {
    checkFault("Statement::setMaxIterations");
    binds_.setMaxIterations(maxIterations);
}

void StatementImpl::addIteration() {
    checkFault("Statement::addIteration");
    binds_.addIteration();
}

void StatementImpl::set(unsigned index, BindValue value) { binds_.set(index, std::move(value)); }

void StatementImpl::setNull(unsigned int paramIndex, occi::Type) {
    checkFault("Statement::setNull");
    set(paramIndex, BindValue::null());
}

void StatementImpl::setInt(unsigned int paramIndex, int x) {
    checkFault("Statement::setInt");
    binds_.setInteger(paramIndex, x);
}

void StatementImpl::setString(unsigned int paramIndex, const std::string& x) {
    checkFault("Statement::setString");
    if (storageDiffers(x, connection_.charset()))
        binds_.setText(paramIndex, toStorage(x, connection_.charset()));
    else
        binds_.setText(paramIndex, x);
}

void StatementImpl::setBFloat(unsigned int paramIndex, const occi::BFloat& fval) {
    checkFault("Statement::setBFloat");
    bindReal(binds_, paramIndex, fval);
}

void StatementImpl::setBDouble(unsigned int paramIndex, const occi::BDouble& dval) {
    checkFault("Statement::setBDouble");
    bindReal(binds_, paramIndex, dval);
}

void StatementImpl::setTimestamp(unsigned int paramIndex, const occi::Timestamp& x) {
    checkFault("Statement::setTimestamp");
    BindValue v = BindValue::null();
    if (!x.isNull()) {
        int tzHour = 0, tzMinute = 0;
        x.getTimeZoneOffset(tzHour, tzMinute);
        // A zone other than UTC is kept, so a TIMESTAMP WITH TIME ZONE column keeps it; every
        // reader accepts the text with or without it.
        v.kind = BindValue::Kind::Text;
        v.bytes = timestampToStorage(x, tzHour != 0 || tzMinute != 0);
    }
    set(paramIndex, std::move(v));
}

void StatementImpl::setBlob(unsigned int paramIndex, const occi::Blob& x) {
    checkFault("Statement::setBlob");
    set(paramIndex, lobOrNull(contentOf(x)));
}

void StatementImpl::setClob(unsigned int paramIndex, const occi::Clob& x) {
    checkFault("Statement::setClob");
    set(paramIndex, lobOrNull(contentOf(x)));
}

void StatementImpl::setDataBuffer(unsigned int paramIndex, void* buffer, occi::Type type,
                                  sb4 size, ub2* length, sb2* ind,
                                  ub2*) {
    checkFault("Statement::setDataBuffer");
    DataBuffer b = dataBuffer(buffer, type, size, ind);
    b.length16 = length;
    binds_.setBuffer(paramIndex, b);
}

void StatementImpl::setDataBuffer(unsigned int paramIndex, void* buffer, occi::Type type,
                                  sb4 size, ub4* length, sb2* ind,
                                  ub2*) {
    checkFault("Statement::setDataBuffer");
    DataBuffer b = dataBuffer(buffer, type, size, ind);
    b.length32 = length;
    binds_.setBuffer(paramIndex, b);
}

// ---- the temporary-LOB block's out parameter --------------------------------------------------

void StatementImpl::registerOutParam(unsigned int paramIndex, occi::Type type, unsigned int,
                                     const std::string&) {
    checkFault("Statement::registerOutParam");
    BindSet::checkIndex(paramIndex);
    OutParam& out = outParams_[paramIndex];
    out.type = type;
    out.lob.reset();
}

StatementImpl::OutParam& StatementImpl::outParam(unsigned index) {
    auto it = outParams_.find(index);
    if (it == outParams_.end()) raise(ora::kInvalidPosition);
    if (!it->second.lob) raise(ora::kStatementNotExecuted);
    return it->second;
}

occi::Clob StatementImpl::getClob(unsigned int paramIndex) {
    checkFault("Statement::getClob");
    OutParam& out = outParam(paramIndex);
    if (!out.lob->isClob) raise(ora::kInconsistentDatatypes, "CLOB", "BLOB");
    return makeClob(out.lob, connection_.charset());
}

occi::Blob StatementImpl::getBlob(unsigned int paramIndex) {
    checkFault("Statement::getBlob");
    OutParam& out = outParam(paramIndex);
    if (out.lob->isClob) raise(ora::kInconsistentDatatypes, "BLOB", "CLOB");
    return makeBlob(out.lob);
}

occi::Bfile StatementImpl::getBfile(unsigned int paramIndex) {
    checkFault("Statement::getBfile");
    outParam(paramIndex);
    raise(ora::kInconsistentDatatypes, "BFILE", "LOB");
}

}  // namespace detail
}  // namespace kavexdb
