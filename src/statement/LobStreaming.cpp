// Streaming a large parameter value in chunks into a temporary LOB, then binding the LOB.
#include <limits>
#include <sstream>
#include <stdexcept>

#include "session/Guarded.h"
#include "session/PositionMessage.h"
#include "statement/CurrentStatement.h"
#include "statement/LobParameter.h"

namespace {

const std::int32_t kClob = 112;
const std::int32_t kBlob = 113;
const std::int32_t kBfile = 114;
const std::int32_t kLongRaw = 24;

// Stands in for the data of an empty chunk sent without a buffer.
char emptyChunk[1] = {0};

std::string streamMessage(std::int32_t index) {
    std::ostringstream message;
    message << "Cannot stream BLOB/CLOB type value of [" << index << "] parameter to server";
    return message.str();
}

std::string postMessage(std::int32_t index) {
    return core::parameterMessage("Cannot post BLOB/CLOB type value of [", index);
}

struct PostRefused : std::runtime_error {
    PostRefused() : std::runtime_error("the LOB parameter cannot be posted") {}
};

struct StreamRefused : std::runtime_error {
    StreamRefused() : std::runtime_error("the LOB parameter has no open stream") {}
};

}  // namespace

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
    // The stream only reads the chunk; its interface takes a non-const pointer.
    char* bytes = buffer != nullptr ? static_cast<char*>(const_cast<void*>(buffer)) : emptyChunk;
    lob.stream->writeBuffer(bytes, static_cast<unsigned int>(length));
    return length;
}

namespace core {

std::int32_t streamParameterToLob(OcciHandler* handler, std::int32_t index, std::int32_t lobKind,
                                  const void* data, std::int64_t length) {
    return guarded(
        handler,
        [&](Session& session) {
            // The result is the length, so it must stay a non-negative int; and a length needs
            // bytes behind it. Checked before any LOB is set up.
            if (length < 0 || length > std::numeric_limits<std::int32_t>::max() ||
                (data == nullptr && length > 0)) {
                throw std::invalid_argument("bad chunk");
            }
            const std::int32_t written =
                session.streamToLob(index, lobKind, data, static_cast<std::int32_t>(length));
            if (written < 0) {
                throw StreamRefused();
            }
            return written;
        },
        [&] { return streamMessage(index); });
}

std::int32_t streamParameterToLobLast(OcciHandler* handler, std::int32_t index) {
    return guarded(
        handler,
        [&](Session& session) {
            occi::Statement& target = currentStatement(session);
            auto found = session.lobStreams.find(index);
            if (found == session.lobStreams.end()) {
                throw PostRefused();
            }
            LobParameter& lob = *found->second;
            if (lob.lobStatement == nullptr || lob.connection == nullptr) {
                throw PostRefused();
            }
            if (lob.stream != nullptr) {
                lob.stream->writeLastBuffer(emptyChunk, 0);
            }
            lob.closeStream();
            lob.terminateLobStatement();
            const unsigned int position = static_cast<unsigned int>(index);
            switch (lob.lobKind) {
                case kClob:
                    target.setClob(position, lob.clob);
                    return 0;
                case kBlob:
                case kLongRaw:
                    target.setBlob(position, lob.blob);
                    return 0;
                case kBfile:
                    return 0;
                default:
                    throw PostRefused();
            }
        },
        [&] { return postMessage(index); });
}

}  // namespace core
