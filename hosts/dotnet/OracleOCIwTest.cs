// The .NET host check: drives the library through the declarations of OracleOCIw.cs as a managed
// data provider does, under mono. Every record field is read through the managed struct layout, so a
// wrong packing, a wrong boolean width or a wrong string encoding shows up here.
// Usage: OracleOCIwTest.exe [WORK_DIR]; exits 0 when every check passed.
using System;
using System.Collections.Generic;
using System.IO;
using System.Runtime.InteropServices;
using System.Text;
using System.Data.Kavex;

static class OracleOCIwTest
{
    static int failures;
    static int checks;
    static string section = "";

    static void Check(bool condition, string what)
    {
        checks++;
        if (condition) return;
        failures++;
        Console.WriteLine("FAIL [" + section + "] " + what);
    }

    static void Equal<T>(T expected, T actual, string what)
    {
        Check(EqualityComparer<T>.Default.Equals(expected, actual),
              what + ": expected <" + expected + ">, got <" + actual + ">");
    }

    static int Ok(int result, string what)
    {
        Check(result >= 0, what + " failed: " + (result < 0 ? OracleOCIw.GetError(result) : ""));
        return result;
    }

    static void Section(string name)
    {
        section = name;
    }

    static int Main(string[] args)
    {
        string work = args.Length > 0 ? args[0] : Path.GetTempPath();
        Directory.CreateDirectory(work);
        string db = Path.Combine(work, "dotnet-host-" + Guid.NewGuid().ToString("N") + ".db");
        try
        {
            Layout();
            Opening(db);
            int session = OracleOCIw.OpenConnection("file:" + db + "?mode=rwc", "scott", "tiger");
            if (session < 0)
            {
                Console.WriteLine("FAIL cannot open " + db + ": " + OracleOCIw.GetError(session));
                return 1;
            }
            Schema(session);
            Binds(session);
            Batch(session);
            Getters(session);
            Refusals(session);
            OtherTypes(session);
            LobStreaming(session);
            Describe(session);
            ErrorTexts(session);
            ReturnedStrings(session);
            Equal(0, NativeMethods.CloseConnection(session), "CloseConnection");
            Equal(0, NativeMethods.CloseConnection(session), "CloseConnection of a closed id");
        }
        catch (Exception e)
        {
            failures++;
            Console.WriteLine("FAIL [" + section + "] unexpected " + e);
        }
        finally
        {
            foreach (string suffix in new[] { "", "-wal", "-shm" })
                if (File.Exists(db + suffix)) File.Delete(db + suffix);
        }
        Console.WriteLine(checks + " checks, " + failures + " failed");
        return failures == 0 ? 0 : 1;
    }

    static void Layout()
    {
        Section("layout");
        Equal(13, Marshal.SizeOf(typeof(PointerRecord)), "PointerRecord size");
        Equal(13, Marshal.SizeOf(typeof(DoubleRecord)), "DoubleRecord size");
        Equal(9, Marshal.SizeOf(typeof(IntRecord)), "IntRecord size");
        Equal(9, Marshal.SizeOf(typeof(FloatRecord)), "FloatRecord size");
        foreach (Type t in new[] { typeof(PointerRecord), typeof(DoubleRecord), typeof(IntRecord), typeof(FloatRecord) })
        {
            Equal(0, (int)Marshal.OffsetOf(t, "IsNull"), t.Name + " IsNull offset");
            Equal(1, (int)Marshal.OffsetOf(t, "Length"), t.Name + " Length offset");
            Equal(5, (int)Marshal.OffsetOf(t, "Value"), t.Name + " Value offset");
        }

        // TestMarshaling clears isNull and value and leaves length as the caller set it.
        var record = new PointerRecord { IsNull = true, Length = 0x12345678, Value = new IntPtr(-1) };
        Equal(0, NativeMethods.TestMarshaling(ref record), "TestMarshaling result");
        Equal(false, record.IsNull, "TestMarshaling IsNull");
        Equal(0x12345678, record.Length, "TestMarshaling Length");
        Equal(IntPtr.Zero, record.Value, "TestMarshaling Value");
    }

