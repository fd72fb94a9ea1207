// The session's identity in SQL: USER, UID, SYS_CONTEXT('USERENV', ...), USERENV(...) and
// SYS_GUID().
#include <cctype>
#include <random>
#include <string>

#include "base/ora_messages.h"
#include "functions/extended_functions.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "types/session_settings.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

const char* const kSysContextFunction = kOraSysContext;

// A stable number per user name, as UID gives (users have no catalog numbers here).
long long userNumber(const std::string& schema) {
    unsigned long long h = 1469598103934665603ULL;
    for (char c : schema) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return 100 + static_cast<long long>(h % 1000000ULL);
}

// The database's name: the file's name without directory and extension, in upper case.
std::string databaseName(sqlite3* db) {
    const char* file = sqlite3_db_filename(db, "main");
    std::string name = file && *file ? file : "MEMORY";
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos && dot > 0) name = name.substr(0, dot);
    return asciiUpper(name);
}

// ORA$SYS_CONTEXT(user, namespace, parameter [, length])
void sysContext(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const std::string user = textArg(argv[0]);
        const std::string space = asciiUpper(textArg(argv[1]));
        const std::string p = asciiUpper(textArg(argv[2]));
        if (space != "USERENV") return sqlite3_result_null(ctx);  // no application contexts
        std::string value;
        if (p == "SESSION_USER" || p == "CURRENT_USER" || p == "CURRENT_SCHEMA" ||
            p == "AUTHENTICATED_IDENTITY" || p == "PROXY_USER" || p == "SESSION_SCHEMA")
            value = p == "PROXY_USER" ? "" : user;
        else if (p == "CURRENT_USERID" || p == "SESSION_USERID" || p == "CURRENT_SCHEMAID")
            value = std::to_string(userNumber(user));
        else if (p == "DB_NAME" || p == "INSTANCE_NAME" || p == "DB_UNIQUE_NAME" || p == "CON_NAME" ||
                 p == "SERVICE_NAME")
            value = databaseName(sqlite3_context_db_handle(ctx));
        else if (p == "LANGUAGE")
            value = "AMERICAN_AMERICA.AL32UTF8";
        else if (p == "LANG")
            value = "US";
        else if (p == "NLS_TERRITORY" || p == "NLS_DATE_FORMAT" || p == "NLS_DATE_LANGUAGE" ||
                 p == "NLS_CALENDAR" || p == "NLS_SORT" || p == "NLS_CURRENCY")
            value = keptSessionSetting(p)->value;
        else if (p == "ISDBA")
            value = "FALSE";
        else if (p == "AUTHENTICATION_METHOD")
            value = "PASSWORD";
        else if (p == "DB_DOMAIN" || p == "CLIENT_IDENTIFIER" || p == "CLIENT_INFO" ||
                 p == "MODULE" || p == "ACTION" || p == "HOST" || p == "TERMINAL" ||
                 p == "OS_USER" || p == "IP_ADDRESS")
            value = "";
        else if (p == "SID" || p == "SESSIONID" || p == "INSTANCE")
            value = "1";
        else if (p == "ENTRYID")
            value = "0";
        else
            raise(ora::kInvalidUserenvParameter);
        if (argc > 3 && !isNullArg(argv[3])) {
            const long long n = integerArg(argv[3]);
            if (n > 0 && static_cast<std::size_t>(n) < value.size()) value.resize(static_cast<std::size_t>(n));
        }
        resultText(ctx, value);
    });
}

// SYS_GUID(): 16 random bytes, a RAW(16).
void sysGuid(sqlite3_context* ctx, int, sqlite3_value**) {
    unsigned char guid[16];
    sqlite3_randomness(sizeof guid, guid);
    sqlite3_result_blob(ctx, guid, sizeof guid, SQLITE_TRANSIENT);
}

}  // namespace

namespace {

// SYS_GUID() and the function behind SYS_CONTEXT('USERENV', ...).
const FunctionRow kRows[] = {
    {kSysContextFunction, 3, 4, sysContext, nullptr},
    {"SYS_GUID", 0, 0, sysGuid, nullptr, false},
};

}  // namespace

const FunctionFamily kSessionInfoFunctions{kRows};

void rewriteSessionInfo(TokenEditor& e, const std::string& schema) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (e.at(i).kind != Token::Kind::Word || e.punct(e.previous(i), '.')) continue;
        const std::size_t after = e.next(i + 1);
        if ((e.word(i, "USER") || e.word(i, "UID")) && !e.punct(after, '.') &&
            !e.punct(after, '(')) {
            const bool user = e.word(i, "USER");
            const std::string shown = user ? "USER" : "UID";
            e[i].text = user ? sqlStringLiteral(schema) : std::to_string(userNumber(schema));
            if (isWholeSelectItem(e, i)) e[i].text += " AS " + shown;
        } else if ((e.word(i, "SESSIONTIMEZONE") || e.word(i, "DBTIMEZONE")) &&
                   !e.punct(after, '.') && !e.punct(after, '(')) {
            // Sessions and the database keep time in UTC.
            const std::string shown = asciiUpper(e[i].text);
            e[i].text = sqlStringLiteral(keptSessionSetting("TIME_ZONE")->value);
            if (isWholeSelectItem(e, i)) e[i].text += " AS " + shown;
        } else if ((e.word(i, "SYS_CONTEXT") || e.word(i, "USERENV")) && e.punct(after, '(')) {
            // USERENV(parameter) is SYS_CONTEXT('USERENV', parameter).
            const std::size_t past = e.pastParens(after);
            const std::size_t before = e.previous(i), next = e.next(past);
            const bool whole = (e.word(before, "SELECT") || e.punct(before, ',') ||
                                e.word(before, "DISTINCT")) &&
                               (next >= e.size() || e.punct(next, ',') || e.word(next, "FROM"));
            const std::string shown = upperOutsideQuotes(textOf(e, i, past));
            const bool userenv = e.word(i, "USERENV");
            e[i].text = kSysContextFunction;
            e[after].text += sqlStringLiteral(schema) + ", ";
            if (userenv) e[after].text += "'USERENV', ";
            if (whole && past <= e.size()) e[past - 1].text += " AS " + sqlQuotedIdentifier(shown);
        }
    }
}

}  // namespace detail
}  // namespace kavexdb
