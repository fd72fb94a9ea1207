// The embedded client's public interface: the OCCI 19 names the library calls, declared in
// namespace oracle::occi with the real client's signatures, enum values and default arguments.
// Everything here is implemented over SQLite in embedded/src; nothing in this header exists only
// for the embedded client except the private members, which reach their implementation through
// kavexdb::detail.
#ifndef KAVEXDB_OCCI_H
#define KAVEXDB_OCCI_H

#include <cstddef>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace kavexdb {
namespace detail {
struct Access;  // the implementation's door into the value classes' private state
struct MetaDataRecord;
struct LobLocator;
}  // namespace detail
}  // namespace kavexdb

// Oracle's basic types live in the global namespace (the real client declares them in
// oratypes.h), so code that spells them occi::ub2 cannot compile here either.
typedef signed int sb4;
typedef unsigned int ub4;
typedef unsigned short ub2;
typedef signed short sb2;
typedef unsigned long long ub8;
typedef signed long long sb8;
typedef unsigned char OraText;
typedef OraText text;
typedef int boolean;

// The OCI handles and calls the library uses beside OCCI (oci.h in the real client): an error
// handle, and OCIBreak to cancel what a connection runs from another thread.
typedef signed int sword;
struct OCIEnv;
struct OCISvcCtx;
struct OCIError;
#define OCI_SUCCESS 0
#define OCI_ERROR (-1)
#define OCI_INVALID_HANDLE (-2)
#define OCI_HTYPE_ERROR 2

extern "C" {
// Allocates a handle of `type` under parenth (an environment handle); only OCI_HTYPE_ERROR is
// known. OCI_INVALID_HANDLE when parenth or hndlpp is null or the type unknown.
sword OCIHandleAlloc(const void* parenth, void** hndlpp, const ub4 type, const size_t xtramem_sz,
                     void** usrmempp);
sword OCIHandleFree(void* hndlp, const ub4 type);
// Cancels the call running on the service context's connection, from any thread; the call
// fails with ORA-01013 and the connection stays usable. With no call running nothing happens.
// The caller must ensure the connection is not terminated while OCIBreak runs.
sword OCIBreak(void* hndlp, OCIError* errhp);
}

