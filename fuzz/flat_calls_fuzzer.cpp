// libFuzzer target: byte-coded sequences of calls to the 39 flat exports, as a careless or hostile
// host might make them. Built with -fsanitize=fuzzer,address,undefined (the fuzz preset).
//
// Input format: a stream of calls, each one opcode byte (modulo the 39 exports) followed by its
// arguments, each argument read from the bytes that follow:
// - a session: one byte; below 0xF0 it picks one of four session slots (filled by
//   OpenConnection), otherwise an id no session has (0, 10, -10, INT_MAX, ...);
// - a small number: one signed byte; a number: one selector byte, then a small number (odd
//   selector) or four bytes, little-endian;
// - a text: one byte; below 0xE0 it picks an entry of the call's word list, otherwise a raw text
//   follows (one length byte, then that many bytes, used up to the first NUL);
// - a byte run (LOB chunks): one length byte, then that many bytes.
// Missing bytes read as zero. Every session opens a fresh database, and every session still open
// at the end of an input is closed, so inputs do not leak into one another. fuzz/make_seeds.py writes the seed corpus in this code.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "kavex_oracleociw.h"

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool more() const { return position < size; }

    std::uint8_t byte() { return position < size ? data[position++] : 0; }

    int small() { return static_cast<std::int8_t>(byte()); }

    std::int32_t wide() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            value |= static_cast<std::uint32_t>(byte()) << shift;
        }
        return static_cast<std::int32_t>(value);
    }

    int number() { return byte() & 1 ? small() : wide(); }

    std::string bytes() {
        const std::size_t length = byte();
        const std::size_t available = size - position;
        const std::size_t taken = length < available ? length : available;
        std::string run(reinterpret_cast<const char*>(data + position), taken);
        position += taken;
        return run;
    }

    // An entry of words, or a raw text cut at its first NUL.
    std::string text(const std::vector<std::string>& words) {
        const std::uint8_t pick = byte();
        if (pick < 0xE0) {
            return words[pick % words.size()];
        }
        const std::string raw = bytes();
        return raw.substr(0, raw.find('\0'));
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

const std::vector<std::string> kSql = {
    "create table t (n number(10), s varchar2(40), d date, b blob, c clob, f binary_double)",
    "insert into t values (1, 'one', date '2024-02-29', hextoraw('00ff'), 'text', 1.5)",
    "insert into t (n, s) values (:1, :2)",
    "insert into t (b, c) values (:1, :2)",
    "insert into t (n, d, f) values (:1, :2, :3)",
    "select * from t",
    "select n, s from t where n > :1",
    "select * from dual",
    "select 1, 'a', null, sysdate, systimestamp, 1.5e300, -0 from dual",
    "select rowid, t.* from t",
    "select lpad('x', 5, 'ab'), substr('hello', 2, 2), to_char(12345.678, '99G999D99') from dual",
    "update t set s = :1 where n = :2",
    "delete from t",
    "commit",
    "rollback",
    "drop table t",
    "begin dbms_lob.createtemporary(:p1, FALSE); end;",
    "select count(*) from t",
    "",
    "select * from no_such_table",
    "create table u (x timestamp with time zone, y nvarchar2(10), z raw(8), w long)",
    "select * from u",
    "insert into u values (systimestamp, 'x', hextoraw('01'), 'long text')",
};

const std::vector<std::string> kObjects = {"T", "U", "DUAL", "", "NO_SUCH", "t"};
const std::vector<std::string> kUsers = {"scott", "tiger", "", "SYSTEM"};

class Run {
public:
    explicit Run(Reader& in) : in(in) {}

    ~Run() {
        for (int id : opened) {
            CloseConnection(id);
        }
    }

    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    void call() {
        switch (in.byte() % 39) {
        case 0: open(); break;
        case 1: CloseConnection(session()); break;
        case 2: touch(GetError(in.byte() < 0x80 ? lastResult : in.wide())); break;
        case 3: {
            unsigned char record[13];
            TestMarshaling(in.byte() % 8 == 0 ? nullptr : record);
            break;
        }
        case 4: {
            const int id = session();
            const std::string sql = in.text(kSql);
            note(ExecuteQuery(id, sql.c_str(), in.byte() & 1));
            break;
        }
        case 5: {
            const int id = session();
            const std::string sql = in.text(kSql);
            note(PrepareQuery(id, sql.c_str(), in.byte() & 1));
            break;
        }
        case 6: note(Execute(session())); break;
        case 7: note(NextRow(session())); break;
        case 8: {
            const int id = session();
            const int property = in.small();
            note(SetIntSessionProperty(id, property, in.number()));
            break;
        }
        case 9: {
            const int id = session();
            const int index = in.small();
            note(SetMaxParSize(id, static_cast<unsigned>(index),
                               static_cast<unsigned>(in.number())));
            break;
        }
        case 10: {
            const int id = session();
            note(SetMaxIterations(id, static_cast<unsigned>(in.number())));
            break;
        }
        case 11: note(AddIteration(session())); break;
        case 12: {
            const int id = session();
            const int index = in.small();
            note(SetNull(id, index, in.number()));
            break;
        }
        case 13: {
            const int id = session();
            const int index = in.small();
            const bool missing = in.byte() % 8 == 0;
            const std::string value = in.text(kSql);
            note(SetString(id, index, missing ? nullptr : value.c_str(), in.byte() & 1));
            break;
        }
        case 14: {
            const int id = session();
            const int index = in.small();
            const int value = in.number();
            note(SetInt(id, index, value, in.byte() & 1));
            break;
        }
        case 15: {
            const int id = session();
            const int index = in.small();
            const std::int32_t bits = in.wide();
            float value;
            std::memcpy(&value, &bits, sizeof value);
            note(SetFloat(id, index, value, in.byte() & 1));
            break;
        }
        case 16: {
            const int id = session();
            const int index = in.small();
            const std::uint64_t low = static_cast<std::uint32_t>(in.wide());
            const std::uint64_t high = static_cast<std::uint32_t>(in.wide());
            const std::uint64_t bits = low | high << 32;
            double value;
            std::memcpy(&value, &bits, sizeof value);
            note(SetDouble(id, index, value, in.byte() & 1));
            break;
        }
        case 17: {
            const int id = session();
            const int index = in.small();
            const int year = in.number();
            unsigned fields[6];
            for (unsigned& field : fields) {
                field = static_cast<unsigned>(in.number());
            }
            const int tzHour = in.small();
            const int tzMinute = in.small();
            note(SetTimestamp(id, index, year, fields[0], fields[1], fields[2], fields[3],
                              fields[4], fields[5], tzHour, tzMinute, in.byte() & 1));
            break;
        }
        case 18: {
            const int id = session();
            const int index = in.small();
            const int kind = in.byte() & 1 ? 113 : 112;
            const std::string chunk = in.bytes();
            const int asked = in.byte() % 16 == 0 ? in.small() : kind;
            note(StreamParameterToLob(id, index, asked, chunk.data(),
                                      static_cast<unsigned>(chunk.size())));
            break;
        }
        case 19: {
            const int id = session();
            note(StreamParameterToLobLast(id, in.small()));
            break;
        }
        case 20: {
            const int id = session();
            const std::string name = in.text(kObjects);
            note(GetMetaData(id, "", in.byte() % 8 == 0 ? nullptr : name.c_str()));
            break;
        }
        case 21: note(GetColumnsCount(session())); break;
        case 22: readText(GetColumnName); break;
        case 23: readText(GetColumnSchemaName); break;
        case 24: readText(GetColumnTableName); break;
        case 25: readText(GetColumnTypeName); break;
        case 26: readNumber(GetColumnType); break;
        case 27: readNumber(GetColumnSize); break;
        case 28: readNumber(GetColumnScale); break;
        case 29: readNumber(GetColumnPrecision); break;
        case 30: readNumber(GetColumnIsAutoincremented); break;
        case 31: readNumber(GetColumnIsReadOnly); break;
        case 32: readNumber(GetColumnIsDbGenerated); break;
        case 33: readNumber(GetColumnIsNullable); break;
        case 34: readPointer(GetString); break;
        case 35: readPointer(GetByteArray); break;
        case 36: readRecord(GetInteger); break;
        case 37: readRecord(GetFloat); break;
        default: readRecord(GetDouble); break;
        }
    }

private:
    // Every session gets a database of its own: sessions sharing one would wait out the busy
    // timeout on each other's locks, which is the client's business and would only slow the run.
    void open() {
        static unsigned databases = 0;
        const std::uint8_t where = in.byte();
        std::string connect = "file:/fuzz_" + std::to_string(++databases) + "?vfs=memdb";
        if (where % 8 == 1) {
            connect = "";
        } else if (where % 8 == 2) {
            connect = "/nonexistent/dir/x.db";
        } else if (where % 8 == 3) {
            connect += "&mode=ro";
        }
        const std::string user = in.text(kUsers);
        const std::string password = in.text(kUsers);
        const int id = OpenConnection(connect.c_str(), user.c_str(), password.c_str());
        note(id);
        if (id > 0) {
            opened.push_back(id);
            slots[where / 8 % 4] = id;
        }
    }

    int session() {
        const std::uint8_t pick = in.byte();
        if (pick < 0xF0) {
            return slots[pick % 4];
        }
        static const int kStrangers[] = {0, 10, -10, -1, 2147483647, -2147483647 - 1, 1, 99999};
        return kStrangers[pick % 8];
    }

    void note(int result) { lastResult = result; }

    // Reads a returned text whole, so that a pointer into freed or foreign memory is caught.
    static void touch(const char* text) {
        if (text != nullptr) {
            volatile std::size_t length = std::strlen(text);
            (void)length;
        }
    }

    void readText(const char* (*getter)(int, int)) {
        const int id = session();
        touch(getter(id, in.small()));
    }

    void readNumber(int (*getter)(int, int)) {
        const int id = session();
        note(getter(id, in.small()));
    }

    template <class Record>
    void readRecord(int (*getter)(int, int, Record*)) {
        Record record{};
        const int id = session();
        const int index = in.small();
        note(getter(id, index, in.byte() % 8 == 0 ? nullptr : &record));
    }

    void readPointer(int (*getter)(int, int, KavexPointerRecord*)) {
        KavexPointerRecord record{};
        const int id = session();
        const int index = in.small();
        const bool missing = in.byte() % 8 == 0;
        note(getter(id, index, missing ? nullptr : &record));
        if (!missing && lastResult == 0 && record.isNull == 0 && record.value != nullptr &&
            record.length > 0) {
            volatile char sum = 0;
            for (std::int32_t i = 0; i < record.length; ++i) {
                sum = static_cast<char>(sum + record.value[i]);
            }
        }
    }

    Reader& in;
    std::vector<int> opened;
    int slots[4] = {0, 0, 0, 0};
    int lastResult = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    Run run(in);
    for (int calls = 0; calls < 256 && in.more(); ++calls) {
        run.call();
    }
    return 0;
}