    static void Opening(string db)
    {
        Section("opening");
        string missing = Path.Combine(Path.GetDirectoryName(db), "no-such-dir", "none.db");
        int failed = OracleOCIw.OpenConnection(missing, "scott", "s3cret");
        Check(failed <= -10, "a missing database file gives an error id, got " + failed);
        string text = OracleOCIw.GetError(failed);
        Check(text.StartsWith("Cannot open connection to server: " + missing + ", user: scott;  (ORA-12154"),
              "missing file message: " + text);
        Check(!text.Contains("s3cret"), "the password stays out of the message");
        Equal(text, OracleOCIw.GetError(failed), "GetError twice gives the same text");

        // Accounts: once the database has one, a wrong password is refused with ORA-01017.
        string memdb = "file:/dotnet-accounts-" + Guid.NewGuid().ToString("N") + "?vfs=memdb";
        int admin = Ok(OracleOCIw.OpenConnection(memdb, "anyone", "anything"), "open fresh memdb");
        Ok(OracleOCIw.ExecuteQuery(admin, "CREATE USER demo IDENTIFIED BY \"pässwörd\"", true), "CREATE USER");
        int good = OracleOCIw.OpenConnection(memdb, "DEMO", "pässwörd");
        Check(good >= 11, "the account opens with its UTF-8 password: " + (good < 0 ? OracleOCIw.GetError(good) : ""));
        NativeMethods.CloseConnection(good);
        int bad = OracleOCIw.OpenConnection(memdb, "demo", "wrong");
        Check(bad < 0, "a wrong password is refused");
        text = OracleOCIw.GetError(bad);
        Equal("Cannot open connection to server: " + memdb + ", user: demo;  (ORA-01017: invalid username/password; logon denied\n)[Code:1017]",
              text, "wrong password message");
        NativeMethods.CloseConnection(admin);
    }

    const string Columns =
        "ID, NUM, PLS, BF, BD, NAME, CODE, BORN, TS, TSZ, DOC, PIC, RAWV";

    static void Schema(int s)
    {
        Section("schema");
        Equal(0, Ok(OracleOCIw.ExecuteQuery(s,
            "CREATE TABLE things (id NUMBER(10) GENERATED ALWAYS AS IDENTITY PRIMARY KEY, num NUMBER(10,2), " +
            "pls PLS_INTEGER, bf BINARY_FLOAT, bd BINARY_DOUBLE, name VARCHAR2(40) NOT NULL, code CHAR(3), " +
            "born DATE, ts TIMESTAMP, tsz TIMESTAMP WITH TIME ZONE, doc CLOB, pic BLOB, rawv RAW(16))", false),
            "CREATE TABLE"), "DDL update count");
    }

