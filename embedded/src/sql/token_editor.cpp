// The token editor's checked access (sql/token_editor.h).
#include "sql/token_editor.h"

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

const Token TokenEditor::kNone{Token::Kind::Space, std::string()};

std::vector<TokenEditor::Span> TokenEditor::relex() {
    std::vector<Token> lexed = lexSql(text());
    std::vector<Span> spans;
    spans.reserve(t_.size());
    // Both lists cut the same text; walk them side by side by offset.
    std::size_t at = 0;        // offset where old token i starts
    std::size_t next = 0;      // the new token that holds offset `at` (or starts after it)
    std::size_t nextStart = 0;  // offset where new token `next` starts
    for (std::size_t i = 0; i < t_.size(); ++i) {
        const std::size_t length = t_[i].text.size() + (i < after_.size() ? after_[i].size() : 0);
        while (next < lexed.size() && nextStart + lexed[next].text.size() <= at) {
            nextStart += lexed[next].text.size();
            ++next;
        }
        Span span{next, next};
        if (length == 0) {
            span.first = next + 1;  // empty: last < first
        } else {
            std::size_t last = next, lastStart = nextStart;
            while (last < lexed.size() && lastStart + lexed[last].text.size() < at + length) {
                lastStart += lexed[last].text.size();
                ++last;
            }
            span.last = last;
        }
        spans.push_back(span);
        at += length;
    }
    t_ = std::move(lexed);
    after_.clear();
    return spans;
}

void TokenEditor::outOfRange(std::size_t i) {
    raise(ora::kInternalError, "token position", i);
}

}  // namespace detail
}  // namespace kavexdb