namespace oracle {
namespace occi {

class Environment;
class Connection;
class Statement;
class ResultSet;
class Stream;
class MetaData;

enum Type {
    OCCI_SQLT_CHR = 1,
    OCCI_SQLT_NUM = 2,
    OCCIINT = 3,
    OCCIFLOAT = 4,
    OCCI_SQLT_STR = 5,
    OCCI_SQLT_VNU = 6,
    OCCI_SQLT_PDN = 7,
    OCCI_SQLT_LNG = 8,
    OCCI_SQLT_VCS = 9,
    OCCI_SQLT_NON = 10,
    OCCI_SQLT_RID = 11,
    OCCI_SQLT_DAT = 12,
    OCCI_SQLT_VBI = 15,
    OCCIBFLOAT = 21,
    OCCIBDOUBLE = 22,
    OCCI_SQLT_BIN = 23,
    OCCI_SQLT_LBI = 24,
    OCCIUNSIGNED_INT = 68,
    OCCI_SQLT_SLS = 91,
    OCCI_SQLT_LVC = 94,
    OCCI_SQLT_LVB = 95,
    OCCI_SQLT_AFC = 96,
    OCCI_SQLT_AVC = 97,
    OCCI_SQLT_CUR = 102,
    OCCI_SQLT_RDD = 104,
    OCCI_SQLT_LAB = 105,
    OCCI_SQLT_OSL = 106,
    OCCI_SQLT_NTY = 108,
    OCCI_SQLT_REF = 110,
    OCCI_SQLT_CLOB = 112,
    OCCI_SQLT_BLOB = 113,
    OCCI_SQLT_BFILE = 114,
    OCCI_SQLT_CFILE = 115,
    OCCI_SQLT_RSET = 116,
    OCCI_SQLT_NCO = 122,
    OCCI_SQLT_VST = 155,
    OCCI_SQLT_ODT = 156,
    OCCI_SQLT_DATE = 184,
    OCCI_SQLT_TIME = 185,
    OCCI_SQLT_TIME_TZ = 186,
    OCCI_SQLT_TIMESTAMP = 187,
    OCCI_SQLT_TIMESTAMP_TZ = 188,
    OCCI_SQLT_INTERVAL_YM = 189,
    OCCI_SQLT_INTERVAL_DS = 190,
    OCCI_SQLT_TIMESTAMP_LTZ = 232,
    OCCICHAR = 32768,
    OCCIDOUBLE = 32769,
    OCCIBOOL = 32770,
    OCCIANYDATA = 32771,
    OCCINUMBER = 32772,
    OCCIBLOB = 32773,
    OCCIBFILE = 32774,
    OCCIBYTES = 32775,
    OCCICLOB = 32776,
    OCCIVECTOR = 32777,
    OCCIMETADATA = 32778,
    OCCIPOBJECT = 32779,
    OCCIREF = 32780,
    OCCIREFANY = 32781,
    OCCISTRING = 32782,
    OCCISTREAM = 32783,
    OCCIDATE = 32784,
    OCCIINTERVALDS = 32785,
    OCCIINTERVALYM = 32786,
    OCCITIMESTAMP = 32787,
    OCCIROWID = 32788,
    OCCICURSOR = 32789
};

enum LobOpenMode { OCCI_LOB_READONLY = 1, OCCI_LOB_READWRITE = 2, OCCI_LOB_WRITEONLY = 3 };

enum CharSetForm {
    OCCI_SQLCS_IMPLICIT = 1,
    OCCI_SQLCS_NCHAR = 2,
    OCCI_SQLCS_EXPLICIT = 3,
    OCCI_SQLCS_FLEXIBLE = 4
};

// Every failure of the client. getMessage() is "ORA-NNNNN: text" followed by a newline.
class SQLException : public std::exception {
public:
    SQLException();
    SQLException(const SQLException& other);
    void operator=(const SQLException& other);
    virtual ~SQLException() throw();
    virtual int getErrorCode() const;
    virtual std::string getMessage() const;
    const char* what() const throw();

private:
    friend struct kavexdb::detail::Access;
    int code_;
    std::string message_;
};

struct BFloat {
    float value;
    bool isNull;
    BFloat() {
        isNull = false;
        value = 0.;
    }
};

struct BDouble {
    double value;
    bool isNull;
    BDouble() {
        isNull = false;
        value = 0.;
    }
};

// An exact decimal of up to 38 significant digits, or NULL.
class Number {
public:
    Number();
    Number(const Number& other);
    Number& operator=(const Number& other);
    ~Number();
    Number(long double val);
    Number(double val);
    Number(float val);
    Number(long val);
    Number(int val);
    Number(short val);
    Number(char val);
    Number(signed char val);
    Number(unsigned long val);
    Number(unsigned int val);
    Number(unsigned short val);
    Number(unsigned char val);

    bool isNull() const;
    void setNull();
    std::string toText(const Environment* envp, const std::string& fmt,
                       const std::string& nlsParam = "") const;
    operator double() const;
    operator long() const;
    operator int() const;

private:
    friend struct kavexdb::detail::Access;
    bool null_;
    bool negative_;
    // value = 0.d1d2d3... * 10^exponent_; digits_ holds ndigits_ decimal digits (0-9), no
    // leading or trailing zeros; zero has ndigits_ == 0.
    int exponent_;
    unsigned char ndigits_;
    unsigned char digits_[40];
};

class Date {
public:
    Date();
    Date(const Date& other);
    Date& operator=(const Date& other);
    ~Date();
    Date(const Environment* envp, int year = 1, unsigned int month = 1, unsigned int day = 1,
         unsigned int hour = 0, unsigned int minute = 0, unsigned int seconds = 0);

