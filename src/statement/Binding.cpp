// Binding parameter values to the current statement, and dropping every parameter state when the
// statement goes.
#include "session/Guarded.h"
#include "session/PositionMessage.h"
#include "statement/CurrentStatement.h"
#include "statement/LobParameter.h"
#include "statement/ParameterBuffer.h"

namespace {

// Never written; shared by every NULL buffer and every NULL or absent text.
const char kEmptyText[] = "";

const std::int32_t kLongVarchar = 94;
const std::int32_t kLongVarraw = 95;
const std::int32_t kClob = 112;
const std::int32_t kBlob = 113;

using core::parameterMessage;

// A BINARY_FLOAT or BINARY_DOUBLE value; a null one carries 0.
template <class Binary, class Value>
Binary binaryValue(Value value, bool isNull) {
    Binary bound;
    bound.value = isNull ? Value() : value;
    bound.isNull = isNull;
    return bound;
}

template <class Bind>
std::int32_t bindParameter(OcciHandler* handler, const char* ownPrefix, std::int32_t index,
                           Bind&& bind) {
    return guarded(
        handler,
        [&](Session& session) {
            bind(session, currentStatement(session));
            return 0;
        },
        [&] { return parameterMessage(ownPrefix, index); });
}

}  // namespace

void Session::bindNull(std::int32_t index, std::int32_t typeCode) {
    occi::Statement& current = currentStatement(*this);
    const unsigned int position = static_cast<unsigned int>(index);
    if (typeCode == kBlob) {
        occi::Blob blob;
        blob.setNull();
        current.setBlob(position, blob);
        return;
    }
    if (typeCode == kClob) {
        occi::Clob clob;
        clob.setNull();
        current.setClob(position, clob);
        return;
    }
    if (typeCode == kLongVarchar || typeCode == kLongVarraw) {
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

void Session::releaseParameters() {
    parameters.clear();
    for (auto& entry : lobStreams) {
        entry.second->release();
    }
    lobStreams.clear();
}

namespace core {

std::int32_t setNull(OcciHandler* handler, std::int32_t index, std::int32_t typeCode) {
    return guarded(
        handler,
        [&](Session& session) {
            session.bindNull(index, typeCode);
            return 0;
        },
        [&] { return parameterMessage("Cannot assign NULL value to [", index); });
}

std::int32_t setString(OcciHandler* handler, std::int32_t index, const char* text, bool isNull) {
    return bindParameter(handler, "Cannot assign string value to [", index,
                         [&](Session&, occi::Statement& statement) {
                             const bool bindsValue = text != nullptr && !isNull;
                             statement.setString(static_cast<unsigned int>(index),
                                                 std::string(bindsValue ? text : kEmptyText));
                         });
}

std::int32_t setInt(OcciHandler* handler, std::int32_t index, std::int32_t value, bool isNull) {
    return bindParameter(handler, "Cannot assign 'int' type value to [", index,
                         [&](Session&, occi::Statement& statement) {
                             const unsigned int position = static_cast<unsigned int>(index);
                             if (isNull) {
                                 statement.setNull(position, occi::OCCIINT);
                             } else {
                                 statement.setInt(position, value);
                             }
                         });
}

std::int32_t setFloat(OcciHandler* handler, std::int32_t index, float value, bool isNull) {
    return bindParameter(handler, "Cannot assign 'float' type value to [", index,
                         [&](Session&, occi::Statement& statement) {
                             statement.setBFloat(static_cast<unsigned int>(index),
                                              binaryValue<occi::BFloat>(value, isNull));
                         });
}

std::int32_t setDouble(OcciHandler* handler, std::int32_t index, double value, bool isNull) {
    return bindParameter(handler, "Cannot assign 'double' type value to [", index,
                         [&](Session&, occi::Statement& statement) {
                             statement.setBDouble(static_cast<unsigned int>(index),
                                              binaryValue<occi::BDouble>(value, isNull));
                         });
}

std::int32_t setTimestamp(OcciHandler* handler, std::int32_t index, std::int32_t year,
                          std::uint32_t month, std::uint32_t day, std::uint32_t hour,
                          std::uint32_t minute, std::uint32_t second, std::uint32_t fraction,
                          std::int32_t tzHour, std::int32_t tzMinute, bool isNull) {
    return bindParameter(
        handler, "Cannot assign 'timestamp' value to [", index,
        [&](Session& session, occi::Statement& statement) {
            const unsigned int position = static_cast<unsigned int>(index);
            if (isNull) {
                statement.setTimestamp(position, occi::Timestamp());
                return;
            }
            const occi::Timestamp value(session.environment, year, month, day, hour, minute,
                                        second, fraction, tzHour, tzMinute);
            statement.setTimestamp(position, value);
        });
}

}  // namespace core
