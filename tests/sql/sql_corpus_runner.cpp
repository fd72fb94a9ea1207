// Runs one SQL corpus file through the exported C functions, as a host does, and compares the
// transcript with the .expected file beside it (the format is described in README.md).
//
//   kavex_sql_corpus [--update] FILE.sql
//
// Exit status: 0 when the transcript matches, 1 on a mismatch (a unified-style diff is printed),
// 2 when the file cannot be run at all. --update writes the transcript to FILE.expected instead.
// The session comes from KAVEX_SQL_CONNECT, KAVEX_SQL_USER and KAVEX_SQL_PASSWORD; without a
// connect string each file gets a fresh in-memory embedded database of its own.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "kavex_oracleociw.h"
#include "sql/sql_scanner.h"

namespace {

const char* const kNullMarker = "<NULL>";
const char* const kColumnSeparator = " | ";

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string trimRight(std::string text) {
    text.erase(text.find_last_not_of(" \t\r\n") + 1);
    return text;
}

// One statement of a corpus file: the full-line comments before it, echoed but not sent, and
// its text without the terminating ';'.
struct Statement {
    std::string comments;
    std::string sql;
    bool block = false;  // a PL/SQL block: ended by a "/" line, sent with its last ";"
};

// Cuts a script into statements the way SQL*Plus does for SQL: a ';' outside quotes and
// comments ends a statement. Full-line "--" comments between statements stay with the
// statement that follows them.
class ScriptSplitter {
public:
    explicit ScriptSplitter(std::string text) : text_(std::move(text)) {}

    // The statements in order; throws std::runtime_error for text left without its ';'.
    std::vector<Statement> statements() {
        std::vector<Statement> result;
        for (;;) {
            Statement statement;
            statement.comments = leadingComments();
            if (pos_ >= text_.size()) {
                break;
            }
            statement.block = startsBlock();
            statement.sql = statement.block ? untilSlashLine() : untilTerminator();
            result.push_back(std::move(statement));
        }
        return result;
    }

private:
    // Skips blank lines and collects whole "--" comment lines.
    std::string leadingComments() {
        std::string comments;
        while (pos_ < text_.size()) {
            const std::size_t end = lineEnd(pos_);
            const std::string line = text_.substr(pos_, end - pos_);
            const std::size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string::npos) {
                pos_ = end + 1;
            } else if (line.compare(first, 2, "--") == 0) {
                comments += trimRight(line) + "\n";
                pos_ = end + 1;
            } else {
                break;
            }
        }
        return comments;
    }

    // The text up to the next ';' that is SQL: quotes, q-quotes, identifiers and comments are
    // stepped over by the same lexer the embedded database reads statements with.
    std::string untilTerminator() {
        const std::size_t start = pos_;
        while (pos_ < text_.size()) {
            const kavexdb::lexer::Lexeme lexeme = kavexdb::lexer::lexemeAt(text_, pos_);
            if (lexeme.kind == kavexdb::lexer::Token::Kind::Punct && text_[pos_] == ';') {
                const std::string sql = trimRight(text_.substr(start, pos_ - start));
                ++pos_;
                return sql;
            }
            pos_ = lexeme.end;
        }
        throw std::runtime_error("statement without its ';': " + text_.substr(start));
    }

    // A PL/SQL unit, whose ";" end its statements, not it: DECLARE or BEGIN, or CREATE [OR
    // REPLACE] [EDITIONABLE | NONEDITIONABLE] PROCEDURE | FUNCTION | PACKAGE | TRIGGER | TYPE.
    bool startsBlock() const {
        std::vector<std::string> words;
        std::size_t at = pos_;
        while (words.size() < 5) {
            while (at < text_.size() && std::isspace(static_cast<unsigned char>(text_[at]))) ++at;
            std::size_t end = at;
            while (end < text_.size() && std::isalpha(static_cast<unsigned char>(text_[end])))
                ++end;
            if (end == at) break;
            std::string word = text_.substr(at, end - at);
            for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            words.push_back(word);
            at = end;
        }
        if (words.empty()) return false;
        if (words[0] == "DECLARE" || words[0] == "BEGIN") return true;
        if (words[0] != "CREATE") return false;
        for (std::size_t i = 1; i < words.size(); ++i) {
            const std::string& w = words[i];
            if (w == "OR" || w == "REPLACE" || w == "EDITIONABLE" || w == "NONEDITIONABLE") continue;
            return w == "PROCEDURE" || w == "FUNCTION" || w == "PACKAGE" || w == "TRIGGER" ||
                   w == "TYPE";
        }
        return false;
    }

    // The text up to a line holding only "/", as SQL*Plus ends a block.
    std::string untilSlashLine() {
        const std::size_t start = pos_;
        while (pos_ < text_.size()) {
            const std::size_t end = lineEnd(pos_);
            if (trimRight(text_.substr(pos_, end - pos_)) == "/") {
                const std::string sql = trimRight(text_.substr(start, pos_ - start));
                pos_ = end + 1;
                return sql;
            }
            pos_ = end + 1;
        }
        throw std::runtime_error("block without its \"/\" line: " + text_.substr(start));
    }

