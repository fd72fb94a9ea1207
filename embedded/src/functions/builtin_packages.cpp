#include "functions/builtin_packages.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <mutex>
#include <random>
#include <string>

#include "base/ora_messages.h"
#include "functions/catalog.h"
#include "functions/function_args.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

namespace {

// The package functions the rewriting knows, and whether each may be called without "()".
struct PackageFunction {
    const char* package;
    const char* name;
    bool noArguments;  // PACKAGE.F alone is a call
};

constexpr PackageFunction kFunctions[] = {
    {"DBMS_RANDOM", "VALUE", true},
    {"DBMS_RANDOM", "NORMAL", true},
    {"DBMS_RANDOM", "STRING", false},
    {"DBMS_RANDOM", "RANDOM", true},
    {"DBMS_RANDOM", "SEED", false},
    {"UTL_RAW", "CAST_TO_RAW", false},
    {"UTL_RAW", "CAST_TO_VARCHAR2", false},
    {"UTL_RAW", "LENGTH", false},
    {"UTL_RAW", "CONCAT", false},
    {"UTL_RAW", "SUBSTR", false},
    {"DBMS_UTILITY", "GET_TIME", true},
    {"DBMS_ASSERT", "NOOP", false},
    {"DBMS_ASSERT", "ENQUOTE_LITERAL", false},
    {"DBMS_ASSERT", "ENQUOTE_NAME", false},
    {"DBMS_ASSERT", "SIMPLE_SQL_NAME", false},
};

// One generator for the process, as DBMS_RANDOM's is per session: SEED makes it repeatable.
std::mutex randomMutex;
std::mt19937_64& generator() {
    static std::mt19937_64 g{std::random_device{}()};
    return g;
}

double uniform() {
    std::lock_guard<std::mutex> lock(randomMutex);
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator());
}

void randomValue(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        double low = 0, high = 1;
        if (argc == 2) {
            if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
            low = sqlite3_value_double(argv[0]);
            high = sqlite3_value_double(argv[1]);
        }
        sqlite3_result_double(ctx, low + (high - low) * uniform());
    });
}

void randomNormal(sqlite3_context* ctx, int, sqlite3_value**) {
    std::lock_guard<std::mutex> lock(randomMutex);
    sqlite3_result_double(ctx, std::normal_distribution<double>(0.0, 1.0)(generator()));
}

void randomInteger(sqlite3_context* ctx, int, sqlite3_value**) {
    std::lock_guard<std::mutex> lock(randomMutex);
    sqlite3_result_int64(ctx, static_cast<std::int32_t>(generator()()));
}

void randomSeed(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const std::string seed = textArg(argv[0]);
    std::lock_guard<std::mutex> lock(randomMutex);
    std::seed_seq sequence(seed.begin(), seed.end());
    generator().seed(sequence);
    sqlite3_result_null(ctx);
}

// STRING(opt, len): 'U' upper case, 'L' lower case, 'A' mixed, 'X' upper case and digits, 'P'
// any printable character; another option is 'U'.
void randomString(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const std::string option = textArg(argv[0]);
        long long length = isNullArg(argv[1]) ? 0 : integerArg(argv[1]);
        if (length > 4000) length = 4000;
        std::string letters;
        switch (option.empty() ? 'U' : std::toupper(static_cast<unsigned char>(option[0]))) {
            case 'L':
                letters = "abcdefghijklmnopqrstuvwxyz";
                break;
            case 'A':
                letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
                break;
            case 'X':
                letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
                break;
            case 'P':
                for (char c = ' '; c <= '~'; ++c) letters += c;
                break;
            default:
                letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
                break;
        }
        std::string out;
        for (long long i = 0; i < length; ++i) {
            const auto k =
                static_cast<std::size_t>(uniform() * static_cast<double>(letters.size()));
            out += letters[k < letters.size() ? k : letters.size() - 1];
        }
        resultText(ctx, out);
    });
}

std::string bytesArg(sqlite3_value* v) {
    const void* data = sqlite3_value_blob(v);
    return data ? std::string(static_cast<const char*>(data),
                              static_cast<std::size_t>(sqlite3_value_bytes(v)))
                : std::string();
}

void resultRaw(sqlite3_context* ctx, const std::string& bytes) {
    if (bytes.empty()) return sqlite3_result_null(ctx);
    sqlite3_result_blob(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

void castToRaw(sqlite3_context* ctx, int, sqlite3_value** argv) {
    resultRaw(ctx, textArg(argv[0]));
}

void castToVarchar2(sqlite3_context* ctx, int, sqlite3_value** argv) {
    resultText(ctx, bytesArg(argv[0]));
}

void rawLength(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, sqlite3_value_bytes(argv[0]));
}

void rawConcat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    std::string out;
    for (int i = 0; i < argc; ++i) out += bytesArg(argv[i]);
    resultRaw(ctx, out);
}

