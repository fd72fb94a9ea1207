#include "rewrite/query/for_update.h"

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

bool takeForUpdate(TokenEditor& e) {
    int depth = 0;
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (e.punct(i, '(')) ++depth;
        if (e.punct(i, ')')) --depth;
        if (depth != 0 || !e.word(i, "FOR") || !e.word(e.next(i + 1), "UPDATE")) continue;
        std::size_t k = e.next(e.next(i + 1) + 1);
        if (e.word(k, "OF")) {
            // column [, column ...]: names, possibly qualified
            do {
                k = e.next(k + 1);
                while (e.name(k) && e.punct(e.next(k + 1), '.')) k = e.next(e.next(k + 1) + 1);
                if (!e.name(k)) raise(ora::kInvalidIdentifier);
                k = e.next(k + 1);
            } while (e.punct(k, ','));
        }
        if (e.word(k, "NOWAIT")) {
            k = e.next(k + 1);
        } else if (e.word(k, "WAIT")) {
            k = e.next(k + 1);
            if (k >= e.size() || e.at(k).kind != Token::Kind::Number)
                raise(ora::kInvalidWaitInterval);
            k = e.next(k + 1);
        } else if (e.word(k, "SKIP") && e.word(e.next(k + 1), "LOCKED")) {
            k = e.next(e.next(k + 1) + 1);
        }
        if (k < e.size()) raise(ora::kCommandNotProperlyEnded);
        e.erase(i, e.size());
        return true;
    }
    return false;
}

}  // namespace detail
}  // namespace kavexdb
