// Oracle's statistical aggregates, also usable as analytic functions (OVER): VARIANCE, VAR_SAMP,
// VAR_POP, STDDEV, STDDEV_SAMP, STDDEV_POP over one argument, COVAR_POP, COVAR_SAMP and CORR
// over pairs (rows where either is NULL do not count), and MEDIAN. NULLs are ignored; an empty
// set gives NULL. VARIANCE and STDDEV give 0 for one row where the _SAMP forms give NULL, as
// Oracle documents. In a query's result (their exact twins, functions/catalog.h) the sums and
// the result are NUMBER arithmetic, to NUMBER's digits; elsewhere binary floating point, kept to
// 15 significant digits.
#include "functions/statistical_aggregates.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/decimal_sum.h"
#include "functions/extended_functions.h"
#include "functions/sql_values.h"
#include "sql/internal_names.h"
#include "sql/sqlite_errors.h"
#include "sql/token_editor.h"
#include "types/decimal.h"
#include "types/number_arithmetic.h"
#include "types/values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

// Sums of the rows counted so far; SQLite hands the state over zero-filled and only 8-byte
// aligned, so it is copied in and out (long double wants 16).
struct Moments {
    long long n;
    long double x, y, xx, yy, xy;
    NumberSum ex, ey, exx, eyy, exy;  // the same sums exactly, for an exact twin
};

bool loadMoments(sqlite3_context* ctx, int bytes, Moments& m) {
    void* state = sqlite3_aggregate_context(ctx, bytes);
    if (!state) return false;
    std::memcpy(&m, state, sizeof m);
    return true;
}

double numeric(sqlite3_value* v) { return numberToDouble(numberArg(v)); }

void accumulate(sqlite3_context* ctx, int argc, sqlite3_value** argv, int direction) {
    guardedSql(ctx, [&] {
        for (int i = 0; i < argc; ++i)
            if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;
        Moments m;
        if (!loadMoments(ctx, sizeof m, m)) return sqlite3_result_error_nomem(ctx);
        if (resultsMayBeWide(ctx)) {
            const occi::Number x = numberArg(argv[0]);
            const occi::Number y = argc > 1 ? numberArg(argv[1]) : x;
            m.ex.add(x, direction);
            m.ey.add(y, direction);
            m.exx.add(numeric::multiply(x, x), direction);
            m.eyy.add(numeric::multiply(y, y), direction);
            m.exy.add(numeric::multiply(x, y), direction);
        }
        const long double x = numeric(argv[0]);
        const long double y = argc > 1 ? numeric(argv[1]) : x;
        m.n += direction;
        m.x += direction * x;
        m.y += direction * y;
        m.xx += direction * x * x;
        m.yy += direction * y * y;
        m.xy += direction * x * y;
        std::memcpy(sqlite3_aggregate_context(ctx, sizeof m), &m, sizeof m);
    });
}

void step(sqlite3_context* ctx, int argc, sqlite3_value** argv) { accumulate(ctx, argc, argv, 1); }
void inverse(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    accumulate(ctx, argc, argv, -1);
}

// Sum of the products of two variables' deviations from their means (of squares for one).
long double deviations(const Moments& m, long double sumA, long double sumB, long double sumAB) {
    return sumAB - sumA * sumB / static_cast<long double>(m.n);
}

enum class Stat {
    VarSamp,
    VarPop,
    Variance,
    StddevSamp,
    StddevPop,
    Stddev,
    CovarPop,
    CovarSamp,
    Corr
};

bool negative(const occi::Number& n) { return decimalOf(n).negative; }
bool zero(const occi::Number& n) { return decimalOf(n).isZero(); }