void rawSubstr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const std::string bytes = bytesArg(argv[0]);
        long long pos = integerArg(argv[1]);
        const long long size = static_cast<long long>(bytes.size());
        if (pos < 0) pos = size + pos + 1;
        const long long length =
            argc > 2 && !isNullArg(argv[2]) ? integerArg(argv[2]) : size - pos + 1;
        if (pos < 1 || pos > size || length < 1 || pos + length - 1 > size)
            raise(ora::kNumericOrValueError);
        resultRaw(
            ctx, bytes.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(length)));
    });
}

void getTime(sqlite3_context* ctx, int, sqlite3_value**) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const long long hundredths =
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count() / 10;
    sqlite3_result_int64(ctx, static_cast<std::int32_t>(hundredths % 2147483647));
}

void noop(sqlite3_context* ctx, int, sqlite3_value** argv) { sqlite3_result_value(ctx, argv[0]); }

void enquoteLiteral(sqlite3_context* ctx, int, sqlite3_value** argv) {
    resultText(ctx, sqlStringLiteral(textArg(argv[0])));
}

// ENQUOTE_NAME(name [, capitalize]): the name in double quotes, upper-cased unless the second
// argument is FALSE (0).
void enquoteName(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    std::string name = textArg(argv[0]);
    const bool upper = argc < 2 || sqlite3_value_int(argv[1]) != 0;
    if (name.size() < 2 || name.front() != '"' || name.back() != '"') {
        if (upper)
            for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        name = sqlQuotedIdentifier(name);
    }
    resultText(ctx, name);
}

// SIMPLE_SQL_NAME(name): the name when it is one (a word, or a quoted identifier), else
// ORA-44003.
void simpleSqlName(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const std::string name = trimmed(textArg(argv[0]));
        bool ok = !name.empty();
        if (ok && name.front() == '"') {
            ok = name.size() > 2 && name.back() == '"';
        } else {
            ok = ok && std::isalpha(static_cast<unsigned char>(name[0]));
            for (char c : name)
                ok = ok && (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
                            c == '#');
        }
        if (!ok) raise(ora::kInvalidSqlName);
        resultText(ctx, name);
    });
}

const FunctionRow kRows[] = {
    {"ORA$DBMS_RANDOM_VALUE", 0, 2, randomValue, "NUMBER", false},
    {"ORA$DBMS_RANDOM_NORMAL", 0, 0, randomNormal, "NUMBER", false},
    {"ORA$DBMS_RANDOM_RANDOM", 0, 0, randomInteger, "NUMBER", false},
    {"ORA$DBMS_RANDOM_SEED", 1, 1, randomSeed, nullptr, false},
    {"ORA$DBMS_RANDOM_STRING", 2, 2, randomString, "VARCHAR2(4000)", false},
    {"ORA$UTL_RAW_CAST_TO_RAW", 1, 1, castToRaw, "RAW(2000)"},
    {"ORA$UTL_RAW_CAST_TO_VARCHAR2", 1, 1, castToVarchar2, "VARCHAR2(4000)"},
    {"ORA$UTL_RAW_LENGTH", 1, 1, rawLength, "NUMBER"},
    {"ORA$UTL_RAW_CONCAT", -1, -1, rawConcat, "RAW(2000)"},
    {"ORA$UTL_RAW_SUBSTR", 2, 3, rawSubstr, "RAW(2000)"},
    {"ORA$DBMS_UTILITY_GET_TIME", 0, 0, getTime, "NUMBER", false},
    {"ORA$DBMS_ASSERT_NOOP", 1, 1, noop, nullptr},
    {"ORA$DBMS_ASSERT_ENQUOTE_LITERAL", 1, 1, enquoteLiteral, "VARCHAR2(4000)"},
    {"ORA$DBMS_ASSERT_ENQUOTE_NAME", 1, 2, enquoteName, "VARCHAR2(4000)"},
    {"ORA$DBMS_ASSERT_SIMPLE_SQL_NAME", 1, 1, simpleSqlName, "VARCHAR2(4000)"},
};

}  // namespace

const FunctionFamily kBuiltinPackageFunctions{kRows};

void rewriteBuiltinPackageCalls(TokenEditor& e) {
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (e.at(k).kind != Token::Kind::Word || e.punct(e.previous(k), '.')) continue;
        const std::size_t dot = e.next(k + 1), name = e.next(dot + 1);
        if (!e.punct(dot, '.') || name >= e.size()) continue;
        for (const PackageFunction& f : kFunctions) {
            if (!e.word(k, f.package) || !e.word(name, f.name)) continue;
            const bool call = e.punct(e.next(name + 1), '(');
            if (!call && !f.noArguments) break;
            e[k].text = std::string("ORA$") + f.package + "_" + f.name + (call ? "" : "()");
            e.erase(dot, name + 1);
            k = name;
            break;
        }
    }
}

}  // namespace detail
}  // namespace kavexdb
