// What a long-running host's process keeps: memory after a million failing calls, file
// descriptors after many sessions have come and gone.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "flat_host.h"
#include "kavex_oracleociw.h"
#include "session/ErrorStore.h"

using namespace kavex;

namespace {

using flathost::errorText;

// Sanitizers keep freed memory in quarantine, so resident size says nothing there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMeasuresMemory = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kMeasuresMemory = false;
#else
constexpr bool kMeasuresMemory = true;
#endif
#else
constexpr bool kMeasuresMemory = true;
#endif

long residentKilobytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    long size = 0;
    long resident = 0;
    if (statm == nullptr || std::fscanf(statm, "%ld %ld", &size, &resident) != 2) {
        resident = -1;
    }
    if (statm != nullptr) {
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int openDescriptors() {
    DIR* dir = opendir("/proc/self/fd");
    int count = 0;
    while (dir != nullptr && readdir(dir) != nullptr) {
        ++count;
    }
    if (dir != nullptr) {
        closedir(dir);
    }
    return count;
}

// Every kind of failing text getter: a bad index on an open session and an unknown session.
void failTextGetters(int session, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        switch (i % 4) {
        case 0:
            GetColumnName(session, 7);
            break;
        case 1:
            GetColumnSchemaName(session, -1);
            break;
        case 2:
            GetColumnTableName(987654, 0);
            break;
        default:
            GetColumnTypeName(987654, 3);
            break;
        }
    }
}

TEST(Resources, AMillionFailingTextGettersKeepMemoryFlat) {
    const int session = flathost::open(flathost::memoryDatabase());
    flathost::run(session, "select 1 as a from dual");
    failTextGetters(session, 10000);  // warm up every path
    const long before = residentKilobytes();
    const int probe = errors::storeError("probe");
    const errors::Counts stored = errors::counts();
    failTextGetters(session, 1000000);
    EXPECT_EQ(errors::counts().stored, stored.stored);
    EXPECT_EQ(errors::storeError("probe"), probe - 1) << "the getters consumed error ids";
    if (kMeasuresMemory) {
        EXPECT_LT(residentKilobytes() - before, 4 * 1024) << "resident kilobytes grew";
    }
    EXPECT_STREQ(GetColumnName(session, 7), "Cannot read column's name");
    EXPECT_STREQ(GetColumnTypeName(987654, 0), "Session is not initialized");
    CloseConnection(session);
}

TEST(Resources, AMillionUnfetchedFailuresKeepTheStoreBounded) {
    const long before = residentKilobytes();
    for (int i = 0; i < 1000000; ++i) {
        NextRow(987654);
    }
    EXPECT_LE(errors::counts().stored, errors::kMaxMessages);
    if (kMeasuresMemory) {
        EXPECT_LT(residentKilobytes() - before, 8 * 1024) << "resident kilobytes grew";
    }
}

TEST(Resources, SessionsComeAndGoWithoutKeepingDescriptors) {
    const int before = openDescriptors();
    const std::string shared = flathost::fileDatabase();
    const int keeper = flathost::open(shared);  // the file stays open throughout
    int afterFirstRound = 0;
    for (int round = 0; round < 50; ++round) {
        const int onShared = flathost::open(shared);
        const std::string ownFile = flathost::fileDatabase();
        const int onOwn = flathost::open(ownFile);
        flathost::run(onShared, "create table t" + std::to_string(round) + " (n number)");
        flathost::run(onShared, "insert into t" + std::to_string(round) + " values (1)");
        EXPECT_EQ(flathost::rowCount(onOwn, "select * from dual"), 1);
        const int failed = OpenConnection("file:/no/such/dir/x.db?mode=rw", "scott", "tiger");
        EXPECT_LT(failed, 0);
        errorText(failed);
        CloseConnection(onShared);
        CloseConnection(onOwn);
        std::remove(ownFile.substr(5, ownFile.find('?') - 5).c_str());
        if (round == 0) {
            afterFirstRound = openDescriptors();
        }
    }
    // SQLite keeps a closed connection's descriptor while another connection of the process
    // holds locks on the same file, and reuses it: one at most, however many sessions came.
    EXPECT_EQ(openDescriptors(), afterFirstRound);
    CloseConnection(keeper);
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