    static void Binds(int s)
    {
        Section("binds");
        Equal(0, Ok(OracleOCIw.PrepareQuery(s,
            "INSERT INTO things (num, pls, bf, bd, name, code, born, ts, tsz, doc, pic) " +
            "VALUES (:1, :2, :3, :4, :5, :6, :7, :8, :9, :10, :11)", false), "prepare insert"), "PrepareQuery result");
        Ok(OracleOCIw.SetString(s, 1, "12.5"), "SetString number");
        Ok(NativeMethods.SetInt(s, 2, 42, false), "SetInt");
        Ok(NativeMethods.SetFloat(s, 3, 1.5f, false), "SetFloat");
        Ok(NativeMethods.SetDouble(s, 4, 2.25, false), "SetDouble");
        Ok(OracleOCIw.SetString(s, 5, "Zoë – żółw €"), "SetString UTF-8");
        Ok(OracleOCIw.SetString(s, 6, "abc"), "SetString char");
        Ok(OracleOCIw.SetString(s, 7, "2024-01-15 14:30:05"), "SetString date");
        Ok(NativeMethods.SetTimestamp(s, 8, 2024, 1, 15, 14, 30, 5, 123456789, 0, 0, false), "SetTimestamp");
        Ok(NativeMethods.SetTimestamp(s, 9, 2024, 1, 15, 14, 30, 5, 0, 5, 30, false), "SetTimestamp with zone");
        Ok(OracleOCIw.StreamToLob(s, 10, OciTypeCode.Clob, Encoding.UTF8.GetBytes("short clob"), 4), "stream clob");
        Ok(OracleOCIw.StreamToLob(s, 11, OciTypeCode.Blob, new byte[] { 0, 1, 2, 0, 255 }, 2), "stream blob");
        Equal(1, Ok(NativeMethods.Execute(s), "Execute"), "insert count");
        Ok(OracleOCIw.ExecuteQuery(s, "UPDATE things SET rawv = x'00ff10' WHERE id = 1", false), "set raw");

        // A row of NULLs (and zeros for the numeric slots), each through the setters' null paths.
        Ok(OracleOCIw.PrepareQuery(s,
            "INSERT INTO things (num, pls, bf, bd, name, code, born, ts, tsz, doc, pic) " +
            "VALUES (:1, :2, :3, :4, :5, :6, :7, :8, :9, :10, :11)", false), "prepare null insert");
        Ok(NativeMethods.SetNull(s, 1, OciTypeCode.Number), "SetNull number");
        Ok(NativeMethods.SetInt(s, 2, 7, true), "SetInt null");
        Ok(NativeMethods.SetFloat(s, 3, 0f, false), "SetFloat zero");
        Ok(NativeMethods.SetDouble(s, 4, -0.0, false), "SetDouble negative zero");
        Ok(OracleOCIw.SetString(s, 5, "nulls"), "SetString");
        Ok(NativeMethods.SetString(s, 6, IntPtr.Zero, false), "SetString null pointer");
        Ok(OracleOCIw.SetString(s, 7, null), "SetString null");
        Ok(NativeMethods.SetTimestamp(s, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, true), "SetTimestamp null");
        Ok(NativeMethods.SetNull(s, 9, 187), "SetNull timestamp");
        Ok(NativeMethods.SetNull(s, 10, OciTypeCode.Clob), "SetNull clob");
        Ok(NativeMethods.SetNull(s, 11, OciTypeCode.Blob), "SetNull blob");
        Equal(1, Ok(NativeMethods.Execute(s), "Execute nulls"), "null insert count");
    }

    static void Batch(int s)
    {
        Section("batch");
        Ok(OracleOCIw.PrepareQuery(s, "INSERT INTO things (name, pls, num) VALUES (:1, :2, :3)", false), "prepare batch");
        Ok(NativeMethods.SetMaxIterations(s, 3), "SetMaxIterations");
        Ok(NativeMethods.SetMaxParSize(s, 1, 20), "SetMaxParSize");
        Ok(NativeMethods.SetMaxParSize(s, 3, 20), "SetMaxParSize");
        string[] names = { "batch one", "batch two", "batch three" };
        for (int i = 0; i < names.Length; i++)
        {
            if (i > 0) Ok(NativeMethods.AddIteration(s), "AddIteration");
            Ok(OracleOCIw.SetString(s, 1, names[i]), "batch SetString");
            if (i == 1) Ok(NativeMethods.SetInt(s, 2, 5, false), "batch SetInt");
            else Ok(NativeMethods.SetNull(s, 2, OciTypeCode.Integer), "batch SetNull");
            Ok(OracleOCIw.SetString(s, 3, (i * 100 + 0.25).ToString(System.Globalization.CultureInfo.InvariantCulture)), "batch number");
        }
        Equal(3, Ok(NativeMethods.Execute(s), "batch Execute"), "batch update count");

        Ok(OracleOCIw.ExecuteQuery(s, "SELECT name, pls FROM things WHERE name LIKE 'batch%' ORDER BY id", false), "read batch");
        var seen = new List<string>();
        while (Ok(NativeMethods.NextRow(s), "NextRow") == 1)
            seen.Add(OracleOCIw.GetString(s, 0) + "/" + OracleOCIw.GetInteger(s, 1));
        Equal("batch one//batch two/5/batch three/", string.Join("/", seen), "batch rows, NULL 5 NULL");
    }

