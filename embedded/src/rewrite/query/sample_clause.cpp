#include "rewrite/query/sample_clause.h"

#include <memory>
#include <random>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/function_args.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"

namespace kavexdb {
namespace detail {

namespace {

// The token after ")" of the "(" at open.
std::size_t afterParens(const TokenEditor& e, std::size_t open) {
    return e.next(e.pastParens(open));
}

// A number literal alone in the parentheses at open: its text; "" for anything else.
std::string literalInParens(const TokenEditor& e, std::size_t open) {
    const std::size_t k = e.next(open + 1);
    if (k >= e.size() || e.at(k).kind != Token::Kind::Number || !e.punct(e.next(k + 1), ')'))
        return std::string();
    return e.at(k).text;
}

bool isAlias(const TokenEditor& e, std::size_t k) {
    if (k >= e.size() || !e.name(k) || isClauseWord(e, k)) return false;
    for (const char* w : {"JOIN", "LEFT", "RIGHT", "FULL", "INNER", "CROSS", "NATURAL", "ON",
                          "USING", "PARTITION"})
        if (e.word(k, w)) return false;
    return true;
}

}  // namespace

bool rewriteSampleClauses(TokenEditor& e) {
    bool changed = false;
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (!e.word(i, "SAMPLE")) continue;
        std::size_t open = e.next(i + 1);
        if (e.word(open, "BLOCK")) open = e.next(open + 1);
        const std::size_t table = e.previous(i);
        if (!e.punct(open, '(') || table >= e.size() || !e.name(table)) continue;
        std::size_t first = table;  // [schema.]table
        if (e.punct(e.previous(table), '.') && e.name(e.previous(e.previous(table))))
            first = e.previous(e.previous(table));
        const std::string percent = literalInParens(e, open);
        if (percent.empty()) raise(ora::kCommandNotProperlyEnded);
        const double p = std::strtod(percent.c_str(), nullptr);
        if (!(p >= 0.000001 && p < 100)) raise(ora::kSamplePercentRange);
        std::size_t k = afterParens(e, open);
        std::string seed = "NULL";
        if (e.word(k, "SEED")) {
            const std::size_t seedOpen = e.next(k + 1);
            if (!e.punct(seedOpen, '(')) raise(ora::kCommandNotProperlyEnded);
            seed = literalInParens(e, seedOpen);
            if (seed.empty()) raise(ora::kCommandNotProperlyEnded);
            k = afterParens(e, seedOpen);
        }
        std::string alias = e.at(table).text;
        const std::string name = textOf(e, first, table + 1);
        std::size_t end = k;
        if (e.word(k, "AS")) k = e.next(k + 1);
        if (isAlias(e, k)) {
            alias = e.at(k).text;
            end = e.next(k + 1);
        }
        const std::string replacement = "(SELECT * FROM " + name + " WHERE " + kOraSample + "(" +
                                        percent + ", " + seed + ") = 1) " + alias + " ";
        e.erase(first, end);
        e.writeAfter(first, replacement);
        changed = true;
        i = end - 1;
    }
    return changed;
}

namespace {

// The draws of one statement's scan with a seed: kept with the seed argument, so that the
// rows of one execution see one sequence.
void sample(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const double percent = sqlite3_value_double(argv[0]);
        double draw;
        if (sqlite3_value_type(argv[1]) == SQLITE_NULL) {
            thread_local std::mt19937_64 unseeded{std::random_device{}()};
            draw = std::uniform_real_distribution<double>(0, 100)(unseeded);
        } else {
            auto* seeded = static_cast<std::mt19937_64*>(sqlite3_get_auxdata(ctx, 1));
            if (!seeded) {
                sqlite3_set_auxdata(
                    ctx, 1,
                    new std::mt19937_64(static_cast<std::uint64_t>(sqlite3_value_int64(argv[1]))),
                    [](void* p) { delete static_cast<std::mt19937_64*>(p); });
                seeded = static_cast<std::mt19937_64*>(sqlite3_get_auxdata(ctx, 1));
                if (!seeded) return sqlite3_result_error_nomem(ctx);
            }
            draw = std::uniform_real_distribution<double>(0, 100)(*seeded);
        }
        sqlite3_result_int(ctx, draw < percent ? 1 : 0);
    });
}

const FunctionRow kRows[] = {
    {kOraSample, 2, 2, sample, "NUMBER", false},
};

}  // namespace

const FunctionFamily kSampleFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
