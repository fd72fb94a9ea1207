#include "ReportSettings.h"

#include "SqlText.h"

namespace kavexsql {

const ColumnFormat* ReportSettings::column(const std::string& name) const {
    auto found = columns.find(upper(name));
    return found == columns.end() ? nullptr : &found->second;
}

}  // namespace kavexsql
