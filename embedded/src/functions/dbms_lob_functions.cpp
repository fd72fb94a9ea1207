#include "functions/dbms_lob_functions.h"

#include <cmath>
#include <string>
#include <vector>

#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "types/values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

// The largest LOB size the package accepts for amounts and offsets.
constexpr double kLobMaxSize = 18446744073709551615.0;

// A LOB argument: a BLOB's bytes, or a CLOB's text cut at character starts.
struct LobValue {
    std::string bytes;
    bool characters = true;
    std::vector<std::size_t> starts;  // byte offset of each character (CLOB only)

    explicit LobValue(sqlite3_value* v) : characters(sqlite3_value_type(v) != SQLITE_BLOB) {
        if (characters) {
            bytes = valueText(v);
            for (std::size_t i = 0; i < bytes.size(); ++i)
                if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) starts.push_back(i);
        } else {
            const void* data = sqlite3_value_blob(v);
            bytes.assign(static_cast<const char*>(data ? data : ""),
                         static_cast<std::size_t>(sqlite3_value_bytes(v)));
        }
    }
    std::size_t length() const { return characters ? starts.size() : bytes.size(); }
    std::size_t byteAt(std::size_t unit) const {
        if (!characters) return unit < bytes.size() ? unit : bytes.size();
        return unit < starts.size() ? starts[unit] : bytes.size();
    }
    // Units [from, from + count) (0-based), cut at the end.
    std::string cut(std::size_t from, double count) const {
        const std::size_t begin = byteAt(from);
        const double last = static_cast<double>(from) + count;
        const std::size_t end =
            last >= static_cast<double>(length()) ? bytes.size() : byteAt(static_cast<std::size_t>(last));
        return bytes.substr(begin, end - begin);
    }
    // The unit index of byte offset b.
    std::size_t unitOf(std::size_t b) const {
        if (!characters) return b;
        std::size_t lo = 0, hi = starts.size();
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (starts[mid] < b) lo = mid + 1; else hi = mid;
        }
        return lo;
    }
};

// An integer argument as the package takes it (fractions cut off); false when NULL.
bool wholeArg(sqlite3_value* v, double& out) {
    if (sqlite3_value_type(v) == SQLITE_NULL) return false;
    out = std::trunc(numberToDouble(numberArg(v)));
    return true;
}

bool inRange(double n) { return n >= 1 && n <= kLobMaxSize; }

void result(sqlite3_context* ctx, const LobValue& like, const std::string& bytes) {
    if (bytes.empty()) return sqlite3_result_null(ctx);
    if (like.characters) return resultText(ctx, bytes);
    sqlite3_result_blob(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

void getLength(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(LobValue(argv[0]).length()));
    });
}

// SUBSTR(lob, amount := 32767, offset := 1): NULL when amount is not 1..32767 or offset not
// 1..LOBMAXSIZE.
void substr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        double amount = 32767, offset = 1;
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL || (argc > 1 && !wholeArg(argv[1], amount)) ||
            (argc > 2 && !wholeArg(argv[2], offset)) || amount < 1 || amount > 32767 ||
            !inRange(offset))
            return sqlite3_result_null(ctx);
        const LobValue lob(argv[0]);
        if (offset > static_cast<double>(lob.length())) return sqlite3_result_null(ctx);
        result(ctx, lob, lob.cut(static_cast<std::size_t>(offset) - 1, amount));
    });
}

// INSTR(lob, pattern, offset := 1, nth := 1): the position of the nth match at or after
// offset, 0 when there is none.
void instr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        double offset = 1, nth = 1;
        if (anyNull(2, argv) || (argc > 2 && !wholeArg(argv[2], offset)) ||
            (argc > 3 && !wholeArg(argv[3], nth)) || !inRange(offset) || !inRange(nth))
            return sqlite3_result_null(ctx);
        const LobValue lob(argv[0]);
        const LobValue pattern(argv[1]);
        if (pattern.bytes.empty()) return sqlite3_result_null(ctx);
        if (offset > static_cast<double>(lob.length())) return sqlite3_result_int(ctx, 0);
        std::size_t at = lob.byteAt(static_cast<std::size_t>(offset) - 1);
        for (double found = 0;;) {
            at = lob.bytes.find(pattern.bytes, at);
            if (at == std::string::npos) return sqlite3_result_int(ctx, 0);
            if (++found >= nth)
                return sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(lob.unitOf(at)) + 1);
            at += 1;
        }
    });
}

// COMPARE(lob_1, lob_2, amount := 4294967295, offset_1 := 1, offset_2 := 1): 0 when the two
// ranges hold the same data, -1 or 1 as the first difference (or the shorter range) orders them.
void compare(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        double amount = 4294967295.0, offset1 = 1, offset2 = 1;
        if (anyNull(2, argv) || (argc > 2 && !wholeArg(argv[2], amount)) ||
            (argc > 3 && !wholeArg(argv[3], offset1)) || (argc > 4 && !wholeArg(argv[4], offset2)) ||
            !inRange(amount) || !inRange(offset1) || !inRange(offset2))
            return sqlite3_result_null(ctx);
        const LobValue a(argv[0]), b(argv[1]);
        auto range = [&](const LobValue& lob, double offset) {
            if (offset > static_cast<double>(lob.length())) return std::string();
            return lob.cut(static_cast<std::size_t>(offset) - 1, amount);
        };
        const int order = range(a, offset1).compare(range(b, offset2));
        sqlite3_result_int(ctx, order < 0 ? -1 : order > 0 ? 1 : 0);
    });
}

}  // namespace

void rewriteDbmsLobCalls(TokenEditor& e) {
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (!e.word(k, "DBMS_LOB")) continue;
        const std::size_t dot = e.next(k + 1), name = e.next(dot + 1);
        if (!e.punct(dot, '.') || !e.punct(e.next(name + 1), '(')) continue;
        for (const char* f : {"GETLENGTH", "SUBSTR", "INSTR", "COMPARE"}) {
            if (!e.word(name, f)) continue;
            e[k].text = std::string(kOraLobPrefix) + f;
            e.erase(k + 1, name + 1);
            k = name;
            break;
        }
    }
}

namespace {

const FunctionRow kRows[] = {
    {kOraLobGetlength, 1, 1, getLength, "NUMBER"},
    {kOraLobSubstr, 1, 3, substr, nullptr},
    {kOraLobInstr, 2, 4, instr, "NUMBER"},
    {kOraLobCompare, 2, 5, compare, "NUMBER"},
};

}  // namespace

const FunctionFamily kDbmsLobFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