    static void Getters(int s)
    {
        Section("getters");
        Equal(0, Ok(OracleOCIw.ExecuteQuery(s, "SELECT " + Columns + " FROM things ORDER BY id", false), "select"), "query result");
        Equal(13, NativeMethods.GetColumnsCount(s), "column count");
        string[] names = Columns.Split(new[] { ", " }, StringSplitOptions.None);
        for (int i = 0; i < names.Length; i++)
            Equal(names[i], OracleOCIw.GetColumnName(s, i), "column name " + i);
        int[] types = { 2, 2, 3, 100, 101, 1, 96, 12, 187, 188, 112, 113, 23 };
        for (int i = 0; i < types.Length; i++)
            Equal(types[i], NativeMethods.GetColumnType(s, i), "type of " + names[i]);
        Equal("", OracleOCIw.GetColumnTableName(s, 0), "result columns have no table name");
        Equal("UNKNOWN_TYPE_NAME", OracleOCIw.GetColumnTypeName(s, 1), "type name of a built-in type");

        Equal(1, NativeMethods.NextRow(s), "first row");
        Equal("1", OracleOCIw.GetString(s, 0), "identity value");
        Equal("12.5", OracleOCIw.GetString(s, 1), "NUMBER(10,2)");
        Equal((int?)42, OracleOCIw.GetInteger(s, 2), "PLS_INTEGER");
        Equal((float?)1.5f, OracleOCIw.GetFloat(s, 3), "BINARY_FLOAT");
        Equal((double?)2.25, OracleOCIw.GetDouble(s, 4), "BINARY_DOUBLE");
        Equal("Zoë – żółw €", OracleOCIw.GetString(s, 5), "VARCHAR2 UTF-8");
        string code = OracleOCIw.GetString(s, 6);
        Check(code != null && code.StartsWith("abc"), "CHAR(3): " + code);
        Equal("15-JAN-24", OracleOCIw.GetString(s, 7), "DATE default rendering");
        Equal("2024-01-15 14:30:05+00:00", OracleOCIw.GetString(s, 8), "TIMESTAMP on the 24-hour clock");
        Equal("2024-01-15 14:30:05+05:30", OracleOCIw.GetString(s, 9), "TIMESTAMP WITH TIME ZONE");
        Equal("short clob", OracleOCIw.GetString(s, 10), "streamed CLOB");
        Equal("00-01-02-00-FF", BitConverter.ToString(OracleOCIw.GetByteArray(s, 11) ?? new byte[0]), "streamed BLOB");
        Equal("00-FF-10", BitConverter.ToString(OracleOCIw.GetByteArray(s, 12) ?? new byte[0]), "RAW");

        // Record fields straight from the native write: length counts UTF-8 bytes, not characters.
        var text = new PointerRecord { IsNull = true, Length = -1 };
        Equal(0, NativeMethods.GetString(s, 5, ref text), "GetString record");
        Equal(false, text.IsNull, "IsNull byte of a value");
        Equal(Encoding.UTF8.GetByteCount("Zoë – żółw €"), text.Length, "UTF-8 byte length");

        Equal(1, NativeMethods.NextRow(s), "second row");
        Equal(null, OracleOCIw.GetString(s, 1), "NULL NUMBER");
        Equal((int?)null, OracleOCIw.GetInteger(s, 2), "NULL PLS_INTEGER");
        Equal((float?)0f, OracleOCIw.GetFloat(s, 3), "zero is a value, not NULL");
        var negZero = new DoubleRecord { IsNull = true, Value = 9 };
        Equal(0, NativeMethods.GetDouble(s, 4, ref negZero), "GetDouble -0.0");
        Check(!negZero.IsNull && negZero.Value == 0.0, "-0.0 arrives as a value, not as NULL");
        Equal(null, OracleOCIw.GetString(s, 6), "CHAR bound from a null pointer is NULL");
        Equal(null, OracleOCIw.GetString(s, 7), "NULL DATE");
        Equal(null, OracleOCIw.GetString(s, 8), "NULL TIMESTAMP");
        Equal(null, OracleOCIw.GetString(s, 9), "NULL TIMESTAMP WITH TIME ZONE");
        Equal(null, OracleOCIw.GetString(s, 10), "NULL CLOB");
        Equal(null, OracleOCIw.GetByteArray(s, 11), "NULL BLOB");
        var nullText = new PointerRecord { IsNull = false, Length = 77, Value = new IntPtr(1) };
        Equal(0, NativeMethods.GetString(s, 1, ref nullText), "GetString of NULL");
        Check(nullText.IsNull && nullText.Length == 0 && nullText.Value == IntPtr.Zero, "NULL record: 1, 0, null pointer");

        int rows = 2;
        while (Ok(NativeMethods.NextRow(s), "NextRow") == 1) rows++;
        Equal(5, rows, "row count");
        Equal(0, NativeMethods.NextRow(s), "NextRow after the end");
    }

