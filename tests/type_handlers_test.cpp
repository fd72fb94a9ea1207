// The flat handler table: what each type code selects, the 24 entries, and the handlers made for
// codes the table does not hold.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <typeindex>
#include <typeinfo>

#include "flat_host.h"
#include "session/OcciHandler.h"
#include "session/Registry.h"
#include "flat/AdoDataTypeHandlers.h"
#include "flat/AdoHandlers.h"

using namespace kavex;

namespace {

using TypeHandlers = FlatSession;

const char* kindOf(const TypeHandler& handler) {
    return typeid(handler).name();
}

template <class Handler>
const char* kind() {
    return typeid(Handler).name();
}

TEST(HandlerSelection, EachCodeSelectsItsKind) {
    const AdoSession::AdoDataTypeHandlers& table = adoHandlerTable();
    const std::map<std::int32_t, const char*> expected = {
        {-1, kind<DefaultAdoHandler>()},   {1, kind<CStrAdoHandler>()},
        {5, kind<CStrAdoHandler>()},       {8, kind<CStrAdoHandler>()},
        {96, kind<CStrAdoHandler>()},      {97, kind<CStrAdoHandler>()},
        {2, kind<NumberAdoHandler>()},     {3, kind<IntegerAdoHandler>()},
        {68, kind<IntegerAdoHandler>()},   {4, kind<FloatAdoHandler>()},
        {21, kind<FloatAdoHandler>()},     {100, kind<FloatAdoHandler>()},
        {11, kind<RowIdAdoHandler>()},     {104, kind<RowIdAdoHandler>()},
        {12, kind<DateAdoHandler>()},      {22, kind<DoubleAdoHandler>()},
        {101, kind<DoubleAdoHandler>()},   {23, kind<BinaryAdoHandler>()},
        {24, kind<BinaryAdoHandler>()},    {94, kind<ClobAdoHandler>()},
        {112, kind<ClobAdoHandler>()},     {95, kind<BlobAdoHandler>()},
        {113, kind<BlobAdoHandler>()},     {184, kind<TimestampAdoHandler>()},
        {185, kind<TimestampAdoHandler>()}, {186, kind<TimestampAdoHandler>()},
        {187, kind<TimestampAdoHandler>()}, {188, kind<TimestampAdoHandler>()},
        {232, kind<TimestampAdoHandler>()}, {58, kind<DefaultAdoHandler>()},
        {999, kind<DefaultAdoHandler>()},  {0, kind<DefaultAdoHandler>()},
    };
    for (const auto& [code, name] : expected) {
        const auto handler = table.createHandler(code);
        EXPECT_STREQ(kindOf(*handler), name) << code;
    }
}

TEST(HandlerSelection, NamesAndTypeCodes) {
    const AdoSession::AdoDataTypeHandlers& table = adoHandlerTable();
    const auto number = table.createHandler(2);
    const auto& numberHandler = dynamic_cast<const DefaultAdoHandler&>(*number);
    EXPECT_EQ(numberHandler.name, "SQLT_NUM");
    EXPECT_EQ(numberHandler.typeCode, 2);

    const auto timestamp = table.createHandler(187);
    const auto& timestampHandler = dynamic_cast<const DefaultAdoHandler&>(*timestamp);
    EXPECT_EQ(timestampHandler.name, "SQLT_TIMESTAMP");
    EXPECT_EQ(timestampHandler.typeCode, 187);

    const auto unknown = table.createHandler(999);
    const auto& unknownHandler = dynamic_cast<const DefaultAdoHandler&>(*unknown);
    EXPECT_EQ(unknownHandler.name, "<unknown ATTR_DATA_TYPE>");
    EXPECT_EQ(unknownHandler.typeCode, 999);

    const auto integer = table.createHandler(68);
    EXPECT_EQ(dynamic_cast<const IntegerAdoHandler&>(*integer).name, "SQLT_UIN");
}

TEST_F(TypeHandlers, TableHoldsTheTwentyFourCodesAfterConnecting) {
    const AdoSession::AdoDataTypeHandlers& table = adoHandlerTable();
    ASSERT_EQ(table.handlers.size(), 24u);
    for (const std::int32_t code : {4, 24, 68, 94, 95, -1}) {
        EXPECT_EQ(table.handlers.count(code), 0u) << code;
    }
    const auto& unsupported = dynamic_cast<const DefaultAdoHandler&>(*table.handlers.at(58));
    EXPECT_EQ(unsupported.name, "<unknown ATTR_DATA_TYPE>");
    EXPECT_EQ(unsupported.typeCode, 58);
    EXPECT_EQ(registry::find(id)->session->typeHandlers, &table);
}

TEST_F(TypeHandlers, CodesOutsideTheTableAreServedWithoutChangingIt) {
    const AdoSession::AdoDataTypeHandlers& table = adoHandlerTable();
    std::map<std::int32_t, const TypeHandler*> before;
    for (const auto& [code, handler] : table.handlers) {
        before[code] = handler.get();
    }
    run("CREATE TABLE t (r LONG RAW)");
    run("INSERT INTO t VALUES (X'0102')");
    for (int i = 0; i < 50; ++i) {
        firstRow("SELECT r FROM t");
        EXPECT_EQ(bytes(0), std::string("\x01\x02", 2));
    }
    const int second = OpenConnection(database.c_str(), "scott", "tiger");
    ASSERT_GE(second, 11);
    CloseConnection(second);

    ASSERT_EQ(table.handlers.size(), 24u);
    for (const auto& [code, handler] : table.handlers) {
        EXPECT_EQ(before.at(code), handler.get()) << code;
    }
    std::unique_ptr<TypeHandler> fresh;
    const TypeHandler* longRaw = table.handlerFor(24, fresh);
    EXPECT_EQ(longRaw, fresh.get());
    EXPECT_NE(dynamic_cast<const BinaryAdoHandler*>(longRaw), nullptr);
    std::unique_ptr<TypeHandler> none;
    EXPECT_EQ(table.handlerFor(2, none), table.handlers.at(2).get());
    EXPECT_EQ(none, nullptr);
}

TEST_F(TypeHandlers, DefaultHandlerNamesTheUnsupportedType) {
    firstRow("SELECT 1 FROM dual");
    auto& session = dynamic_cast<AdoSession&>(*registry::find(id)->session);
    const DefaultAdoHandler handler(999);
    const DataContainer<const char*> value =
        handler.readValue(AdoContext::instance(), session, *session.columns[0], *session.currentResultSet());
    EXPECT_FALSE(value.isNull);
    EXPECT_STREQ(value.value, "not supported data type (999)");
    EXPECT_EQ(value.length, 29);
}

TEST_F(TypeHandlers, XmlTypeIsRefusedByEverySlot) {
    run("CREATE TABLE t (x XMLTYPE)");
    run("INSERT INTO t VALUES ('<a/>')");
    firstRow("SELECT x FROM t");
    ASSERT_EQ(GetColumnType(id, 0), 58);
    KavexPointerRecord text{};
    KavexIntRecord integer{};
    KavexFloatRecord single{};
    KavexDoubleRecord wide{};
    EXPECT_STREQ(GetError(GetString(id, 0, &text)),
                 "Cannot read character type value from [0] column");
    EXPECT_STREQ(GetError(GetByteArray(id, 0, &text)),
                 "Cannot read 'byte array' type value from [0] column");
    EXPECT_STREQ(GetError(GetInteger(id, 0, &integer)), "Cannot read 'int' type value from [0] column");
    EXPECT_STREQ(GetError(GetFloat(id, 0, &single)), "Cannot read 'float' type value from [0] column");
    EXPECT_STREQ(GetError(GetDouble(id, 0, &wide)), "Cannot read 'double' type value from [0] column");
    EXPECT_EQ(text.isNull, 1);
    EXPECT_EQ(integer.isNull, 1);
    EXPECT_EQ(single.isNull, 1);
    EXPECT_EQ(wide.isNull, 1);
}

}  // namespace
