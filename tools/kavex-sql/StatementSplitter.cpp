#include "StatementSplitter.h"

#include <cctype>

#include "SqlText.h"

namespace kavexsql {

namespace {

bool isCommandLine(const std::string& trimmed) {
    if (trimmed.empty()) return false;
    if (trimmed[0] == '\\') return true;
    size_t end = 0;
    while (end < trimmed.size() && std::isalpha(static_cast<unsigned char>(trimmed[end]))) ++end;
    if (end < trimmed.size() && !std::isspace(static_cast<unsigned char>(trimmed[end])) &&
        trimmed[end] != ';')
        return false;
    std::string word = upper(trimmed.substr(0, end));
    return word == "DESCRIBE" || word == "DESC" || word == "EXIT" || word == "QUIT";
}

std::vector<std::string> words(const std::string& text, size_t count) {
    std::vector<std::string> out;
    size_t i = 0;
    while (out.size() < count && i < text.size()) {
        while (i < text.size() && !std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
        size_t j = i;
        while (j < text.size() &&
               (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_'))
            ++j;
        if (j > i) out.push_back(upper(text.substr(i, j - i)));
        i = j;
    }
    return out;
}

}  // namespace

bool isBlankSql(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
        } else if (text.compare(i, 2, "--") == 0) {
            size_t end = text.find('\n', i);
            i = end == std::string::npos ? text.size() : end + 1;
        } else if (text.compare(i, 2, "/*") == 0) {
            size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? text.size() : end + 2;
        } else {
            return false;
        }
    }
    return true;
}

bool StatementSplitter::open() const { return !isBlankSql(buffer_); }

bool StatementSplitter::isBlock() const {
    std::string first = firstKeyword(buffer_);
    return first == "BEGIN" || first == "DECLARE";
}

bool StatementSplitter::isTrigger() const {
    std::vector<std::string> w = words(buffer_, 5);
    if (w.empty() || w[0] != "CREATE") return false;
    for (size_t i = 1; i < w.size(); ++i) {
        if (w[i] == "TRIGGER") return true;
        if (w[i] != "OR" && w[i] != "REPLACE" && w[i] != "TEMP" && w[i] != "TEMPORARY")
            return false;
    }
    return false;
}

bool StatementSplitter::endsWithEnd(size_t semicolon) const {
    size_t j = semicolon;
    while (j > 0 && std::isspace(static_cast<unsigned char>(buffer_[j - 1]))) --j;
    size_t i = j;
    while (i > 0 && std::isalpha(static_cast<unsigned char>(buffer_[i - 1]))) --i;
    return upper(buffer_.substr(i, j - i)) == "END" &&
           (i == 0 ||
            !(std::isalnum(static_cast<unsigned char>(buffer_[i - 1])) || buffer_[i - 1] == '_'));
}

void StatementSplitter::emit(size_t end, std::vector<Unit>& done) {
    std::string text = trim(buffer_.substr(0, end));
    if (!isBlankSql(text)) done.push_back({Unit::Kind::Sql, text, startLine_});
    buffer_.erase(0, end + 1);
    scanned_ = 0;
    quote_ = 0;
    blockComment_ = lineComment_ = false;
    startLine_ = currentLine_;
}

void StatementSplitter::scan(std::vector<Unit>& done) {
    size_t i = scanned_;
    while (i < buffer_.size()) {
        char c = buffer_[i];
        if (lineComment_) {
            if (c == '\n') lineComment_ = false;
        } else if (blockComment_) {
            if (c == '*' && i + 1 < buffer_.size() && buffer_[i + 1] == '/') {
                blockComment_ = false;
                ++i;
            }
        } else if (quote_) {
            if (c == quote_) quote_ = 0;  // a doubled quote closes and reopens: same result
        } else if (c == '\'' || c == '"') {
            quote_ = c;
        } else if (c == '-' && i + 1 < buffer_.size() && buffer_[i + 1] == '-') {
            lineComment_ = true;
            ++i;
        } else if (c == '/' && i + 1 < buffer_.size() && buffer_[i + 1] == '*') {
            blockComment_ = true;
            ++i;
        } else if (c == ';' && !isBlock() && (!isTrigger() || endsWithEnd(i))) {
            emit(i, done);
            if (isCommandLine(trim(buffer_))) return;  // the caller runs it as a command
            i = 0;
            continue;
        }
        ++i;
    }
    scanned_ = i;
}

std::vector<Unit> StatementSplitter::addLine(const std::string& line, int lineNumber) {
    std::vector<Unit> done;
    currentLine_ = lineNumber;
    std::string rest = line;
    for (;;) {
        std::string trimmed = trim(rest);
        if (!open() && isCommandLine(trimmed)) {
            buffer_.clear();
            scanned_ = 0;
            if (trimmed[0] == '\\') {  // a backslash command takes the rest of the line
                done.push_back({Unit::Kind::Command, trimmed, lineNumber});
                return done;
            }
            // DESCRIBE, EXIT, QUIT end at a ";" like statements; more may follow on the line.
            size_t semicolon = trimmed.find(';');
            done.push_back({Unit::Kind::Command, trim(trimmed.substr(0, semicolon)), lineNumber});
            if (semicolon == std::string::npos) return done;
            rest = trimmed.substr(semicolon + 1);
            continue;
        }
        if (!open()) {
            if (isBlankSql(buffer_ + rest)) {
                buffer_ += rest + "\n";
                startLine_ = lineNumber + 1;
                return done;
            }
            startLine_ = lineNumber;
        }
        if (trimmed == "/" && open() && !quote_ && !blockComment_) {
            // A slash line ends whatever is open (blocks need it; plain statements accept it).
            std::string text = trim(buffer_);
            if (!text.empty() && text.back() == ';' && !isBlock() && !isTrigger()) text.pop_back();
            done.push_back({Unit::Kind::Sql, trim(text), startLine_});
            buffer_.clear();
            scanned_ = 0;
            lineComment_ = false;
            return done;
        }
        buffer_ += rest;
        buffer_ += '\n';
        size_t before = done.size();
        scan(done);
        // What follows the last ";" of this line may be a command of its own.
        if (done.size() > before && isCommandLine(trim(buffer_)) && !quote_ && !blockComment_) {
            rest = trim(buffer_);
            buffer_.clear();
            scanned_ = 0;
            continue;
        }
        return done;
    }
}

std::optional<Unit> StatementSplitter::finish() {
    std::string text = trim(buffer_);
    buffer_.clear();
    scanned_ = 0;
    quote_ = 0;
    blockComment_ = lineComment_ = false;
    if (isBlankSql(text)) return std::nullopt;
    return Unit{Unit::Kind::Sql, text, startLine_};
}

}  // namespace kavexsql
