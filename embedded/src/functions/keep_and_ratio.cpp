// Two of Oracle's aggregate forms SQLite lacks:
//   agg(x) KEEP (DENSE_RANK FIRST|LAST ORDER BY k1 [ASC|DESC] [NULLS FIRST|LAST], ...)
//     -> ORA$KEEP('agg', 'F'|'L', directions, x, k1, ...), an aggregate over the rows that rank
//        first (or last) by the keys; agg is MIN, MAX, SUM, AVG or COUNT.
//   RATIO_TO_REPORT(x) OVER (...) -> ORA$DIV(x, SUM(x) OVER (...)) for a column or a number x.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "functions/extended_functions.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "functions/value_order.h"
#include "sql/sqlite_errors.h"
#include "types/values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

struct Keep {
    std::string aggregate, directions;
    bool last = false;
    std::vector<ValueCopy> best;    // the keys of the rows kept
    std::vector<ValueCopy> values;  // their values
};

// The group's state: SQLite keeps a pointer to it, NULL until the first row.
Keep** keepSlot(sqlite3_context* ctx, bool create) {
    return static_cast<Keep**>(sqlite3_aggregate_context(ctx, create ? sizeof(Keep*) : 0));
}

void keepStep(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        Keep** slot = keepSlot(ctx, true);
        if (!slot) return sqlite3_result_error_nomem(ctx);
        if (!*slot) {
            *slot = new Keep;  // freed by keepFinal
            (*slot)->aggregate = valueText(argv[0]);
            (*slot)->last = valueText(argv[1]) == "L";
            (*slot)->directions = valueText(argv[2]);
        }
        Keep* k = *slot;
        sqlite3_value** keys = argv + 4;
        const int count = std::min(argc - 4, static_cast<int>(k->directions.size() / 2));
        int c = -1;  // the first row is kept
        if (!k->best.empty()) {
            std::vector<sqlite3_value*> best;
            for (const ValueCopy& v : k->best) best.push_back(v.get());
            c = compareKeyRows(k->directions, keys, best.data(), static_cast<std::size_t>(count));
            if (k->last) c = -c;
        }
        if (c > 0) return;
        if (c < 0) {
            k->best.clear();
            k->values.clear();
            for (int i = 0; i < count; ++i) k->best.emplace_back(sqlite3_value_dup(keys[i]));
        }
        if (sqlite3_value_type(argv[3]) != SQLITE_NULL)
            k->values.emplace_back(sqlite3_value_dup(argv[3]));
    });
}

void keepFinal(sqlite3_context* ctx) {
    Keep** slot = keepSlot(ctx, false);
    std::unique_ptr<Keep> k(slot ? *slot : nullptr);
    if (slot) *slot = nullptr;
    guardedSql(ctx, [&] {
        if (!k) return sqlite3_result_null(ctx);
        const std::string& agg = k->aggregate;
        if (agg == "COUNT")
            return sqlite3_result_int64(ctx, static_cast<long long>(k->values.size()));
        if (k->values.empty()) return sqlite3_result_null(ctx);
        if (agg == "MIN" || agg == "MAX") {
            sqlite3_value* pick = k->values.front().get();
            for (const ValueCopy& v : k->values) {
                const int c = compareSortKeys(v.get(), pick);
                if (agg == "MIN" ? c < 0 : c > 0) pick = v.get();
            }
            return sqlite3_result_value(ctx, pick);
        }
        double sum = 0;
        long long whole = 0;
        bool exact = true;
        for (const ValueCopy& v : k->values) {
            const double d = numberToDouble(numberArg(v.get()));
            sum += d;
            if (sqlite3_value_type(v.get()) != SQLITE_INTEGER ||
                __builtin_add_overflow(whole, sqlite3_value_int64(v.get()), &whole))
                exact = false;
        }
        const auto n = static_cast<long long>(k->values.size());
        if (agg == "SUM") return exact ? sqlite3_result_int64(ctx, whole) : resultReal(ctx, sum);
        if (exact && whole % n == 0) return sqlite3_result_int64(ctx, whole / n);
        resultReal(ctx, sum / static_cast<double>(n));
    });
}

std::string textOf(const TokenEditor& e, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t k = from; k < to; ++k) out += e.at(k).text;
    return out;
}

