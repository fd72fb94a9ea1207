// The rows of one query execution. Rows are stepped ahead in batches of the statement's
// prefetch count and copied into a buffer, so the SQLite statement is finished (and its read
// snapshot released) as soon as the last row has been fetched.
#ifndef KAVEXDB_RESULT_SET_H
#define KAVEXDB_RESULT_SET_H

#include <cstdint>
#include <string>
#include <vector>

#include "base/charset.h"
#include "base/temp_space.h"
#include "exec/describe.h"
#include "storage/bind_value.h"
#include "storage/lazy_lobs.h"
#include "storage/lob_content.h"
#include "storage/lob_storage.h"
#include "types/declared_type.h"

#include "occi/call_cancel.h"

namespace kavexdb {
namespace detail {

class ResultSetImpl final : public occi::ResultSet {
public:
    // With lazy, its rows statement is stepped instead of stmt (both owned by the statement)
    // and its LOB columns are read from their rows through lobs. A fetch can be cancelled
    // through cancel, and its temporary files count against temp (both the connection's, which
    // must outlive the result set).
    ResultSetImpl(sqlite3* db, sqlite3_stmt* stmt, unsigned prefetch, Charset charset,
                  CallCancel& cancel, TempSpace& temp, const LazyLobQuery* lazy = nullptr,
                  std::shared_ptr<LobSession> lobs = nullptr);
    ~ResultSetImpl() override;

    // Fetches the first batch; errors of the query surface here, at execute.
    void start();
    // Ends the result set: later use is ORA-01001. Safe to call more than once.
    void end();
    bool ended() const { return stmt_ == nullptr; }

    Status next(unsigned int numRows) override;
    std::vector<occi::MetaData> getColumnListMetaData() const override;
    void setMaxColumnSize(unsigned int colIndex, unsigned int max) override;
    bool isNull(unsigned int colIndex) const override;
    std::string getString(unsigned int colIndex) override;
    int getInt(unsigned int colIndex) override;
    occi::BFloat getBFloat(unsigned int colIndex) override;
    occi::BDouble getBDouble(unsigned int colIndex) override;
    occi::Number getNumber(unsigned int colIndex) override;
    occi::Date getDate(unsigned int colIndex) override;
    occi::Timestamp getTimestamp(unsigned int colIndex) override;
    occi::Clob getClob(unsigned int colIndex) override;
    occi::Blob getBlob(unsigned int colIndex) override;
    occi::Bytes getBytes(unsigned int colIndex) override;
    // The current row's value as SQLite holds it (a CLOB's as text), for the PL/SQL engine.
    BindValue value(unsigned colIndex);

private:
    // One fetched value; text and blob bytes live in the batch's arena.
    struct Cell {
        int type;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
        std::uint32_t length;  // TEXT and BLOB (SQLite's values stay under 2 GiB)
        union {
            std::int64_t integer;
            double real;
            std::size_t offset;  // TEXT and BLOB: into the arena
        };
    };
    struct Column {
        bool typed = false;      // a table column, whose declared type is declared
        DeclaredType declared;
        bool lob = false;        // CLOB or BLOB: an empty value is an empty LOB, not NULL
        bool clob = false;       // CLOB or NCLOB: a blob there holds the text's UTF-8 bytes
        bool longType = false;   // LONG or LONG RAW: setMaxColumnSize truncates it
        unsigned maxSize = 0;    // 0: no limit
        bool numericScale = false;  // NUMBER(p,s) with 0 <= s <= 15: reals may take the fast path
    };

    void fetchBatch();
    // Whether a BLOB in column i may be a NUMBER in its stored form: an expression, or a
    // NUMBER column.
    bool storedNumberColumn(std::size_t i) const {
        const Column& c = columns_[i];
        return !c.lob && (!c.typed || c.declared.dataType == occi::OCCI_SQLT_NUM);
    }
    // A LOB value not read yet: its type (kLazyText or kLazyBlob) and, in integer, its rowid.
    static constexpr int kLazyText = 100, kLazyBlob = 101;
    static bool isLazy(const Cell& c) { return c.type >= kLazyText; }
    // The current row's value with a lazy LOB value read in whole (for getters other than
    // getClob and getBlob). Inline: every getter of the fetch loop starts here.
    const Cell& valueCell(unsigned colIndex) {
        const Cell& c = cell(colIndex);
        return isLazy(c) ? readLazy(colIndex) : c;
    }
    const Cell& readLazy(unsigned colIndex);
    std::shared_ptr<LobContent> lazyContent(unsigned colIndex, const Cell& c, bool isClob) const;
    // The current row's value; ORA-01001 (ended), ORA-32109 (position), ORA-01002 (no row).
    const Cell& cell(unsigned colIndex) const {
        if (onRow_ && colIndex - 1 < columns_.size())  // onRow_ is false once ended
            return cells_[(row_ - 1) * columns_.size() + (colIndex - 1)];
        refuseCell(colIndex);
    }
    [[noreturn]] void refuseCell(unsigned colIndex) const;
    bool cellIsNull(unsigned colIndex, const Cell& c) const;
    // A column without a declared type whose expression is a CLOB or BLOB (EMPTY_CLOB()): an
    // empty value there is an empty LOB too. Worked out at the first empty value met in such a
    // column, for all of them at once.
    bool lobExpression(unsigned colIndex) const;
    std::string cellBytes(unsigned colIndex, const Cell& c) const;  // truncated for LONG
    double cellReal(const Cell& c) const;
    occi::Number cellNumber(unsigned colIndex, const Cell& c) const;

    sqlite3* db_;
    CallCancel& cancel_;
    TempSpace& temp_;
    sqlite3_stmt* stmt_;  // owned by the statement; null once ended
    sqlite3_stmt* rows_;  // what is stepped: stmt_ or the lazy query's rows
    const LazyLobQuery* lazy_;
    std::shared_ptr<LobSession> lobs_;
    bool holding_ = false;  // lobs_ keeps its blob handle while this one is walked
    unsigned prefetch_;
    Charset charset_;
    std::vector<Column> columns_;
    std::vector<ColumnSample> samples_;

    std::vector<Cell> cells_;  // the batch: its first batchRows_ rows of columns_.size() cells
    std::string arena_;  // the batch's text and blob bytes, from its start; grows, never shrinks
    std::size_t batchRows_ = 0;
    std::size_t row_ = 0;      // current row within the batch
    bool onRow_ = false;
    bool finished_ = false;    // SQLite reported the last row
    bool afterEnd_ = false;    // next returned END_OF_FETCH
    bool hasPendingError_ = false;
    occi::SQLException pendingError_;  // a failure met while stepping ahead, raised when reached
    mutable std::vector<occi::MetaData> metaData_;
    mutable bool described_ = false;
    mutable std::vector<bool> lobExpressions_;  // by column; empty until lobExpression needs it
};

}  // namespace detail
}  // namespace kavexdb

#endif
