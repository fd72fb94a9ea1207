#include "Logon.h"

#include "DbError.h"
#include "SqlText.h"

namespace kavexsql {

Logon parseLogon(const std::string& written, const std::string& what) {
    const std::string text = trim(written);
    const std::string usage = what + " needs user[/password][@connect]";
    Logon logon;
    size_t i = text.find_first_of("/@");
    logon.user = text.substr(0, i);
    if (i != std::string::npos && text[i] == '/') {
        const size_t start = i + 1;
        if (start < text.size() && text[start] == '"') {
            const size_t close = text.find('"', start + 1);
            if (close == std::string::npos)
                throw UsageError(what + ": the password's quote is not closed");
            logon.password = text.substr(start + 1, close - start - 1);
            i = close + 1 < text.size() && text[close + 1] == '@' ? close + 1 : std::string::npos;
            if (i == std::string::npos && close + 1 < text.size())
                throw UsageError(what + ": '@' expected after the quoted password");
        } else {
            i = text.find('@', start);
            logon.password =
                text.substr(start, i == std::string::npos ? std::string::npos : i - start);
        }
    }
    if (i != std::string::npos && text[i] == '@') {
        logon.connect = trim(text.substr(i + 1));
        if (logon.connect->empty()) throw UsageError(usage);
    }
    if (logon.user.empty() || logon.user.find_first_of(" \t") != std::string::npos)
        throw UsageError(usage);
    return logon;
}

}  // namespace kavexsql
