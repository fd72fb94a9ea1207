// The DLL as a Windows host uses it: functions imported from System.Data.Kavex.OracleOCIw.dll
// (dllimport, through its import library), databases named by Windows paths, texts fetched from
// native Windows threads, and the DLL loaded and unloaded at run time.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "kavex_oracleociw.h"

namespace {

std::string utf8(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(n) - 1);
    return out;
}

std::wstring wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &out[0], n);
    out.resize(static_cast<std::size_t>(n) - 1);
    return out;
}

bool fileExists(const std::string& path) {
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string errorText(int id) { return GetError(id); }

// A fresh directory under the user's temporary directory (C:\users\...\Temp\ under Wine), named
// in UTF-8 with `suffix` appended; removed with its files at the end of the test.
class WindowsPaths : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1];
        ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = utf8(temp) + "kavex_" + info->name() + "_" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(wide(dir).c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        ASSERT_EQ(dir.substr(1, 2), ":\\") << dir;
    }

    void TearDown() override {
        for (const std::string& file : created) {
            DeleteFileW(wide(file).c_str());
            DeleteFileW(wide(file + "-wal").c_str());
            DeleteFileW(wide(file + "-shm").c_str());
        }
        for (auto it = subdirs.rbegin(); it != subdirs.rend(); ++it) {
            RemoveDirectoryW(wide(*it).c_str());
        }
        RemoveDirectoryW(wide(dir).c_str());
    }

    // Creates a database at `path` (backslashes) through a file: URI holding a drive path with
    // forward slashes, with one table holding `marker`.
    void createDatabase(const std::string& path, const std::string& marker) {
        std::string uriPath = path;
        for (char& c : uriPath) {
            if (c == '\\') c = '/';
        }
        const int id = OpenConnection(("file:///" + uriPath + "?mode=rwc").c_str(), "u", "p");
        ASSERT_GE(id, 11) << errorText(id);
        created.push_back(path);
        EXPECT_GE(ExecuteQuery(id, "CREATE TABLE t (v VARCHAR2(40))", 0), 0);
        const std::string insert = "INSERT INTO t VALUES ('" + marker + "')";
        EXPECT_EQ(ExecuteQuery(id, insert.c_str(), 1), 1);
        EXPECT_EQ(CloseConnection(id), 0);
        ASSERT_TRUE(fileExists(path)) << path;
    }

    // The marker read back through `connect`, or the error text.
    static std::string markerThrough(const std::string& connect) {
        const int id = OpenConnection(connect.c_str(), "u", "p");
        if (id < 0) return "<error: " + errorText(id) + ">";
        std::string value = "<no row>";
        const int rc = ExecuteQuery(id, "SELECT v FROM t", 0);
        if (rc < 0) {
            value = "<error: " + errorText(rc) + ">";
        } else if (NextRow(id) == 1) {
            KavexPointerRecord record{};
            if (GetString(id, 0, &record) >= 0 && record.isNull == 0) {
                value.assign(record.value, static_cast<std::size_t>(record.length));
            }
        }
        CloseConnection(id);
        return value;
    }

    std::string dir;
    std::vector<std::string> created;
    std::vector<std::string> subdirs;
};

TEST_F(WindowsPaths, DriveLetterPathsWithEitherSlashAndFileUrisReachTheSameFile) {
    const std::string path = dir + "\\shop.db";
    createDatabase(path, "drive path");
    std::string forward = path;
    for (char& c : forward) {
        if (c == '\\') c = '/';
    }
    EXPECT_EQ(markerThrough(path), "drive path");
    EXPECT_EQ(markerThrough(forward), "drive path");
    EXPECT_EQ(markerThrough("file:" + forward), "drive path");
    EXPECT_EQ(markerThrough("file:///" + forward), "drive path");
    EXPECT_EQ(markerThrough("file:///" + forward + "?mode=ro"), "drive path");
    // Drive letters are case-insensitive.
    std::string lower = path;
    lower[0] = static_cast<char>(tolower(static_cast<unsigned char>(lower[0])));
    EXPECT_EQ(markerThrough(lower), "drive path");
}

