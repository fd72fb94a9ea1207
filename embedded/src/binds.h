// The values bound to a statement's parameters, per iteration, and how they reach SQLite.
//
// For each parameter index and iteration the value used is, in order: the value a setter bound
// in that iteration; the caller's data buffer (read at execute time); the value used in the
// previous iteration. A buffer thus holds one value for every iteration that bound nothing else.
#ifndef KAVEXDB_BINDS_H
#define KAVEXDB_BINDS_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "detail.h"

namespace kavexdb {
namespace detail {

struct BindValue {
    enum class Kind { Unset, Null, Integer, Real, Text, Blob, Lob };
    Kind kind = Kind::Unset;
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes;                 // Text (storage form) and Blob
    std::shared_ptr<LobContent> lob;   // Lob: bound as it is at execute time

    static BindValue null() { BindValue v; v.kind = Kind::Null; return v; }
};

// A bound value as SQLite receives it: bytes point into storage that stays put while the
// statement runs.
struct BindView {
    BindValue::Kind kind = BindValue::Kind::Unset;
    std::int64_t integer = 0;
    double real = 0;
    const char* data = nullptr;  // Text and Blob
    std::size_t size = 0;
    const LobContent* lob = nullptr;  // Lob
};
BindView viewOf(const BindValue& value);

// A caller's buffer bound with setDataBuffer; its cells are read at execute time.
struct DataBuffer {
    void* data = nullptr;
    occi::Type type = occi::OCCI_SQLT_STR;
    sb4 size = 0;
    ub2* length16 = nullptr;
    ub4* length32 = nullptr;
    sb2* indicator = nullptr;

    BindValue read(Charset charset) const;
};

class BindSet {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

public:
    // ORA-32109 for index 0.
    static void checkIndex(unsigned index);

    void setMaxIterations(unsigned n);
    unsigned maxIterations() const { return maxIterations_; }
    void setMaxParamSize(unsigned index, unsigned size);
    // ORA-32109-style refusal past the declared maximum.
    void addIteration();
    unsigned iterations() const { return iterations_; }

    void set(unsigned index, BindValue value);
    void setInteger(unsigned index, std::int64_t value);
    void setReal(unsigned index, double value);
    // Variable-length text: in iterative mode it needs setMaxParamSize first (ORA-32108) and
    // must fit in it (ORA-01461).
    void setText(unsigned index, const std::string& storageText);
    void setBuffer(unsigned index, const DataBuffer& buffer);

    unsigned highestIndex() const;
    // The value of one parameter in one iteration (0-based) of the run that begins; Unset when
    // nothing was ever bound to it. Call for iterations in order. The view stays valid until
    // the next call for the same parameter or the next change of the set.
    BindView resolve(unsigned index, unsigned iteration, Charset charset);
    // After an execution: one iteration again; each parameter keeps its buffer and the value
    // a setter gave it last, so running again without new binds repeats the last values.
    void finishExecution();

private:
    // One iteration's value, kept compact: array DML stores one per row and parameter.
    struct Slot {
        BindValue::Kind kind = BindValue::Kind::Unset;
        std::uint32_t length = 0;  // Text and Blob
        union {
            std::int64_t integer;
            double real;
            std::uint64_t offset;  // Text and Blob: into arena; Lob: into lobs
        } u = {0};
    };
    struct Param {
        std::vector<Slot> slots;  // by iteration
        std::string arena;        // the bytes of Text and Blob slots
        std::vector<std::shared_ptr<LobContent>> lobs;
        bool hasBuffer = false;
        DataBuffer buffer;
        bool hasMaxSize = false;
        unsigned maxSize = 0;
        BindValue carried;  // the last value a setter gave in earlier executions
        std::size_t lastSet = kNone;  // iteration of this run whose setter value is in force
        BindValue scratch;  // the buffer's value read for the current iteration

        BindView view(const Slot& slot) const;
        BindValue materialize(const Slot& slot) const;
    };
    Param& param(unsigned index);
    // The current iteration's slot of p, made when missing.
    Slot& slot(Param& p);

    std::map<unsigned, Param> params_;
    std::vector<Param*> byIndex_;  // params_ by index, null where none: setters look up once
    unsigned maxIterations_ = 1;
    unsigned iterations_ = 1;
};

// Binds one value to an SQLite parameter. With SQLITE_STATIC nothing is copied and the value
// (or the LOB content it refers to) must outlive the statement's use of it.
int bindToSqlite(sqlite3_stmt* stmt, int index, const BindView& value,
                 sqlite3_destructor_type lifetime);

}  // namespace detail
}  // namespace kavexdb

#endif
