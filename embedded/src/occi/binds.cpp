#include "occi/binds.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

namespace {

std::int64_t readInteger(const void* data, sb4 size) {
    switch (size) {
    case 1: return *static_cast<const std::int8_t*>(data);
    case 2: { std::int16_t v; std::memcpy(&v, data, 2); return v; }
    case 4: { std::int32_t v; std::memcpy(&v, data, 4); return v; }
    case 8: { std::int64_t v; std::memcpy(&v, data, 8); return v; }
    default:
        raise(ora::kUnsupportedNetworkDatatype);
    }
}

double readReal(const void* data, sb4 size) {
    if (size == sizeof(float)) { float v; std::memcpy(&v, data, sizeof v); return v; }
    if (size == sizeof(double)) { double v; std::memcpy(&v, data, sizeof v); return v; }
    raise(ora::kUnsupportedNetworkDatatype);
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
        raise(ora::kUnsupportedNetworkDatatype);
    }
    // Oracle has no empty strings: an empty text or RAW is NULL.
    if ((v.kind == BindValue::Kind::Text || v.kind == BindValue::Kind::Blob) && v.bytes.empty())
        return BindValue::null();
    return v;
}

void BindSet::checkIndex(unsigned index) {
    if (index == 0) raise(ora::kInvalidPosition);
}

void BindSet::ByteStore::open(std::size_t need) {
    // Blocks kept from an earlier execution first; a block too small for the value is skipped.
    while (opened_ < blocks_.size() && blocks_[opened_].get_deleter().bytes < need) ++opened_;
    if (opened_ == blocks_.size()) {
        // Each new block doubles the store, up to a size that keeps the unused end small.
        constexpr std::size_t kFirst = 4096, kLargest = std::size_t(4) << 20;
        const std::size_t last = blocks_.empty() ? kFirst / 2 : blocks_.back().get_deleter().bytes;
        blocks_.push_back(bulkBlock(std::max(need, std::min(2 * last, kLargest))));
    }
    BulkBlock& block = blocks_[opened_++];
    end_ = block.get();
    room_ = block.get_deleter().bytes;
}

