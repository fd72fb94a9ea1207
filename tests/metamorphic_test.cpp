// Metamorphic checks of the embedded database's queries, in the manner of SQLancer: a random
// condition over a random table must select the same rows however the query is written —
// partitioned into the rows where it is TRUE, FALSE and unknown (TLP), counted in the select
// list instead of filtered (NoREC), through an inline view, a WITH query, a top-N wrapping, and
// with its literals bound instead of written. Seeded (KAVEX_METAMORPHIC_SEED, a fixed seed
// otherwise) and bounded: a fixed number of conditions, each check a handful of queries.
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "flat_host.h"

namespace {

using flathost::errorText;

// A literal of a condition: how it is written, and how it is bound instead.
struct Literal {
    enum class Kind { Number, Text, Date } kind;
    std::string written;  // 7, 'ab', DATE '2024-03-01'
    int number = 0;
    std::string text;  // Text: the value; Date: YYYY-MM-DD
};

struct Condition {
    std::string sql;                 // with its literals written
    std::string bound;               // with :1, :2, ... in their places
    std::vector<Literal> literals;  // in the order of the placeholders
};

class Generator {
  public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    // The rows of table t: id, n NUMBER(4), m NUMBER(6,2), v VARCHAR2(6), d DATE, NULL among them.
    std::vector<std::string> rows(int count) {
        std::vector<std::string> out;
        for (int id = 1; id <= count; ++id) {
            const std::string n = pick(5) == 0 ? "NULL" : std::to_string(pick(21) - 10);
            const std::string m = pick(5) == 0 ? "NULL" : std::to_string(pick(2001) - 1000) + ".25";
            static const char* const texts[] = {"'a'", "'ab'", "'b'", "' a '", "'7'", "'12'",
                                                "'A'", "'abc'", "NULL", "' '"};
            const std::string v = texts[pick(10)];
            const std::string d = pick(5) == 0 ? "NULL"
                                                : "DATE '2024-02-" + twoDigits(pick(28) + 1) + "'";
            out.push_back("insert into t values (" + std::to_string(id) + ", " + n + ", " + m +
                          ", " + v + ", " + d + ")");
        }
        return out;
    }

    Condition condition(int depth = 0) {
        Condition c;
        if (depth < 2 && pick(3) == 0) {
            Condition a = condition(depth + 1), b = condition(depth + 1);
            const char* op = pick(2) == 0 ? " AND " : " OR ";
            c.sql = "(" + a.sql + op + b.sql + ")";
            c.literals = a.literals;
            c.bound = "(" + a.bound + op + renumber(b.bound, a.literals.size()) + ")";
            c.literals.insert(c.literals.end(), b.literals.begin(), b.literals.end());
            return c;
        }
        if (depth < 2 && pick(6) == 0) {
            Condition a = condition(depth + 1);
            a.sql = "NOT (" + a.sql + ")";
            a.bound = "NOT (" + a.bound + ")";
            return a;
        }
        switch (pick(20)) {
        case 12: return compare("COALESCE(m, n)", c, number(500));
        case 13: return compare("MOD(n, 3)", c, number(2));
        case 14: return compare("ABS(n) - 1", c, number(5));
        case 15: return compare("ROUND(m / 7)", c, number(100));
        case 16: return compare("ADD_MONTHS(d, 1)", c, date());
        case 17: return compare("DECODE(n, 1, 'ab', 2, 'b', v)", c, text());
        case 18: return compare("SUBSTR(v, 1, 1)", c, text());
        case 19: {
            c.sql = "UPPER(v) LIKE 'A%'";
            c.bound = c.sql;
            return c;
        }
        case 0: return compare("n + " + slot(c, number(3)), c, number(5));
        case 1: return compare("NVL(n, " + slot(c, number(3)) + ")", c, number(5));
        case 2: return compare("m / 4", c, number(300));
        case 3: return compare("v || 'x'", c, text());
        case 4: return compare("TRIM(v)", c, text());
        case 5: return compare("d + " + slot(c, number(3)), c, date());
        case 6: return compare("d - DATE '2024-02-10'", c, number(10));
        case 7: return compare("LENGTH(v)", c, number(3));
        case 8: return compare("GREATEST(n, " + slot(c, number(4)) + ")", c, number(5));
        case 9: return compare("CASE WHEN n > 0 THEN m ELSE n END", c, number(50));
        case 10: {
            c.sql = "TRIM(v) IS " + std::string(pick(2) ? "NOT " : "") + "NULL";
            c.bound = c.sql;
            return c;
        }
        default: {
            Literal low = number(5), high = number(8);
            c.literals = {low, high};
            c.sql = "n BETWEEN " + low.written + " AND " + high.written;
            c.bound = "n BETWEEN :1 AND :2";
            return c;
        }
        }
    }