    static void Refusals(int s)
    {
        Section("refusals");
        Ok(OracleOCIw.ExecuteQuery(s, "SELECT num, name, pls, bd, bf, pic FROM things ORDER BY id", false), "select");
        Equal(1, NativeMethods.NextRow(s), "row");
        // A getter the column type does not accept writes byte 0 only and stores its own message.
        var rec = new IntRecord { IsNull = false, Length = 1234, Value = 5678 };
        int id = NativeMethods.GetInteger(s, 0, ref rec);
        Check(id <= -10, "GetInteger on NUMBER is refused");
        Equal("Cannot read 'int' type value from [0] column", OracleOCIw.GetError(id), "GetInteger refusal text");
        Check(rec.IsNull && rec.Length == 1234 && rec.Value == 5678, "refusal writes only byte 0");
        var d = new DoubleRecord();
        Equal("Cannot read 'double' type value from [1] column", OracleOCIw.GetError(NativeMethods.GetDouble(s, 1, ref d)), "GetDouble refusal");
        var f = new FloatRecord();
        Equal("Cannot read 'float' type value from [3] column", OracleOCIw.GetError(NativeMethods.GetFloat(s, 3, ref f)), "GetFloat refusal");
        var p = new PointerRecord();
        Equal("Cannot read character type value from [2] column", OracleOCIw.GetError(NativeMethods.GetString(s, 2, ref p)), "GetString refusal");
        Equal("Cannot read 'byte array' type value from [4] column", OracleOCIw.GetError(NativeMethods.GetByteArray(s, 4, ref p)), "GetByteArray refusal");
        Equal("Cannot read character type value from [6] column", OracleOCIw.GetError(NativeMethods.GetString(s, 6, ref p)), "index past the end");
        Equal("Cannot read column's name", OracleOCIw.GetColumnName(s, -1), "bad column index gives the message");
        Equal("Cannot read column's type", OracleOCIw.GetError(NativeMethods.GetColumnType(s, 6)), "bad index type");
    }