// agg(args) KEEP (...) at the aggregate's name i.
void rewriteKeepAt(TokenEditor& e, std::size_t i) {
    const std::size_t open = e.next(i + 1);
    if (!e.punct(open, '(')) return;
    const std::size_t close = e.pastParens(open) - 1;
    const std::size_t keep = e.next(close + 1);
    if (!e.word(keep, "KEEP")) return;
    const std::size_t kOpen = e.next(keep + 1);
    const std::size_t rank = e.next(kOpen + 1);
    const std::size_t which = e.next(rank + 1);
    const std::size_t order = e.next(which + 1);
    const std::size_t by = e.next(order + 1);
    if (!e.punct(kOpen, '(') || !e.word(rank, "DENSE_RANK") ||
        !(e.word(which, "FIRST") || e.word(which, "LAST")) || !e.word(order, "ORDER") ||
        !e.word(by, "BY"))
        return;
    const std::size_t kClose = e.pastParens(kOpen) - 1;
    if (kClose >= e.size()) return;
    const std::size_t arg = e.next(open + 1);
    if (e.word(arg, "DISTINCT") || e.word(arg, "ALL")) return;
    const std::string directions = takeKeyDirections(e, by + 1, kClose);
    const std::string aggregate = asciiUpper(e[i].text);
    e[i].text = kOraKeep;
    e[open].text = "('" + aggregate + "', '" + (e.word(which, "LAST") ? "L" : "F") + "', '" +
                   directions + "', ";
    if (e.punct(arg, '*')) e[arg].text = "1";
    e[close].text = ", ";
    e.erase(keep, by + 1);
}

}  // namespace

bool withinGroupAt(const TokenEditor& e, std::size_t i, WithinGroup& out) {
    out.open = e.next(i + 1);
    if (!e.punct(out.open, '(')) return false;
    out.close = e.pastParens(out.open) - 1;
    out.within = e.next(out.close + 1);
    const std::size_t group = e.next(out.within + 1);
    const std::size_t open = e.next(group + 1), order = e.next(open + 1);
    out.by = e.next(order + 1);
    if (out.close >= e.size() || !e.word(out.within, "WITHIN") || !e.word(group, "GROUP") ||
        !e.punct(open, '(') || !e.word(order, "ORDER") || !e.word(out.by, "BY"))
        return false;
    out.groupClose = e.pastParens(open) - 1;
    return out.groupClose < e.size();
}

std::string takeKeyDirections(TokenEditor& e, std::size_t from, std::size_t to) {
    std::string directions;
    for (const auto& item : depthZeroItems(e, from, to)) {
        // Trailing ASC|DESC and NULLS FIRST|LAST leave the key.
        std::vector<std::size_t> words;
        for (std::size_t k = e.next(item.first); k < item.second; k = e.next(k + 1))
            words.push_back(k);
        bool descending = false;
        int nulls = 0;  // 1 first, 2 last
        while (words.size() > 1) {
            const std::size_t w = words.back();
            if ((e.word(w, "FIRST") || e.word(w, "LAST")) &&
                e.word(words[words.size() - 2], "NULLS")) {
                nulls = e.word(w, "FIRST") ? 1 : 2;
                e.erase(words[words.size() - 2]);
                e.erase(w);
                words.resize(words.size() - 2);
            } else if (e.word(w, "ASC") || e.word(w, "DESC")) {
                descending = e.word(w, "DESC");
                e.erase(w);
                words.pop_back();
            } else {
                break;
            }
        }
        directions += descending ? 'D' : 'A';
        directions += (nulls == 0 ? descending : nulls == 1) ? 'F' : 'L';
    }
    return directions;
}

namespace {

// RATIO_TO_REPORT(x) OVER (w) at i.
void rewriteRatioAt(TokenEditor& e, std::size_t i) {
    const std::size_t open = e.next(i + 1);
    if (!e.punct(open, '(')) return;
    const std::size_t close = e.pastParens(open) - 1;
    const std::size_t over = e.next(close + 1);
    const std::size_t wOpen = e.next(over + 1);
    if (close >= e.size() || !e.word(over, "OVER") || !e.punct(wOpen, '(')) return;
    // Only a [qualified] column or a number is repeated: anything else would miss the later
    // rewriting passes in its copy.
    for (std::size_t k = e.next(open + 1); k < close; k = e.next(k + 1)) {
        const Token& t = e.at(k);
        if (!(e.name(k) || e.punct(k, '.') || t.kind == Token::Kind::Number)) return;
    }
    const std::size_t wClose = e.pastParens(wOpen) - 1;
    if (wClose >= e.size()) return;
    const std::string x = textOf(e, open + 1, close);
    e[i].text = kOraDiv;
    e[close].text = ", SUM(" + x + ")";
    e[wClose].text = "))";
}

}  // namespace

void rewriteKeepAndRatio(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (e.word(i, "RATIO_TO_REPORT")) {
            rewriteRatioAt(e, i);
        } else if (!e.punct(e.previous(i), '.')) {
            for (const char* agg : {"MIN", "MAX", "SUM", "AVG", "COUNT"})
                if (e.word(i, agg)) rewriteKeepAt(e, i);
        }
    }
}

namespace {

// The aggregate behind agg(x) KEEP (DENSE_RANK FIRST|LAST ORDER BY ...) (keep_and_ratio.cpp).
const FunctionRow kRows[] = {
    {kOraKeep, -1, -1, nullptr, nullptr, true, keepStep, keepFinal},
};

}  // namespace

const FunctionFamily kKeepAggregate{kRows};

}  // namespace detail
}  // namespace kavexdb
