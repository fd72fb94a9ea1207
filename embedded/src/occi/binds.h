// The values bound to a statement's parameters, per iteration, and how they reach SQLite.
//
// For each parameter index and iteration the value used is, in order: the value a setter bound
// in that iteration; the caller's data buffer (read at execute time); the value used in the
// previous iteration. A buffer thus holds one value for every iteration that bound nothing else.
#ifndef KAVEXDB_OCCI_BINDS_H
#define KAVEXDB_OCCI_BINDS_H

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <sqlite3.h>

#include "base/bulk_allocator.h"
#include "base/charset.h"
#include "storage/bind_value.h"
#include "storage/lob_content.h"

namespace kavexdb {
namespace detail {

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
    struct Param;

public:
    // ORA-32109 for index 0.
    static void checkIndex(unsigned index);

    void setMaxIterations(unsigned n);
    unsigned maxIterations() const { return maxIterations_; }
    void setMaxParamSize(unsigned index, unsigned size);
    // What setMaxParamSize gave the parameter; 0 when nothing did.
    unsigned maxParamSize(unsigned index) const;
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
    // Whether the value the coming run gives parameter index first is a number (an integer or a
    // double, from a setter or a buffer).
    bool isNumber(unsigned index, Charset charset) const;

    // One parameter's values across the iterations of the run that begins, looked up once.
    class Column {
    public:
        // The value of one iteration (0-based); Unset when nothing was ever bound to the
        // parameter. Call for iterations in order. The view stays valid until the next call
        // for the same parameter or the next change of the set.
        BindView at(unsigned iteration, Charset charset);

    private:
        friend class BindSet;
        explicit Column(Param* param) : p_(param) {}
        BindView notSetAt(unsigned iteration, Charset charset);
        Param* p_;
    };
    Column column(unsigned index);
    // column(index).at(iteration, charset).
    BindView resolve(unsigned index, unsigned iteration, Charset charset) {
        return column(index).at(iteration, charset);
    }
    // After an execution: one iteration again; each parameter keeps its buffer and the value
    // a setter gave it last, so running again without new binds repeats the last values.
    void finishExecution();

private:
    // The bytes of Text and Blob values, each stored as its 32-bit length and then the bytes,
    // in blocks that never move: a stored value keeps its address until clear(). Blocks are
    // kept for the next execution.
    class ByteStore {
    public:
        const char* add(const char* data, std::uint32_t size) {
            const std::size_t need = sizeof size + size;
            if (room_ < need) open(need);
            char* stored = end_;
            std::memcpy(stored, &size, sizeof size);
            std::memcpy(stored + sizeof size, data, size);
            end_ += need;
            room_ -= need;
            return stored;
        }
        void clear();

    private:
        // Makes the next block with room for need bytes the one that add() fills.
        void open(std::size_t need);

        std::vector<BulkBlock> blocks_;
        std::size_t opened_ = 0;  // blocks_[0, opened_) hold values
        char* end_ = nullptr;     // where the next value goes, room_ bytes before the block ends
        std::size_t room_ = 0;
    };

    // One parameter's values, by iteration, a column each: array DML stores one per row and
    // parameter, so they are kept compact (a kind and 8 bytes).
    struct Param {
        // Unset where no setter gave a value.
        std::vector<BindValue::Kind, BulkAllocator<BindValue::Kind>> kinds;
        // Integer, Real (its bits), Text and Blob (the address in bytes), Lob (its index in lobs).
        std::vector<std::uint64_t, BulkAllocator<std::uint64_t>> values;
        ByteStore bytes;
        std::vector<std::shared_ptr<LobContent>> lobs;
        bool hasBuffer = false;
        DataBuffer buffer;
        bool hasMaxSize = false;
        unsigned maxSize = 0;
        BindValue carried;  // the last value a setter gave in earlier executions
        std::size_t lastSet = kNone;  // iteration of this run whose setter value is in force
        BindValue scratch;  // the buffer's value read for the current iteration

        BindView view(std::size_t iteration) const;
        BindValue materialize(std::size_t iteration) const;
    };
    Param& param(unsigned index);
    // Stores kind and value as p's value of the current iteration.
    void put(Param& p, BindValue::Kind kind, std::uint64_t value);
    void putBytes(Param& p, BindValue::Kind kind, const char* data, std::size_t size);

    std::map<unsigned, Param> params_;
    std::vector<Param*> byIndex_;  // params_ by index, null where none: setters look up once
    unsigned maxIterations_ = 1;
    unsigned iterations_ = 1;
};

inline BindView BindSet::Param::view(std::size_t iteration) const {
    BindView v;
    v.kind = kinds[iteration];
    const std::uint64_t value = values[iteration];
    switch (v.kind) {
    case BindValue::Kind::Integer: v.integer = static_cast<std::int64_t>(value); break;
    case BindValue::Kind::Real: std::memcpy(&v.real, &value, sizeof v.real); break;
    case BindValue::Kind::Text:
    case BindValue::Kind::Blob: {
        const char* stored = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(value));
        std::uint32_t size;
        std::memcpy(&size, stored, sizeof size);
        v.data = stored + sizeof size;
        v.size = size;
        break;
    }
    case BindValue::Kind::Lob: v.lob = lobs[value].get(); break;
    default: break;
    }
    return v;
}

inline BindView BindSet::Column::at(unsigned iteration, Charset charset) {
    if (p_ && iteration < p_->kinds.size() && p_->kinds[iteration] != BindValue::Kind::Unset) {
        p_->lastSet = iteration;
        return p_->view(iteration);
    }
    return notSetAt(iteration, charset);
}


}  // namespace detail
}  // namespace kavexdb

#endif