    static void OtherTypes(int s)
    {
        Section("other types");
        Ok(OracleOCIw.ExecuteQuery(s,
            "CREATE TABLE others (nv NVARCHAR2(10), nc NCHAR(2), ncl NCLOB, lng LONG, lraw LONG RAW, " +
            "ltz TIMESTAMP WITH LOCAL TIME ZONE, xml XMLTYPE)", false), "create");
        Ok(OracleOCIw.ExecuteQuery(s,
            "INSERT INTO others VALUES ('ñandú', 'é', 'nclob ✓', 'long text', x'0102', '2024-01-15 14:30:05', '<a/>')", false),
            "insert");
        Ok(OracleOCIw.ExecuteQuery(s, "SELECT nv, nc, ncl, lng, lraw, ltz, rowid, xml FROM others", false), "select");
        int[] types = { 1, 96, 112, 8, 24, 232, 104, 58 };
        for (int i = 0; i < types.Length; i++)
            Equal(types[i], NativeMethods.GetColumnType(s, i), "type of column " + i);
        Equal("XMLTYPE", OracleOCIw.GetColumnTypeName(s, 7), "server type name of XMLTYPE");
        Equal(1, NativeMethods.NextRow(s), "row");
        Equal("ñandú", OracleOCIw.GetString(s, 0), "NVARCHAR2");
        Check((OracleOCIw.GetString(s, 1) ?? "").StartsWith("é"), "NCHAR");
        Equal("nclob ✓", OracleOCIw.GetString(s, 2), "NCLOB");
        Equal("long text", OracleOCIw.GetString(s, 3), "LONG");
        Equal("01-02", BitConverter.ToString(OracleOCIw.GetByteArray(s, 4) ?? new byte[0]), "LONG RAW");
        Equal("2024-01-15 14:30:05+00:00", OracleOCIw.GetString(s, 5), "TIMESTAMP WITH LOCAL TIME ZONE");
        Check(!string.IsNullOrEmpty(OracleOCIw.GetString(s, 6)), "ROWID as text");
        // No getter serves XMLTYPE: each refuses with its own message, writing byte 0 only.
        var p = new PointerRecord { Length = 5 };
        Check(NativeMethods.GetString(s, 7, ref p) < 0 && p.IsNull && p.Length == 5, "GetString refuses XMLTYPE");
        Check(NativeMethods.GetByteArray(s, 7, ref p) < 0, "GetByteArray refuses XMLTYPE");
        var i32 = new IntRecord();
        Check(NativeMethods.GetInteger(s, 7, ref i32) < 0, "GetInteger refuses XMLTYPE");
        var f = new FloatRecord();
        Check(NativeMethods.GetFloat(s, 7, ref f) < 0, "GetFloat refuses XMLTYPE");
        var d = new DoubleRecord();
        Check(NativeMethods.GetDouble(s, 7, ref d) < 0, "GetDouble refuses XMLTYPE");
    }

    static void LobStreaming(int s)
    {
        Section("lob streaming");
        var sb = new StringBuilder();
        for (int i = 0; i < 5000; i++) sb.Append(i % 10 == 9 ? 'ż' : (char)('a' + i % 26));
        string big = sb.ToString();
        byte[] blob = new byte[70000];
        for (int i = 0; i < blob.Length; i++) blob[i] = (byte)(i * 7);

        Ok(OracleOCIw.PrepareQuery(s, "INSERT INTO things (name, doc, pic) VALUES ('big', :1, :2)", false), "prepare");
        // 1000-byte chunks cut UTF-8 sequences in two; the LOB must still hold whole characters.
        Ok(OracleOCIw.StreamToLob(s, 1, OciTypeCode.Clob, Encoding.UTF8.GetBytes(big), 1000), "stream CLOB");
        Ok(OracleOCIw.StreamToLob(s, 2, OciTypeCode.Blob, blob, 8192), "stream BLOB");
        Equal(1, Ok(NativeMethods.Execute(s), "execute"), "insert");
        Check(NativeMethods.StreamParameterToLob(s, 1, OciTypeCode.Clob, new byte[] { 65 }, 1) < 0,
              "a posted LOB takes no further chunks");
        string wrongKind = OracleOCIw.GetError(NativeMethods.StreamParameterToLob(s, 4, 2, new byte[] { 65 }, 1));
        Equal("Cannot stream BLOB/CLOB type value of [4] parameter to server", wrongKind, "not a LOB kind");

        Ok(OracleOCIw.ExecuteQuery(s, "SELECT doc, pic FROM things WHERE name = 'big'", false), "read back");
        Equal(1, NativeMethods.NextRow(s), "row");
        Equal(big.Substring(0, 2000), OracleOCIw.GetString(s, 0), "CLOB cut to the default 2000 characters");
        Equal(2000, (OracleOCIw.GetByteArray(s, 1) ?? new byte[0]).Length, "BLOB cut to 2000 bytes");
        Equal(0, NativeMethods.SetIntSessionProperty(s, 1, 100000), "raise max column size");
        Equal(big, OracleOCIw.GetString(s, 0), "whole CLOB after property 1");
        byte[] back = OracleOCIw.GetByteArray(s, 1) ?? new byte[0];
        Check(back.Length == blob.Length && Convert.ToBase64String(back) == Convert.ToBase64String(blob), "whole BLOB");
    }

