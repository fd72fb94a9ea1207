#include "rewrite/session/alter_session.h"

#include "base/errors.h"
#include "base/ora_message.h"
#include "base/ora_messages.h"
#include "base/text.h"
#include "sql/sql_lexer.h"
#include "types/session_settings.h"

namespace kavexdb {
namespace detail {

namespace {

using TK = Token::Kind;

// Settings that tune what the client does not have (an optimizer, tracing, memory areas,
// parallel servers, waits for locks held by other sessions): any value is taken and changes
// nothing.
constexpr const char* kTuningSettings[] = {
    "_ORACLE_SCRIPT",
    "BITMAP_MERGE_AREA_SIZE",
    "COMMIT_LOGGING",
    "COMMIT_WAIT",
    "CURSOR_SHARING",
    "DB_FILE_MULTIBLOCK_READ_COUNT",
    "DDL_LOCK_TIMEOUT",
    "DEFERRED_SEGMENT_CREATION",
    "EVENTS",
    "HASH_AREA_SIZE",
    "MAX_DUMP_FILE_SIZE",
    "OPTIMIZER_CAPTURE_SQL_PLAN_BASELINES",
    "OPTIMIZER_DYNAMIC_SAMPLING",
    "OPTIMIZER_FEATURES_ENABLE",
    "OPTIMIZER_INDEX_CACHING",
    "OPTIMIZER_INDEX_COST_ADJ",
    "OPTIMIZER_MODE",
    "OPTIMIZER_USE_SQL_PLAN_BASELINES",
    "PARALLEL_DEGREE_POLICY",
    "PARALLEL_MIN_TIME_THRESHOLD",
    "PLSQL_CODE_TYPE",
    "PLSQL_DEBUG",
    "PLSQL_OPTIMIZE_LEVEL",
    "PLSQL_WARNINGS",
    "QUERY_REWRITE_ENABLED",
    "QUERY_REWRITE_INTEGRITY",
    "RESULT_CACHE_MODE",
    "SESSION_CACHED_CURSORS",
    "SKIP_UNUSABLE_INDEXES",
    "SORT_AREA_RETAINED_SIZE",
    "SORT_AREA_SIZE",
    "SQL_TRACE",
    "STAR_TRANSFORMATION_ENABLED",
    "STATISTICS_LEVEL",
    "TIMED_STATISTICS",
    "TRACEFILE_IDENTIFIER",
    "WORKAREA_SIZE_POLICY",
};

bool isValue(const Token& t) {
    return t.kind == TK::Word || t.kind == TK::QuotedIdent || t.kind == TK::String ||
           t.kind == TK::Number;
}

// A value as the setting compares it: a literal's content, a name as Oracle resolves it.
std::string valueText(const Token& t) {
    if (t.kind == TK::String) return literalContent(t);
    if (t.kind == TK::Number) return t.text;
    return identifierName(t);
}

bool isTuning(const std::string& name) {
    for (const char* tuning : kTuningSettings)
        if (name == tuning) return true;
    return false;
}

// SET name = value [, value]... [name = value ...]; i is the first token after SET.
void checkSettings(const TokenEditor& e, std::size_t i, const std::string& sessionSchema) {
    if (i >= e.size()) raise(ora::kMissingOrInvalidOption);
    while (i < e.size()) {
        if (!e.name(i)) raise(ora::kInvalidAlterSessionOption);
        const std::string name = asciiUpper(identifierName(e.at(i)));
        i = e.next(i + 1);
        if (!e.punct(i, '=')) raise(ora::kMissingOrInvalidOption);
        i = e.next(i + 1);
        if (!isValue(e.at(i))) raise(ora::kMissingOrInvalidOption);
        const Token& value = e.at(i);
        i = e.next(i + 1);
        if (isTuning(name)) {
            // Some take a list: PLSQL_WARNINGS = 'ENABLE:SEVERE', 'DISABLE:PERFORMANCE'.
            while (e.punct(i, ',') && isValue(e.at(e.next(i + 1)))) i = e.next(e.next(i + 1) + 1);
            continue;
        }
        if (name == "ISOLATION_LEVEL") {
            // Transactions here see one database state from their first read on, as
            // SERIALIZABLE asks; READ COMMITTED sessions see no less.
            const std::string level = asciiUpper(valueText(value));
            if (level == "SERIALIZABLE") continue;
            if (level == "READ" && e.word(i, "COMMITTED")) {
                i = e.next(i + 1);
                continue;
            }
            raise(ora::kMissingOrInvalidOption);
        }
        if (name == "CURRENT_SCHEMA") {
            if (valueText(value) != sessionSchema)
                raise(ora::kSessionSettingKept, name, sessionSchema);
            continue;
        }
        const SessionSetting* kept = keptSessionSetting(name);
        if (!kept) raise(ora::kInvalidAlterSessionOption);
        std::string given = valueText(value);
        if (name == "TIME_ZONE" && value.kind == TK::Word && asciiUpper(given) == "DBTIMEZONE")
            continue;
        if (kept->exact ? given != kept->value : asciiUpper(given) != kept->value)
            raise(ora::kSessionSettingKept, name,
                  kept->exact ? sqlStringLiteral(kept->value) : std::string(kept->value));
    }
}

// ENABLE | DISABLE | FORCE PARALLEL DML | DDL | QUERY [PARALLEL n], ENABLE | DISABLE RESUMABLE
// [TIMEOUT n] [NAME 'text'], ENABLE | DISABLE COMMIT IN PROCEDURE: parallel servers and
// space waits do not exist here, nor procedures to commit in.
void checkSwitch(const TokenEditor& e, std::size_t i) {
    const bool force = e.word(i, "FORCE");
    i = e.next(i + 1);
    if (e.word(i, "PARALLEL")) {
        i = e.next(i + 1);
        if (!e.word(i, "DML") && !e.word(i, "DDL") && !e.word(i, "QUERY"))
            raise(ora::kInvalidAlterSessionOption);
        i = e.next(i + 1);
        if (force && e.word(i, "PARALLEL")) {
            i = e.next(i + 1);
            if (e.at(i).kind != TK::Number) raise(ora::kMissingOrInvalidOption);
            i = e.next(i + 1);
        }
    } else if (!force && e.word(i, "RESUMABLE")) {
        i = e.next(i + 1);
        if (e.word(i, "TIMEOUT")) {
            i = e.next(i + 1);
            if (e.at(i).kind != TK::Number) raise(ora::kMissingOrInvalidOption);
            i = e.next(i + 1);
        }
        if (e.word(i, "NAME")) {
            i = e.next(i + 1);
            if (e.at(i).kind != TK::String) raise(ora::kMissingOrInvalidOption);
            i = e.next(i + 1);
        }
    } else if (!force && e.word(i, "COMMIT")) {
        for (const char* word : {"IN", "PROCEDURE"}) {
            i = e.next(i + 1);
            if (!e.word(i, word)) raise(ora::kInvalidAlterSessionOption);
        }
        i = e.next(i + 1);
    } else {
        raise(ora::kInvalidAlterSessionOption);
    }
    if (i < e.size()) raise(ora::kInvalidAlterSessionOption);
}

}  // namespace

bool isAlterSession(const TokenEditor& e, std::size_t first) {
    return e.word(first, "ALTER") && e.word(e.next(first + 1), "SESSION");
}

void checkAlterSession(const TokenEditor& e, const std::string& sessionSchema) {
    const std::size_t alter = e.next(0);
    const std::size_t clause = e.next(e.next(alter + 1) + 1);
    if (e.word(clause, "SET"))
        checkSettings(e, e.next(clause + 1), sessionSchema);
    else if (e.word(clause, "ENABLE") || e.word(clause, "DISABLE") || e.word(clause, "FORCE"))
        checkSwitch(e, clause);
    else
        raise(ora::kInvalidAlterSessionOption);
}

}  // namespace detail
}  // namespace kavexdb
