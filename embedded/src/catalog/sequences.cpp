#include "catalog/sequences.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/function_args.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

const char* const kSequenceCatalog = "KAVEX$SEQUENCE";

namespace {

using TK = Token::Kind;
using Int = long long;
const Int kIntMax = std::numeric_limits<Int>::max();
const Int kIntMin = std::numeric_limits<Int>::min();

const char* const kNextvalFunction = kOraNextval;
const char* const kCurrvalFunction = kOraCurrval;

// ---- DDL --------------------------------------------------------------------------------------

// The options a CREATE or ALTER SEQUENCE names; unset ones keep their default or old value.
struct SequenceOptions {
    bool hasIncrement = false, hasStart = false, hasMin = false, hasMax = false;
    bool noMin = false, noMax = false, hasCycle = false, hasCache = false, hasOrder = false;
    bool restart = false;
    Int increment = 1, start = 1, minValue = 1, maxValue = kIntMax, cache = 20;
    bool cycle = false, order = false;
};

// A signed integer option value at i (a '-' or '+' token may come first); sets i past it.
Int integerAt(const TokenEditor& e, std::size_t& i, const OraMessage<0>& notAnInteger) {
    bool negative = false;
    if (e.punct(i, '-') || e.punct(i, '+')) {
        negative = e.punct(i, '-');
        i = e.next(i + 1);
    }
    if (i >= e.size() || e.at(i).kind != TK::Number) raise(notAnInteger);
    const std::string& text = e.at(i).text;
    if (text.find_first_of(".eE") != std::string::npos) raise(notAnInteger);
    errno = 0;
    // Values beyond 64 bits (MAXVALUE 9999999999999999999999999999) stand at the limit.
    Int v = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE) v = kIntMax;
    i = e.next(i + 1);
    if (negative) return v == kIntMax && errno == ERANGE ? kIntMin : -v;
    return v;
}

SequenceOptions parseOptions(const TokenEditor& e, std::size_t i, bool alter) {
    SequenceOptions o;
    while (i < e.size()) {
        if (e.word(i, "INCREMENT")) {
            i = e.next(i + 1);
            if (!e.word(i, "BY")) raise(ora::kMissingOrInvalidOption);
            i = e.next(i + 1);
            o.increment = integerAt(e, i, ora::kZeroIncrement);
            if (o.increment == 0) raise(ora::kZeroIncrement);
            o.hasIncrement = true;
        } else if (e.word(i, "START")) {
            if (alter && !o.restart) raise(ora::kCannotAlterStart);
            i = e.next(i + 1);
            if (!e.word(i, "WITH")) raise(ora::kMissingOrInvalidOption);
            i = e.next(i + 1);
            o.start = integerAt(e, i, ora::kInvalidNumber);
            o.hasStart = true;
        } else if (e.word(i, "RESTART") && alter) {
            o.restart = true;
            i = e.next(i + 1);
        } else if (e.word(i, "MINVALUE")) {
            i = e.next(i + 1);
            o.minValue = integerAt(e, i, ora::kInvalidNumber);
            o.hasMin = true;
        } else if (e.word(i, "MAXVALUE")) {
            i = e.next(i + 1);
            o.maxValue = integerAt(e, i, ora::kInvalidNumber);
            o.hasMax = true;
        } else if (e.word(i, "NOMINVALUE")) {
            o.noMin = true;
            i = e.next(i + 1);
        } else if (e.word(i, "NOMAXVALUE")) {
            o.noMax = true;
            i = e.next(i + 1);
        } else if (e.word(i, "CYCLE") || e.word(i, "NOCYCLE")) {
            o.cycle = e.word(i, "CYCLE");
            o.hasCycle = true;
            i = e.next(i + 1);
        } else if (e.word(i, "CACHE")) {
            i = e.next(i + 1);
            o.cache = integerAt(e, i, ora::kInvalidNumber);
            if (o.cache < 2) raise(ora::kCacheTooSmall);
            o.hasCache = true;
        } else if (e.word(i, "NOCACHE")) {
            o.cache = 0;
            o.hasCache = true;
            i = e.next(i + 1);
        } else if (e.word(i, "ORDER") || e.word(i, "NOORDER")) {
            o.order = e.word(i, "ORDER");
            o.hasOrder = true;
            i = e.next(i + 1);
        } else if (e.word(i, "KEEP") || e.word(i, "NOKEEP") || e.word(i, "NOSCALE") ||
                   e.word(i, "GLOBAL") || e.word(i, "SESSION") || e.word(i, "NOSHARD")) {
            i = e.next(i + 1);  // accepted; they change nothing in a single database
        } else {
            raise(ora::kCommandNotProperlyEnded);
        }
    }
    return o;
}

