// The session's parameter state: NULL buffers bound to the current statement and LOBs streamed in
// chunks, all dropped when the statement goes.
#include <memory>

#include "session/Session.h"
#include "values/LobParameter.h"
#include "values/ParameterBuffer.h"
#include "values/TypeCodes.h"

namespace kavex {

namespace {

// Never written; shared by every NULL buffer.
const char kEmptyText[] = "";

}  // namespace

void Session::bindNull(std::int32_t index, std::int32_t typeCode) {
    occi::Statement& current = currentStatement();
    const unsigned int position = static_cast<unsigned int>(index);
    if (typeCode == types::kBlob) {
        occi::Blob blob;
        blob.setNull();
        current.setBlob(position, blob);
        return;
    }
    if (typeCode == types::kClob) {
        occi::Clob clob;
        clob.setNull();
        current.setClob(position, clob);
        return;
    }
    if (typeCode == types::kLongVarchar || typeCode == types::kLongVarraw) {
        current.setNull(position, static_cast<occi::Type>(typeCode));
        return;
    }
    // One buffer per index and statement: the client applies it to every iteration in which the
    // parameter receives no other value.
    if (parameters.count(index) != 0) {
        return;
    }
    auto inserted = parameters.emplace(index, std::make_unique<ParameterBuffer>());
    ParameterBuffer& buffer = *inserted.first->second;
    buffer.data = kEmptyText;
    current.setDataBuffer(position, const_cast<char*>(buffer.data), occi::OCCI_SQLT_STR, 0,
                          &buffer.length, &buffer.indicator, nullptr);
}

void Session::releaseParameters() noexcept {
    parameters.clear();
    for (auto& entry : lobStreams) {
        entry.second->release();
    }
    lobStreams.clear();
}

std::int32_t Session::streamToLob(std::int32_t index, std::int32_t kind, const void* buffer,
                                  std::int32_t length) {
    auto found = lobStreams.find(index);
    if (found == lobStreams.end()) {
        found = lobStreams.emplace(index, std::make_unique<LobParameter>(connection)).first;
        found->second->createTemporary(kind);
    }
    LobParameter& lob = *found->second;
    if (lob.stream == nullptr) {
        return -1;
    }
    lob.write(buffer, length);
    return length;
}

}  // namespace kavex
