// MetaData: a cheap value handle onto one immutable attribute record. Reading an attribute the
// record does not carry is ORA-24328, as the real client reports an attribute that does not
// apply to the described parameter.
#include "base/access.h"
#include "base/errors.h"
#include "base/faults.h"
#include "base/ora_messages.h"
#include "exec/describe.h"

namespace oracle {
namespace occi {

using kavexdb::detail::MetaDataRecord;

namespace {

[[noreturn]] void illegalAttribute() {
    kavexdb::detail::raise(kavexdb::detail::ora::kIllegalAttributeValue);
}

const MetaDataRecord& recordOf(const std::shared_ptr<const MetaDataRecord>& record) {
    if (!record) illegalAttribute();
    return *record;
}

bool isColumn(const MetaDataRecord& r) { return r.paramType == MetaData::PTYPE_COL; }
bool isObject(const MetaDataRecord& r) {
    return r.paramType == MetaData::PTYPE_TABLE || r.paramType == MetaData::PTYPE_VIEW;
}

// OCI's character set ids of the client's two character sets.
int charsetId(int charSetForm) {
    if (charSetForm == 1) return 873;   // AL32UTF8
    if (charSetForm == 2) return 2000;  // AL16UTF16
    return 0;
}

}  // namespace

MetaData::MetaData(std::shared_ptr<const MetaDataRecord> record) : record_(std::move(record)) {}
MetaData::MetaData(const MetaData& omd) : record_(omd.record_) {}
void MetaData::operator=(const MetaData& omd) { record_ = omd.record_; }
MetaData::~MetaData() {}

int MetaData::getInt(MetaData::AttrId attrid) const {
    kavexdb::detail::checkFault("MetaData::getInt");
    const MetaDataRecord& r = recordOf(record_);
    if (attrid == ATTR_PTYPE) return r.paramType;
    if (!isColumn(r)) illegalAttribute();
    switch (attrid) {
        case ATTR_DATA_SIZE:
        case ATTR_DISP_SIZE:
            return r.dataSize;
        case ATTR_DATA_TYPE:
            return r.dataType;
        case ATTR_PRECISION:
            return r.precision;
        case ATTR_SCALE:
            return r.scale;
        case ATTR_IS_NULL:
            return r.isNull ? 1 : 0;
        case ATTR_CHARSET_FORM:
            return r.charSetForm;
        case ATTR_CHARSET_ID:
            return charsetId(r.charSetForm);
        default:
            illegalAttribute();
    }
}

bool MetaData::getBoolean(MetaData::AttrId attrid) const {
    kavexdb::detail::checkFault("MetaData::getBoolean");
    const MetaDataRecord& r = recordOf(record_);
    if (!isColumn(r) || attrid != ATTR_IS_NULL) illegalAttribute();
    return r.isNull;
}

bool MetaData::getBoolean(MetaData::ColumnAttrId colAttrId) const {
    kavexdb::detail::checkFault("MetaData::getBoolean");
    const MetaDataRecord& r = recordOf(record_);
    if (!isColumn(r)) illegalAttribute();
    switch (colAttrId) {
        case ATTR_COL_IS_IDENTITY:
            return r.isIdentity;
        case ATTR_COL_IS_GEN_ALWAYS:
            return r.isGenAlways;
        case ATTR_COL_IS_GEN_BY_DEF_ON_NULL:
            return r.isGenByDefOnNull;
    }
    illegalAttribute();
}

std::string MetaData::getString(MetaData::AttrId attrid) const {
    kavexdb::detail::checkFault("MetaData::getString");
    const MetaDataRecord& r = recordOf(record_);
    switch (attrid) {
        case ATTR_NAME:
            return r.name;
        case ATTR_OBJ_SCHEMA:
            return r.objSchema;
        case ATTR_SCHEMA_NAME:
            return isColumn(r) ? r.schemaName : r.objSchema;
        case ATTR_TYPE_NAME:
            if (isColumn(r)) return r.typeName;
            break;
        default:
            break;
    }
    illegalAttribute();
}

std::vector<MetaData> MetaData::getVector(MetaData::AttrId attrid) const {
    kavexdb::detail::checkFault("MetaData::getVector");
    const MetaDataRecord& r = recordOf(record_);
    if (attrid != ATTR_LIST_COLUMNS || !isObject(r)) illegalAttribute();
    return r.columns;
}

}  // namespace occi
}  // namespace oracle

namespace kavexdb {
namespace detail {

occi::MetaData makeMetaData(std::shared_ptr<const MetaDataRecord> record) {
    return Access::metaData(std::move(record));
}

}  // namespace detail
}  // namespace kavexdb