std::string number(Int v) { return std::to_string(v); }

// Oracle's checks of a complete definition.
void validate(Int increment, Int start, Int minValue, Int maxValue, bool cycle, Int cache) {
    if (minValue >= maxValue) raise(ora::kMinNotBelowMax);
    if (start < minValue) raise(ora::kStartBelowMin);
    if (start > maxValue) raise(ora::kStartAboveMax);
    const double span = static_cast<double>(maxValue) - static_cast<double>(minValue);
    const double step = increment < 0 ? -static_cast<double>(increment) : increment;
    if (cycle && cache > 0 && static_cast<double>(cache) > span / step + 1)
        raise(ora::kCacheExceedsCycle);
}

// CREATE SEQUENCE: Oracle's defaults depend on the direction. A bound at the 64-bit limit
// (NOMAXVALUE of an ascending, NOMINVALUE of a descending sequence) is stored as NULL.
std::string createSql(const std::string& name, const SequenceOptions& o) {
    const bool ascending = o.increment > 0;
    const Int minValue = o.hasMin && !o.noMin ? o.minValue : ascending ? 1 : kIntMin;
    const Int maxValue = o.hasMax && !o.noMax ? o.maxValue : ascending ? kIntMax : -1;
    const Int start = o.hasStart ? o.start : ascending ? minValue : maxValue;
    validate(o.increment, start, minValue, maxValue, o.cycle, o.cache);
    auto bound = [](Int v) { return v == kIntMin || v == kIntMax ? std::string("NULL") : number(v); };
    const std::string literal = sqlStringLiteral(name);
    return "SELECT " + raiseCall(ora::kNameAlreadyUsed) + " WHERE EXISTS (SELECT 1 FROM " +
           sqlQuotedIdentifier(kSequenceCatalog) + " WHERE NAME = " + literal +
           ") OR EXISTS (SELECT 1 FROM main.sqlite_master WHERE upper(name) = " + literal +
           " AND type IN ('table', 'view'));" + "INSERT INTO " +
           sqlQuotedIdentifier(kSequenceCatalog) + " VALUES(" + literal +
           ", lower(hex(randomblob(16))), " + bound(minValue) + ", " + bound(maxValue) + ", " +
           number(o.increment) + ", " + (o.cycle ? "'Y'" : "'N'") + ", " +
           (o.order ? "'Y'" : "'N'") + ", " + number(o.cache) + ", " + number(start) + ")";
}

// ALTER SEQUENCE: the named options replace the stored ones; RESTART begins a new series.
std::string alterSql(const std::string& name, const SequenceOptions& o) {
    std::string set;
    auto add = [&](const std::string& assignment) {
        set += (set.empty() ? "" : ", ") + assignment;
    };
    if (o.hasIncrement) add("INCREMENT_BY = " + number(o.increment));
    if (o.hasMin) add("MIN_VALUE = " + number(o.minValue));
    if (o.noMin) add("MIN_VALUE = CASE WHEN INCREMENT_BY > 0 THEN 1 ELSE NULL END");
    if (o.hasMax) add("MAX_VALUE = " + number(o.maxValue));
    if (o.noMax) add("MAX_VALUE = CASE WHEN INCREMENT_BY > 0 THEN NULL ELSE -1 END");
    if (o.hasCycle) add(std::string("CYCLE_FLAG = ") + (o.cycle ? "'Y'" : "'N'"));
    if (o.hasOrder) add(std::string("ORDER_FLAG = ") + (o.order ? "'Y'" : "'N'"));
    if (o.hasCache) add("CACHE_SIZE = " + number(o.cache));
    if (o.restart) {
        add("ID = lower(hex(randomblob(16)))");
        add(o.hasStart ? "START_WITH = " + number(o.start)
                       : std::string("START_WITH = CASE WHEN INCREMENT_BY > 0 THEN "
                                     "coalesce(MIN_VALUE, 1) ELSE coalesce(MAX_VALUE, -1) END"));
    }
    if (set.empty()) raise(ora::kNoAlterSequenceOptions);
    const std::string where = " WHERE NAME = " + sqlStringLiteral(name);
    return "SELECT " + raiseCall(ora::kSequenceDoesNotExist) + " WHERE NOT EXISTS (SELECT 1 FROM " +
           sqlQuotedIdentifier(kSequenceCatalog) + where + ");" + "UPDATE " +
           sqlQuotedIdentifier(kSequenceCatalog) + " SET " + set + where + ";" + "SELECT " +
           raiseCall(ora::kMinNotBelowMax) + " FROM " + sqlQuotedIdentifier(kSequenceCatalog) +
           where +
           " AND coalesce(MIN_VALUE, -9223372036854775808) >= "
           "coalesce(MAX_VALUE, 9223372036854775807)";
}