// The statistic from the exact sums, in NUMBER arithmetic; false when it is NULL. Each is one
// quotient of exact sums (n Sxx - Sx Sx over n (n - 1), ...), so that it is rounded once.
template <Stat S>
bool exactValue(const Moments& m, occi::Number& r) {
    using namespace numeric;
    const occi::Number n = numberFromInt64(m.n);
    const occi::Number x = m.ex.value(), y = m.ey.value();
    // n times the sum of the products of the deviations from the means.
    auto deviations = [&](const occi::Number& a, const occi::Number& b, const NumberSum& ab) {
        return subtract(multiply(n, ab.value()), multiply(a, b));
    };
    occi::Number qxx = deviations(x, x, m.exx), qyy = deviations(y, y, m.eyy);
    if (negative(qxx)) qxx = numberFromInt64(0);
    if (negative(qyy)) qyy = numberFromInt64(0);
    const occi::Number qxy = deviations(x, y, m.exy);
    const bool one = m.n == 1;
    const occi::Number pairs = multiply(n, numberFromInt64(m.n - 1)), squared = multiply(n, n);
    switch (S) {
        case Stat::VarSamp:
        case Stat::StddevSamp:
        case Stat::CovarSamp:
            if (one) return false;
            r = divide(S == Stat::CovarSamp ? qxy : qxx, pairs);
            break;
        case Stat::Variance:
        case Stat::Stddev:
            r = one ? numberFromInt64(0) : divide(qxx, pairs);
            break;
        case Stat::VarPop:
        case Stat::StddevPop:
            r = divide(qxx, squared);
            break;
        case Stat::CovarPop:
            r = divide(qxy, squared);
            break;
        case Stat::Corr:
            if (zero(qxx) || zero(qyy)) return false;
            r = divide(qxy, squareRoot(multiply(qxx, qyy)));
            break;
    }
    if (S == Stat::StddevSamp || S == Stat::StddevPop || S == Stat::Stddev) r = squareRoot(r);
    return true;
}

template <Stat S>
void value(sqlite3_context* ctx) {
    guardedSql(ctx, [&] {
        Moments m;
        if (!loadMoments(ctx, 0, m) || m.n <= 0) return sqlite3_result_null(ctx);
        if (resultsMayBeWide(ctx)) {
            occi::Number r;
            if (!exactValue<S>(m, r)) return sqlite3_result_null(ctx);
            return resultComputed(ctx, r, true);
        }
        const long double n = static_cast<long double>(m.n);
        const long double sxx = std::max<long double>(0, deviations(m, m.x, m.x, m.xx));
        const long double syy = std::max<long double>(0, deviations(m, m.y, m.y, m.yy));
        const long double sxy = deviations(m, m.x, m.y, m.xy);
        const bool one = m.n == 1;
        long double r = 0;
        switch (S) {
            case Stat::VarSamp:
            case Stat::StddevSamp:
            case Stat::CovarSamp:
                if (one) return sqlite3_result_null(ctx);
                r = (S == Stat::CovarSamp ? sxy : sxx) / (n - 1);
                break;
            case Stat::Variance:
            case Stat::Stddev:
                r = one ? 0 : sxx / (n - 1);
                break;
            case Stat::VarPop:
            case Stat::StddevPop:
                r = sxx / n;
                break;
            case Stat::CovarPop:
                r = sxy / n;
                break;
            case Stat::Corr:
                if (sxx == 0 || syy == 0) return sqlite3_result_null(ctx);
                r = sxy / std::sqrt(sxx * syy);
                break;
        }
        if (S == Stat::StddevSamp || S == Stat::StddevPop || S == Stat::Stddev) r = std::sqrt(r);
        resultReal(ctx, static_cast<double>(r));
    });
}


// MEDIAN and ORA$PERCENTILE keep the values. ORA$PERCENTILE(p, 'C' | 'D', 'A' | 'D', x) is
// PERCENTILE_CONT (interpolating) or PERCENTILE_DISC (the first value whose cumulative
// distribution reaches p) over x in ascending or descending order; MEDIAN is
// PERCENTILE_CONT(0.5) ascending.
struct Percentile {
    double p = 0.5;
    bool discrete = false, descending = false;
    std::vector<double> values;
};

Percentile** percentileSlot(sqlite3_context* ctx, bool create) {
    return static_cast<Percentile**>(
        sqlite3_aggregate_context(ctx, create ? sizeof(Percentile*) : 0));
}

[[noreturn]] void percentileOutOfRange() { raise(ora::kPercentileOutOfRange); }

// The collected state, made at the group's first row (the arguments before x set it).
Percentile* percentileOf(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    Percentile** slot = percentileSlot(ctx, true);
    if (!slot) return nullptr;
    if (!*slot) {
        auto state = std::make_unique<Percentile>();
        if (argc == 4) {
            if (sqlite3_value_type(argv[0]) == SQLITE_NULL) percentileOutOfRange();
            state->p = numeric(argv[0]);
            if (!(state->p >= 0 && state->p <= 1)) percentileOutOfRange();
            state->discrete = valueText(argv[1]) == "D";
            state->descending = valueText(argv[2]) == "D";
        }
        *slot = state.release();  // freed by percentileFinal
    }
    return *slot;
}

