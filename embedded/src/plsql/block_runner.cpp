#include "plsql/block_runner.h"

#include "base/ora_messages.h"
#include "plsql/compile_error.h"
#include "plsql/parser.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {

constexpr int kMostRecursion = 50;
thread_local int depth = 0;

class Depth {
  public:
    Depth() {
        if (depth >= kMostRecursion) raise(ora::kRecursiveSqlLevels, kMostRecursion);
        ++depth;
    }
    ~Depth() { --depth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
};

}  // namespace

void runAnonymousBlock(SqlPort& port, const std::string& text, const HostBinds& host) {
    const Depth nested;
    try {
        const Source source(text);
        const std::unique_ptr<Block> block = parseAnonymousBlock(source);
        Interpreter interpreter(port, source, host);
        interpreter.run(*block);
    } catch (const CompileError& e) {
        throw e.error;
    }
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
