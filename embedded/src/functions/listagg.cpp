// LISTAGG: the values of a group joined in the order WITHIN GROUP names. SQLite's group_concat
// knows no order, so the rewriting passes the ordering keys to ORA$LISTAGG, which sorts the
// collected rows when the group ends:
//   ORA$LISTAGG(value, delimiter, options, directions, key1, key2, ...)
// options: 'D' for DISTINCT, 'T' for ON OVERFLOW TRUNCATE, 'C' for WITH COUNT, then after '|'
// the truncation indicator; directions: per key 'A' or 'D' and 'F' or 'L' for NULLS FIRST|LAST.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/ora_messages.h"
#include "functions/extended_functions.h"
#include "functions/function_args.h"
#include "functions/value_order.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

const char* const kListaggFunction = kOraListagg;
// The longest VARCHAR2 result, as under MAX_STRING_SIZE = STANDARD.
const std::size_t kMaxResult = 4000;

struct Row {
    std::string text;
    std::vector<ValueCopy> keys;
};

struct State {
    std::string delimiter, options, directions;
    std::vector<Row> rows;
};

State*& stateOf(sqlite3_context* ctx, bool create) {
    static State* none = nullptr;
    auto** slot = static_cast<State**>(sqlite3_aggregate_context(ctx, create ? sizeof(State*) : 0));
    return slot ? *slot : none;
}

void step(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    State*& state = stateOf(ctx, true);
    if (!state) {
        state = new State;
        state->delimiter = textArg(argv[1]);
        state->options = textArg(argv[2]);
        state->directions = textArg(argv[3]);
    }
    if (isNullArg(argv[0])) return;  // NULL values are left out
    Row row;
    row.text = textArg(argv[0]);
    for (int i = 4; i < argc; ++i) row.keys.emplace_back(sqlite3_value_dup(argv[i]));
    state->rows.push_back(std::move(row));
}

// The rows gathered so far joined in their order; the rows stay in the order they came, which
// the analytic form's inverse needs.
void emit(sqlite3_context* ctx, const State* state) {
    if (!state || state->rows.empty()) return sqlite3_result_null(ctx);
    const std::string& dir = state->directions;
    std::vector<const Row*> sorted;
    for (const Row& r : state->rows) sorted.push_back(&r);
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Row* pa, const Row* pb) {
        const Row& a = *pa;
        const Row& b = *pb;
        for (std::size_t k = 0; k < a.keys.size(); ++k) {
            const bool desc = 2 * k < dir.size() && dir[2 * k] == 'D';
            const bool nullsFirst = 2 * k + 1 < dir.size() ? dir[2 * k + 1] == 'F' : desc;
            const bool an = isNullArg(a.keys[k].get()), bn = isNullArg(b.keys[k].get());
            if (an || bn) {
                if (an == bn) continue;
                return an == nullsFirst;
            }
            const int c = compareSortKeys(a.keys[k].get(), b.keys[k].get());
            if (c != 0) return desc ? c > 0 : c < 0;
        }
        return false;
    });
    const std::string& opts = state->options;
    const std::size_t bar = opts.find('|');
    const std::string flags = opts.substr(0, bar);
    const std::string indicator = bar == std::string::npos ? "..." : opts.substr(bar + 1);
    std::vector<std::string> values;
    for (const Row* r : sorted) {
        if (flags.find('D') != std::string::npos &&
            std::find(values.begin(), values.end(), r->text) != values.end())
            continue;
        values.push_back(r->text);
    }
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) out += (i ? state->delimiter : "") + values[i];
    if (out.size() > kMaxResult) {
        if (flags.find('T') == std::string::npos)
            return resultError(ctx, ora::kConcatenationTooLarge);
        // Whole values only, leaving room for the delimiter, the indicator and the count.
        const bool count = flags.find('C') != std::string::npos;
        std::string kept;
        std::size_t n = 0;
        for (; n < values.size(); ++n) {
            const std::string next = kept + (n ? state->delimiter : "") + values[n];
            const std::string tail = state->delimiter + indicator +
                                     (count ? "(" + std::to_string(values.size() - n - 1) + ")" : "");
            if (next.size() + tail.size() > kMaxResult) break;
            kept = next;
        }
        out = kept + state->delimiter + indicator +
              (count ? "(" + std::to_string(values.size() - n) + ")" : "");
    }
    resultText(ctx, out);
}

void final(sqlite3_context* ctx) {
    std::unique_ptr<State> state(stateOf(ctx, false));
    emit(ctx, state.get());
}

// LISTAGG ... OVER (PARTITION BY ...): the window's value, and the oldest row leaving it.
void value(sqlite3_context* ctx) { emit(ctx, stateOf(ctx, false)); }

void inverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
    State* state = stateOf(ctx, false);
    if (!state || isNullArg(argv[0]) || state->rows.empty()) return;
    state->rows.erase(state->rows.begin());
}