  private:
    static std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

    Literal number(int range) {
        const int n = pick(2 * range + 1) - range;
        return Literal{Literal::Kind::Number, n < 0 ? "(" + std::to_string(n) + ")" : std::to_string(n),
                       n, ""};
    }
    Literal text() {
        static const char* const texts[] = {"a", "ab", "b", "ax", "abx", "A", "7x", "c"};
        const std::string t = texts[pick(8)];
        return Literal{Literal::Kind::Text, "'" + t + "'", 0, t};
    }
    Literal date() {
        const std::string day = "2024-02-" + twoDigits(pick(28) + 1);
        return Literal{Literal::Kind::Date, "DATE '" + day + "'", 0, day};
    }

    // Writes a literal into the condition being built; returns its written form.
    std::string slot(Condition& c, const Literal& l) {
        c.literals.push_back(l);
        pendingBound_.push_back(":" + std::to_string(c.literals.size()));
        return l.written;
    }

    Condition compare(const std::string& left, Condition& c, const Literal& right) {
        static const char* const ops[] = {" = ", " <> ", " < ", " <= ", " > ", " >= "};
        const std::string op = ops[pick(6)];
        std::string bound = left;
        // The left side's literals, in order, become placeholders too.
        for (std::size_t k = 0; k < pendingBound_.size(); ++k) {
            const std::string& written = c.literals[k].written;
            bound.replace(bound.find(written), written.size(), pendingBound_[k]);
        }
        pendingBound_.clear();
        c.literals.push_back(right);
        c.sql = left + op + right.written;
        c.bound = bound + op + ":" + std::to_string(c.literals.size()) +
                  (right.kind == Literal::Kind::Date ? "" : "");
        return c;
    }

    // Placeholders :k of text shifted by offset.
    static std::string renumber(const std::string& text, std::size_t offset) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ':' && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
                std::size_t j = i + 1;
                while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
                out += ":" + std::to_string(std::stoul(text.substr(i + 1, j - i - 1)) + offset);
                i = j - 1;
            } else {
                out += text[i];
            }
        }
        return out;
    }

    std::mt19937 random_;
    std::vector<std::string> pendingBound_;
};

class Metamorphic : public FlatSession {
  protected:
    // The first column of a one-row query, or the failure's text.
    std::string single(const std::string& sql) {
        const int rc = ExecuteQuery(id, sql.c_str(), 1);
        if (rc < 0) return "error: " + errorText(rc);
        if (NextRow(id) != 1) return "no row";
        return text(0).value_or("NULL");
    }

