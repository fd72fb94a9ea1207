// The mapping of SQLite failures onto the Oracle errors hosts expect.
#include "sql/sqlite_errors.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "base/refusal.h"
#include "base/temp_space.h"
#include "sql/heap_limit.h"
#include "sql/oracle_errors.h"

namespace kavexdb {
namespace detail {

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// "t.c" -> "T"."C", as Oracle quotes the parts of a name in its messages.
std::string quotedName(const std::string& dotted) {
    std::string out = "\"";
    for (char c : upper(dotted)) {
        if (c == '"') continue;  // SQLite quotes some names already
        if (c == '.')
            out += "\".\"";
        else
            out += c;
    }
    return out + "\"";
}

// The part of an SQLite message after "prefix", or "" when the message does not start with it.
bool after(const std::string& msg, const char* prefix, std::string& rest) {
    std::size_t n = std::strlen(prefix);
    if (msg.compare(0, n, prefix) != 0) return false;
    rest = msg.substr(n);
    return true;
}

}  // namespace

void raiseSqlite(sqlite3* db, int rc) {
    int ext = db ? sqlite3_extended_errcode(db) : rc;
    std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    if ((ext & 0xff) != (rc & 0xff)) ext = rc;  // the handle's record belongs to another call
    std::string rest;
    // Checks run inside SQLite raise the Oracle error they stand for: triggers and SQL functions
    // as "ORA-NNNNN: text", the CHECK constraints holding values to their declared types
    // (value_checks.h) as "CHECK constraint failed: ORA-NNNNN: text". Hosts get that code and
    // text, not a wrapped recursive-SQL or ORA-02290 error.
    std::string oracle = msg;
    after(msg, "CHECK constraint failed: ", oracle);
    if (oracle.size() > 11 && oracle.compare(0, 4, "ORA-") == 0 &&
        oracle.compare(9, 2, ": ") == 0 &&
        std::all_of(oracle.begin() + 4, oracle.begin() + 9,
                    [](char c) { return c >= '0' && c <= '9'; })) {
        std::string text = oracle.substr(11);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        raise(std::stoi(oracle.substr(4, 5)), text);
    }
    switch (ext & 0xff) {
    case SQLITE_AUTH:
        raiseRefused();
    case SQLITE_NOTADB:
        raise(ora::kFileFailedVerification, msg);
    case SQLITE_CORRUPT:
        raise(ora::kBlockCorrupted, msg);
    case SQLITE_READONLY:
        raise(ora::kReadOnlyDatabase, msg);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        raise(ora::kResourceBusy);
    case SQLITE_INTERRUPT:
        raise(ora::kUserRequestedCancel);
    case SQLITE_NOMEM:
        raise(ora::kHeapLimitReached,
              heapLimit() > 0 ? std::to_string(heapLimit()) + " bytes" : std::string("none"));
    case SQLITE_FULL:
        if (TempSpace* space = TempSpace::current()) {
            if (const std::int64_t refused = space->takeRefusal())
                raise(ora::kTempSegmentFull, (refused + 8191) / 8192, "TEMP");
        }
        break;
    case SQLITE_CONSTRAINT:
        switch (ext) {
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
            after(msg, "UNIQUE constraint failed: ", rest);
            raise(ora::kUniqueConstraintViolated, upper(rest));
        case SQLITE_CONSTRAINT_NOTNULL:
            after(msg, "NOT NULL constraint failed: ", rest);
            raise(ora::kCannotInsertNull, quotedName(rest));
        case SQLITE_CONSTRAINT_CHECK:
            after(msg, "CHECK constraint failed: ", rest);
            raise(ora::kCheckConstraintViolated, upper(rest));
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            raise(ora::kParentKeyNotFound);
        default:
            break;
        }
        break;
    case SQLITE_ERROR: {
        if (after(msg, "not authorized", rest)) raiseRefused();
        if (const OraMessage<0>* mistake = oracleErrorFor(msg)) raise(*mistake);
        if (after(msg, "no such table: ", rest) || after(msg, "no such view: ", rest))
            raise(ora::kTableOrViewDoesNotExist);
        if (after(msg, "no such column: ", rest) || after(msg, "no such function: ", rest))
            raise(ora::kInvalidQuotedIdentifier, quotedName(rest));
        if (msg.find("already exists") != std::string::npos) raise(ora::kNameAlreadyUsed);
        if (msg.find("syntax error") != std::string::npos ||
            msg.find("incomplete input") != std::string::npos ||
            msg.find("unrecognized token") != std::string::npos)
            raise(ora::kInvalidSqlStatementBecause, msg);
        break;
    }
    default:
        break;
    }
    raise(ora::kRecursiveSqlError, msg);
}

}  // namespace detail
}  // namespace kavexdb
