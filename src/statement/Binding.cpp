// Binding parameter values to the current statement.
#include "session/CallFrame.h"
#include "session/Messages.h"
#include "statement/Operations.h"

namespace kavex::core {

namespace {

// Shared by every NULL or absent text.
const char kEmptyText[] = "";

// A BINARY_FLOAT or BINARY_DOUBLE value; a null one carries 0.
template <class Binary, class Value>
Binary binaryValue(Value value, bool isNull) {
    Binary bound;
    bound.value = isNull ? Value() : value;
    bound.isNull = isNull;
    return bound;
}

template <class Bind>
std::int32_t bindParameter(Session& session, const messages::NamingPosition& text,
                           std::int32_t index, Bind&& bind) noexcept {
    return guarded(
        [&] {
            bind(session.currentStatement(), static_cast<unsigned int>(index));
            return 0;
        },
        [&] { return text.at(index); });
}

}  // namespace

std::int32_t setNull(Session& session, std::int32_t index, std::int32_t typeCode) noexcept {
    return guarded(
        [&] {
            session.bindNull(index, typeCode);
            return 0;
        },
        [&] { return messages::kSetNull.at(index); });
}

std::int32_t setString(Session& session, std::int32_t index, const char* text,
                       bool isNull) noexcept {
    return bindParameter(session, messages::kSetString, index,
                         [&](occi::Statement& statement, unsigned int position) {
                             const bool bindsValue = text != nullptr && !isNull;
                             statement.setString(position,
                                                 std::string(bindsValue ? text : kEmptyText));
                         });
}

std::int32_t setInt(Session& session, std::int32_t index, std::int32_t value,
                    bool isNull) noexcept {
    return bindParameter(session, messages::kSetInt, index,
                         [&](occi::Statement& statement, unsigned int position) {
                             if (isNull) {
                                 statement.setNull(position, occi::OCCIINT);
                             } else {
                                 statement.setInt(position, value);
                             }
                         });
}

std::int32_t setFloat(Session& session, std::int32_t index, float value, bool isNull) noexcept {
    return bindParameter(session, messages::kSetFloat, index,
                         [&](occi::Statement& statement, unsigned int position) {
                             statement.setBFloat(position,
                                                 binaryValue<occi::BFloat>(value, isNull));
                         });
}

std::int32_t setDouble(Session& session, std::int32_t index, double value, bool isNull) noexcept {
    return bindParameter(session, messages::kSetDouble, index,
                         [&](occi::Statement& statement, unsigned int position) {
                             statement.setBDouble(position,
                                                  binaryValue<occi::BDouble>(value, isNull));
                         });
}

std::int32_t setTimestamp(Session& session, std::int32_t index, std::int32_t year,
                          std::uint32_t month, std::uint32_t day, std::uint32_t hour,
                          std::uint32_t minute, std::uint32_t second, std::uint32_t fraction,
                          std::int32_t tzHour, std::int32_t tzMinute, bool isNull) noexcept {
    return bindParameter(session, messages::kSetTimestamp, index,
                         [&](occi::Statement& statement, unsigned int position) {
                             if (isNull) {
                                 statement.setTimestamp(position, occi::Timestamp());
                                 return;
                             }
                             const occi::Timestamp value(session.environment, year, month, day,
                                                         hour, minute, second, fraction, tzHour,
                                                         tzMinute);
                             statement.setTimestamp(position, value);
                         });
}

}  // namespace kavex::core