    // The same with the condition's literals bound: numbers with SetInt, texts with SetString,
    // dates as DATE literals' texts through TO_DATE.
    std::string bound(const std::string& sql, const Condition& c) {
        if (PrepareQuery(id, sql.c_str(), 1) != 0) return "error: " + errorText(-1);
        for (std::size_t k = 0; k < c.literals.size(); ++k) {
            const Literal& l = c.literals[k];
            const int index = static_cast<int>(k) + 1;
            const int rc = l.kind == Literal::Kind::Number
                               ? SetInt(id, index, l.number, 0)
                               : l.kind == Literal::Kind::Text
                                     ? SetString(id, index, l.text.c_str(), 0)
                                     : SetTimestamp(id, index, std::stoi(l.text.substr(0, 4)),
                                                    static_cast<unsigned>(std::stoi(l.text.substr(5, 2))),
                                                    static_cast<unsigned>(std::stoi(l.text.substr(8, 2))),
                                                    0, 0, 0, 0, 0, 0, 0);
            if (rc != 0) return "error: " + errorText(rc);
        }
        const int rc = Execute(id);
        if (rc < 0) return "error: " + errorText(rc);
        if (NextRow(id) != 1) return "no row";
        return text(0).value_or("NULL");
    }
};

TEST_F(Metamorphic, EquivalentFormsOfAQuerySelectTheSameRows) {
    const char* seedText = std::getenv("KAVEX_METAMORPHIC_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : 20261210u;
    Generator g(seed);
    run("create table t (id number(4), n number(4), m number(6,2), v varchar2(6), d date)");
    for (const std::string& insert : g.rows(60)) run(insert);
    const std::string all = single("select to_char(count(*)) from t");
    ASSERT_EQ(all, "60");
    int checked = 0;
    for (int round = 0; round < 300; ++round) {
        const Condition c = g.condition();
        const std::string p = c.sql;
        const std::string where = single("select to_char(count(*)) from t where " + p);
        if (where.rfind("error", 0) == 0) {
            ADD_FAILURE() << "seed " << seed << ": " << p << ": " << where;
            continue;
        }
        // TLP: TRUE, FALSE and unknown partition the rows.
        const std::string partitions = single(
            "select to_char(count(case when " + p + " then 1 end) + count(case when not (" + p +
            ") then 1 end) + count(case when " + p + " then null when not (" + p +
            ") then null else 1 end)) from t");
        EXPECT_EQ(partitions, all) << "seed " << seed << " TLP: " << p;
        // NoREC: filtering and counting agree.
        EXPECT_EQ(single("select to_char(sum(case when " + p + " then 1 else 0 end)) from t"), where)
            << "seed " << seed << " NoREC: " << p;
        EXPECT_EQ(single("select to_char(count(*)) from (select * from t) where " + p), where)
            << "seed " << seed << " inline view: " << p;
        EXPECT_EQ(single("select to_char(count(*)) from (select * from t where " + p + ")"), where)
            << "seed " << seed << " condition inside an inline view: " << p;
        EXPECT_EQ(single("with w as (select * from t where " + p + ") select to_char(count(*)) from w"),
                  where)
            << "seed " << seed << " WITH: " << p;
        EXPECT_EQ(single("select to_char(count(*)) from (select * from (select * from t where " + p +
                         " order by id) where rownum <= 1000)"),
                  where)
            << "seed " << seed << " top-N: " << p;
        EXPECT_EQ(single("select to_char(count(*)) from (select id from t where " + p +
                         " order by id fetch first 1000 rows only)"),
                  where)
            << "seed " << seed << " FETCH FIRST: " << p;
        // The rows of each partition, put together, are all the rows, duplicates kept.
        EXPECT_EQ(single("select to_char(count(*)) from (select id from t where " + p +
                         " union all select id from t where not (" + p +
                         ") union all select id from t where case when " + p + " then 0 when not (" + p +
                         ") then 0 else 1 end = 1)"),
                  all)
            << "seed " << seed << " UNION ALL of the partitions: " << p;
        EXPECT_EQ(single("select to_char(count(*)) from (select distinct id from t where " + p + ")"),
                  single("select to_char(count(*)) from (select id from t where " + p +
                         " group by id)"))
            << "seed " << seed << " DISTINCT vs GROUP BY: " << p;
        EXPECT_EQ(bound("select to_char(count(*)) from t where " + c.bound, c), where)
            << "seed " << seed << " binds: " << c.bound << " for " << p;
        ++checked;
    }
    EXPECT_GT(checked, 250);
}

}  // namespace
