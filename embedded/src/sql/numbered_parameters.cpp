#include "sql/numbered_parameters.h"

#include "sql/sql_lexer.h"

namespace kavexdb {
namespace detail {

NumberedParameters::NumberedParameters(const std::string& sql) {
    if (sql.find(':') == std::string::npos) {
        sql_ = sql;
        return;
    }
    std::vector<Token> tokens = lexSql(sql);
    for (Token& t : tokens) {
        if (t.kind != Token::Kind::Bind) continue;
        const auto found = indexes_.find(t.text);
        if (found == indexes_.end()) {
            names_.push_back(t.text);
            indexes_.emplace(t.text, static_cast<int>(names_.size()));
            t.text = "?";  // the next index
        } else {
            t.text = "?" + std::to_string(found->second);
        }
    }
    sql_ = joinTokens(tokens);
}

int NumberedParameters::index(const std::string& name) const {
    const auto found = indexes_.find(name);
    return found == indexes_.end() ? 0 : found->second;
}

const std::string& NumberedParameters::name(int index) const {
    static const std::string none;
    if (index < 1 || static_cast<std::size_t>(index) > names_.size()) return none;
    return names_[static_cast<std::size_t>(index) - 1];
}

}  // namespace detail
}  // namespace kavexdb
