// What user SQL may do in a session's database, enforced with SQLite's authorizer while the
// statement is prepared (and re-prepared). User SQL never sees the accounts table (it is
// reported as missing, ORA-00942) and never runs ATTACH, DETACH, PRAGMA, load_extension or
// fts3_tokenizer (ORA-01031). The client's own statements on its catalog run inside a Trusted
// scope.
#ifndef KAVEXDB_AUTHORIZER_H
#define KAVEXDB_AUTHORIZER_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {

class Authorizer {
  public:
    // Installs itself on db; the caller keeps db open for the authorizer's lifetime.
    explicit Authorizer(sqlite3* db);
    ~Authorizer();
    Authorizer(const Authorizer&) = delete;
    Authorizer& operator=(const Authorizer&) = delete;

    // The client's own work: nothing is refused while one is alive.
    class Trusted {
      public:
        explicit Trusted(Authorizer& a) : a_(a) { ++a_.trusted_; }
        ~Trusted() { --a_.trusted_; }
        Trusted(const Trusted&) = delete;
        Trusted& operator=(const Trusted&) = delete;

      private:
        Authorizer& a_;
    };

    // The preparation of a host's SQL text: no PRAGMA at all. Outside it, while statements run,
    // SQLite and its modules prepare PRAGMA statements of their own (for pragma_table_info(...),
    // for full-text search); those that only read are allowed.
    class UserText {
      public:
        explicit UserText(Authorizer& a) : a_(a) { a_.userText_ = true; }
        ~UserText() { a_.userText_ = false; }
        UserText(const UserText&) = delete;
        UserText& operator=(const UserText&) = delete;

      private:
        Authorizer& a_;
    };

  private:
    static int check(void* self, int action, const char* a1, const char* a2, const char* db,
                     const char* inner);
    int decide(int action, const char* a1, const char* a2) const;

    sqlite3* db_;
    int trusted_ = 0;
    bool userText_ = false;
};

}  // namespace detail
}  // namespace kavexdb

#endif
