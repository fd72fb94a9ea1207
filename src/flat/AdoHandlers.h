// The flat front end's value handlers: each reads one column of the current row and produces the
// DataContainer the flat session copies into the host's record. Texts and bytes are handed out
// through the session's returnString. Handlers hold nothing but their name and type code, so one
// instance serves every session and thread.
#ifndef KAVEX_FLAT_ADOHANDLERS_H
#define KAVEX_FLAT_ADOHANDLERS_H

#include <cstdint>

#include "flat/AdoContext.h"
#include "flat/AdoSession.h"
#include "flat/DataContainer.h"
#include "values/TypeHandler.h"

namespace kavex {

template <class T>
class AdoTypeHandler : public basic_type_handler<AdoContext, AdoSession, DataContainer<T>> {
public:
    using basic_type_handler<AdoContext, AdoSession, DataContainer<T>>::basic_type_handler;
};

using AdoTextContainer = DataContainer<const char*>;

// Serves a type the flat interface cannot deliver: the text "not supported data type (<code>)".
class DefaultAdoHandler : public AdoTypeHandler<const char*> {
public:
    explicit DefaultAdoHandler(std::int32_t code)
        : AdoTypeHandler<const char*>(code), typeCode(code) {}
    AdoTextContainer readValue(AdoContext& context, AdoSession& session,
                               const ColumnInfo& column,
                               occi::ResultSet& resultSet) const override;

    const std::int32_t typeCode;
};

class CStrAdoHandler : public DefaultAdoHandler {
public:
    using DefaultAdoHandler::DefaultAdoHandler;
    AdoTextContainer readValue(AdoContext& context, AdoSession& session,
                               const ColumnInfo& column,
                               occi::ResultSet& resultSet) const override;
};

class RowIdAdoHandler : public CStrAdoHandler {
public:
    using CStrAdoHandler::CStrAdoHandler;
};

// NUMBER as text in the column's format model.
class NumberAdoHandler : public DefaultAdoHandler {
public:
    NumberAdoHandler() : DefaultAdoHandler(2) {}
    AdoTextContainer readValue(AdoContext& context, AdoSession& session,
                               const ColumnInfo& column,
                               occi::ResultSet& resultSet) const override;
};

// DATE in OCCI's default rendering.
class DateAdoHandler : public DefaultAdoHandler {
public:
    DateAdoHandler() : DefaultAdoHandler(12) {}
    AdoTextContainer readValue(AdoContext& context, AdoSession& session,
                               const ColumnInfo& column,
                               occi::ResultSet& resultSet) const override;
};

class TimestampAdoHandler : public DefaultAdoHandler {
public:
    using DefaultAdoHandler::DefaultAdoHandler;
    AdoTextContainer readValue(AdoContext& context, AdoSession& session,
                               const ColumnInfo& column,
                               occi::ResultSet& resultSet) const override;
};

// CLOB text, cut to the session's maximum column size (in characters).
class ClobAdoHandler : public DefaultAdoHandler {
public:
    using DefaultAdoHandler::DefaultAdoHandler;
    AdoTextContainer readValue(AdoContext& context, AdoSession& session,
                               const ColumnInfo& column,
                               occi::ResultSet& resultSet) const override;
};

// BLOB bytes, cut to the session's maximum column size.
class BlobAdoHandler : public DefaultAdoHandler {
public:
    using DefaultAdoHandler::DefaultAdoHandler;
    AdoTextContainer readValue(AdoContext& context, AdoSession& session,
                               const ColumnInfo& column,
                               occi::ResultSet& resultSet) const override;
};

// RAW and LONG RAW bytes, cut to the session's maximum column size.
class BinaryAdoHandler : public BlobAdoHandler {
public:
    using BlobAdoHandler::BlobAdoHandler;
    AdoTextContainer readValue(AdoContext& context, AdoSession& session,
                               const ColumnInfo& column,
                               occi::ResultSet& resultSet) const override;
};

// The numeric handlers flag only SQL NULL: a stored zero (or -0.0) is a value.
class IntegerAdoHandler : public AdoTypeHandler<int> {
public:
    using AdoTypeHandler<int>::AdoTypeHandler;
    DataContainer<int> readValue(AdoContext& context, AdoSession& session,
                                 const ColumnInfo& column,
                                 occi::ResultSet& resultSet) const override;
};

class FloatAdoHandler : public AdoTypeHandler<float> {
public:
    using AdoTypeHandler<float>::AdoTypeHandler;
    DataContainer<float> readValue(AdoContext& context, AdoSession& session,
                                   const ColumnInfo& column,
                                   occi::ResultSet& resultSet) const override;
};

class DoubleAdoHandler : public AdoTypeHandler<double> {
public:
    using AdoTypeHandler<double>::AdoTypeHandler;
    DataContainer<double> readValue(AdoContext& context, AdoSession& session,
                                    const ColumnInfo& column,
                                    occi::ResultSet& resultSet) const override;
};

// The flat handlers by kind, for makeHandler.
struct AdoHandlerFamily {
    using Default = DefaultAdoHandler;
    using CStr = CStrAdoHandler;
    using RowId = RowIdAdoHandler;
    using Number = NumberAdoHandler;
    using Integer = IntegerAdoHandler;
    using Float = FloatAdoHandler;
    using Double = DoubleAdoHandler;
    using Date = DateAdoHandler;
    using Timestamp = TimestampAdoHandler;
    using Clob = ClobAdoHandler;
    using Blob = BlobAdoHandler;
    using Binary = BinaryAdoHandler;
};

}  // namespace kavex

#endif
