#include "binds.h"

#include <cstring>

namespace kavexdb {
namespace detail {

namespace {

std::int64_t readInteger(const void* data, occi::sb4 size) {
    switch (size) {
    case 1: return *static_cast<const std::int8_t*>(data);
    case 2: { std::int16_t v; std::memcpy(&v, data, 2); return v; }
    case 4: { std::int32_t v; std::memcpy(&v, data, 4); return v; }
    case 8: { std::int64_t v; std::memcpy(&v, data, 8); return v; }
    default: raise(3115, "unsupported network datatype or representation");
    }
}

double readReal(const void* data, occi::sb4 size) {
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
    checkIndex(index);
    return params_[index];
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

void BindSet::set(unsigned index, BindValue value) {
    Param& p = param(index);
    if (p.values.size() < iterations_) p.values.resize(iterations_);
    p.values[iterations_ - 1] = std::move(value);
}

void BindSet::setText(unsigned index, std::string storageText) {
    Param& p = param(index);
    if (maxIterations_ > 1) {
        if (!p.hasMaxSize) raise(32108, "max column or parameter size not specified");
        if (storageText.size() > p.maxSize)
            raise(1461, "can bind a LONG value only for insert into a LONG column");
    }
    BindValue v;
    if (storageText.empty()) {
        v = BindValue::null();  // Oracle stores an empty string as NULL
    } else {
        v.kind = BindValue::Kind::Text;
        v.bytes = std::move(storageText);
    }
    set(index, std::move(v));
}

void BindSet::setBuffer(unsigned index, const DataBuffer& buffer) {
    Param& p = param(index);
    p.hasBuffer = true;
    p.buffer = buffer;
}

unsigned BindSet::highestIndex() const { return params_.empty() ? 0 : params_.rbegin()->first; }

const BindValue& BindSet::resolve(unsigned index, unsigned iteration, Charset charset) {
    static const BindValue unset;
    auto it = params_.find(index);
    if (it == params_.end()) return unset;
    Param& p = it->second;
    if (iteration == 0) p.lastSet = kNone;
    if (iteration < p.values.size() && p.values[iteration].kind != BindValue::Kind::Unset) {
        p.lastSet = iteration;
        return p.values[iteration];
    }
    if (p.hasBuffer) {
        p.scratch = p.buffer.read(charset);
        return p.scratch;
    }
    return p.lastSet != kNone ? p.values[p.lastSet] : p.carried;
}

void BindSet::finishExecution() {
    for (auto& entry : params_) {
        Param& p = entry.second;
        if (p.lastSet != kNone && p.lastSet < p.values.size())
            p.carried = std::move(p.values[p.lastSet]);
        else if (!p.values.empty() && p.values[0].kind != BindValue::Kind::Unset)
            p.carried = std::move(p.values[0]);  // bound but never run (a failed execution)
        p.values.clear();
        p.lastSet = kNone;
        p.scratch = BindValue();
    }
    iterations_ = 1;
}

int bindToSqlite(sqlite3_stmt* stmt, int index, const BindValue& value,
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
        return sqlite3_bind_text64(stmt, index, value.bytes.data(), value.bytes.size(),
                                   lifetime, SQLITE_UTF8);
    case BindValue::Kind::Blob:
        return sqlite3_bind_blob64(stmt, index, value.bytes.data(), value.bytes.size(),
                                   lifetime);
    case BindValue::Kind::Lob:
        if (!value.lob) return sqlite3_bind_null(stmt, index);
        if (value.lob->isClob)
            return sqlite3_bind_text64(stmt, index, value.lob->bytes.data(),
                                       value.lob->bytes.size(), SQLITE_STATIC, SQLITE_UTF8);
        return sqlite3_bind_blob64(stmt, index, value.lob->bytes.data(), value.lob->bytes.size(),
                                   SQLITE_STATIC);
    }
    return SQLITE_MISUSE;
}

}  // namespace detail
}  // namespace kavexdb
