// The token editor's checked access (sql/token_editor.h).
#include "sql/token_editor.h"

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

const Token TokenEditor::kNone{Token::Kind::Space, std::string()};

void TokenEditor::outOfRange(std::size_t i) {
    raise(ora::kInternalError, "token position", i);
}

}  // namespace detail
}  // namespace kavexdb
