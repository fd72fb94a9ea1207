// Handlers whose values reach Java boxed: Integer, Float and Double. Only SQL NULL gives null; a
// zero is a value.
#include "jni/JniHandlers.h"

namespace kavex {

jobject IntegerJniHandler::readValue(JniContext& context, JniSession&, const ColumnInfo& column,
                                     occi::ResultSet& resultSet) const {
    const unsigned int i = static_cast<unsigned int>(column.index) + 1;
    if (resultSet.isNull(i)) {
        return nullptr;
    }
    return context.newInteger(resultSet.getInt(i));
}

jobject FloatJniHandler::readValue(JniContext& context, JniSession&, const ColumnInfo& column,
                                   occi::ResultSet& resultSet) const {
    const occi::BFloat value = resultSet.getBFloat(static_cast<unsigned int>(column.index) + 1);
    if (value.isNull) {
        return nullptr;
    }
    return context.newFloat(value.value);
}

jobject DoubleJniHandler::readValue(JniContext& context, JniSession&, const ColumnInfo& column,
                                    occi::ResultSet& resultSet) const {
    const occi::BDouble value = resultSet.getBDouble(static_cast<unsigned int>(column.index) + 1);
    if (value.isNull) {
        return nullptr;
    }
    return context.newDouble(value.value);
}

}  // namespace kavex
