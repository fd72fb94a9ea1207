// The rewriting's passes, in the one order every statement takes (rewrite/pipeline.h). A pass
// that works on tokens edits them in place; one that needs the text lexed again says so by
// returning a new editor. The rows of kTextPasses and kSchemaPasses are the whole order: a new
// pass is a new row.
#include "rewrite/pipeline.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "base/errors.h"
#include "catalog/dictionary.h"
#include "catalog/sequences.h"
#include "catalog/stored_units.h"
#include "catalog/dimensions.h"
#include "catalog/synonyms.h"
#include "functions/builtin_packages.h"
#include "functions/cast.h"
#include "functions/date_functions.h"
#include "functions/dbms_lob_functions.h"
#include "functions/extended_functions.h"
#include "functions/interval.h"
#include "functions/statistical_aggregates.h"
#include "rewrite/ddl/create_table_as_form.h"
#include "rewrite/ddl/views.h"
#include "rewrite/dml/dml_forms.h"
#include "rewrite/dml/merge.h"
#include "rewrite/dml/multitable_insert.h"
#include "rewrite/dml/rownum_dml.h"
#include "rewrite/expr/binary_arithmetic.h"
#include "rewrite/expr/clob_text.h"
#include "rewrite/expr/comparison_types.h"
#include "rewrite/expr/concatenation.h"
#include "rewrite/expr/conversion_forms.h"
#include "rewrite/expr/decode_chains.h"
#include "rewrite/expr/exact_results.h"
#include "rewrite/expr/expression_rewrite.h"
#include "rewrite/query/for_update.h"
#include "rewrite/query/grouping_sets.h"
#include "rewrite/query/long_compounds.h"
#include "rewrite/query/oracle_joins.h"
#include "rewrite/query/parenthesized_queries.h"
#include "rewrite/query/quantified_comparisons.h"
#include "rewrite/query/row_limiting.h"
#include "rewrite/query/sample_clause.h"
#include "rewrite/query/table_collections.h"
#include "rewrite/session/alter_session.h"
#include "rewrite/sql_rewrite.h"
#include "sql/sql_lexer.h"
#include "sql/statement_limits.h"
#include "sql/token_editor.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