TEST_F(WindowsPaths, NonAsciiUtf8PathsNameTheFileByItsUnicodeName) {
    // "Köln データ" and "Ελλάδα.db": outside every ANSI code page at once, so only a UTF-8 to
    // UTF-16 conversion can find them.
    const std::string sub = dir + "\\K\xc3\xb6ln \xe3\x83\x87\xe3\x83\xbc\xe3\x82\xbf";
    ASSERT_TRUE(CreateDirectoryW(wide(sub).c_str(), nullptr)) << GetLastError();
    subdirs.push_back(sub);
    const std::string path = sub + "\\\xce\x95\xce\xbb\xce\xbb\xce\xac\xce\xb4\xce\xb1.db";
    createDatabase(path, "unicode");
    EXPECT_TRUE(GetFileAttributesW(
                    (wide(dir) + L"\\K\u00f6ln \u30c7\u30fc\u30bf\\\u0395\u03bb\u03bb\u03ac\u03b4\u03b1.db")
                        .c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(markerThrough(path), "unicode");
    std::string forward = path;
    for (char& c : forward) {
        if (c == '\\') c = '/';
    }
    EXPECT_EQ(markerThrough("file:///" + forward), "unicode");
    // A URI may also carry the non-ASCII bytes percent-encoded.
    std::string encoded;
    for (unsigned char c : forward) {
        if (c < 0x80 && c != ' ') {
            encoded += static_cast<char>(c);
        } else {
            char hex[4];
            snprintf(hex, sizeof hex, "%%%02X", c);
            encoded += hex;
        }
    }
    EXPECT_EQ(markerThrough("file:///" + encoded), "unicode");
}

TEST_F(WindowsPaths, AMissingFileOrDirectoryIsAnUnresolvedConnectIdentifier) {
    for (const std::string& connect :
         {dir + "\\missing.db", dir + "\\no such dir\\x.db", std::string("Q:\\nowhere\\x.db")}) {
        const int id = OpenConnection(connect.c_str(), "u", "p");
        ASSERT_LT(id, 0) << connect;
        EXPECT_NE(errorText(id).find("ORA-12154"), std::string::npos) << connect << ": " << errorText(id);
        EXPECT_FALSE(fileExists(connect)) << connect;
    }
}

// Native Windows threads (as a .NET host's are, not started through the C++ runtime) each fetch
// their own texts: a text handed to one thread stays as it was while the others fetch theirs.
struct ThreadWork {
    int thread = 0;
    int mismatches = 0;
};

DWORD WINAPI fetchOwnErrors(void* arg) {
    auto* work = static_cast<ThreadWork*>(arg);
    for (int i = 0; i < 200; ++i) {
        // An unknown session id fails with a stored message: every thread gets the same text, so
        // tell the threads apart by the invalid SQL they run on a session of their own.
        const int id = OpenConnection("file:/threads?vfs=memdb", "u", "p");
        if (id < 0) {
            ++work->mismatches;
            continue;
        }
        const std::string sql = "SELECT nothing_" + std::to_string(work->thread) + " FROM dual";
        const int error = ExecuteQuery(id, sql.c_str(), 0);
        const char* text = GetError(error);
        const std::string expected = text;
        if (expected.find("NOTHING_" + std::to_string(work->thread)) == std::string::npos &&
            expected.find("nothing_" + std::to_string(work->thread)) == std::string::npos) {
            ++work->mismatches;
        }
        Sleep(0);
        if (expected != text) ++work->mismatches;  // another thread's fetch changed ours
        CloseConnection(id);
    }
    return 0;
}

TEST(WindowsThreads, ErrorTextsAreKeptPerNativeThread) {
    constexpr int kThreads = 6;
    ThreadWork work[kThreads];
    HANDLE handles[kThreads];
    for (int t = 0; t < kThreads; ++t) {
        work[t].thread = t;
        handles[t] = CreateThread(nullptr, 0, fetchOwnErrors, &work[t], 0, nullptr);
        ASSERT_NE(handles[t], nullptr);
    }
    WaitForMultipleObjects(kThreads, handles, TRUE, INFINITE);
    for (int t = 0; t < kThreads; ++t) {
        CloseHandle(handles[t]);
        EXPECT_EQ(work[t].mismatches, 0) << "thread " << t;
    }
}

// An export of `dll` as a function of type F (through void(*)(), the generic function type).
template <typename F>
F procedure(HMODULE dll, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

// The names a host resolves at run time, as P/Invoke and a JVM's System.loadLibrary do, in a
// second copy of the DLL (its own instance, so that FreeLibrary really unloads it). Unloading
// with a session still open must neither crash nor hang: process-wide state is released without
// closing sessions.
TEST(WindowsLoading, ExportsResolveByPlainNameAndTheDllUnloadsWithASessionOpen) {
    HMODULE imported = GetModuleHandleW(L"System.Data.Kavex.OracleOCIw.dll");
    ASSERT_NE(imported, nullptr);
    wchar_t source[MAX_PATH + 1];
    ASSERT_GT(GetModuleFileNameW(imported, source, MAX_PATH + 1), 0u);
    wchar_t temp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    const std::wstring copy =
        std::wstring(temp) + L"kavex_copy_" + std::to_wstring(GetCurrentProcessId()) + L".dll";
    ASSERT_TRUE(CopyFileW(source, copy.c_str(), FALSE)) << GetLastError();

    HMODULE dll = LoadLibraryW(copy.c_str());
    ASSERT_NE(dll, nullptr) << GetLastError();
    ASSERT_NE(dll, imported);
    for (const char* name :
         {"OpenConnection", "GetError", "TestMarshaling", "GetDouble", "StreamParameterToLobLast",
          "Java_velmar_oracleociops_OcciWrapper_openConnection",
          "Java_velmar_oracleociops_OcciWrapper_getRow",
          "Java_velmar_oracleociops_OcciWrapper_streamParameterToLobLast"}) {
        EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
    }
    EXPECT_EQ(GetProcAddress(dll, "OpenConnection@12"), nullptr);
    auto open = procedure<int (*)(const char*, const char*, const char*)>(dll, "OpenConnection");
    auto query = procedure<int (*)(int, const char*, kavex_bool)>(dll, "ExecuteQuery");
    ASSERT_NE(open, nullptr);
    ASSERT_NE(query, nullptr);
    const int id = open(":memory:", "u", "p");
    EXPECT_GE(id, 11);
    EXPECT_EQ(query(id, "CREATE TABLE t (n NUMBER)", 0), 0);
    EXPECT_TRUE(FreeLibrary(dll));
    EXPECT_EQ(GetModuleHandleW(copy.c_str()), nullptr);  // really unloaded
    EXPECT_TRUE(DeleteFileW(copy.c_str()));
}

}  // namespace
