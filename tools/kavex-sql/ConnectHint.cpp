#include "ConnectHint.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>

namespace kavexsql {

namespace {

// Every SQLite database file starts with these 16 bytes.
constexpr char kDatabaseHeader[] = "SQLite format 3";

struct Target {
    std::string path;
    bool uri = false;
    bool creates = false;  // mode=rwc
};

// The file a connect string names: a plain path or the path of a file: URI; empty for in-memory
// databases.
Target targetOf(const std::string& connect) {
    Target target;
    if (connect.rfind("file:", 0) != 0) {
        if (connect != ":memory:") target.path = connect;
        return target;
    }
    target.uri = true;
    std::string rest = connect.substr(5);
    const size_t query = rest.find('?');
    const std::string options = query == std::string::npos ? "" : rest.substr(query + 1);
    rest = rest.substr(0, query);
    if (rest.rfind("//", 0) == 0) {  // file://host/path: only an empty host or localhost
        const size_t slash = rest.find('/', 2);
        rest = slash == std::string::npos ? "" : rest.substr(slash);
    }
    if (options.find("vfs=memdb") != std::string::npos ||
        options.find("mode=memory") != std::string::npos || rest == ":memory:")
        return target;
    target.path = rest;
    target.creates = options.find("mode=rwc") != std::string::npos;
    return target;
}

std::string directoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string connectHint(const std::string& connect, const std::string& message) {
    if (connect.empty()) return "the connect string is empty: name a database file";
    const Target target = targetOf(connect);
    if (target.path.empty()) return "";
    struct stat info {};
    if (stat(target.path.c_str(), &info) != 0) {
        // Only where the library could not resolve the name: the file is then what is missing.
        if (message.find("ORA-12154") == std::string::npos) return "";
        struct stat directory {};
        const std::string dir = directoryOf(target.path);
        if (stat(dir.c_str(), &directory) != 0 || !S_ISDIR(directory.st_mode))
            return "there is no directory " + dir + " for the database file " + target.path;
        if (target.creates) return "";
        if (target.uri)
            return "there is no database file " + target.path +
                   "; add mode=rwc to the URI's options to create it";
        return "there is no database file " + target.path +
               "; to create it, connect to file:" + target.path + "?mode=rwc";
    }
    if (S_ISDIR(info.st_mode)) return target.path + " is a directory, not a database file";
    std::ifstream file(target.path, std::ios::binary);
    if (!file) return target.path + " cannot be read: " + std::strerror(errno);
    char header[sizeof kDatabaseHeader] = {};
    file.read(header, sizeof header);
    if (file.gcount() == 0) return "";  // an empty file becomes a new database
    if (file.gcount() < static_cast<std::streamsize>(sizeof header) ||
        std::memcmp(header, kDatabaseHeader, sizeof header) != 0)
        return target.path + " is not a database file (it does not start with a SQLite header)";
    return "";
}

}  // namespace kavexsql
