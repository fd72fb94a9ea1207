#include "statement/LobParameter.h"

namespace {

// The server creates the LOB; nothing caches it, so each parameter gets its own.
const char* const kTemporaryLobBlock = "begin dbms_lob.createtemporary(:p1, FALSE); end;";

const std::int32_t kClob = 112;
const std::int32_t kBlob = 113;
const std::int32_t kBfile = 114;
const std::int32_t kLongRaw = 24;

}  // namespace

bool LobParameter::isLobKind(std::int32_t kind) {
    return kind == kClob || kind == kBlob || kind == kBfile || kind == kLongRaw;
}

void LobParameter::createTemporary(std::int32_t kind) {
    if (lobStatement != nullptr || connection == nullptr || !isLobKind(kind)) {
        return;
    }
    lobKind = kind;
    lobStatement = connection->createStatement(kTemporaryLobBlock);
    // LONG RAW data travels in a BLOB like kind 113: an OCCIBYTES out-parameter cannot receive a
    // LOB, and every later step treats the record as a BLOB.
    const occi::Type outType = kind == kClob    ? occi::OCCICLOB
                               : kind == kBfile ? occi::OCCIBFILE
                                                : occi::OCCIBLOB;
    lobStatement->registerOutParam(1, outType, 0, "");
    lobStatement->executeUpdate("");
    if (kind == kClob) {
        clob = lobStatement->getClob(1);
    } else if (kind == kBfile) {
        bfile = lobStatement->getBfile(1);
    } else {
        blob = lobStatement->getBlob(1);
    }
    closeStream();
    if (kind == kClob) {
        stream = clob.getStream(1, 0);
    } else if (kind == kBfile) {
        stream = bfile.getStream(1, 0);
    } else {
        stream = blob.getStream(1, 0);
    }
}

void LobParameter::closeStream() {
    if (stream == nullptr) {
        return;
    }
    occi::Stream* open = stream;
    stream = nullptr;
    if (lobKind == kClob) {
        clob.closeStream(open);
    } else if (lobKind == kBfile) {
        bfile.closeStream(open);
    } else {
        blob.closeStream(open);
    }
}

void LobParameter::terminateLobStatement() {
    occi::Statement* done = lobStatement;
    lobStatement = nullptr;
    if (done != nullptr && connection != nullptr) {
        connection->terminateStatement(done);
    }
}

void LobParameter::release() noexcept {
    try {
        closeStream();
    } catch (...) {
    }
    try {
        terminateLobStatement();
    } catch (...) {
    }
}