namespace {

using Kind = RewrittenSql::Kind;

// What the text passes share while one statement goes through them.
struct TextState {
    TokenEditor e;
    RewrittenSql& out;
    const std::string& schema;
    std::unique_ptr<SelectItemNames> names;                // queries and views: item names
    std::unique_ptr<IntervalComparisons> intervalCompares;  // found before operators change
    std::unique_ptr<RowLimits> rowLimits;                   // ROWNUM taken before operators
    bool finished = false;                                  // a pass made the whole statement
};

// Which statements a pass applies to.
enum Applies : unsigned {
    kQueries = 1,      // SELECT, WITH, ...
    kDml = 2,          // INSERT, UPDATE, DELETE, MERGE, ...
    kDdl = 4,          // CREATE, ALTER, DROP, ...
    kViewQueries = 8,  // the query of CREATE VIEW
    kSql = kQueries | kDml | kDdl,
    kExpressions = kQueries | kDml | kViewQueries,  // every statement with query semantics
};

bool applies(unsigned kinds, const TextState& s) {
    switch (s.out.kind) {
    case Kind::Query:
        return (kinds & kQueries) != 0;
    case Kind::Dml:
        return (kinds & kDml) != 0;
    case Kind::Ddl:
        return (kinds & kDdl) != 0 || ((kinds & kViewQueries) != 0 && isCreateView(s.e));
    default:
        return false;
    }
}

struct TextPass {
    const char* name;
    unsigned kinds;
    void (*run)(TextState&);
};

void relex(TextState& s) { s.e = TokenEditor(lexSql(s.e.text())); }

// MERGE and multitable INSERT run as steps, each an ordinary statement rewritten on its own.
void runAsSteps(TextState& s) {
    if (!rewriteMerge(s.e, s.out) && !rewriteMultitableInsert(s.e, s.out)) return;
    for (std::string& step : s.out.dml.steps) step = rewriteSql(step, s.schema).sql;
    s.finished = true;
}

const TextPass kTextPasses[] = {
    // First: the queries it frames are then plain inline views to every pass below.
    {"long compounds framed", kExpressions,
     [](TextState& s) {
         if (frameLongCompounds(s.e)) relex(s);
     }},
    {"steps", kDml, runAsSteps},
    {"for update", kQueries, [](TextState& s) { s.out.query.forUpdate = takeForUpdate(s.e); }},
    {"outer joins and hierarchies", kSql,
     [](TextState& s) {
         const std::string joined = rewriteOracleJoins(s.e);
         if (!joined.empty()) s.e = TokenEditor(lexSql(joined));
     }},
    {"quantified comparisons", kSql,
     [](TextState& s) { while (rewriteQuantifiedComparisons(s.e)) relex(s); }},
    {"grouping sets", kSql, [](TextState& s) { while (rewriteGroupingSets(s.e)) relex(s); }},
    {"SAMPLE clauses", kExpressions, [](TextState& s) {
         if (rewriteSampleClauses(s.e)) relex(s);
     }},
    {"select item names", kQueries | kViewQueries,
     [](TextState& s) { s.names = std::make_unique<SelectItemNames>(s.e); }},
    {"DBMS_LOB calls", kSql, [](TextState& s) { rewriteDbmsLobCalls(s.e); }},
    {"built-in package calls", kSql, [](TextState& s) { rewriteBuiltinPackageCalls(s.e); }},
    {"table collections", kQueries, [](TextState& s) { rewriteTableCollections(s.e); }},
    {"common forms", kSql,
     [](TextState& s) { rewriteCommonForms(s.e, s.schema, s.out.kind == Kind::Ddl); }},
    {"sequence DDL", kDdl,
     [](TextState& s) { s.finished = rewriteSequenceDdl(s.e, s.out); }},
    {"synonym DDL", kDdl,
     [](TextState& s) { s.finished = rewriteSynonymDdl(s.e, s.out, s.schema); }},
    {"dimension DDL", kDdl, [](TextState& s) { s.finished = rewriteDimensionDdl(s.e, s.out); }},
    {"view and table DDL", kDdl,
     [](TextState& s) {
         if (!rewriteViewDdl(s.e, s.out)) rewriteTableDdl(s.e, s.out);
     }},
    {"sequence references", kSql, [](TextState& s) { rewriteSequenceReferences(s.e); }},
    {"session information", kSql, [](TextState& s) { rewriteSessionInfo(s.e, s.schema); }},
    {"CAST", kExpressions, [](TextState& s) { rewriteCast(s.e); }},  // before the TO_ forms
    {"conversion forms", kSql, [](TextState& s) { rewriteConversionForms(s.e); }},
    {"dictionary views", kSql, [](TextState& s) { rewriteDictionaryViews(s.e, s.schema); }},
    {"LISTAGG", kSql, [](TextState& s) { rewriteListagg(s.e); }},
    {"KEEP and RATIO_TO_REPORT", kSql, [](TextState& s) { rewriteKeepAndRatio(s.e); }},
    {"hypothetical ranks", kSql, [](TextState& s) { rewriteHypotheticalRanks(s.e); }},
    {"percentiles", kSql, [](TextState& s) { rewritePercentiles(s.e); }},
    {"EXTRACT", kSql, [](TextState& s) { rewriteExtract(s.e); }},
    {"TRIM", kSql, [](TextState& s) { rewriteTrim(s.e); }},
    {"long DECODE chained", kSql, [](TextState& s) { chainLongDecodes(s.e); }},
    // The passes above write calls as one token, their arguments inside it; lexed again, the
    // arguments are tokens that the passes below rewrite (LISTAGG's measure, TRIM's operand).
    {"calls lexed again", kSql,
     [](TextState& s) {
         const auto spans = s.e.relex();
         if (s.names) s.names->relexed(spans);
     }},
    {"intervals", kSql, [](TextState& s) { rewriteIntervalExpressions(s.e); }},
    {"NULLS order", kExpressions, [](TextState& s) { orderNullsAsOracle(s.e); }},
    {"ROWNUM in UPDATE and DELETE", kDml,
     [](TextState& s) {
         if (rewriteRownumInDml(s.e)) relex(s);
     }},
    // After the keys' NULLS order, before the operators wrap ROWNUM as an operand.
    {"ROWNUM taken", kExpressions,
     [](TextState& s) { s.rowLimits = std::make_unique<RowLimits>(s.e); }},
    {"interval comparisons found", kExpressions,
     [](TextState& s) { s.intervalCompares = std::make_unique<IntervalComparisons>(s.e); }},
    {"operators", kExpressions, [](TextState& s) { rewriteOperators(s.e); }},
    {"interval comparisons wrapped", kExpressions,
     [](TextState& s) { s.intervalCompares->wrap(s.e); }},
    {"concatenation", kSql, [](TextState& s) { rewriteConcatenation(s.e); }},
    // Last of the expression passes: the query blocks it frames as subqueries and the text it
    // copies into LIMIT expressions (the block for PERCENT, its keys for WITH TIES) are then
    // rewritten already, and no later pass rewrites the arithmetic of the LIMIT it writes.
    {"row limits written", kExpressions, [](TextState& s) { s.rowLimits->apply(s.e); }},
    {"changed item names", kQueries | kViewQueries,
     [](TextState& s) {
         if (s.names) s.names->nameChangedItems(s.e);
     }},
    {"terminators", kSql, [](TextState& s) { trimStatementEnd(s.e); }},  // what passes left
};

// The schema passes: SQLite SQL in, SQLite SQL out, reading declared types from the database.
struct SchemaState {
    sqlite3* db;
    PreparedSql& prepared;
    const std::set<std::string>& numericBinds;
    bool exactResults;
};

struct SchemaPass {
    const char* name;
    void (*run)(SchemaState&);
};

bool isQuery(const RewrittenSql& r) { return r.kind == Kind::Query; }
bool isDml(const RewrittenSql& r) { return r.kind == Kind::Dml; }

const SchemaPass kSchemaPasses[] = {
    // Calls of stored functions go to the PL/SQL engine (before typing reads the calls).
    {"stored function calls",
     [](SchemaState& s) {
         RewrittenSql& r = s.prepared.plan;
         if (!isQuery(r) && !isDml(r)) return;
         r.sql = callStoredFunctions(s.db, r.sql, expressionAlias);
         for (std::string& step : r.dml.steps)
             step = callStoredFunctions(s.db, step, expressionAlias);
     }},
    // Implicit conversions of comparisons (a statement run as steps keeps its steps' own), and
    // arithmetic with binary operands in binary floating point.
    {"comparison types",
     [](SchemaState& s) {
         RewrittenSql& r = s.prepared.plan;
         if (isQuery(r) || (isDml(r) && r.dml.steps.empty()))
             r.sql = typeComparisons(s.db, r.sql, s.numericBinds, &s.prepared.typedBinds);
         for (std::string& step : r.dml.steps) step = binaryArithmetic(s.db, step);
     }},
    {"DML forms",
     [](SchemaState& s) {
         RewrittenSql& r = s.prepared.plan;
         if (isDml(r)) r.sql = rewriteDmlForms(s.db, r.sql);
     }},
    // The steps of MERGE and INSERT ALL write values as INSERT and UPDATE do.
    {"write conversions",
     [](SchemaState& s) {
         RewrittenSql& r = s.prepared.plan;
         if (!isDml(r)) return;
         WriteConversions w = addWriteConversions(s.db, r.sql);
         r.sql = std::move(w.sql);
         s.prepared.conversions = std::move(w.parameters);
         for (std::string& step : r.dml.steps) {
             WriteConversions ws = addWriteConversions(s.db, step);
             step = std::move(ws.sql);
             s.prepared.stepConversions.push_back(std::move(ws.parameters));
         }
     }},
    {"CLOB reads",
     [](SchemaState& s) {
         RewrittenSql& r = s.prepared.plan;
         if (!isQuery(r) && !isDml(r) && r.ddl.viewName.empty()) return;
         r.sql = readClobsAsText(s.db, r.sql);
         for (std::string& step : r.dml.steps) step = readClobsAsText(s.db, step);
         for (std::string& view : r.ddl.catalogSql) view = readClobsAsText(s.db, view);
     }},
    // Last: it marks calls in the query text every other pass has finished.
    {"exact results",
     [](SchemaState& s) {
         RewrittenSql& r = s.prepared.plan;
         if (s.exactResults && isQuery(r)) r.sql = markExactResults(r.sql);
         if (isDml(r)) {
             r.sql = markExactWrites(r.sql);
             for (std::string& step : r.dml.steps) step = markExactWrites(step);
         }
     }},
};

// KAVEX_TRACE_REWRITE: the SQL after each pass that changed it, on standard error.
bool tracing() {
    static const bool on = [] {
        const char* v = std::getenv("KAVEX_TRACE_REWRITE");
        return v != nullptr && *v != '\0' && std::string(v) != "0";
    }();
    return on;
}

void trace(const char* pass, const std::string& before, const std::string& after) {
    if (after != before) std::fprintf(stderr, "rewrite %s: %s\n", pass, after.c_str());
}

}  // namespace