    std::size_t lineEnd(std::size_t from) const {
        const std::size_t end = text_.find('\n', from);
        return end == std::string::npos ? text_.size() : end;
    }

    std::string text_;
    std::size_t pos_ = 0;
};

std::string errorText(int errorId) {
    const char* text = GetError(errorId);
    return trimRight(text != nullptr ? text : "<no message>");
}

// A session opened through OpenConnection and closed when it goes.
class CorpusSession {
public:
    CorpusSession() {
        const std::string connect = setting("KAVEX_SQL_CONNECT", freshDatabase());
        id_ = OpenConnection(connect.c_str(), setting("KAVEX_SQL_USER", "scott").c_str(),
                             setting("KAVEX_SQL_PASSWORD", "tiger").c_str());
        if (id_ < 0) {
            throw std::runtime_error("cannot connect to " + connect + ": " + errorText(id_));
        }
    }
    ~CorpusSession() { CloseConnection(id_); }
    CorpusSession(const CorpusSession&) = delete;
    CorpusSession& operator=(const CorpusSession&) = delete;

    int id() const { return id_; }

private:
    static std::string setting(const char* name, const std::string& fallback) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0' ? value : fallback;
    }

    static std::string freshDatabase() {
        static int opened = 0;
        return "file:/kavex_sql_corpus_" + std::to_string(::getpid()) + "_" +
               std::to_string(opened++) + "?vfs=memdb";
    }

    int id_ = -1;
};

// Column values as text: what GetString gives, RAW and BLOB bytes in hexadecimal as Oracle
// displays them, NULL as the marker.
class ValueRenderer {
public:
    explicit ValueRenderer(int session) : session_(session) {}

    std::string render(int column) const {
        const int type = GetColumnType(session_, column);
        if (isBinary(type)) {
            return hex(column);
        }
        if (isFloating(type)) {
            return floating(column, type);
        }
        KavexPointerRecord record{};
        const int result = GetString(session_, column, &record);
        if (result < 0) {
            return "<" + errorText(result) + ">";
        }
        if (record.isNull != 0) {
            return kNullMarker;
        }
        return std::string(record.value, static_cast<std::size_t>(record.length));
    }

private:
    static bool isBinary(int type) {
        return type == KAVEX_SQLT_BIN || type == KAVEX_SQLT_LBI || type == KAVEX_SQLT_LVB ||
               type == KAVEX_SQLT_BLOB;
    }

    static bool isFloating(int type) {
        return isDouble(type) || type == KAVEX_SQLT_IBFLOAT || type == KAVEX_SQLT_BFLOAT ||
               type == KAVEX_SQLT_FLT;
    }

    static bool isDouble(int type) {
        return type == KAVEX_SQLT_IBDOUBLE || type == KAVEX_SQLT_BDOUBLE;
    }

    // BINARY_DOUBLE through GetDouble and BINARY_FLOAT through GetFloat, in the shortest digits
    // that read back as the same value.
    std::string floating(int column, int type) const {
        if (isDouble(type)) {
            KavexDoubleRecord record{};
            const int result = GetDouble(session_, column, &record);
            return result < 0 ? "<" + errorText(result) + ">"
                              : record.isNull != 0 ? kNullMarker : shortest(record.value);
        }
        KavexFloatRecord record{};
        const int result = GetFloat(session_, column, &record);
        return result < 0 ? "<" + errorText(result) + ">"
                          : record.isNull != 0 ? kNullMarker : shortest(record.value);
    }

    template <typename T>
    static std::string shortest(T value) {
        char buffer[64];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
        return std::string(buffer, written.ptr);
    }

    std::string hex(int column) const {
        KavexPointerRecord record{};
        const int result = GetByteArray(session_, column, &record);
        if (result < 0) {
            return "<" + errorText(result) + ">";
        }
        if (record.isNull != 0) {
            return kNullMarker;
        }
        static const char digits[] = "0123456789ABCDEF";
        std::string text;
        const auto* bytes = reinterpret_cast<const unsigned char*>(record.value);
        for (int32_t i = 0; i < record.length; ++i) {
            text += digits[bytes[i] >> 4];
            text += digits[bytes[i] & 0x0F];
        }
        return text;
    }

    int session_;
};

// Runs statements on a session and writes the transcript: each statement echoed with its ';',
// then its rows (a heading of column names, one line per row), its update count or its error,
// then a blank line.
class TranscriptWriter {
public:
    explicit TranscriptWriter(int session) : session_(session) {}

    void run(const Statement& statement) {
        out_ << statement.comments << statement.sql << (statement.block ? "\n/\n" : ";\n");
        const int result = ExecuteQuery(session_, statement.sql.c_str(), 0);
        if (result < 0) {
            out_ << errorText(result) << "\n";
        } else if (GetColumnsCount(session_) > 0) {
            writeRows();
        } else {
            out_ << result << (result == 1 ? " row" : " rows") << " affected\n";
        }
        out_ << "\n";
    }

