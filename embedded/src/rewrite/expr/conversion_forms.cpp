#include "rewrite/expr/conversion_forms.h"

#include <cctype>

#include <string>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "functions/catalog.h"
#include "sql/internal_names.h"

namespace kavexdb {
namespace detail {

namespace {

const char* const kConvertsFunction = kOraConverts;

bool isConversion(const std::string& upper) {
    for (const char* f : {"TO_CHAR", "TO_NUMBER", "TO_DATE", "TO_TIMESTAMP", "TO_TIMESTAMP_TZ",
                          "TO_BINARY_DOUBLE", "TO_BINARY_FLOAT", "TO_YMINTERVAL", "TO_DSINTERVAL"})
        if (upper == f) return true;
    return false;
}

// The conversion function VALIDATE_CONVERSION uses for a target type ("" for texts).
std::string conversionFor(const std::string& type) {
    if (type == "NUMBER" || type == "INTEGER" || type == "INT" || type == "FLOAT" ||
        type == "DECIMAL")
        return "TO_NUMBER";
    if (type == "DATE") return "TO_DATE";
    if (type == "TIMESTAMP") return "TO_TIMESTAMP";
    if (type == "BINARY_DOUBLE") return "TO_BINARY_DOUBLE";
    if (type == "BINARY_FLOAT") return "TO_BINARY_FLOAT";
    return std::string();
}

// ORA$CONVERTS(function, value [, format])
void converts(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const std::string function = asciiUpper(textArg(argv[0]));
    if (isNullArg(argv[1]) || function.empty()) return sqlite3_result_int(ctx, 1);
    if (!isConversion(function)) return resultError(ctx, ora::kInvalidDatatype);
    sqlite3* db = sqlite3_context_db_handle(ctx);
    const std::string sql = "SELECT " + function + (argc > 2 ? "(?1, ?2)" : "(?1)");
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return resultError(ctx, ora::kInvalidDatatype);
    }
    SqliteStmt stmt(raw);
    sqlite3_bind_value(raw, 1, argv[1]);
    if (argc > 2) sqlite3_bind_value(raw, 2, argv[2]);
    sqlite3_result_int(ctx, sqlite3_step(raw) == SQLITE_ROW ? 1 : 0);
}

}  // namespace

void rewriteConversionForms(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (e.at(i).kind == Token::Kind::Number) {
            const std::string& n = e.at(i).text;
            const char suffix = static_cast<char>(std::toupper(static_cast<unsigned char>(n.back())));
            if (suffix == 'F' || suffix == 'D')
                e[i].text = std::string(suffix == 'F' ? "TO_BINARY_FLOAT(" : "TO_BINARY_DOUBLE(") +
                            n.substr(0, n.size() - 1) + ")";
            continue;
        }
        if (e.at(i).kind != Token::Kind::Word) continue;
        const std::size_t open = e.next(i + 1);
        if (!e.punct(open, '(') || e.pastParens(open) > e.size()) continue;
        const std::string name = asciiUpper(e.at(i).text);
        if (name == "VALIDATE_CONVERSION") {
            auto args = callArguments(e, open);
            // x AS type [(...)] in the first argument
            std::size_t as = e.size();
            int depth = 0;
            for (std::size_t k = args[0].first; k < args[0].second; ++k) {
                if (e.punct(k, '(')) ++depth;
                if (e.punct(k, ')')) --depth;
                if (depth == 0 && e.word(k, "AS")) as = k;
            }
            if (as >= e.size()) raise(ora::kMissingKeyword);
            const std::string type = asciiUpper(e.at(e.next(as + 1)).text);
            const std::string function = conversionFor(type);
            std::string call = std::string(kConvertsFunction) + "(" + sqlStringLiteral(function) +
                               ", " + textOf(e, args[0].first, as);
            if (args.size() > 1) call += ", " + textOf(e, args[1].first, args[1].second);
            const std::size_t close = e.pastParens(open) - 1;
            e.erase(open, close + 1);
            e[i].text = call + ")";
            continue;
        }
        if (!isConversion(name)) continue;
        auto args = callArguments(e, open);
        // DEFAULT d ON CONVERSION ERROR in the first argument
        std::size_t dflt = e.size();
        int depth = 0;
        for (std::size_t k = args[0].first; k < args[0].second; ++k) {
            if (e.punct(k, '(')) ++depth;
            if (e.punct(k, ')')) --depth;
            if (depth == 0 && e.word(k, "DEFAULT")) dflt = k;
        }
        // An NLS parameter argument goes.
        std::string format;
        if (args.size() > 1) format = ", " + textOf(e, args[1].first, args[1].second);
        const bool nls = args.size() > 2;
        if (dflt >= e.size() && !nls) continue;
        const std::size_t close = e.pastParens(open) - 1;
        const std::string callName = e.at(i).text;
        if (dflt >= e.size()) {
            // TO_CHAR and TO_NUMBER show the NLS numeric characters and currencies they name.
            if (name == "TO_CHAR" || name == "TO_NUMBER") continue;
            e.erase(args[1].second, close);  // keep "(x, fmt" and the ')'
            continue;
        }
        std::size_t on = dflt;
        for (std::size_t k = dflt; k < args[0].second; ++k)
            if (e.word(k, "ON") && e.word(e.next(k + 1), "CONVERSION")) on = k;
        if (on == dflt) raise(ora::kMissingKeyword);
        const std::string value = textOf(e, args[0].first, dflt);
        const std::string fallback = textOf(e, e.next(dflt + 1), on);
        const std::string text = "(CASE WHEN " + std::string(kConvertsFunction) + "(" +
                                 sqlStringLiteral(asciiUpper(callName)) + ", " + value + format +
                                 ") THEN " + callName + "(" + value + format + ") ELSE " +
                                 callName + "(" + fallback + format + ") END)";
        e.erase(open, close + 1);
        e[i].text = text;
    }
}

namespace {

const FunctionRow kRows[] = {
    {kConvertsFunction, 2, 3, converts, nullptr},
};

}  // namespace

const FunctionFamily kConversionFormFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
