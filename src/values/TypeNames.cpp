#include "values/TypeNames.h"

#include <algorithm>
#include <iterator>

namespace kavex {

namespace {

struct NamedCode {
    std::int32_t code;
    const char* name;
};

// Sorted by code, so a lookup is a binary search over constant data that needs no construction.
constexpr NamedCode kNames[] = {
    {1, "SQLT_CHR"},           {2, "SQLT_NUM"},          {3, "SQLT_INT"},
    {4, "SQLT_FLT"},           {5, "SQLT_STR"},          {6, "SQLT_VNU"},
    {7, "SQLT_PDN"},           {8, "SQLT_LNG"},          {9, "SQLT_VCS"},
    {10, "SQLT_NON"},          {11, "SQLT_RID"},         {12, "SQLT_DAT"},
    {15, "SQLT_VBI"},          {21, "SQLT_BFLOAT"},      {22, "SQLT_BDOUBLE"},
    {23, "SQLT_BIN"},          {24, "SQLT_LBI"},         {68, "SQLT_UIN"},
    {91, "SQLT_SLS"},          {94, "SQLT_LVC"},         {95, "SQLT_LVB"},
    {96, "SQLT_AFC"},          {97, "SQLT_AVC"},         {100, "SQLT_IBFLOAT"},
    {101, "SQLT_IBDOUBLE"},    {102, "SQLT_CUR"},        {104, "SQLT_RDD"},
    {105, "SQLT_LAB"},         {106, "SQLT_OSL"},        {108, "SQLT_NTY"},
    {110, "SQLT_REF"},         {112, "SQLT_CLOB"},       {113, "SQLT_BLOB"},
    {114, "SQLT_BFILEE"},      {115, "SQLT_CFILEE"},     {116, "SQLT_RSET"},
    {122, "SQLT_NCO"},         {155, "SQLT_VST"},        {156, "SQLT_ODT"},
    {184, "SQLT_DATE"},        {185, "SQLT_TIME"},       {186, "SQLT_TIME_TZ"},
    {187, "SQLT_TIMESTAMP"},   {188, "SQLT_TIMESTAMP_TZ"}, {189, "SQLT_INTERVAL_YM"},
    {190, "SQLT_INTERVAL_DS"}, {232, "SQLT_TIMESTAMP_LTZ"}, {32768, "OCCICHAR"},
    {32769, "OCCIDOUBLE"},     {32771, "OCCIANYDATA"},   {32772, "OCCINUMBER"},
    {32773, "OCCIBLOB"},       {32774, "OCCIBFILE"},     {32775, "OCCIBYTES"},
    {32776, "OCCICLOB"},       {32777, "OCCIVECTOR"},    {32778, "OCCIMETADATA"},
    {32779, "OCCIPOBJECT"},    {32780, "OCCIREF"},       {32781, "OCCIREFANY"},
    {32782, "OCCISTRING"},     {32783, "OCCISTREAM"},    {32784, "OCCIDATE"},
    {32785, "OCCIINTERVALDS"}, {32786, "OCCIINTERVALYM"}, {32787, "OCCITIMESTAMP"},
    {32788, "OCCIROWID"},      {32789, "OCCICURSOR"},
};

static_assert(std::size(kNames) == 68, "the table names 68 codes");

constexpr const char kUnknownName[] = "<unknown ATTR_DATA_TYPE>";

}  // namespace

std::size_t typeNameCount() {
    return std::size(kNames);
}

const char* typeNameOf(std::int32_t typeCode) {
    const auto* end = std::end(kNames);
    const auto* found = std::lower_bound(
        std::begin(kNames), end, typeCode,
        [](const NamedCode& entry, std::int32_t code) { return entry.code < code; });
    return (found != end && found->code == typeCode) ? found->name : kUnknownName;
}

}  // namespace kavex