RewrittenSql rewriteSql(const std::string& oracleSql, const std::string& sessionSchema) {
    RewrittenSql out;
    TextState s{TokenEditor(lexSql(oracleSql)), out, sessionSchema, nullptr, nullptr, nullptr, false};
    checkStatementLimits(s.e);
    trimStatementEnd(s.e);
    rewriteParenthesizedQueries(s.e);
    out.kind = classifyStatement(s.e, out);
    switch (out.kind) {
    case Kind::Query:
    case Kind::Dml:
    case Kind::Ddl:
        break;
    case Kind::TempLobBlock:
    case Kind::PlSql:
        out.sql = oracleSql;  // the block's text as sent
        return out;
    case Kind::AlterSession:
        checkAlterSession(s.e, sessionSchema);  // a statement that changes nothing, or an error
        return out;
    default:
        return out;  // COMMIT, ROLLBACK, the account statements: nothing runs as SQL
    }
    const bool traced = tracing();
    for (const TextPass& pass : kTextPasses) {
        if (!applies(pass.kinds, s)) continue;
        const std::string before = traced ? s.e.text() : std::string();
        pass.run(s);
        if (traced) trace(pass.name, before, s.e.text());
        if (s.finished) return out;
    }
    out.sql = s.e.text();
    finishViewDdl(out);
    return out;
}

PreparedSql prepareStatementSql(sqlite3* db, const std::string& oracleSql,
                                const std::string& sessionSchema,
                                const std::set<std::string>& numericBinds, bool exactResults) {
    const std::string resolved = resolveSynonyms(db, oracleSql, sessionSchema);
    if (tracing()) trace("synonyms", oracleSql, resolved);
    PreparedSql prepared{rewriteSql(resolved, sessionSchema), {}, {}, {}};
    DdlPlan& ddl = prepared.plan.ddl;
    if (prepared.plan.kind == Kind::Ddl) {
        // What execution needs of the statement's own text, taken now: it is not parsed again.
        ddl.createsTableAs = parseCreateTableAs(resolved, ddl.createAs);
        if (ddl.rebuildTable) ddl.rebuiltFrom = resolved;
    }
    SchemaState s{db, prepared, numericBinds, exactResults};
    for (const SchemaPass& pass : kSchemaPasses) {
        const std::string before = tracing() ? prepared.plan.sql : std::string();
        pass.run(s);
        if (tracing()) trace(pass.name, before, prepared.plan.sql);
    }
    return prepared;
}

}  // namespace detail
}  // namespace kavexdb
