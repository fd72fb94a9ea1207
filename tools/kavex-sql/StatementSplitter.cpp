#include "StatementSplitter.h"

#include <algorithm>
#include <cctype>

#include "CommandText.h"
#include "SqlText.h"

namespace kavexsql {

namespace {

// The command words SQL*Plus (and SQLcl) users type, with the shortest abbreviation each accepts
// and what the shell does with it. All of them are line commands: they end at their line and are
// never sent as SQL.
struct CommandWord {
    const char* word;
    size_t shortest;
    CommandKind kind;
};
constexpr CommandKind R = CommandKind::Runs;
constexpr CommandKind N = CommandKind::NoEffect;
constexpr CommandKind D = CommandKind::NeedsDatabase;
constexpr CommandWord kCommandWords[] = {
    // What the shell runs.
    {"DESCRIBE", 4, R}, {"EXIT", 4, R}, {"QUIT", 4, R}, {"SET", 3, R}, {"SHOW", 3, R},
    {"SPOOL", 3, R}, {"PROMPT", 3, R}, {"DEFINE", 3, R}, {"UNDEFINE", 5, R}, {"WHENEVER", 8, R},
    {"CONNECT", 4, R}, {"DISCONNECT", 4, R}, {"REMARK", 3, R}, {"START", 3, R}, {"COLUMN", 3, R},
    {"CLEAR", 2, R}, {"TTITLE", 3, R}, {"BTITLE", 3, R}, {"EXECUTE", 4, R}, {"RUN", 1, R},
    {"VARIABLE", 3, R}, {"PRINT", 3, R}, {"LOAD", 4, R}, {"BREAK", 3, R}, {"COMPUTE", 4, R},
    // Commands that change nothing in the database: accepted with a notice.
    {"ACCEPT", 3, N}, {"APPEND", 1, N}, {"ATTRIBUTE", 4, N}, {"CHANGE", 1, N}, {"DEL", 3, N},
    {"EDIT", 2, N}, {"GET", 3, N}, {"HOST", 2, N}, {"INPUT", 1, N}, {"LIST", 1, N},
    {"PAUSE", 3, N}, {"REPFOOTER", 4, N}, {"REPHEADER", 4, N}, {"SAVE", 3, N},
    {"STORE", 5, N}, {"HISTORY", 4, N}, {"XQUERY", 6, N},
    // SQLcl's line commands.
    {"ALIAS", 5, N}, {"APEX", 4, N}, {"CD", 2, N}, {"CTAS", 4, N}, {"DDL", 3, N}, {"FORMAT", 6, N},
    {"INFORMATION", 4, N}, {"OERR", 4, N}, {"REPEAT", 6, N}, {"SCRIPT", 6, N}, {"SODA", 4, N},
    {"SSHTUNNEL", 9, N}, {"TNSPING", 7, N}, {"LIQUIBASE", 9, N},
    // Commands that would act on the database in ways the library has no call for.
    {"ARCHIVE", 7, D}, {"COPY", 4, D}, {"PASSWORD", 5, D}, {"RECOVER", 7, D}, {"SHUTDOWN", 8, D},
    {"STARTUP", 7, D},
};

bool isPlsqlStart(const std::vector<std::string>& w) {
    if (w.empty()) return false;
    if (w[0] == "BEGIN" || w[0] == "DECLARE") return true;
    if (w[0] != "CREATE") return false;
    for (size_t i = 1; i < w.size(); ++i) {
        const std::string& word = w[i];
        if (word == "OR" || word == "REPLACE" || word == "EDITIONABLE" ||
            word == "NONEDITIONABLE" || word == "TEMP" || word == "TEMPORARY")
            continue;
        return word == "PROCEDURE" || word == "FUNCTION" || word == "PACKAGE" || word == "TYPE" ||
               word == "TRIGGER" || word == "LIBRARY";
    }
    return false;
}

}  // namespace

std::string sqlPlusCommandName(const std::string& word) {
    for (const CommandWord& command : kCommandWords)
        if (abbreviates(word, command.word, command.shortest)) return command.word;
    return "";
}

CommandKind commandKind(const std::string& name) {
    for (const CommandWord& command : kCommandWords)
        if (name == command.word) return command.kind;
    return CommandKind::NoEffect;
}

bool isCommandLine(const std::string& trimmed) {
    if (trimmed.empty()) return false;
    if (trimmed[0] == '\\' || trimmed[0] == '@') return true;
    size_t end = 0;
    while (end < trimmed.size() && std::isalpha(static_cast<unsigned char>(trimmed[end]))) ++end;
    if (end < trimmed.size() && !std::isspace(static_cast<unsigned char>(trimmed[end])) &&
        trimmed[end] != ';')
        return false;
    const std::string word = sqlPlusCommandName(trimmed.substr(0, end));
    if (word.empty()) return false;
    if (word == "SET") {  // SET TRANSACTION, SET ROLE, SET CONSTRAINTS are SQL
        std::vector<std::string> w = leadingWords(trimmed, 2);
        if (w.size() == 2 && (w[1] == "TRANSACTION" || w[1] == "ROLE" || w[1] == "CONSTRAINT" ||
                              w[1] == "CONSTRAINTS"))
            return false;
    }
    return true;
}

bool isCommandInsideStatement(const std::string& trimmed) {
    if (trimmed.size() > 1 && trimmed[0] == '#') return true;
    if (sqlPlusCommandName(firstKeyword(trimmed)) != "DESCRIBE" || !isCommandLine(trimmed))
        return false;
    // "DESC" alone, or "DESC NULLS LAST", is the end of an ORDER BY item.
    std::vector<std::string> w = leadingWords(trimmed, 2);
    return w.size() == 2 && w[1] != "NULLS";
}

bool isBlankSql(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const Lexeme lexeme = lexemeAt(text, i);
        if (lexeme.kind != LexemeKind::Space && lexeme.kind != LexemeKind::Comment) return false;
        i = lexeme.end;
    }
    return true;
}