// The aggregate behind LISTAGG.
const FunctionRow kRows[] = {
    {kListaggFunction, -1, -1, nullptr, "VARCHAR2(4000)", false, step, final, value, inverse},
};

}  // namespace

const FunctionFamily kListaggAggregate{kRows};

void rewriteListagg(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        const std::size_t open = e.next(i + 1);
        if (!e.word(i, "LISTAGG") || !e.punct(open, '(')) continue;
        const std::size_t close = e.pastParens(open) - 1;
        if (close >= e.size()) return;
        std::string original;
        // The arguments: [ALL | DISTINCT] value [, delimiter] [ON OVERFLOW ...]
        std::size_t a = e.next(open + 1);
        std::string flags;
        if (e.word(a, "DISTINCT")) {
            flags += 'D';
            a = e.next(a + 1);
        } else if (e.word(a, "ALL")) {
            a = e.next(a + 1);
        }
        std::vector<std::string> args(1);
        std::string indicator = "...";
        int depth = 0;
        for (std::size_t k = a; k < close; ++k) {
            if (e.punct(k, '(')) ++depth;
            if (e.punct(k, ')')) --depth;
            if (depth == 0 && e.word(k, "ON") && e.word(e.next(k + 1), "OVERFLOW")) {
                std::size_t o = e.next(e.next(k + 1) + 1);
                if (e.word(o, "TRUNCATE")) {
                    flags += "TC";
                    o = e.next(o + 1);
                    if (o < close && e.at(o).kind == Token::Kind::String) {
                        const std::string& lit = e.at(o).text;
                        indicator.clear();
                        for (std::size_t c = 1; c + 1 < lit.size(); ++c) {
                            indicator += lit[c];
                            if (lit[c] == '\'') ++c;
                        }
                        o = e.next(o + 1);
                    }
                    if (e.word(o, "WITHOUT")) flags.erase(flags.find('C'), 1);
                }
                break;
            }
            if (depth == 0 && e.punct(k, ',')) {
                args.emplace_back();
                continue;
            }
            args.back() += e.at(k).text;
        }
        if (args.size() > 2) raise(ora::kInvalidArgumentCount);
        const std::string delimiter = args.size() > 1 ? args[1] : "NULL";
        // WITHIN GROUP (ORDER BY key [ASC | DESC] [NULLS FIRST | LAST], ...)
        std::size_t end = close + 1;
        std::string directions, keys;
        const std::size_t within = e.next(close + 1);
        if (e.word(within, "WITHIN") && e.word(e.next(within + 1), "GROUP")) {
            const std::size_t gopen = e.next(e.next(within + 1) + 1);
            if (!e.punct(gopen, '(')) raise(ora::kMissingLeftParenthesis);
            const std::size_t gclose = e.pastParens(gopen) - 1;
            std::size_t k = e.next(gopen + 1);
            if (!e.word(k, "ORDER") || !e.word(e.next(k + 1), "BY")) raise(ora::kMissingByKeyword);
            k = e.next(e.next(k + 1) + 1);
            std::vector<std::size_t> starts{k};
            int d = 0;
            for (std::size_t j = k; j < gclose; ++j) {
                if (e.punct(j, '(')) ++d;
                if (e.punct(j, ')')) --d;
                if (d == 0 && e.punct(j, ',')) starts.push_back(j + 1);
            }
            starts.push_back(gclose + 1);
            for (std::size_t s = 0; s + 1 < starts.size(); ++s) {
                std::size_t last = e.previous(starts[s + 1] - 1);  // before the ',' or ')'
                char dirChar = 'A', nulls = 0;
                if (e.word(last, "FIRST") || e.word(last, "LAST")) {
                    nulls = e.word(last, "FIRST") ? 'F' : 'L';
                    last = e.previous(e.previous(last));  // past NULLS
                }
                if (e.word(last, "ASC") || e.word(last, "DESC")) {
                    dirChar = e.word(last, "DESC") ? 'D' : 'A';
                    last = e.previous(last);
                }
                if (!nulls) nulls = dirChar == 'D' ? 'F' : 'L';
                directions += dirChar;
                directions += nulls;
                std::string key;
                for (std::size_t j = starts[s]; j <= last && j < gclose; ++j) key += e.at(j).text;
                keys += ", " + key;
            }
            end = gclose + 1;
        }
        for (std::size_t k = i; k < end; ++k) original += e.at(k).text;
        std::string call = std::string(kListaggFunction) + "(" + args[0] + ", " + delimiter +
                           ", " + sqlStringLiteral(flags + "|" + indicator) + ", " +
                           sqlStringLiteral(directions) + keys + ")";
        e.erase(i + 1, end);
        e[i].text = call;
        if (isWholeSelectItem(e, i)) e[i].text += " AS " + sqlQuotedIdentifier(upperOutsideQuotes(original));
        i = end - 1;
    }
}

}  // namespace detail
}  // namespace kavexdb
