// Oracle's statistical aggregates, also usable as analytic functions (OVER): VARIANCE, VAR_SAMP,
// VAR_POP, STDDEV, STDDEV_SAMP, STDDEV_POP over one argument, COVAR_POP, COVAR_SAMP and CORR
// over pairs (rows where either is NULL do not count), and MEDIAN. NULLs are ignored; an empty
// set gives NULL. VARIANCE and STDDEV give 0 for one row where the _SAMP forms give NULL, as
// Oracle documents. Results are binary floating point, kept to 15 significant digits.
#include "statistical_aggregates.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "detail.h"
#include "sql_values.h"

namespace kavexdb {
namespace detail {

namespace {

// Sums of the rows counted so far; SQLite hands the state over zero-filled.
struct Moments {
    long long n;
    long double x, y, xx, yy, xy;
};

double numeric(sqlite3_value* v) { return numberToDouble(numberArg(v)); }

void accumulate(sqlite3_context* ctx, int argc, sqlite3_value** argv, int direction) {
    guardedSql(ctx, [&] {
        for (int i = 0; i < argc; ++i)
            if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;
        auto* m = static_cast<Moments*>(sqlite3_aggregate_context(ctx, sizeof(Moments)));
        if (!m) return sqlite3_result_error_nomem(ctx);
        const long double x = numeric(argv[0]);
        const long double y = argc > 1 ? numeric(argv[1]) : x;
        m->n += direction;
        m->x += direction * x;
        m->y += direction * y;
        m->xx += direction * x * x;
        m->yy += direction * y * y;
        m->xy += direction * x * y;
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

template <Stat S>
void value(sqlite3_context* ctx) {
    guardedSql(ctx, [&] {
        const auto* m = static_cast<const Moments*>(sqlite3_aggregate_context(ctx, 0));
        if (!m || m->n <= 0) return sqlite3_result_null(ctx);
        const long double n = static_cast<long double>(m->n);
        const long double sxx = std::max<long double>(0, deviations(*m, m->x, m->x, m->xx));
        const long double syy = std::max<long double>(0, deviations(*m, m->y, m->y, m->yy));
        const long double sxy = deviations(*m, m->x, m->y, m->xy);
        const bool one = m->n == 1;
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

template <Stat S>
void define(sqlite3* db, const char* name, int args) {
    const int rc =
        sqlite3_create_window_function(db, name, args, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                       step, value<S>, value<S>, inverse, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

// MEDIAN keeps the values; the middle one, or the mean of the middle two (PERCENTILE_CONT(0.5)).
struct Values {
    std::vector<double>* list;
};

std::vector<double>*& listOf(sqlite3_context* ctx, bool create) {
    static std::vector<double>* none = nullptr;
    auto* v = static_cast<Values*>(sqlite3_aggregate_context(ctx, create ? sizeof(Values) : 0));
    if (!v) return none;
    if (!v->list && create) v->list = new std::vector<double>();  // freed by medianFinal
    return v->list;
}

void medianStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
        const double x = numeric(argv[0]);
        std::vector<double>* list = listOf(ctx, true);
        if (!list) return sqlite3_result_error_nomem(ctx);
        list->push_back(x);
    });
}

void medianInverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
        const double x = numeric(argv[0]);
        std::vector<double>* list = listOf(ctx, false);
        if (!list) return;
        const auto it = std::find(list->begin(), list->end(), x);
        if (it != list->end()) list->erase(it);
    });
}

void medianValue(sqlite3_context* ctx) {
    std::vector<double>* list = listOf(ctx, false);
    if (!list || list->empty()) return sqlite3_result_null(ctx);
    std::vector<double> sorted(*list);
    std::sort(sorted.begin(), sorted.end());
    const std::size_t mid = sorted.size() / 2;
    const double m = sorted.size() % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
    guardedSql(ctx, [&] { resultReal(ctx, m); });
}

void medianFinal(sqlite3_context* ctx) {
    medianValue(ctx);
    std::vector<double>*& list = listOf(ctx, false);
    delete list;
    list = nullptr;
}

}  // namespace

void registerStatisticalAggregates(sqlite3* db) {
    define<Stat::Variance>(db, "VARIANCE", 1);
    define<Stat::VarSamp>(db, "VAR_SAMP", 1);
    define<Stat::VarPop>(db, "VAR_POP", 1);
    define<Stat::Stddev>(db, "STDDEV", 1);
    define<Stat::StddevSamp>(db, "STDDEV_SAMP", 1);
    define<Stat::StddevPop>(db, "STDDEV_POP", 1);
    define<Stat::CovarPop>(db, "COVAR_POP", 2);
    define<Stat::CovarSamp>(db, "COVAR_SAMP", 2);
    define<Stat::Corr>(db, "CORR", 2);
    const int rc = sqlite3_create_window_function(
        db, "MEDIAN", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, medianStep, medianFinal,
        medianValue, medianInverse, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