void percentileStep(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        Percentile* state = percentileOf(ctx, argc, argv);
        if (!state) return sqlite3_result_error_nomem(ctx);
        sqlite3_value* x = argv[argc - 1];
        if (sqlite3_value_type(x) == SQLITE_NULL) return;
        state->values.push_back(numeric(x));
    });
}

void percentileInverse(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        sqlite3_value* x = argv[argc - 1];
        Percentile** slot = percentileSlot(ctx, false);
        if (!slot || !*slot || sqlite3_value_type(x) == SQLITE_NULL) return;
        std::vector<double>& list = (*slot)->values;
        const auto it = std::find(list.begin(), list.end(), numeric(x));
        if (it != list.end()) list.erase(it);
    });
}

void percentileValue(sqlite3_context* ctx) {
    Percentile** slot = percentileSlot(ctx, false);
    if (!slot || !*slot || (*slot)->values.empty()) return sqlite3_result_null(ctx);
    const Percentile& state = **slot;
    std::vector<double> sorted(state.values);
    std::sort(sorted.begin(), sorted.end());
    if (state.descending) std::reverse(sorted.begin(), sorted.end());
    const double n = static_cast<double>(sorted.size());
    double m = 0;
    if (state.discrete) {
        const double position = std::ceil(state.p * n);
        m = sorted[position < 1 ? 0 : static_cast<std::size_t>(position) - 1];
    } else {
        const double row = state.p * (n - 1);  // the row number less one
        const double lo = std::floor(row), hi = std::ceil(row);
        const double a = sorted[static_cast<std::size_t>(lo)];
        const double b = sorted[static_cast<std::size_t>(hi)];
        m = lo == hi ? a : (hi - row) * a + (row - lo) * b;
    }
    guardedSql(ctx, [&] { resultReal(ctx, m); });
}

void percentileFinal(sqlite3_context* ctx) {
    percentileValue(ctx);
    Percentile** slot = percentileSlot(ctx, false);
    if (!slot) return;
    delete *slot;
    *slot = nullptr;
}


}  // namespace

void rewritePercentiles(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        const bool cont = e.word(i, "PERCENTILE_CONT");
        if (!cont && !e.word(i, "PERCENTILE_DISC")) continue;
        WithinGroup w;
        if (!withinGroupAt(e, i, w)) continue;
        // One key; NULLs are left out either way.
        const bool descending = takeKeyDirections(e, w.by + 1, w.groupClose)[0] == 'D';
        e[i].text = kOraPercentile;
        e[w.close].text =
            std::string(", '") + (cont ? "C" : "D") + "', '" + (descending ? "D" : "A") + "', ";
        e.erase(w.within, w.by + 1);
    }
}

namespace {

const FunctionRow kRows[] = {
    {"VARIANCE", 1, 1, nullptr, "NUMBER", true, step, value<Stat::Variance>, value<Stat::Variance>, inverse},
    {"VAR_SAMP", 1, 1, nullptr, "NUMBER", true, step, value<Stat::VarSamp>, value<Stat::VarSamp>, inverse},
    {"VAR_POP", 1, 1, nullptr, "NUMBER", true, step, value<Stat::VarPop>, value<Stat::VarPop>, inverse},
    {"STDDEV", 1, 1, nullptr, "NUMBER", true, step, value<Stat::Stddev>, value<Stat::Stddev>, inverse},
    {"STDDEV_SAMP", 1, 1, nullptr, "NUMBER", true, step, value<Stat::StddevSamp>, value<Stat::StddevSamp>, inverse},
    {"STDDEV_POP", 1, 1, nullptr, "NUMBER", true, step, value<Stat::StddevPop>, value<Stat::StddevPop>, inverse},
    {"COVAR_POP", 2, 2, nullptr, "NUMBER", true, step, value<Stat::CovarPop>, value<Stat::CovarPop>, inverse},
    {"COVAR_SAMP", 2, 2, nullptr, "NUMBER", true, step, value<Stat::CovarSamp>, value<Stat::CovarSamp>, inverse},
    {"CORR", 2, 2, nullptr, "NUMBER", true, step, value<Stat::Corr>, value<Stat::Corr>, inverse},
    {"MEDIAN", 1, 1, nullptr, "NUMBER", true, percentileStep, percentileFinal, percentileValue,
     percentileInverse},
    {kOraPercentile, 4, 4, nullptr, nullptr, true, percentileStep, percentileFinal, percentileValue,
     percentileInverse},
};

}  // namespace

const FunctionFamily kStatisticalAggregates{kRows};

}  // namespace detail
}  // namespace kavexdb
