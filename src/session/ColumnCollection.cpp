// Session::collectColumns and Session::describeObject: the column records of a result set or of a
// named database object.
#include <memory>
#include <stdexcept>

#include "session/Session.h"
#include "values/ColumnInfo.h"
#include "values/TypeCodes.h"

namespace kavex {

namespace {

using Attr = occi::MetaData;

constexpr std::int32_t kFloatingScale = -127;

using types::hasServerTypeName;
using types::isCharacterLob;
using types::isLongType;

}  // namespace

void Session::collectColumns(const std::vector<occi::MetaData>& list,
                             const std::string& objectName, occi::ResultSet* forResultSet) {
    columns.clear();
    const Attr::AttrId schemaAttribute =
        forResultSet != nullptr ? Attr::ATTR_SCHEMA_NAME : Attr::ATTR_OBJ_SCHEMA;

    std::int32_t position = 0;
    for (const occi::MetaData& element : list) {
        // The reads below go through a copy of the element, in this order, as the server's
        // describe handles are meant to be read.
        const occi::MetaData metaData(element);
        auto column = std::make_unique<ColumnInfo>(position);
        column->name = metaData.getString(Attr::ATTR_NAME);
        column->tableName = objectName;
        column->schemaName = metaData.getString(schemaAttribute);
        column->type = metaData.getInt(Attr::ATTR_DATA_TYPE);
        column->size = metaData.getInt(Attr::ATTR_DATA_SIZE);
        if (forResultSet != nullptr) {
            if (isCharacterLob(column->type)) {
                column->charSetForm = metaData.getInt(Attr::ATTR_CHARSET_FORM);
            } else if (isLongType(column->type)) {
                forResultSet->setMaxColumnSize(static_cast<unsigned int>(position + 1),
                                               static_cast<unsigned int>(maxColumnSize));
            } else if (hasServerTypeName(column->type)) {
                column->typeName = metaData.getString(Attr::ATTR_TYPE_NAME);
            }
        }
        column->precision = metaData.getInt(Attr::ATTR_PRECISION);
        const std::int32_t scale = metaData.getInt(Attr::ATTR_SCALE);
        const bool floating = scale == kFloatingScale;
        column->scale = (scale < 0 && !floating) ? 0 : scale;
        column->isNullable = metaData.getBoolean(Attr::ATTR_IS_NULL);
        const bool identity = metaData.getBoolean(Attr::ATTR_COL_IS_IDENTITY);
        column->isAutoIncremented = identity;
        column->isReadOnly = identity;
        if (column->type == types::kNumber) {
            column->buildNumberFormat(floating);
        } else {
            column->buildDateTimeFormat();
        }
        if (column->typeName.empty()) {
            column->typeName = unknownTypeName;
        }
        columns.push_back(std::move(column));
        ++position;
    }
}

bool Session::describeObject(const std::string& objectName) {
    if (connection == nullptr) {
        throw std::logic_error("no connection");
    }
    std::vector<occi::MetaData> list;
    {
        const occi::MetaData object = connection->getMetaData(objectName, Attr::PTYPE_UNK);
        list = object.getVector(Attr::ATTR_LIST_COLUMNS);
    }
    collectColumns(list, objectName, nullptr);
    return true;
}

}  // namespace kavex
