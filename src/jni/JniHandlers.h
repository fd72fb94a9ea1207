// The JNI front end's value handlers: each reads one column of the current row and returns a new
// local reference to a Java object (String, Integer, Float, Double or byte[]), or null for a NULL
// value. Handlers hold nothing but their name and type code, so one instance serves every session
// and thread.
#ifndef KAVEX_JNI_JNIHANDLERS_H
#define KAVEX_JNI_JNIHANDLERS_H

#include <jni.h>

#include <cstdint>

#include "jni/JniContext.h"
#include "jni/JniSession.h"
#include "values/TypeHandler.h"

namespace kavex {

using JniTypeHandler = basic_type_handler<JniContext, JniSession, jobject>;

// Serves a type Java cannot be given: the string "not supported data type (<code>)" in every row.
class DefaultJniHandler : public JniTypeHandler {
public:
    explicit DefaultJniHandler(std::int32_t code) : JniTypeHandler(code), typeCode(code) {}
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;

    const std::int32_t typeCode;
};

// Character columns as String; an empty text reads as null, like NULL.
class CStrJniHandler : public DefaultJniHandler {
public:
    using DefaultJniHandler::DefaultJniHandler;
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

class RowIdJniHandler : public CStrJniHandler {
public:
    using CStrJniHandler::CStrJniHandler;
};

// NUMBER as String in the column's format model.
class NumberJniHandler : public DefaultJniHandler {
public:
    NumberJniHandler() : DefaultJniHandler(2) {}
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

class IntegerJniHandler : public DefaultJniHandler {
public:
    using DefaultJniHandler::DefaultJniHandler;
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

class FloatJniHandler : public DefaultJniHandler {
public:
    using DefaultJniHandler::DefaultJniHandler;
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

class DoubleJniHandler : public DefaultJniHandler {
public:
    using DefaultJniHandler::DefaultJniHandler;
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

// DATE as String in OCCI's default rendering.
class DateJniHandler : public DefaultJniHandler {
public:
    DateJniHandler() : DefaultJniHandler(12) {}
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

// TIMESTAMP as String in the fixed 24-hour format with time zone.
class TimestampJniHandler : public DefaultJniHandler {
public:
    using DefaultJniHandler::DefaultJniHandler;
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

// CLOB text cut to the session's maximum column size; empty reads as null.
class ClobJniHandler : public DefaultJniHandler {
public:
    using DefaultJniHandler::DefaultJniHandler;
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

// BLOB bytes cut to the session's maximum column size; empty reads as null.
class BlobJniHandler : public DefaultJniHandler {
public:
    using DefaultJniHandler::DefaultJniHandler;
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

// RAW and LONG RAW bytes cut to the session's maximum column size; empty reads as null.
class BinaryJniHandler : public BlobJniHandler {
public:
    using BlobJniHandler::BlobJniHandler;
    jobject readValue(JniContext& context, JniSession& session, const ColumnInfo& column,
                      occi::ResultSet& resultSet) const override;
};

// The JNI handlers by kind, for makeHandler.
struct JniHandlerFamily {
    using Default = DefaultJniHandler;
    using CStr = CStrJniHandler;
    using RowId = RowIdJniHandler;
    using Number = NumberJniHandler;
    using Integer = IntegerJniHandler;
    using Float = FloatJniHandler;
    using Double = DoubleJniHandler;
    using Date = DateJniHandler;
    using Timestamp = TimestampJniHandler;
    using Clob = ClobJniHandler;
    using Blob = BlobJniHandler;
    using Binary = BinaryJniHandler;
};

}  // namespace kavex

#endif