    bool isNull() const;
    void setNull();
    std::string toText(const std::string& fmt = "", const std::string& nlsParam = "") const;
    void getDate(int& year, unsigned int& month, unsigned int& day, unsigned int& hour,
                 unsigned int& min, unsigned int& seconds) const;

private:
    friend struct kavexdb::detail::Access;
    bool null_;
    int year_;
    unsigned char month_, day_, hour_, minute_, second_;
};

class Timestamp {
public:
    Timestamp();
    Timestamp(const Timestamp& other);
    Timestamp& operator=(const Timestamp& other);
    ~Timestamp();
    Timestamp(const Environment* env, int year = 1, unsigned int month = 1, unsigned int day = 1,
              unsigned int hour = 0, unsigned int min = 0, unsigned int sec = 0,
              unsigned int fs = 0, int tzhour = 0, int tzmin = 0);

    bool isNull() const;
    void setNull();
    std::string toText(const std::string& fmt, unsigned int fsprec,
                       const std::string& nlsParam = "") const;
    void getDate(int& year, unsigned int& month, unsigned int& day) const;
    void getTime(unsigned int& hour, unsigned int& minute, unsigned int& second,
                 unsigned int& fs) const;
    void getTimeZoneOffset(int& hour, int& minute) const;

private:
    friend struct kavexdb::detail::Access;
    bool null_;
    int year_;
    unsigned char month_, day_, hour_, minute_, second_;
    unsigned int fs_;  // nanoseconds
    signed char tzHour_, tzMinute_;
};

// RAW and LONG RAW values.
class Bytes {
public:
    Bytes(const Environment* env = NULL);
    Bytes(unsigned char* value, unsigned int count, unsigned int offset = 0,
          const Environment* env = NULL);
    Bytes(const Bytes& other);
    void operator=(const Bytes& other);
    ~Bytes();

    void getBytes(unsigned char* dst, unsigned int count, unsigned int srcBegin = 0,
                  unsigned int dstBegin = 0) const;
    unsigned int length() const;
    bool isNull() const;
    void setNull();

private:
    friend struct kavexdb::detail::Access;
    std::shared_ptr<const std::string> data_;  // null for a NULL value
};

// A piece-wise reader or writer of a LOB, made by getStream and released by closeStream.
class Stream {
public:
    enum Status { READY_FOR_READ = 0, READY_FOR_WRITE = 1, INACTIVE = 2 };
    virtual ~Stream() {}
    virtual int readBuffer(char* buffer, unsigned int size) = 0;
    virtual int readLastBuffer(char* buffer, unsigned int size) = 0;
    virtual void writeBuffer(char* buffer, unsigned int size) = 0;
    virtual void writeLastBuffer(char* buffer, unsigned int size) = 0;
    virtual Status status() const = 0;
};

// Cheap copyable handles onto shared LOB content.
class Clob {
public:
    Clob();
    Clob(const Connection* connectionp);
    Clob(const Clob& other);
    Clob& operator=(const Clob& other);
    ~Clob();

    void setNull();
    bool isNull() const;
    void open(LobOpenMode mode = OCCI_LOB_READWRITE);
    void close();
    unsigned int length() const;
    void setCharSetForm(CharSetForm csfrm);
    Stream* getStream(unsigned int offset = 1, unsigned int amount = 0);
    void closeStream(Stream* stream);

private:
    friend struct kavexdb::detail::Access;
    std::shared_ptr<kavexdb::detail::LobLocator> locator_;
};

class Blob {
public:
    Blob();
    Blob(const Connection* connectionp);
    Blob(const Blob& other);
    Blob& operator=(const Blob& other);
    ~Blob();

    void setNull();
    bool isNull() const;
    void open(LobOpenMode mode = OCCI_LOB_READWRITE);
    void close();
    unsigned int length() const;
    Stream* getStream(unsigned int offset = 1, unsigned int amount = 0);
    void closeStream(Stream* stream);

private:
    friend struct kavexdb::detail::Access;
    std::shared_ptr<kavexdb::detail::LobLocator> locator_;
};

class Bfile {
public:
    Bfile();
    Bfile(const Connection* connectionp);
    Bfile(const Bfile& other);
    Bfile& operator=(const Bfile& other);
    ~Bfile();