void BindSet::ByteStore::clear() {
    opened_ = 0;
    end_ = nullptr;
    room_ = 0;
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

void BindSet::put(Param& p, BindValue::Kind kind, std::uint64_t value) {
    const std::size_t at = iterations_ - 1;
    if (p.kinds.size() == at && at < p.kinds.capacity()) {  // the usual case: the next row
        p.kinds.push_back(kind);
        p.values.push_back(value);
        return;
    }
    if (p.kinds.size() <= at) {
        // Room for every iteration at once: they are added one by one.
        const std::size_t capacity = std::max<std::size_t>(maxIterations_, at + 1);
        p.kinds.reserve(capacity);
        p.values.reserve(capacity);
        p.kinds.resize(at + 1, BindValue::Kind::Unset);
        p.values.resize(at + 1, 0);
    }
    p.kinds[at] = kind;
    p.values[at] = value;
}

void BindSet::putBytes(Param& p, BindValue::Kind kind, const char* data, std::size_t size) {
    if (size > UINT32_MAX) raise(ora::kLongBindOnly);
    const char* stored = p.bytes.add(data, static_cast<std::uint32_t>(size));
    put(p, kind, reinterpret_cast<std::uintptr_t>(stored));
}

void BindSet::setMaxIterations(unsigned n) {
    if (n == 0) raise(ora::kZeroIterationCount);
    if (n < iterations_) raise(ora::kFewerIterationsThanAdded);
    maxIterations_ = n;
}

void BindSet::setMaxParamSize(unsigned index, unsigned size) {
    Param& p = param(index);
    p.hasMaxSize = true;
    p.maxSize = size;
}

unsigned BindSet::maxParamSize(unsigned index) const {
    const auto it = params_.find(index);
    return it == params_.end() || !it->second.hasMaxSize ? 0 : it->second.maxSize;
}

void BindSet::addIteration() {
    if (iterations_ >= maxIterations_) raise(ora::kMoreIterationsThanAllowed);
    ++iterations_;
}

void BindSet::setInteger(unsigned index, std::int64_t value) {
    put(param(index), BindValue::Kind::Integer, static_cast<std::uint64_t>(value));
}

void BindSet::setReal(unsigned index, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    put(param(index), BindValue::Kind::Real, bits);
}

void BindSet::set(unsigned index, BindValue value) {
    Param& p = param(index);
    switch (value.kind) {
    case BindValue::Kind::Integer:
        put(p, value.kind, static_cast<std::uint64_t>(value.integer));
        break;
    case BindValue::Kind::Real: {
        std::uint64_t bits;
        std::memcpy(&bits, &value.real, sizeof bits);
        put(p, value.kind, bits);
        break;
    }
    case BindValue::Kind::Text:
    case BindValue::Kind::Blob:
        putBytes(p, value.kind, value.bytes.data(), value.bytes.size());
        break;
    case BindValue::Kind::Lob:
        p.lobs.push_back(std::move(value.lob));
        put(p, value.kind, p.lobs.size() - 1);
        break;
    default:
        put(p, value.kind, 0);
        break;
    }
}

void BindSet::setText(unsigned index, const std::string& storageText) {
    Param& p = param(index);
    if (maxIterations_ > 1) {
        if (!p.hasMaxSize) raise(ora::kMaxSizeNotSpecified);
        if (storageText.size() > p.maxSize) raise(ora::kLongBindOnly);
    }
    if (storageText.empty())
        put(p, BindValue::Kind::Null, 0);  // Oracle stores an empty string as NULL
    else
        putBytes(p, BindValue::Kind::Text, storageText.data(), storageText.size());
}

void BindSet::setBuffer(unsigned index, const DataBuffer& buffer) {
    Param& p = param(index);
    p.hasBuffer = true;
    p.buffer = buffer;
}

bool BindSet::isNumber(unsigned index, Charset charset) const {
    const auto it = params_.find(index);
    if (it == params_.end()) return false;
    const Param& p = it->second;
    BindValue::Kind kind = p.carried.kind;
    if (!p.kinds.empty() && p.kinds[0] != BindValue::Kind::Unset)
        kind = p.kinds[0];
    else if (p.hasBuffer)
        kind = p.buffer.read(charset).kind;
    return kind == BindValue::Kind::Integer || kind == BindValue::Kind::Real;
}

unsigned BindSet::highestIndex() const { return params_.empty() ? 0 : params_.rbegin()->first; }

BindValue BindSet::Param::materialize(std::size_t iteration) const {
    const BindView v = view(iteration);
    BindValue out;
    out.kind = v.kind;
    out.integer = v.integer;
    out.real = v.real;
    if (v.kind == BindValue::Kind::Text || v.kind == BindValue::Kind::Blob)
        out.bytes.assign(v.data, v.size);
    if (v.kind == BindValue::Kind::Lob) out.lob = lobs[values[iteration]];
    return out;
}

BindSet::Column BindSet::column(unsigned index) {
    if (index < byIndex_.size() && byIndex_[index]) return Column(byIndex_[index]);
    auto it = params_.find(index);
    return Column(it == params_.end() ? nullptr : &it->second);
}

BindView BindSet::Column::notSetAt(unsigned iteration, Charset charset) {
    if (!p_) return BindView();
    Param& p = *p_;
    if (iteration == 0) p.lastSet = kNone;
    if (p.hasBuffer) {
        p.scratch = p.buffer.read(charset);
        return viewOf(p.scratch);
    }
    return p.lastSet != kNone ? p.view(p.lastSet) : viewOf(p.carried);
}

void BindSet::finishExecution() {
    for (auto& entry : params_) {
        Param& p = entry.second;
        if (p.lastSet != kNone && p.lastSet < p.kinds.size())
            p.carried = p.materialize(p.lastSet);
        else if (!p.kinds.empty() && p.kinds[0] != BindValue::Kind::Unset)
            p.carried = p.materialize(0);  // bound but never run (a failed execution)
        p.kinds.clear();
        p.values.clear();
        p.bytes.clear();
        p.lobs.clear();
        p.lastSet = kNone;
        p.scratch = BindValue();
    }
    iterations_ = 1;
}


}  // namespace detail
}  // namespace kavexdb
