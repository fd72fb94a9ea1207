// The hypothetical-set aggregates: where a row with the given values would rank among the
// group's rows in the WITHIN GROUP order.
//   RANK(x, ...) WITHIN GROUP (ORDER BY k, ...)
//     -> ORA$HYPOTHETICAL_R(directions, x, ..., k, ...)   (_D, _P, _C for the others)
// RANK is 1 + the rows before it, DENSE_RANK 1 + the distinct keys before it, PERCENT_RANK
// (RANK - 1) / the group's rows (0 for an empty group), CUME_DIST (the rows before it or tied
// with it + 1) / (the group's rows + 1).
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/extended_functions.h"
#include "functions/function_args.h"
#include "functions/sql_values.h"
#include "functions/value_order.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

namespace {

// 'R', 'D', 'P' or 'C': the function's user data.
char kindOf(sqlite3_context* ctx) { return *static_cast<const char*>(sqlite3_user_data(ctx)); }

struct Hypothetical {
    std::string directions;
    std::vector<ValueCopy> row;                          // the hypothetical row's values
    long long rows = 0, before = 0, tied = 0;            // the group's rows; before it; equal to it
    std::vector<std::vector<ValueCopy>> distinctBefore;  // DENSE_RANK: the keys before it
};

Hypothetical** slotOf(sqlite3_context* ctx, bool create) {
    return static_cast<Hypothetical**>(
        sqlite3_aggregate_context(ctx, create ? sizeof(Hypothetical*) : 0));
}

void step(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if ((argc - 1) % 2 != 0) raise(ora::kInvalidArgumentCount);
        const std::size_t n = static_cast<std::size_t>(argc - 1) / 2;
        Hypothetical** slot = slotOf(ctx, true);
        if (!slot) return sqlite3_result_error_nomem(ctx);
        if (!*slot) {
            auto h = std::make_unique<Hypothetical>();
            h->directions = valueText(argv[0]);
            for (std::size_t i = 0; i < n; ++i) h->row.emplace_back(sqlite3_value_dup(argv[1 + i]));
            *slot = h.release();  // freed by final
        }
        Hypothetical& h = **slot;
        sqlite3_value** keys = argv + 1 + n;
        std::vector<sqlite3_value*> row;
        for (const ValueCopy& v : h.row) row.push_back(v.get());
        ++h.rows;
        const int c = compareKeyRows(h.directions, keys, row.data(), n);
        if (c == 0) ++h.tied;
        if (c >= 0) return;
        ++h.before;
        if (kindOf(ctx) != 'D') return;
        for (const auto& seen : h.distinctBefore) {
            std::vector<sqlite3_value*> other;
            for (const ValueCopy& v : seen) other.push_back(v.get());
            if (compareKeyRows(h.directions, keys, other.data(), n) == 0) return;
        }
        std::vector<ValueCopy> copy;
        for (std::size_t i = 0; i < n; ++i) copy.emplace_back(sqlite3_value_dup(keys[i]));
        h.distinctBefore.push_back(std::move(copy));
    });
}

void final(sqlite3_context* ctx) {
    Hypothetical** slot = slotOf(ctx, false);
    std::unique_ptr<Hypothetical> h(slot ? *slot : nullptr);
    if (slot) *slot = nullptr;
    guardedSql(ctx, [&] {
        const Hypothetical none;  // no rows: the first place
        const Hypothetical& r = h ? *h : none;
        switch (kindOf(ctx)) {
            case 'D':
                return sqlite3_result_int64(ctx,
                                            1 + static_cast<long long>(r.distinctBefore.size()));
            case 'P':
                if (r.rows == 0) return sqlite3_result_int(ctx, 0);
                return resultReal(ctx, static_cast<double>(r.before) / static_cast<double>(r.rows));
            case 'C':
                return resultReal(ctx, static_cast<double>(r.before + r.tied + 1) /
                                           static_cast<double>(r.rows + 1));
            default:
                return sqlite3_result_int64(ctx, 1 + r.before);
        }
    });
}

}  // namespace

void rewriteHypotheticalRanks(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        char kind = 0;
        if (e.word(i, "RANK")) kind = 'R';
        if (e.word(i, "DENSE_RANK")) kind = 'D';
        if (e.word(i, "PERCENT_RANK")) kind = 'P';
        if (e.word(i, "CUME_DIST")) kind = 'C';
        WithinGroup w;
        if (!kind || !withinGroupAt(e, i, w) || e.punct(e.next(w.open + 1), ')')) continue;
        if (depthZeroItems(e, w.open + 1, w.close).size() !=
            depthZeroItems(e, w.by + 1, w.groupClose).size())
            raise(ora::kInvalidArgumentCount);
        const std::string directions = takeKeyDirections(e, w.by + 1, w.groupClose);
        e[i].text = std::string(kOraHypotheticalPrefix) + kind;
        e[w.open].text = "('" + directions + "', ";
        e[w.close].text = ", ";
        e.erase(w.within, w.by + 1);
    }
}

namespace {

// Each ORA$HYPOTHETICAL_ function's user data is its kind: R(ANK), D(ENSE_RANK), P(ERCENT_RANK)
// or C(UME_DIST).
char kKinds[] = "RDPC";

const FunctionRow kRows[] = {
    {kOraHypotheticalR, -1, -1, nullptr, nullptr, true, step, final, nullptr, nullptr, &kKinds[0]},
    {kOraHypotheticalD, -1, -1, nullptr, nullptr, true, step, final, nullptr, nullptr, &kKinds[1]},
    {kOraHypotheticalP, -1, -1, nullptr, nullptr, true, step, final, nullptr, nullptr, &kKinds[2]},
    {kOraHypotheticalC, -1, -1, nullptr, nullptr, true, step, final, nullptr, nullptr, &kKinds[3]},
};

}  // namespace

const FunctionFamily kHypotheticalRanks{kRows};

}  // namespace detail
}  // namespace kavexdb
