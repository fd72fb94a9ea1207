#include "binds.h"

#include <cstdint>
#include <cstring>

namespace kavexdb {
namespace detail {

namespace {

std::int64_t readInteger(const void* data, sb4 size) {
    switch (size) {
    case 1: return *static_cast<const std::int8_t*>(data);
    case 2: { std::int16_t v; std::memcpy(&v, data, 2); return v; }
    case 4: { std::int32_t v; std::memcpy(&v, data, 4); return v; }
    case 8: { std::int64_t v; std::memcpy(&v, data, 8); return v; }
    default: raise(3115, "unsupported network datatype or representation");
    }
}

double readReal(const void* data, sb4 size) {
    if (size == sizeof(float)) { float v; std::memcpy(&v, data, sizeof v); return v; }
    if (size == sizeof(double)) { double v; std::memcpy(&v, data, sizeof v); return v; }
    raise(3115, "unsupported network datatype or representation");
}

}  // namespace

BindValue DataBuffer::read(Charset charset) const {
    if ((indicator && *indicator == -1) || !data || size <= 0) return BindValue::null();
    std::size_t capacity = static_cast<std::size_t>(size);
    std::size_t given = length16 ? *length16 : length32 ? *length32 : capacity;
    if (given > capacity) given = capacity;  // never past the cells the caller gave
    const char* bytes = static_cast<const char*>(data);
    BindValue v;
    switch (type) {
    case occi::OCCI_SQLT_STR:
        v.kind = BindValue::Kind::Text;
        v.bytes = toStorage(std::string(bytes, strnlen(bytes, capacity)), charset);
        break;
    case occi::OCCI_SQLT_CHR:
    case occi::OCCI_SQLT_AFC:
    case occi::OCCI_SQLT_AVC:
    case occi::OCCI_SQLT_LNG:
    case occi::OCCICHAR:
        v.kind = BindValue::Kind::Text;
        v.bytes = toStorage(std::string(bytes, given), charset);
        break;
    case occi::OCCI_SQLT_BIN:
    case occi::OCCI_SQLT_LBI:
        v.kind = BindValue::Kind::Blob;
        v.bytes.assign(bytes, given);
        break;
    case occi::OCCIINT:
        v.kind = BindValue::Kind::Integer;
        v.integer = readInteger(data, size);
        break;
    case occi::OCCIFLOAT:
    case occi::OCCIBFLOAT:
    case occi::OCCIBDOUBLE:
    case occi::OCCIDOUBLE:
        v.kind = BindValue::Kind::Real;
        v.real = readReal(data, size);
        break;
    default:
        raise(3115, "unsupported network datatype or representation");
    }
    // Oracle has no empty strings: an empty text or RAW is NULL.
    if ((v.kind == BindValue::Kind::Text || v.kind == BindValue::Kind::Blob) && v.bytes.empty())
        return BindValue::null();
    return v;
}

void BindSet::checkIndex(unsigned index) {
    if (index == 0) raise(32109, "invalid column or parameter position");
}

BindSet::Param& BindSet::param(unsigned index) {
    if (index < byIndex_.size() && byIndex_[index]) return *byIndex_[index];
    checkIndex(index);
    Param& p = params_[index];
    if (index < 1024) {  // map nodes stay put: the pointer stays valid
        if (byIndex_.size() <= index) byIndex_.resize(index + 1, nullptr);
        byIndex_[index] = &p;
    }
    return p;
}

BindSet::Slot& BindSet::slot(Param& p) {
    if (p.slots.size() < iterations_) {
        if (p.slots.capacity() < maxIterations_) p.slots.reserve(maxIterations_);
        p.slots.resize(iterations_);
    }
    return p.slots[iterations_ - 1];
}

void BindSet::setMaxIterations(unsigned n) {
    if (n == 0) raise(24333, "zero iteration count");
    if (n < iterations_) raise(32103, "error from OCCI call: fewer iterations than added");
    maxIterations_ = n;
}

void BindSet::setMaxParamSize(unsigned index, unsigned size) {
    Param& p = param(index);
    p.hasMaxSize = true;
    p.maxSize = size;
}

void BindSet::addIteration() {
    if (iterations_ >= maxIterations_)
        raise(32103, "error from OCCI call: more iterations added than setMaxIterations allows");
    ++iterations_;
}

void BindSet::setInteger(unsigned index, std::int64_t value) {
    Slot& s = slot(param(index));
    s.kind = BindValue::Kind::Integer;
    s.length = 0;
    s.u.integer = value;
}

void BindSet::setReal(unsigned index, double value) {
    Slot& s = slot(param(index));
    s.kind = BindValue::Kind::Real;
    s.length = 0;
    s.u.real = value;
}

void BindSet::set(unsigned index, BindValue value) {
    Param& p = param(index);
    Slot& slot = this->slot(p);
    slot.kind = value.kind;
    slot.length = 0;
    switch (value.kind) {
    case BindValue::Kind::Integer:
        slot.u.integer = value.integer;
        break;
    case BindValue::Kind::Real:
        slot.u.real = value.real;
        break;
    case BindValue::Kind::Text:
    case BindValue::Kind::Blob:
        if (value.bytes.size() > UINT32_MAX)
            raise(1461, "can bind a LONG value only for insert into a LONG column");
        slot.u.offset = p.arena.size();
        slot.length = static_cast<std::uint32_t>(value.bytes.size());
        p.arena += value.bytes;
        break;
    case BindValue::Kind::Lob:
        slot.u.offset = p.lobs.size();
        p.lobs.push_back(std::move(value.lob));
        break;
    default:
        slot.u.integer = 0;
        break;
    }
}

void BindSet::setText(unsigned index, const std::string& storageText) {
    Param& p = param(index);
    if (maxIterations_ > 1) {
        if (!p.hasMaxSize) raise(32108, "max column or parameter size not specified");
        if (storageText.size() > p.maxSize)
            raise(1461, "can bind a LONG value only for insert into a LONG column");
    }
    if (storageText.size() > UINT32_MAX)
        raise(1461, "can bind a LONG value only for insert into a LONG column");
    Slot& s = slot(p);
    s.length = 0;
    s.u.integer = 0;
    if (storageText.empty()) {
        s.kind = BindValue::Kind::Null;  // Oracle stores an empty string as NULL
        return;
    }
    s.kind = BindValue::Kind::Text;
    s.u.offset = p.arena.size();
    s.length = static_cast<std::uint32_t>(storageText.size());
    p.arena += storageText;
}

void BindSet::setBuffer(unsigned index, const DataBuffer& buffer) {
    Param& p = param(index);
    p.hasBuffer = true;
    p.buffer = buffer;
}

unsigned BindSet::highestIndex() const { return params_.empty() ? 0 : params_.rbegin()->first; }

BindView BindSet::Param::view(const Slot& slot) const {
    BindView v;
    v.kind = slot.kind;
    switch (slot.kind) {
    case BindValue::Kind::Integer: v.integer = slot.u.integer; break;
    case BindValue::Kind::Real: v.real = slot.u.real; break;
    case BindValue::Kind::Text:
    case BindValue::Kind::Blob:
        v.data = arena.data() + slot.u.offset;
        v.size = slot.length;
        break;
    case BindValue::Kind::Lob: v.lob = lobs[slot.u.offset].get(); break;
    default: break;
    }
    return v;
}

BindValue BindSet::Param::materialize(const Slot& slot) const {
    BindValue v;
    v.kind = slot.kind;
    switch (slot.kind) {
    case BindValue::Kind::Integer: v.integer = slot.u.integer; break;
    case BindValue::Kind::Real: v.real = slot.u.real; break;
    case BindValue::Kind::Text:
    case BindValue::Kind::Blob: v.bytes.assign(arena, slot.u.offset, slot.length); break;
    case BindValue::Kind::Lob: v.lob = lobs[slot.u.offset]; break;
    default: break;
    }
    return v;
}

BindView viewOf(const BindValue& value) {
    BindView v;
    v.kind = value.kind;
    v.integer = value.integer;
    v.real = value.real;
    v.data = value.bytes.data();
    v.size = value.bytes.size();
    v.lob = value.lob.get();
    return v;
}

BindView BindSet::resolve(unsigned index, unsigned iteration, Charset charset) {
    Param* found = index < byIndex_.size() ? byIndex_[index] : nullptr;
    if (!found) {
        auto it = params_.find(index);
        if (it == params_.end()) return BindView();
        found = &it->second;
    }
    Param& p = *found;
    if (iteration == 0) p.lastSet = kNone;
    if (iteration < p.slots.size() && p.slots[iteration].kind != BindValue::Kind::Unset) {
        p.lastSet = iteration;
        return p.view(p.slots[iteration]);
    }
    if (p.hasBuffer) {
        p.scratch = p.buffer.read(charset);
        return viewOf(p.scratch);
    }
    return p.lastSet != kNone ? p.view(p.slots[p.lastSet]) : viewOf(p.carried);
}

void BindSet::finishExecution() {
    for (auto& entry : params_) {
        Param& p = entry.second;
        if (p.lastSet != kNone && p.lastSet < p.slots.size())
            p.carried = p.materialize(p.slots[p.lastSet]);
        else if (!p.slots.empty() && p.slots[0].kind != BindValue::Kind::Unset)
            p.carried = p.materialize(p.slots[0]);  // bound but never run (a failed execution)
        p.slots.clear();
        p.arena.clear();
        p.lobs.clear();
        p.lastSet = kNone;
        p.scratch = BindValue();
    }
    iterations_ = 1;
}

int bindToSqlite(sqlite3_stmt* stmt, int index, const BindView& value,
                 sqlite3_destructor_type lifetime) {
    switch (value.kind) {
    case BindValue::Kind::Unset:
    case BindValue::Kind::Null:
        return sqlite3_bind_null(stmt, index);
    case BindValue::Kind::Integer:
        return sqlite3_bind_int64(stmt, index, value.integer);
    case BindValue::Kind::Real:
        return sqlite3_bind_double(stmt, index, value.real);
    case BindValue::Kind::Text:
        return sqlite3_bind_text64(stmt, index, value.data, value.size, lifetime, SQLITE_UTF8);
    case BindValue::Kind::Blob:
        return sqlite3_bind_blob64(stmt, index, value.data, value.size, lifetime);
    case BindValue::Kind::Lob:
        if (!value.lob) return sqlite3_bind_null(stmt, index);
        if (!value.lob->inMemory()) {
            // SQLite takes the copy over: it is built once, then freed with the binding.
            const std::size_t size = value.lob->size();
            char* copy = static_cast<char*>(sqlite3_malloc64(size ? size : 1));
            if (!copy) return SQLITE_NOMEM;
            try {
                value.lob->read(0, copy, size);
            } catch (...) {
                sqlite3_free(copy);
                throw;
            }
            if (value.lob->isClob)
                return sqlite3_bind_text64(stmt, index, copy, size, sqlite3_free, SQLITE_UTF8);
            return sqlite3_bind_blob64(stmt, index, copy, size, sqlite3_free);
        }
        if (value.lob->isClob)
            return sqlite3_bind_text64(stmt, index, value.lob->bytes.data(),
                                       value.lob->bytes.size(), lifetime, SQLITE_UTF8);
        return sqlite3_bind_blob64(stmt, index, value.lob->bytes.data(), value.lob->bytes.size(),
                                   lifetime);
    }
    return SQLITE_MISUSE;
}

}  // namespace detail
}  // namespace kavexdb