bool StatementSplitter::open() const { return inRun_ || !isBlankSql(buffer_); }

bool StatementSplitter::isPlsql() {
    if (!plsql_) plsql_ = isPlsqlStart(leadingWords(withoutLeadingComments(buffer_), 6));
    return *plsql_;
}

int StatementSplitter::lineAt(size_t position) const {
    return bufferLine_ +
           static_cast<int>(std::count(buffer_.begin(), buffer_.begin() + position, '\n'));
}

void StatementSplitter::clear() {
    buffer_.clear();
    scanned_ = 0;
    inRun_ = false;
    plsql_.reset();
}

void StatementSplitter::emit(size_t end, bool keepSemicolon, std::vector<Unit>& done) {
    std::string text = buffer_.substr(0, end);
    const size_t start = text.size() - withoutLeadingComments(text).size();
    text = trim(text.substr(start));
    if (!keepSemicolon && !text.empty() && text.back() == ';')
        text = trim(text.substr(0, text.size() - 1));
    if (!isBlankSql(text)) done.push_back({Unit::Kind::Sql, text, lineAt(start)});
    const size_t erased = std::min(end + 1, buffer_.size());
    bufferLine_ = lineAt(erased);
    buffer_.erase(0, erased);
    scanned_ = 0;
    inRun_ = false;
    plsql_.reset();
}

void StatementSplitter::scan(std::vector<Unit>& done) {
    size_t i = scanned_;
    inRun_ = false;
    while (i < buffer_.size()) {
        const Lexeme lexeme = lexemeAt(buffer_, i);
        if (!lexeme.closed) {
            inRun_ = true;
            runStart_ = i;
            scanned_ = i;  // look at it again when more text arrives
            return;
        }
        if (lexeme.kind == LexemeKind::Punct && buffer_[i] == ';' && !isPlsql()) {
            emit(i, false, done);
            i = 0;
            if (isCommandLine(trim(buffer_))) return;  // the caller runs it as a command
            continue;
        }
        i = lexeme.end;
    }
    scanned_ = i;
}

std::vector<Unit> StatementSplitter::addLine(const std::string& line, int lineNumber) {
    std::vector<Unit> done;
    currentLine_ = lineNumber;
    std::string rest = line;
    for (;;) {
        std::string trimmed = trim(rest);
        if (!inRun_) {
            if (!open() && isCommandLine(trimmed)) {
                clear();
                bufferLine_ = lineNumber + 1;
                const std::string word = sqlPlusCommandName(firstKeyword(trimmed));
                if (word != "DESCRIBE" && word != "EXIT" && word != "QUIT") {
                    done.push_back({Unit::Kind::Command, trimmed, lineNumber});
                    return done;  // the command takes the rest of the line
                }
                // DESCRIBE, EXIT, QUIT end at a ";" like statements; more may follow on the line.
                size_t semicolon = trimmed.find(';');
                done.push_back(
                    {Unit::Kind::Command, trim(trimmed.substr(0, semicolon)), lineNumber});
                if (semicolon == std::string::npos) return done;
                rest = trimmed.substr(semicolon + 1);
                continue;
            }
            if (open() && isCommandInsideStatement(trimmed)) {
                if (trimmed[0] == '#') {
                    done.push_back({Unit::Kind::Command, trim(trimmed.substr(1)), lineNumber});
                    return done;
                }
                const size_t semicolon = trimmed.find(';');
                done.push_back(
                    {Unit::Kind::Command, trim(trimmed.substr(0, semicolon)), lineNumber});
                if (semicolon == std::string::npos) return done;
                rest = trimmed.substr(semicolon + 1);
                if (trim(rest).empty()) return done;
                continue;
            }
            if (trimmed == "/") {
                if (open()) {
                    emit(buffer_.size(), isPlsql(), done);
                } else {
                    done.push_back({Unit::Kind::Rerun, "/", lineNumber});
                }
                clear();
                bufferLine_ = lineNumber + 1;
                return done;
            }
            if (!trimmed.empty() && trimmed[0] == '\\' && open()) {
                // psql's habit: a backslash command ends the statement being typed.
                emit(buffer_.size(), isPlsql(), done);
                clear();
                continue;
            }
            if (!open()) {
                clear();
                bufferLine_ = lineNumber;
            }
        }
        buffer_ += rest;
        buffer_ += '\n';
        size_t before = done.size();
        scan(done);
        // What follows the last ";" of this line may be a command of its own.
        if (done.size() > before && !inRun_ && isCommandLine(trim(buffer_))) {
            rest = trim(buffer_);
            clear();
            continue;
        }
        return done;
    }
}

std::optional<Unit> StatementSplitter::finish() {
    if (inRun_) {
        const int opened = lineAt(runStart_);
        const size_t start = buffer_.size() - withoutLeadingComments(buffer_).size();
        const bool comment = lexemeAt(buffer_, runStart_).kind == LexemeKind::Comment;
        std::string what = comment ? "a comment opened" : "a quoted text opened";
        std::string message = what + " on line " + std::to_string(opened) +
                              " is not closed at the end of the input; lines " +
                              std::to_string(lineAt(std::min(runStart_, start))) + " to " +
                              std::to_string(currentLine_) + " were not run";
        clear();
        return Unit{Unit::Kind::Error, message, opened};
    }
    std::vector<Unit> done;
    if (open()) emit(buffer_.size(), isPlsql(), done);
    clear();
    if (done.empty()) return std::nullopt;
    return done.front();
}

}  // namespace kavexsql
