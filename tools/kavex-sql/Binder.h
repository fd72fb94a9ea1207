// Binds the variables a statement names to the session's prepared statement, parameter n being the
// n-th distinct placeholder. File variables stream into a temporary CLOB or BLOB through
// StreamParameterToLob in chunks, so a file of any size never sits in memory whole.
#ifndef KAVEXSQL_BINDER_H
#define KAVEXSQL_BINDER_H

#include <string>
#include <vector>

#include "Variables.h"

namespace kavexsql {

class Binder {
  public:
    static constexpr size_t kChunkSize = 64 * 1024;

    Binder(int session, const Variables& variables);

    // Throws UsageError for a placeholder without a variable, DbError for a refused bind.
    void bind(const std::vector<std::string>& names) const;

    // Sends the file's content as parameter index; used by bind and by tests of large LOBs.
    void streamFile(int index, const std::string& path, int lobKind) const;

  private:
    void bindOne(int index, const Variable& variable) const;

    int session_;
    const Variables& variables_;
};

// The longest prefix of data that does not end inside a UTF-8 sequence.
size_t completeUtf8Prefix(const char* data, size_t length);

}  // namespace kavexsql

#endif
