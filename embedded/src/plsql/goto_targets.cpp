#include "plsql/goto_targets.h"

#include <set>
#include <string>
#include <vector>

#include "plsql/compile_error.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {

class GotoCheck {
  public:
    // One unit: its labels first, then each GOTO against the sequences it can reach.
    void unit(const Block& block) {
        labels_.clear();
        collect(block);
        std::vector<const Body*> reach;
        checkBlock(block, reach);
    }

  private:
    void collect(const Block& block) {
        collect(block.body);
        for (const Handler& h : block.handlers) collect(h.body);
    }
    void collect(const Body& body) {
        for (const auto& s : body) {
            labels_.insert(s->labels.begin(), s->labels.end());
            for (const Body& b : s->bodies) collect(b);
            if (s->block) collect(*s->block);
        }
    }

    void checkBlock(const Block& block, std::vector<const Body*>& reach) {
        // The block's own subprograms are units of their own, checked with labels of their own.
        for (const Decl& d : block.decls)
            if (d.kind == Decl::Kind::Subprogram && d.unit && d.unit->body) {
                GotoCheck inner;
                inner.unit(*d.unit->body);
            }
        check(block.body, reach);
        // A handler reaches the sequences around its block, not the block's own.
        for (const Handler& h : block.handlers) check(h.body, reach);
    }

    void check(const Body& body, std::vector<const Body*>& reach) {
        reach.push_back(&body);
        for (const auto& s : body) {
            if (s->kind == Stmt::Kind::Goto) target(*s, reach);
            for (const Body& b : s->bodies) check(b, reach);
            if (s->block) checkBlock(*s->block, reach);
        }
        reach.pop_back();
    }

    void target(const Stmt& go, const std::vector<const Body*>& reach) const {
        for (const Body* b : reach)
            if (labelledStatement(*b, go.name) < b->size()) return;
        if (labels_.count(go.name)) compileError(go.at, ora::kPlsIllegalGoto, go.name);
        compileError(go.at, ora::kPlsNotDeclared, go.name);
    }

    std::set<std::string> labels_;
};

}  // namespace

void checkGotos(const Block& block) { GotoCheck().unit(block); }

std::size_t labelledStatement(const Body& body, const std::string& label) {
    for (std::size_t i = 0; i < body.size(); ++i)
        for (const std::string& l : body[i]->labels)
            if (l == label) return i;
    return body.size();
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