    void setNull();
    bool isNull() const;
    void open();
    void close();
    unsigned int length() const;
    Stream* getStream(unsigned int offset = 1, unsigned int amount = 0);
    void closeStream(Stream* stream);

private:
    friend struct kavexdb::detail::Access;
    std::shared_ptr<kavexdb::detail::LobLocator> locator_;
};

// Describes a table, view or column. No public default constructor, as in the real client.
class MetaData {
public:
    enum AttrId {
        ATTR_DATA_SIZE = 1,
        ATTR_DATA_TYPE = 2,
        ATTR_DISP_SIZE = 3,
        ATTR_NAME = 4,
        ATTR_PRECISION = 5,
        ATTR_SCALE = 6,
        ATTR_IS_NULL = 7,
        ATTR_TYPE_NAME = 8,
        ATTR_SCHEMA_NAME = 9,
        ATTR_CHARSET_ID = 31,
        ATTR_CHARSET_FORM = 32,
        ATTR_PTYPE = 123,
        ATTR_LIST_COLUMNS = 103,
        ATTR_OBJ_SCHEMA = 135
    };
    enum ParamType {
        PTYPE_UNK = 0,
        PTYPE_TABLE = 1,
        PTYPE_VIEW = 2,
        PTYPE_PROC = 3,
        PTYPE_FUNC = 4,
        PTYPE_PKG = 5,
        PTYPE_TYPE = 6,
        PTYPE_SYN = 7,
        PTYPE_SEQ = 8,
        PTYPE_COL = 9
    };
    enum ColumnAttrId {
        ATTR_COL_IS_IDENTITY = 1,
        ATTR_COL_IS_GEN_ALWAYS = 2,
        ATTR_COL_IS_GEN_BY_DEF_ON_NULL = 4
    };

    MetaData(const MetaData& omd);
    void operator=(const MetaData& omd);
    ~MetaData();

    int getInt(MetaData::AttrId attrid) const;
    bool getBoolean(MetaData::AttrId attrid) const;
    bool getBoolean(MetaData::ColumnAttrId colAttrId) const;
    std::string getString(MetaData::AttrId attrid) const;
    std::vector<MetaData> getVector(MetaData::AttrId attrid) const;

private:
    friend struct kavexdb::detail::Access;
    explicit MetaData(std::shared_ptr<const kavexdb::detail::MetaDataRecord> record);
    std::shared_ptr<const kavexdb::detail::MetaDataRecord> record_;
};

class Environment {
public:
    enum Mode {
        DEFAULT = 0,
        OBJECT = 2,
        NO_USERCALLBACKS = 64,
        THREADED_MUTEXED = 1,
        THREADED_UNMUTEXED = 129,
        EVENTS = 4,
        USE_LDAP = 4096
    };

    static Environment* createEnvironment(const std::string& charset,
                                          const std::string& ncharset, Mode mode = DEFAULT,
                                          void* ctxp = 0,
                                          void* (*malocfp)(void* ctxp, size_t size) = 0,
                                          void* (*ralocfp)(void* ctxp, void* memptr,
                                                           size_t newsize) = 0,
                                          void (*mfreefp)(void* ctxp, void* memptr) = 0);
    static void terminateEnvironment(Environment* env);

    virtual Connection* createConnection(const std::string& userName,
                                         const std::string& password,
                                         const std::string& connectString = "") = 0;
    virtual void terminateConnection(Connection* connection) = 0;
    virtual OCIEnv* getOCIEnvironment() const = 0;

protected:
    Environment() {}
    virtual ~Environment() {}
};

class Connection {
public:
    virtual Statement* createStatement(const std::string& sql = "") = 0;
    virtual void terminateStatement(Statement* statement) = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual MetaData getMetaData(const std::string& object,
                                 MetaData::ParamType prmtyp = MetaData::PTYPE_UNK) const = 0;
    virtual OCISvcCtx* getOCIServiceContext() const = 0;

protected:
    Connection() {}
    virtual ~Connection() {}
};

class Statement {
public:
    enum Status {
        UNPREPARED = 0,
        PREPARED = 1,
        RESULT_SET_AVAILABLE = 2,
        UPDATE_COUNT_AVAILABLE = 3,
        NEEDS_STREAM_DATA = 4,
        STREAM_DATA_AVAILABLE = 5
    };