std::string dropSql(const std::string& name) {
    const std::string where = " WHERE NAME = " + sqlStringLiteral(name);
    return "SELECT " + raiseCall(ora::kSequenceDoesNotExist) + " WHERE NOT EXISTS (SELECT 1 FROM " +
           sqlQuotedIdentifier(kSequenceCatalog) + where + ");" + "DELETE FROM " +
           sqlQuotedIdentifier(kSequenceCatalog) + where;
}

// ---- NEXTVAL and CURRVAL -----------------------------------------------------------------------

// A number per rewritten statement, so that a row's several NEXTVALs can be told from the next
// row's.
std::atomic<unsigned long long> statementNumbers{0};

struct Definition {
    std::string id;
    Int increment = 1, start = 1, minValue = 1, maxValue = kIntMax;
    bool cycle = false;
    Int cache = 0;
    bool sameSeries(const Definition& o) const {
        return id == o.id && increment == o.increment && minValue == o.minValue &&
               maxValue == o.maxValue && cycle == o.cycle && cache == o.cache;
    }
};

// The values a sequence's CACHE holds: taken from the counter database together, handed out one
// by one. Sessions of one process share them, as an instance's sessions share its cache, so they
// see one series; another process takes its own blocks. Values a process never hands out are
// lost, as Oracle loses a cache at shutdown.
struct CachedValues {
    Definition definition;
    Int next = 0;
    Int left = 0;
    Int given = 0;     // the last value handed out
    Int blockEnd = 0;  // the last value of the block, as the counter database records it
    bool any = false;  // a block was taken
};
std::mutex cacheLock;
std::map<std::string, CachedValues>& sharedCaches() {
    static std::map<std::string, CachedValues> caches;  // by counter database and sequence id
    return caches;
}

std::string textColumn(sqlite3_stmt* s, int i) {
    const unsigned char* t = sqlite3_column_text(s, i);
    return t ? reinterpret_cast<const char*>(t) : std::string();
}

// The values this session took, and its connection to the counter database.
class SequenceSession {
public:
    explicit SequenceSession(sqlite3* db) : db_(db) {}

    // NEXTVAL of sequence name at occurrence k of statement number; a value already taken for
    // this row is given again.
    Int next(const std::string& name, unsigned long long statement, long long k) {
        RowUse& use = rows_[name];
        if (use.valid && use.statement == statement && k > use.occurrence && statement != 0) {
            use.occurrence = k;
            return use.value;
        }
        const Int v = take(name);
        use = RowUse{true, statement, k, v};
        current_[name] = v;
        return v;
    }

    // Definitions are read again after a change to the sequences: this session's DDL says so
    // (changed()), another connection's commit changes the file's data version.
    void changed() { definitions_.clear(); }

    bool current(const std::string& name, Int& out) const {
        auto it = current_.find(name);
        if (it == current_.end()) return false;
        out = it->second;
        return true;
    }

private:
    struct RowUse {
        bool valid = false;
        unsigned long long statement = 0;
        long long occurrence = 0;
        Int value = 0;
    };

    // A sequence as NEXTVAL uses it: its definition and its values cached in the process.
    struct Known {
        Definition definition;
        CachedValues* shared = nullptr;  // guarded by cacheLock
    };

    Known& known(const std::string& name) {
        unsigned int version = 0;
        sqlite3_file_control(db_, "main", SQLITE_FCNTL_DATA_VERSION, &version);
        if (version != dataVersion_) {
            definitions_.clear();
            dataVersion_ = version;
        }
        auto found = definitions_.find(name);
        if (found != definitions_.end()) return found->second;
        Known k;
        k.definition = definition(name);
        counters();
        const std::lock_guard<std::mutex> hold(cacheLock);
        k.shared = &sharedCaches()[counterKey_ + "\n" + k.definition.id];
        return definitions_.emplace(name, std::move(k)).first->second;
    }