    std::string text() const { return out_.str(); }

private:
    void writeRows() {
        const int columns = GetColumnsCount(session_);
        std::vector<std::string> heading;
        for (int i = 0; i < columns; ++i) {
            heading.emplace_back(GetColumnName(session_, i));
        }
        writeLine(heading);
        const ValueRenderer renderer(session_);
        for (;;) {
            const int next = NextRow(session_);
            if (next < 0) {
                out_ << errorText(next) << "\n";
                return;
            }
            if (next == 0) {
                return;
            }
            std::vector<std::string> row;
            for (int i = 0; i < columns; ++i) {
                row.push_back(renderer.render(i));
            }
            writeLine(row);
        }
    }

    void writeLine(const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            out_ << (i == 0 ? "" : kColumnSeparator) << fields[i];
        }
        out_ << "\n";
    }

    int session_;
    std::ostringstream out_;
};

// A line diff of two texts in unified style, from their longest common subsequence.
class LineDiff {
public:
    LineDiff(const std::string& expected, const std::string& actual)
        : a_(splitLines(expected)), b_(splitLines(actual)) {}

    void print(std::ostream& out, const std::string& expectedName) const {
        // One edit script: ' ' kept, '-' only expected, '+' only actual.
        std::vector<std::pair<char, std::string>> edits = script();
        out << "--- " << expectedName << "\n+++ actual\n";
        const std::size_t context = 3;
        std::size_t i = 0;
        std::size_t lineA = 1;
        std::size_t lineB = 1;
        while (i < edits.size()) {
            if (edits[i].first == ' ') {
                ++i, ++lineA, ++lineB;
                continue;
            }
            // A hunk: the changes from i, merged while kept runs between them stay short.
            std::size_t start = i >= context ? i - context : 0;
            std::size_t end = i;
            while (end < edits.size()) {
                std::size_t kept = end;
                while (kept < edits.size() && edits[kept].first == ' ') ++kept;
                if (kept == edits.size() || kept - end > 2 * context) {
                    end = std::min(edits.size(), end + context);
                    break;
                }
                end = kept;
                while (end < edits.size() && edits[end].first != ' ') ++end;
            }
            std::size_t fromA = lineA - (i - start);
            std::size_t fromB = lineB - (i - start);
            std::size_t countA = 0;
            std::size_t countB = 0;
            for (std::size_t k = start; k < end; ++k) {
                countA += edits[k].first != '+';
                countB += edits[k].first != '-';
            }
            out << "@@ -" << fromA << "," << countA << " +" << fromB << "," << countB << " @@\n";
            for (std::size_t k = start; k < end; ++k) {
                out << edits[k].first << edits[k].second << "\n";
            }
            for (std::size_t k = i; k < end; ++k) {
                lineA += edits[k].first != '+';
                lineB += edits[k].first != '-';
            }
            i = end;
        }
    }

private:
    std::vector<std::pair<char, std::string>> script() const {
        const std::size_t n = a_.size();
        const std::size_t m = b_.size();
        std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
        for (std::size_t i = n; i-- > 0;) {
            for (std::size_t j = m; j-- > 0;) {
                common[i][j] = a_[i] == b_[j] ? common[i + 1][j + 1] + 1
                                              : std::max(common[i + 1][j], common[i][j + 1]);
            }
        }
        std::vector<std::pair<char, std::string>> edits;
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && a_[i] == b_[j]) {
                edits.emplace_back(' ', a_[i++]);
                ++j;
            } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
                edits.emplace_back('-', a_[i++]);
            } else {
                edits.emplace_back('+', b_[j++]);
            }
        }
        return edits;
    }

    std::vector<std::string> a_;
    std::vector<std::string> b_;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string expectedPath(const std::string& sqlPath) {
    const std::size_t dot = sqlPath.rfind(".sql");
    if (dot == std::string::npos || dot + 4 != sqlPath.size()) {
        throw std::runtime_error("not a .sql file: " + sqlPath);
    }
    return sqlPath.substr(0, dot) + ".expected";
}

int runFile(const std::string& sqlPath, bool update) {
    const std::vector<Statement> statements = ScriptSplitter(readFile(sqlPath)).statements();
    std::string transcript;
    {
        const CorpusSession session;
        TranscriptWriter writer(session.id());
        for (const Statement& statement : statements) {
            writer.run(statement);
        }
        transcript = writer.text();
    }
    const std::string expectedFile = expectedPath(sqlPath);
    if (update) {
        std::ofstream(expectedFile, std::ios::binary) << transcript;
        std::cout << "wrote " << expectedFile << "\n";
        return 0;
    }
    const std::string expected = readFile(expectedFile);
    if (expected == transcript) {
        return 0;
    }
    LineDiff(expected, transcript).print(std::cout, expectedFile);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    bool update = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--update") {
            update = true;
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        std::cerr << "usage: " << argv[0] << " [--update] FILE.sql...\n";
        return 2;
    }
    int status = 0;
    for (const std::string& file : files) {
        try {
            status = std::max(status, runFile(file, update));
        } catch (const std::exception& e) {
            std::cerr << file << ": " << e.what() << "\n";
            status = 2;
        }
    }
    return status;
}
