#include "values/LobParameter.h"

#include "values/TypeCodes.h"

namespace kavex {

namespace {

// The server creates the LOB; nothing caches it, so each parameter gets its own.
const char* const kTemporaryLobBlock = "begin dbms_lob.createtemporary(:p1, FALSE); end;";

// Stands in for the data of an empty chunk sent without a buffer.
char emptyChunk[1] = {0};

}  // namespace

using types::kBfile;
using types::kClob;

void LobParameter::createTemporary(std::int32_t kind) {
    if (lobStatement != nullptr || connection == nullptr || !types::isLobKind(kind)) {
        return;
    }
    lobKind = kind;
    lobStatement = connection->createStatement(kTemporaryLobBlock);
    // LONG RAW data travels in a BLOB like a BLOB: an OCCIBYTES out-parameter cannot receive a
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

void LobParameter::write(const void* bytes, std::int32_t length) {
    // The stream only reads the chunk; its interface takes a non-const pointer.
    char* chunk = bytes != nullptr ? static_cast<char*>(const_cast<void*>(bytes)) : emptyChunk;
    stream->writeBuffer(chunk, static_cast<unsigned int>(length));
}

void LobParameter::finish() {
    if (stream != nullptr) {
        stream->writeLastBuffer(emptyChunk, 0);
    }
    closeStream();
    terminateLobStatement();
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

}  // namespace kavex
