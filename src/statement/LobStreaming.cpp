// Streaming a large parameter value in chunks into a temporary LOB, then binding the LOB.
#include <limits>
#include <stdexcept>

#include "session/CallFrame.h"
#include "session/Messages.h"
#include "statement/Operations.h"
#include "values/LobParameter.h"
#include "values/TypeCodes.h"

namespace kavex::core {

namespace {

struct PostRefused : std::runtime_error {
    PostRefused() : std::runtime_error("the LOB parameter cannot be posted") {}
};

struct StreamRefused : std::runtime_error {
    StreamRefused() : std::runtime_error("the LOB parameter has no open stream") {}
};

}  // namespace

std::int32_t streamParameterToLob(Session& session, std::int32_t index, std::int32_t lobKind,
                                  const void* data, std::int64_t length) noexcept {
    return guarded(
        [&] {
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
        [&] { return messages::kStreamToLob.at(index); });
}

std::int32_t streamParameterToLobLast(Session& session, std::int32_t index) noexcept {
    return guarded(
        [&] {
            occi::Statement& target = session.currentStatement();
            auto found = session.lobStreams.find(index);
            if (found == session.lobStreams.end()) {
                throw PostRefused();
            }
            LobParameter& lob = *found->second;
            if (lob.lobStatement == nullptr || lob.connection == nullptr) {
                throw PostRefused();
            }
            lob.finish();
            const unsigned int position = static_cast<unsigned int>(index);
            switch (lob.lobKind) {
                case types::kClob:
                    target.setClob(position, lob.clob);
                    return 0;
                case types::kBlob:
                case types::kLongRaw:
                    target.setBlob(position, lob.blob);
                    return 0;
                case types::kBfile:
                    return 0;
                default:
                    throw PostRefused();
            }
        },
        [&] { return messages::kPostLob.at(index); });
}

}  // namespace kavex::core
