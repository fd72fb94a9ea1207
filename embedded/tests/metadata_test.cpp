#include <gtest/gtest.h>

#include "exec/describe.h"
#include "kavexdb/occi.h"
#include "test_util.h"

namespace kavexdb {
namespace detail {
namespace {

using oracle::occi::MetaData;
using oracle::occi::SQLException;

MetaData column() {
    auto r = std::make_shared<MetaDataRecord>();
    r->paramType = MetaData::PTYPE_COL;
    r->name = "AMOUNT";
    r->dataType = 2;
    r->dataSize = 22;
    r->precision = 10;
    r->scale = 2;
    r->isNull = false;
    r->isIdentity = true;
    r->isGenAlways = true;
    return makeMetaData(r);
}

MetaData table() {
    auto r = std::make_shared<MetaDataRecord>();
    r->paramType = MetaData::PTYPE_TABLE;
    r->name = "ORDERS";
    r->objSchema = "SCOTT";
    r->columns.push_back(column());
    return makeMetaData(r);
}

// The ORA code of what f throws (0 for nothing); whatever it throws must be ORA-24328.
template <class F>
int oraCode(F f) {
    const SQLException e = clienttest::thrownBy(f);
    if (e.getErrorCode() != 0) {
        EXPECT_EQ(e.getMessage(), "ORA-24328: illegal attribute value\n");
    }
    return e.getErrorCode();
}

TEST(MetaData, ColumnAttributes) {
    const MetaData m = column();
    EXPECT_EQ(m.getString(MetaData::ATTR_NAME), "AMOUNT");
    EXPECT_EQ(m.getInt(MetaData::ATTR_DATA_TYPE), 2);
    EXPECT_EQ(m.getInt(MetaData::ATTR_DATA_SIZE), 22);
    EXPECT_EQ(m.getInt(MetaData::ATTR_PRECISION), 10);
    EXPECT_EQ(m.getInt(MetaData::ATTR_SCALE), 2);
    EXPECT_EQ(m.getInt(MetaData::ATTR_PTYPE), MetaData::PTYPE_COL);
    EXPECT_FALSE(m.getBoolean(MetaData::ATTR_IS_NULL));
    EXPECT_TRUE(m.getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
    EXPECT_TRUE(m.getBoolean(MetaData::ATTR_COL_IS_GEN_ALWAYS));
    EXPECT_FALSE(m.getBoolean(MetaData::ATTR_COL_IS_GEN_BY_DEF_ON_NULL));
    EXPECT_EQ(m.getString(MetaData::ATTR_SCHEMA_NAME), "");
    EXPECT_EQ(m.getString(MetaData::ATTR_TYPE_NAME), "");
}

TEST(MetaData, ObjectAttributesAndColumnList) {
    const MetaData t = table();
    EXPECT_EQ(t.getString(MetaData::ATTR_NAME), "ORDERS");
    EXPECT_EQ(t.getString(MetaData::ATTR_OBJ_SCHEMA), "SCOTT");
    EXPECT_EQ(t.getInt(MetaData::ATTR_PTYPE), MetaData::PTYPE_TABLE);
    const std::vector<MetaData> cols = t.getVector(MetaData::ATTR_LIST_COLUMNS);
    ASSERT_EQ(cols.size(), 1u);
    EXPECT_EQ(cols[0].getString(MetaData::ATTR_NAME), "AMOUNT");
}

TEST(MetaData, AttributesARecordDoesNotHaveAreOraErrors) {
    const MetaData c = column();
    const MetaData t = table();
    EXPECT_EQ(oraCode([&] { c.getVector(MetaData::ATTR_LIST_COLUMNS); }), 24328);
    EXPECT_EQ(oraCode([&] { c.getInt(MetaData::ATTR_NAME); }), 24328);
    EXPECT_EQ(oraCode([&] { c.getString(MetaData::ATTR_DATA_TYPE); }), 24328);
    EXPECT_EQ(oraCode([&] { c.getBoolean(MetaData::ATTR_DATA_SIZE); }), 24328);
    EXPECT_EQ(oraCode([&] { t.getInt(MetaData::ATTR_DATA_TYPE); }), 24328);
    EXPECT_EQ(oraCode([&] { t.getBoolean(MetaData::ATTR_IS_NULL); }), 24328);
    EXPECT_EQ(oraCode([&] { t.getBoolean(MetaData::ATTR_COL_IS_IDENTITY); }), 24328);
    EXPECT_EQ(oraCode([&] { t.getString(MetaData::ATTR_TYPE_NAME); }), 24328);
    EXPECT_EQ(oraCode([&] { c.getInt(static_cast<MetaData::AttrId>(9999)); }), 24328);
    EXPECT_EQ(oraCode([&] { c.getBoolean(static_cast<MetaData::ColumnAttrId>(3)); }), 24328);
}

TEST(MetaData, CopiesShareTheRecordAndOutliveTheOriginal) {
    std::vector<MetaData> cols = table().getVector(MetaData::ATTR_LIST_COLUMNS);
    MetaData copy(cols[0]);
    MetaData other = table();
    other = copy;
    cols.clear();
    EXPECT_EQ(other.getString(MetaData::ATTR_NAME), "AMOUNT");
    EXPECT_EQ(copy.getInt(MetaData::ATTR_SCALE), 2);
}

}  // namespace
}  // namespace detail
}  // namespace kavexdb