    Definition definition(const std::string& name) {
        sqlite3_stmt* raw = nullptr;
        const std::string sql =
            "SELECT ID, INCREMENT_BY, START_WITH, MIN_VALUE, MAX_VALUE, CYCLE_FLAG, CACHE_SIZE "
            "FROM " +
            sqlQuotedIdentifier(kSequenceCatalog) + " WHERE NAME = ?1";
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
            sqlite3_finalize(raw);
            raise(ora::kSequenceDoesNotExist);
        }
        SqliteStmt s(raw);
        sqlite3_bind_text(raw, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(raw) != SQLITE_ROW) raise(ora::kSequenceDoesNotExist);
        Definition d;
        d.id = textColumn(raw, 0);
        d.increment = sqlite3_column_int64(raw, 1);
        d.start = sqlite3_column_int64(raw, 2);
        d.minValue = sqlite3_column_type(raw, 3) == SQLITE_NULL ? kIntMin
                                                                : sqlite3_column_int64(raw, 3);
        d.maxValue = sqlite3_column_type(raw, 4) == SQLITE_NULL ? kIntMax
                                                                : sqlite3_column_int64(raw, 4);
        d.cycle = textColumn(raw, 5) == "Y";
        d.cache = sqlite3_column_int64(raw, 6);
        return d;
    }

    // The counter database's name for this session's database (see sequences.h).
    std::string counterName(int& flags) const {
        flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
        sqlite3_vfs* vfs = nullptr;
        sqlite3_file_control(db_, "main", SQLITE_FCNTL_VFS_POINTER, &vfs);
        const char* file = sqlite3_db_filename(db_, "main");
        const std::string path = file ? file : "";
        if (path.empty()) return ":memory:";
        if (vfs && std::string(vfs->zName) == "memdb") {
            flags |= SQLITE_OPEN_URI;
            return "file:" + path + "-kvseq?vfs=memdb";
        }
        return path + "-kvseq";
    }

    sqlite3* counters() {
        if (counters_) return counters_.get();
        int flags = 0;
        const std::string name = counterName(flags);
        // The counter database a process's caches are of (a private one is this session's).
        counterKey_ = name == ":memory:"
                          ? name + std::to_string(reinterpret_cast<std::uintptr_t>(this))
                          : name;
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(name.c_str(), &raw, flags, nullptr);
        SqliteDb db(raw);
        if (rc != SQLITE_OK) raiseSqlite(db.get(), rc);
        sqlite3_extended_result_codes(db.get(), 1);
        sqlite3_busy_timeout(db.get(), 10000);
        sqlite3_exec(db.get(), "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        execSql(db.get(), "PRAGMA synchronous=NORMAL");
        execSql(db.get(),
                "CREATE TABLE IF NOT EXISTS COUNTER(ID TEXT PRIMARY KEY, LAST_VALUE INTEGER)");
        read_ = prepareSql(db.get(), "SELECT LAST_VALUE FROM COUNTER WHERE ID = ?1");
        write_ = prepareSql(db.get(), "INSERT OR REPLACE INTO COUNTER(ID, LAST_VALUE) VALUES(?1, ?2)");
        counters_ = std::move(db);
        return counters_.get();
    }

    // The sequence's next value: from the process's cache of it, or a new block of CACHE values
    // (one for NOCACHE) taken under the counter database's write lock.
    Int take(const std::string& name) {
        Known& k = known(name);
        const Definition& d = k.definition;
        sqlite3* c = counters();
        const std::lock_guard<std::mutex> hold(cacheLock);
        CachedValues& cached = *k.shared;
        if (cached.left > 0 && cached.definition.sameSeries(d)) {
            --cached.left;
            const Int v = cached.next;
            if (cached.left > 0) cached.next += d.increment;
            cached.given = v;
            return v;
        }
        const Int first = takeBlock(name, d, c, cached);
        cached.given = first;
        return first;
    }

    // Takes up to d.cache values after the last one taken (fewer where MAXVALUE or MINVALUE
    // ends the series), records the last of them, and keeps the rest in cached.
    Int takeBlock(const std::string& name, const Definition& d, sqlite3* c, CachedValues& cached) {
        execSql(c, "BEGIN IMMEDIATE");
        try {
            sqlite3_stmt* read = read_.get();
            sqlite3_reset(read);
            sqlite3_bind_text(read, 1, d.id.c_str(), -1, SQLITE_TRANSIENT);
            Int v = d.start;
            if (sqlite3_step(read) == SQLITE_ROW) {
                Int last = sqlite3_column_int64(read, 0);
                // ALTER SEQUENCE drops the cache: the series goes on after the last value handed
                // out, as Oracle's does, while no other process took a block since.
                if (cached.any && cached.definition.id == d.id && cached.blockEnd == last)
                    last = cached.given;
                const bool overflow = __builtin_add_overflow(last, d.increment, &v);
                const bool past = overflow || v > d.maxValue || v < d.minValue;
                if (past && !d.cycle)
                    raise(ora::kSequenceExhausted, name,
                          d.increment > 0 ? "exceeds MAXVALUE" : "goes below MINVALUE");
                if (past) v = d.increment > 0 ? (d.minValue == kIntMin ? 1 : d.minValue)
                                              : d.maxValue;
            }
            sqlite3_reset(read);
            // The block: v and the values after it, within the series' bounds.
            Int last = v, count = 1;
            while (count < d.cache) {
                Int after = 0;
                if (__builtin_add_overflow(last, d.increment, &after) || after > d.maxValue ||
                    after < d.minValue)
                    break;
                last = after;
                ++count;
            }
            sqlite3_stmt* write = write_.get();
            sqlite3_reset(write);
            sqlite3_bind_text(write, 1, d.id.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(write, 2, last);
            const int rc = sqlite3_step(write);
            sqlite3_reset(write);
            if (rc != SQLITE_DONE) raiseSqlite(c, rc);
            execSql(c, "COMMIT");
            cached.definition = d;
            cached.any = true;
            cached.blockEnd = last;
            cached.left = count - 1;
            cached.next = v + (count > 1 ? d.increment : 0);
            return v;
        } catch (...) {
            sqlite3_reset(read_.get());
            sqlite3_exec(c, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    sqlite3* db_;
    SqliteDb counters_;
    SqliteStmt read_, write_;  // on counters_, finalized before it closes
    std::map<std::string, RowUse> rows_;
    std::map<std::string, Known> definitions_;
    std::string counterKey_;
    unsigned int dataVersion_ = 0;
    std::map<std::string, Int> current_;
};

// ORA$NEXTVAL(name, statement number, occurrence)
void nextval(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* session = static_cast<SequenceSession*>(sqlite3_user_data(ctx));
    guarded(ctx, [&] {
        sqlite3_result_int64(ctx, session->next(textArg(argv[0]),
                                                static_cast<unsigned long long>(
                                                    sqlite3_value_int64(argv[1])),
                                                sqlite3_value_int64(argv[2])));
    });
}

// ORA$SEQUENCES_CHANGED(): after this session's CREATE, ALTER or DROP SEQUENCE.
void sequencesChanged(sqlite3_context* ctx, int, sqlite3_value**) {
    static_cast<SequenceSession*>(sqlite3_user_data(ctx))->changed();
    sqlite3_result_null(ctx);
}

// ORA$CURRVAL(name)
void currval(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* session = static_cast<SequenceSession*>(sqlite3_user_data(ctx));
    const std::string name = textArg(argv[0]);
    Int v = 0;
    if (!session->current(name, v)) return resultError(ctx, ora::kCurrvalNotYetDefined, name);
    sqlite3_result_int64(ctx, v);
}

// ORA$RAISE(code, text)
void raiseFromSql(sqlite3_context* ctx, int, sqlite3_value** argv) {
    resultError(ctx, sqlite3_value_int(argv[0]), textArg(argv[1]));
}

void destroySession(void* p) { delete static_cast<SequenceSession*>(p); }

// Whether name at i is followed by '.' NEXTVAL|CURRVAL (and is not itself qualified by a table
// alias, which would make it a column); sets pseudo to the pseudo-column word.
bool sequenceReference(const TokenEditor& e, std::size_t i, std::size_t& pseudo) {
    if (!e.name(i) || e.punct(e.previous(i), '.')) return false;
    const std::size_t dot = e.next(i + 1);
    if (!e.punct(dot, '.')) return false;
    pseudo = e.next(dot + 1);
    return e.word(pseudo, "NEXTVAL") || e.word(pseudo, "CURRVAL");
}

}  // namespace

bool rewriteSequenceDdl(TokenEditor& e, RewrittenSql& out) {
    const std::size_t verb = e.next(0);
    std::size_t i = e.next(verb + 1);
    if (!e.word(i, "SEQUENCE")) return false;
    const bool create = e.word(verb, "CREATE"), alter = e.word(verb, "ALTER");
    if (!create && !alter && !e.word(verb, "DROP")) return false;
    i = e.next(i + 1);
    bool ifNotExists = false;
    if (create && e.word(i, "IF")) {
        std::size_t j = e.next(i + 1);
        if (e.word(j, "NOT") && e.word(e.next(j + 1), "EXISTS")) {
            ifNotExists = true;
            i = e.next(e.next(j + 1) + 1);
        }
    }
    if (!e.name(i)) raise(ora::kSequenceDoesNotExist);
    std::size_t nameAt = i;
    if (e.punct(e.next(i + 1), '.') && e.name(e.next(e.next(i + 1) + 1)))
        nameAt = e.next(e.next(i + 1) + 1);
    const std::string name = identifierName(e.at(nameAt));
    i = e.next(nameAt + 1);
    out.sql = "CREATE TABLE IF NOT EXISTS " + sqlQuotedIdentifier(kSequenceCatalog) +
              "(NAME TEXT PRIMARY KEY, ID TEXT NOT NULL, MIN_VALUE INTEGER, MAX_VALUE INTEGER, "
              "INCREMENT_BY INTEGER NOT NULL, CYCLE_FLAG TEXT, ORDER_FLAG TEXT, "
              "CACHE_SIZE INTEGER, START_WITH INTEGER)";
    if (create) {
        std::string sql = createSql(name, parseOptions(e, i, false));
        if (ifNotExists) sql = sql.substr(sql.find(';') + 1) + " ON CONFLICT DO NOTHING";
        out.ddl.catalogSql.push_back(sql);
    } else if (alter) {
        out.ddl.catalogSql.push_back(alterSql(name, parseOptions(e, i, true)));
    } else {
        if (i < e.size()) raise(ora::kCommandNotProperlyEnded);
        out.ddl.catalogSql.push_back(dropSql(name));
    }
    out.ddl.catalogSql.push_back(std::string("SELECT ") + kOraSequencesChanged + "()");
    return true;
}

void rewriteSequenceReferences(TokenEditor& e) {
    // NEXTVAL occurrences per sequence, numbered in the order they are written; a CURRVAL in a
    // statement that also takes NEXTVAL of the same sequence shares the row's value.
    std::map<std::string, long long> nextvals;
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        std::size_t pseudo = 0;
        if (sequenceReference(e, i, pseudo) && e.word(pseudo, "NEXTVAL"))
            nextvals[identifierName(e[i])] = 0;
    }
    const unsigned long long statement = nextvals.empty() ? 0 : ++statementNumbers;
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        std::size_t pseudo = 0;
        if (!sequenceReference(e, i, pseudo)) continue;
        const std::string name = identifierName(e[i]);
        const std::string shown = asciiUpper(e[pseudo].text);
        auto it = nextvals.find(name);
        std::string call;
        if (it != nextvals.end())
            call = std::string(kNextvalFunction) + "(" + sqlStringLiteral(name) + ", " +
                   std::to_string(statement) + ", " + std::to_string(++it->second) + ")";
        else
            call = std::string(kCurrvalFunction) + "(" + sqlStringLiteral(name) + ")";
        e.erase(i, pseudo);
        e[pseudo].text = "(" + call + ")";
        if (isWholeSelectItem(e, pseudo)) e[pseudo].text += " AS " + shown;
        i = pseudo;
    }
}

void registerSequenceFunctions(sqlite3* db) {
    auto* session = new SequenceSession(db);
    int rc = sqlite3_create_function_v2(db, kNextvalFunction, 3, SQLITE_UTF8, session, nextval,
                                        nullptr, nullptr, destroySession);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);  // SQLite called destroySession already
    rc = sqlite3_create_function_v2(db, kCurrvalFunction, 1, SQLITE_UTF8, session, currval,
                                    nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
    rc = sqlite3_create_function_v2(db, kOraSequencesChanged, 0, SQLITE_UTF8, session,
                                    sequencesChanged, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
    rc = sqlite3_create_function_v2(db, kRaiseFunction, 2, SQLITE_UTF8, nullptr, raiseFromSql,
                                    nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
