// Handlers for large and binary values: CLOB as String, BLOB, RAW and LONG RAW as byte[], each
// cut to the session's maximum column size at the time of the read.
#include <string>

#include "jni/JniHandlers.h"
#include "values/LobReading.h"

namespace kavex {

namespace {

jobject bytesOrNull(JniContext& context, const std::string& bytes) {
    if (bytes.empty()) {
        return nullptr;
    }
    return context.newByteArray(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

}  // namespace

jobject ClobJniHandler::readValue(JniContext& context, JniSession& session,
                                  const ColumnInfo& column, occi::ResultSet& resultSet) const {
    occi::Clob clob = resultSet.getClob(static_cast<unsigned int>(column.index) + 1);
    if (clob.isNull()) {
        return nullptr;
    }
    // An empty CLOB is a value: "" (a NULL one is null above).
    return context.textValue(readClobText(clob, column.charSetForm, session.maxColumnSize));
}

jobject BlobJniHandler::readValue(JniContext& context, JniSession& session,
                                  const ColumnInfo& column, occi::ResultSet& resultSet) const {
    occi::Blob blob = resultSet.getBlob(static_cast<unsigned int>(column.index) + 1);
    if (blob.isNull()) {
        return nullptr;
    }
    // An empty BLOB is a value: byte[0] (a NULL one is null above).
    const std::string bytes = readBlobBytes(blob, session.maxColumnSize);
    return context.newByteArray(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

jobject BinaryJniHandler::readValue(JniContext& context, JniSession& session,
                                    const ColumnInfo& column, occi::ResultSet& resultSet) const {
    const occi::Bytes bytes = resultSet.getBytes(static_cast<unsigned int>(column.index) + 1);
    if (bytes.isNull()) {
        return nullptr;
    }
    return bytesOrNull(context, readRawBytes(bytes, session.maxColumnSize));
}

}  // namespace kavex