    virtual Status execute(const std::string& sql = "") = 0;
    virtual Status status() const = 0;
    virtual ResultSet* getResultSet() = 0;
    virtual unsigned int getUpdateCount() const = 0;
    virtual unsigned int executeUpdate(const std::string& sql = "") = 0;
    virtual void closeResultSet(ResultSet* resultSet) = 0;
    virtual void setPrefetchRowCount(unsigned int rowCount) = 0;
    virtual void setAutoCommit(bool autoCommit) = 0;
    virtual void setMaxParamSize(unsigned int paramIndex, unsigned int maxSize) = 0;
    virtual void setMaxIterations(unsigned int maxIterations) = 0;
    virtual void addIteration() = 0;
    virtual void setNull(unsigned int paramIndex, Type type) = 0;
    virtual void setInt(unsigned int paramIndex, int x) = 0;
    virtual void setString(unsigned int paramIndex, const std::string& x) = 0;
    virtual void setBFloat(unsigned int paramIndex, const BFloat& fval) = 0;
    virtual void setBDouble(unsigned int paramIndex, const BDouble& dval) = 0;
    virtual void setTimestamp(unsigned int paramIndex, const Timestamp& x) = 0;
    virtual void setBlob(unsigned int paramIndex, const Blob& x) = 0;
    virtual void setClob(unsigned int paramIndex, const Clob& x) = 0;
    virtual void setDataBuffer(unsigned int paramIndex, void* buffer, Type type, sb4 size,
                               ub2* length, sb2* ind = NULL, ub2* rc = NULL) = 0;
    virtual void setDataBuffer(unsigned int paramIndex, void* buffer, Type type, sb4 size,
                               ub4* length, sb2* ind = NULL, ub2* rc = NULL) = 0;
    virtual void registerOutParam(unsigned int paramIndex, Type type, unsigned int maxSize = 0,
                                  const std::string& sqltype = "") = 0;
    virtual Clob getClob(unsigned int paramIndex) = 0;
    virtual Blob getBlob(unsigned int paramIndex) = 0;
    virtual Bfile getBfile(unsigned int paramIndex) = 0;

protected:
    Statement() {}
    virtual ~Statement() {}
};

class ResultSet {
public:
    enum Status { END_OF_FETCH = 0, DATA_AVAILABLE = 1, STREAM_DATA_AVAILABLE = 2 };

    virtual Status next(unsigned int numRows = 1) = 0;
    virtual std::vector<MetaData> getColumnListMetaData() const = 0;
    virtual void setMaxColumnSize(unsigned int colIndex, unsigned int max) = 0;
    virtual bool isNull(unsigned int colIndex) const = 0;
    virtual std::string getString(unsigned int colIndex) = 0;
    virtual int getInt(unsigned int colIndex) = 0;
    virtual BFloat getBFloat(unsigned int colIndex) = 0;
    virtual BDouble getBDouble(unsigned int colIndex) = 0;
    virtual Number getNumber(unsigned int colIndex) = 0;
    virtual Date getDate(unsigned int colIndex) = 0;
    virtual Timestamp getTimestamp(unsigned int colIndex) = 0;
    virtual Clob getClob(unsigned int colIndex) = 0;
    virtual Blob getBlob(unsigned int colIndex) = 0;
    virtual Bytes getBytes(unsigned int colIndex) = 0;

protected:
    ResultSet() {}
    virtual ~ResultSet() {}
};

}  // namespace occi
}  // namespace oracle

#endif
