#include "Binder.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "Connection.h"
#include "DbError.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

Binder::Binder(int session, const Variables& variables)
    : session_(session), variables_(variables) {}

void Binder::bind(const std::vector<std::string>& names) const {
    for (size_t i = 0; i < names.size(); ++i) {
        const Variable* variable = variables_.find(names[i]);
        if (!variable)
            throw UsageError("bind variable :" + names[i] + " is not set (use \\set " + names[i] +
                             " VALUE)");
        // A declared CHAR or VARCHAR2 takes no longer text from a block (ORA-06502 there).
        const Declaration* declared = variables_.declaration(names[i]);
        if (declared && declared->type.maxBytes > 0)
            Connection::check(SetMaxParSize(session_, static_cast<unsigned>(i + 1),
                                            declared->type.maxBytes));
        bindOne(static_cast<int>(i + 1), *variable);
    }
}

namespace {

// The significant digits of a number's text ("-0.00120E5": 2).
size_t significantDigits(const std::string& text) {
    size_t first = text.find_first_of("123456789");
    const size_t end = text.find_first_of("eE");
    if (first == std::string::npos || (end != std::string::npos && first > end)) return 0;
    size_t last = text.find_last_of("123456789", end == std::string::npos ? end : end - 1);
    size_t digits = 0;
    for (size_t i = first; i <= last; ++i) digits += text[i] >= '0' && text[i] <= '9';
    return digits;
}

}  // namespace

void Binder::bindOne(int index, const Variable& variable) const {
    using Kind = Variable::Kind;
    switch (variable.kind) {
        case Kind::Text:
            Connection::check(SetString(session_, index, variable.text.c_str(), 0));
            break;
        case Kind::Null:
            Connection::check(SetString(session_, index, nullptr, 1));
            break;
        case Kind::Number: {
            // As a number where one holds its digits exactly, else as its text.
            char* end = nullptr;
            const long long n = std::strtoll(variable.text.c_str(), &end, 10);
            if (*end == '\0' && n >= INT32_MIN && n <= INT32_MAX)
                Connection::check(SetInt(session_, index, static_cast<int>(n), 0));
            else if (significantDigits(variable.text) <= 15)
                Connection::check(
                    SetDouble(session_, index, std::strtod(variable.text.c_str(), nullptr), 0));
            else
                Connection::check(SetString(session_, index, variable.text.c_str(), 0));
            break;
        }
        case Kind::Integer:
            Connection::check(SetInt(session_, index, variable.integer, 0));
            break;
        case Kind::Double:
            Connection::check(SetDouble(session_, index, variable.number, 0));
            break;
        case Kind::Timestamp: {
            const Timestamp& t = variable.timestamp;
            Connection::check(SetTimestamp(session_, index, t.year, t.month, t.day, t.hour,
                                           t.minute, t.second, t.fraction, t.tzHour, t.tzMinute,
                                           0));
            break;
        }
        case Kind::ClobFile:
            streamFile(index, variable.text, KAVEX_LOB_CLOB);
            break;
        case Kind::BlobFile:
            streamFile(index, variable.text, KAVEX_LOB_BLOB);
            break;
    }
}

size_t completeUtf8Prefix(const char* data, size_t length) {
    // Look back over at most three bytes for a lead byte whose sequence runs past the end.
    for (size_t back = 1; back <= 3 && back <= length; ++back) {
        unsigned char c = static_cast<unsigned char>(data[length - back]);
        if ((c & 0xC0) == 0x80) continue;  // continuation byte: keep looking for the lead
        size_t need = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        return need > back ? length - back : length;
    }
    return length;
}

void Binder::streamFile(int index, const std::string& path, int lobKind) const {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw UsageError("cannot open " + path + ": " + std::strerror(errno));
    // A CLOB chunk ends on a character boundary; the cut-off bytes lead the next chunk.
    std::vector<char> chunk(kChunkSize);
    size_t carried = 0;
    bool sent = false;
    while (file) {
        file.read(chunk.data() + carried, static_cast<std::streamsize>(chunk.size() - carried));
        size_t filled = carried + static_cast<size_t>(file.gcount());
        if (filled == 0) break;
        size_t send = filled;
        if (lobKind == KAVEX_LOB_CLOB && file) send = completeUtf8Prefix(chunk.data(), filled);
        Connection::check(StreamParameterToLob(session_, index, lobKind, chunk.data(),
                                               static_cast<unsigned>(send)));
        sent = true;
        carried = filled - send;
        std::memmove(chunk.data(), chunk.data() + send, carried);
    }
    if (file.bad()) throw UsageError("cannot read " + path);
    if (!sent)  // an empty file still makes an (empty) LOB
        Connection::check(StreamParameterToLob(session_, index, lobKind, chunk.data(), 0));
    Connection::check(StreamParameterToLobLast(session_, index));
}

}  // namespace kavexsql
