// The token editor's checked access (sql/token_editor.h).
#include "sql/token_editor.h"

#include "base/errors.h"

namespace kavexdb {
namespace detail {

const Token TokenEditor::kNone{Token::Kind::Space, std::string()};

void TokenEditor::outOfRange(std::size_t i) {
    raise(600, "internal error code, arguments: [token position], [" + std::to_string(i) + "]");
}

}  // namespace detail
}  // namespace kavexdb
