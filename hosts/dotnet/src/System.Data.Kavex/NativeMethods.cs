// Platform-invoke declarations of the 39 flat exports of System.Data.Kavex.OracleOCIw.
//
// Every signature is blittable, so a call costs no marshalling stub:
//  - kavex_bool crosses as one byte (byte here; 0 false, 1 true);
//  - texts go in as NUL-terminated UTF-8 (byte*), see Utf8; texts that come back are library-owned
//    UTF-8 and are copied at once, never freed;
//  - value records are packed (Pack = 1): isNull at byte 0, length at bytes 1-4, value from byte 5.
using System.Runtime.InteropServices;

namespace System.Data.Kavex.Native
{
    /// <summary>13-byte record of GetString and GetByteArray (Value points at library-owned bytes)
    /// and of TestMarshaling.</summary>
    [StructLayout(LayoutKind.Sequential, Pack = 1)]
    public struct PointerRecord
    {
        public byte IsNullByte;
        public int Length;
        public IntPtr Value;
        public readonly bool IsNull => IsNullByte != 0;
    }

    /// <summary>13-byte record of GetDouble.</summary>
    [StructLayout(LayoutKind.Sequential, Pack = 1)]
    public struct DoubleRecord
    {
        public byte IsNullByte;
        public int Length;
        public double Value;
        public readonly bool IsNull => IsNullByte != 0;
    }

    /// <summary>9-byte record of GetInteger.</summary>
    [StructLayout(LayoutKind.Sequential, Pack = 1)]
    public struct IntRecord
    {
        public byte IsNullByte;
        public int Length;
        public int Value;
        public readonly bool IsNull => IsNullByte != 0;
    }

    /// <summary>9-byte record of GetFloat.</summary>
    [StructLayout(LayoutKind.Sequential, Pack = 1)]
    public struct FloatRecord
    {
        public byte IsNullByte;
        public int Length;
        public float Value;
        public readonly bool IsNull => IsNullByte != 0;
    }

    /// <summary>The raw flat interface. Column indexes are 0-based, parameter indexes 1-based; a
    /// negative result is an error id whose message GetError returns.</summary>
    public static unsafe class NativeMethods
    {
        public const string Library = "System.Data.Kavex.OracleOCIw";

        /// <summary>Session property 1: the maximum size of CLOB, BLOB, RAW and LONG values read.</summary>
        public const int MaxColumnSizeProperty = 1;

        /// <summary>Session property 2, set from any thread: the call running on the session fails
        /// with ORA-01013; with none running nothing happens.</summary>
        public const int CancelProperty = 2;

        [DllImport(Library)] public static extern int OpenConnection(byte* connectString, byte* userName, byte* password);
        [DllImport(Library)] public static extern int CloseConnection(int sessionId);
        [DllImport(Library)] public static extern byte* GetError(int errorId);
        [DllImport(Library)] public static extern int TestMarshaling(PointerRecord* record);

        [DllImport(Library)] public static extern int ExecuteQuery(int sessionId, byte* sql, byte autoCommit);
        [DllImport(Library)] public static extern int PrepareQuery(int sessionId, byte* sql, byte autoCommit);
        [DllImport(Library)] public static extern int Execute(int sessionId);
        [DllImport(Library)] public static extern int NextRow(int sessionId);
        [DllImport(Library)] public static extern int SetIntSessionProperty(int sessionId, int propertyId, int value);

        [DllImport(Library)] public static extern int SetMaxParSize(int sessionId, uint index, uint size);
        [DllImport(Library)] public static extern int SetMaxIterations(int sessionId, uint count);
        [DllImport(Library)] public static extern int AddIteration(int sessionId);

        [DllImport(Library)] public static extern int SetNull(int sessionId, int index, int typeCode);
        [DllImport(Library)] public static extern int SetString(int sessionId, int index, byte* value, byte isNull);
        [DllImport(Library)] public static extern int SetInt(int sessionId, int index, int value, byte isNull);
        [DllImport(Library)] public static extern int SetFloat(int sessionId, int index, float value, byte isNull);
        [DllImport(Library)] public static extern int SetDouble(int sessionId, int index, double value, byte isNull);
        [DllImport(Library)] public static extern int SetTimestamp(int sessionId, int index, int year, uint month, uint day,
                                                                    uint hour, uint minute, uint second, uint fraction,
                                                                    int tzHour, int tzMinute, byte isNull);

        [DllImport(Library)] public static extern int StreamParameterToLob(int sessionId, int index, int lobKind, byte* data, uint length);
        [DllImport(Library)] public static extern int StreamParameterToLobLast(int sessionId, int index);

        [DllImport(Library)] public static extern int GetMetaData(int sessionId, byte* unused, byte* objectName);
        [DllImport(Library)] public static extern int GetColumnsCount(int sessionId);
        [DllImport(Library)] public static extern byte* GetColumnName(int sessionId, int index);
        [DllImport(Library)] public static extern byte* GetColumnSchemaName(int sessionId, int index);
        [DllImport(Library)] public static extern byte* GetColumnTableName(int sessionId, int index);
        [DllImport(Library)] public static extern byte* GetColumnTypeName(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnType(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnSize(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnScale(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnPrecision(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnIsAutoincremented(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnIsReadOnly(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnIsDbGenerated(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnIsNullable(int sessionId, int index);

        [DllImport(Library)] public static extern int GetString(int sessionId, int index, PointerRecord* record);
        [DllImport(Library)] public static extern int GetByteArray(int sessionId, int index, PointerRecord* record);
        [DllImport(Library)] public static extern int GetInteger(int sessionId, int index, IntRecord* record);
        [DllImport(Library)] public static extern int GetFloat(int sessionId, int index, FloatRecord* record);
        [DllImport(Library)] public static extern int GetDouble(int sessionId, int index, DoubleRecord* record);
    }
}