    static void Describe(int s)
    {
        Section("describe");
        Equal(0, Ok(OracleOCIw.GetMetaData(s, "things"), "GetMetaData"), "GetMetaData result");
        Equal(13, NativeMethods.GetColumnsCount(s), "described columns");
        Equal("ID", OracleOCIw.GetColumnName(s, 0), "first column");
        Equal("THINGS", OracleOCIw.GetColumnTableName(s, 0).ToUpperInvariant(), "table name");
        Equal("SCOTT", OracleOCIw.GetColumnSchemaName(s, 0), "owner");
        Equal(1, NativeMethods.GetColumnIsAutoincremented(s, 0), "identity");
        Equal(1, NativeMethods.GetColumnIsReadOnly(s, 0), "identity is read-only");
        Equal(1, NativeMethods.GetColumnIsDbGenerated(s, 0), "identity is generated");
        Equal(0, NativeMethods.GetColumnIsAutoincremented(s, 1), "not identity");
        Equal(0, NativeMethods.GetColumnIsNullable(s, 5), "NOT NULL column");
        Equal(1, NativeMethods.GetColumnIsNullable(s, 1), "nullable column");
        Equal(10, NativeMethods.GetColumnPrecision(s, 1), "precision");
        Equal(2, NativeMethods.GetColumnScale(s, 1), "scale");
        Equal(40, NativeMethods.GetColumnSize(s, 5), "VARCHAR2 size");
        int missing = OracleOCIw.GetMetaData(s, "no_such_table");
        Check(OracleOCIw.GetError(missing).StartsWith("ORA-04043"), "unknown object: " + OracleOCIw.GetError(missing));
    }

    static void ErrorTexts(int s)
    {
        Section("errors");
        int id = OracleOCIw.ExecuteQuery(s, "SELECT * FROM missing_table", false);
        Check(id <= -10, "a missing table fails");
        string text = OracleOCIw.GetError(id);
        Check(text.StartsWith("ORA-00942"), "missing table text: " + text);
        Equal(text, OracleOCIw.GetError(id), "the same text twice");
        int next = OracleOCIw.ExecuteQuery(s, "INSERT INTO things (name) VALUES (NULL)", false);
        Check(next < id, "error ids keep decreasing");
        Check(OracleOCIw.GetError(next).StartsWith("ORA-01400"), "NOT NULL text: " + OracleOCIw.GetError(next));
        Equal("Session is not initialized", OracleOCIw.GetError(NativeMethods.NextRow(999999)), "unknown session");
        Equal("Session is not initialized", OracleOCIw.GetColumnName(999999, 0), "unknown session name");
        string sql = "SELEKT 'ü'";
        Check(OracleOCIw.GetError(OracleOCIw.ExecuteQuery(s, sql, false)).StartsWith("ORA-"), "syntax error text");
        Equal(0, OracleOCIw.PrepareQuery(s, "SELECT 1 FROM dual", true), "PrepareQuery with autoCommit");
        Equal(0, NativeMethods.Execute(s), "Execute of a query");
        Equal(1, NativeMethods.NextRow(s), "row of dual");
        Equal("1.E+00", OracleOCIw.GetString(s, 0), "expression NUMBER in the floating format");
    }

    static void ReturnedStrings(int s)
    {
        Section("returned strings");
        Ok(OracleOCIw.ExecuteQuery(s, "SELECT name FROM things ORDER BY id", false), "select");
        IntPtr first = NativeMethods.GetColumnName(s, 0);
        string copy = Utf8Text.Read(first);
        Equal(1, NativeMethods.NextRow(s), "row");
        // Ten further hand-outs through the same session: the first pointer must still read the same.
        var rec = new PointerRecord();
        for (int i = 0; i < 5; i++) NativeMethods.GetString(s, 0, ref rec);
        for (int i = 0; i < 5; i++) NativeMethods.GetColumnTypeName(s, 0);
        Equal(copy, Utf8Text.Read(first), "column name after ten more strings");
        Equal("Zoë – żółw €", Utf8Text.Read(rec.Value, rec.Length), "latest value pointer");
    }
}
