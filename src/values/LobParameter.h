// One parameter value streamed in chunks into a temporary LOB, then bound to the statement.
// States: streaming (stream open), broken (set-up incomplete: no stream), posted (bound).
#ifndef KAVEX_VALUES_LOBPARAMETER_H
#define KAVEX_VALUES_LOBPARAMETER_H

#include <cstdint>

#include "occi/occi.h"

namespace kavex {

class LobParameter {
public:
    explicit LobParameter(occi::Connection* owner) : connection(owner) {}
    LobParameter(const LobParameter&) = delete;
    LobParameter& operator=(const LobParameter&) = delete;
    ~LobParameter() { release(); }

    // Creates the temporary LOB of `kind` (112 CLOB, 113 BLOB, 24 LONG RAW as a BLOB, 114 BFILE)
    // and opens its write stream. Does nothing when set up already or for any other kind.
    void createTemporary(std::int32_t kind);
    // Appends length bytes (none when bytes is null) to the open stream, which the caller checked.
    void write(const void* bytes, std::int32_t length);
    // Ends the value on the open stream, if any, closes it and hands the set-up statement back.
    void finish();
    // Closes the open write stream, if any.
    void closeStream();
    // Hands the set-up statement back to the connection.
    void terminateLobStatement();
    // Closes the stream and returns the set-up statement; never throws.
    void release() noexcept;

    std::int32_t lobKind = 0;
    occi::Connection* connection;  // not owned
    occi::Statement* lobStatement = nullptr;
    occi::Clob clob;
    occi::Blob blob;
    occi::Bfile bfile;
    occi::Stream* stream = nullptr;
};

}  // namespace kavex

#endif
