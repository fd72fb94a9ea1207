// Platform-invoke declarations of the 39 flat exports of System.Data.Kavex.OracleOCIw, written as a
// .NET data provider declares them.
//
// Marshalling rules the native side expects:
//  - every bool crosses as ONE byte ([MarshalAs(UnmanagedType.U1)]); the default 4-byte Win32 BOOL
//    would put garbage into the bytes the library does not read, and on return misread the record;
//  - text goes in and out as NUL-terminated UTF-8 (IntPtr + Utf8), since mono's default string
//    marshalling is not UTF-8;
//  - value records are packed (Pack = 1): isNull at byte 0, length at bytes 1-4, value from byte 5;
//  - every const char* the library returns is owned by it: copy it at once, never free it.
using System;
using System.Runtime.InteropServices;
using System.Text;

namespace System.Data.Kavex
{
    /// 13-byte record of GetString and GetByteArray (value points at library-owned bytes) and of
    /// TestMarshaling.
    [StructLayout(LayoutKind.Sequential, Pack = 1)]
    public struct PointerRecord
    {
        [MarshalAs(UnmanagedType.U1)] public bool IsNull;
        public int Length;
        public IntPtr Value;
    }

    /// 13-byte record of GetDouble.
    [StructLayout(LayoutKind.Sequential, Pack = 1)]
    public struct DoubleRecord
    {
        [MarshalAs(UnmanagedType.U1)] public bool IsNull;
        public int Length;
        public double Value;
    }

    /// 9-byte record of GetInteger.
    [StructLayout(LayoutKind.Sequential, Pack = 1)]
    public struct IntRecord
    {
        [MarshalAs(UnmanagedType.U1)] public bool IsNull;
        public int Length;
        public int Value;
    }

    /// 9-byte record of GetFloat.
    [StructLayout(LayoutKind.Sequential, Pack = 1)]
    public struct FloatRecord
    {
        [MarshalAs(UnmanagedType.U1)] public bool IsNull;
        public int Length;
        public float Value;
    }

    /// The LOB kind codes StreamParameterToLob accepts, and the codes SetNull understands best.
    public static class OciTypeCode
    {
        public const int Char = 1;
        public const int Number = 2;
        public const int Integer = 3;
        public const int LongRaw = 24;
        public const int Clob = 112;
        public const int Blob = 113;
        public const int Bfile = 114;
    }

    public static class NativeMethods
    {
        public const string Library = "System.Data.Kavex.OracleOCIw";

        [DllImport(Library)] public static extern int OpenConnection(IntPtr connectString, IntPtr userName, IntPtr password);
        [DllImport(Library)] public static extern int CloseConnection(int sessionId);
        [DllImport(Library)] public static extern IntPtr GetError(int errorId);
        [DllImport(Library)] public static extern int TestMarshaling(ref PointerRecord record);

        [DllImport(Library)] public static extern int ExecuteQuery(int sessionId, IntPtr sql, [MarshalAs(UnmanagedType.U1)] bool autoCommit);
        [DllImport(Library)] public static extern int PrepareQuery(int sessionId, IntPtr sql, [MarshalAs(UnmanagedType.U1)] bool autoCommit);
        [DllImport(Library)] public static extern int Execute(int sessionId);
        [DllImport(Library)] public static extern int NextRow(int sessionId);
        [DllImport(Library)] public static extern int SetIntSessionProperty(int sessionId, int propertyId, int value);

        [DllImport(Library)] public static extern int SetMaxParSize(int sessionId, uint index, uint size);
        [DllImport(Library)] public static extern int SetMaxIterations(int sessionId, uint count);
        [DllImport(Library)] public static extern int AddIteration(int sessionId);

        [DllImport(Library)] public static extern int SetNull(int sessionId, int index, int typeCode);
        [DllImport(Library)] public static extern int SetString(int sessionId, int index, IntPtr value, [MarshalAs(UnmanagedType.U1)] bool isNull);
        [DllImport(Library)] public static extern int SetInt(int sessionId, int index, int value, [MarshalAs(UnmanagedType.U1)] bool isNull);
        [DllImport(Library)] public static extern int SetFloat(int sessionId, int index, float value, [MarshalAs(UnmanagedType.U1)] bool isNull);
        [DllImport(Library)] public static extern int SetDouble(int sessionId, int index, double value, [MarshalAs(UnmanagedType.U1)] bool isNull);
        [DllImport(Library)] public static extern int SetTimestamp(int sessionId, int index, int year, uint month, uint day,
                                                                    uint hour, uint minute, uint second, uint fraction,
                                                                    int tzHour, int tzMinute, [MarshalAs(UnmanagedType.U1)] bool isNull);

        [DllImport(Library)] public static extern int StreamParameterToLob(int sessionId, int index, int lobKind, byte[] data, uint length);
        [DllImport(Library)] public static extern int StreamParameterToLobLast(int sessionId, int index);

        [DllImport(Library)] public static extern int GetMetaData(int sessionId, IntPtr unused, IntPtr objectName);
        [DllImport(Library)] public static extern int GetColumnsCount(int sessionId);
        [DllImport(Library)] public static extern IntPtr GetColumnName(int sessionId, int index);
        [DllImport(Library)] public static extern IntPtr GetColumnSchemaName(int sessionId, int index);
        [DllImport(Library)] public static extern IntPtr GetColumnTableName(int sessionId, int index);
        [DllImport(Library)] public static extern IntPtr GetColumnTypeName(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnType(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnSize(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnScale(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnPrecision(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnIsAutoincremented(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnIsReadOnly(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnIsDbGenerated(int sessionId, int index);
        [DllImport(Library)] public static extern int GetColumnIsNullable(int sessionId, int index);

        [DllImport(Library)] public static extern int GetString(int sessionId, int index, ref PointerRecord record);
        [DllImport(Library)] public static extern int GetByteArray(int sessionId, int index, ref PointerRecord record);
        [DllImport(Library)] public static extern int GetInteger(int sessionId, int index, ref IntRecord record);
        [DllImport(Library)] public static extern int GetFloat(int sessionId, int index, ref FloatRecord record);
        [DllImport(Library)] public static extern int GetDouble(int sessionId, int index, ref DoubleRecord record);
    }

    /// A NUL-terminated UTF-8 copy of a managed string in unmanaged memory, released on Dispose.
    /// A null string gives IntPtr.Zero.
    public sealed class Utf8Text : IDisposable
    {
        public IntPtr Pointer { get; private set; }

        public Utf8Text(string text)
        {
            if (text == null) return;
            byte[] bytes = Encoding.UTF8.GetBytes(text);
            Pointer = Marshal.AllocHGlobal(bytes.Length + 1);
            Marshal.Copy(bytes, 0, Pointer, bytes.Length);
            Marshal.WriteByte(Pointer, bytes.Length, 0);
        }

        public void Dispose()
        {
            if (Pointer != IntPtr.Zero) Marshal.FreeHGlobal(Pointer);
            Pointer = IntPtr.Zero;
        }

        /// Copies a library-owned NUL-terminated UTF-8 text; null for IntPtr.Zero.
        public static string Read(IntPtr text)
        {
            if (text == IntPtr.Zero) return null;
            int length = 0;
            while (Marshal.ReadByte(text, length) != 0) length++;
            return Read(text, length);
        }

        /// Copies length bytes of library-owned UTF-8 text.
        public static string Read(IntPtr text, int length)
        {
            if (text == IntPtr.Zero) return null;
            byte[] bytes = new byte[length];
            Marshal.Copy(text, bytes, 0, length);
            return Encoding.UTF8.GetString(bytes);
        }

        /// Copies length library-owned bytes.
        public static byte[] ReadBytes(IntPtr data, int length)
        {
            if (data == IntPtr.Zero) return null;
            byte[] bytes = new byte[length];
            Marshal.Copy(data, bytes, 0, length);
            return bytes;
        }
    }

    /// The calls above with managed strings, as a provider's command and reader classes use them.
    public static class OracleOCIw
    {
        public static int OpenConnection(string connectString, string userName, string password)
        {
            using (var c = new Utf8Text(connectString))
            using (var u = new Utf8Text(userName))
            using (var p = new Utf8Text(password))
                return NativeMethods.OpenConnection(c.Pointer, u.Pointer, p.Pointer);
        }

        public static string GetError(int errorId)
        {
            return Utf8Text.Read(NativeMethods.GetError(errorId));
        }

        public static int ExecuteQuery(int sessionId, string sql, bool autoCommit)
        {
            using (var s = new Utf8Text(sql)) return NativeMethods.ExecuteQuery(sessionId, s.Pointer, autoCommit);
        }

        public static int PrepareQuery(int sessionId, string sql, bool autoCommit)
        {
            using (var s = new Utf8Text(sql)) return NativeMethods.PrepareQuery(sessionId, s.Pointer, autoCommit);
        }

        public static int SetString(int sessionId, int index, string value)
        {
            using (var v = new Utf8Text(value)) return NativeMethods.SetString(sessionId, index, v.Pointer, value == null);
        }

        public static int GetMetaData(int sessionId, string objectName)
        {
            using (var u = new Utf8Text(""))
            using (var o = new Utf8Text(objectName))
                return NativeMethods.GetMetaData(sessionId, u.Pointer, o.Pointer);
        }

        public static string GetColumnName(int sessionId, int index)
        {
            return Utf8Text.Read(NativeMethods.GetColumnName(sessionId, index));
        }

        public static string GetColumnSchemaName(int sessionId, int index)
        {
            return Utf8Text.Read(NativeMethods.GetColumnSchemaName(sessionId, index));
        }

        public static string GetColumnTableName(int sessionId, int index)
        {
            return Utf8Text.Read(NativeMethods.GetColumnTableName(sessionId, index));
        }

        public static string GetColumnTypeName(int sessionId, int index)
        {
            return Utf8Text.Read(NativeMethods.GetColumnTypeName(sessionId, index));
        }

        /// The text of a column of the current row, or null for NULL. Throws with GetError's text.
        public static string GetString(int sessionId, int index)
        {
            var record = new PointerRecord();
            Check(NativeMethods.GetString(sessionId, index, ref record));
            return record.IsNull ? null : Utf8Text.Read(record.Value, record.Length);
        }

        public static byte[] GetByteArray(int sessionId, int index)
        {
            var record = new PointerRecord();
            Check(NativeMethods.GetByteArray(sessionId, index, ref record));
            return record.IsNull ? null : Utf8Text.ReadBytes(record.Value, record.Length);
        }

        public static int? GetInteger(int sessionId, int index)
        {
            var record = new IntRecord();
            Check(NativeMethods.GetInteger(sessionId, index, ref record));
            return record.IsNull ? (int?)null : record.Value;
        }

        public static float? GetFloat(int sessionId, int index)
        {
            var record = new FloatRecord();
            Check(NativeMethods.GetFloat(sessionId, index, ref record));
            return record.IsNull ? (float?)null : record.Value;
        }

        public static double? GetDouble(int sessionId, int index)
        {
            var record = new DoubleRecord();
            Check(NativeMethods.GetDouble(sessionId, index, ref record));
            return record.IsNull ? (double?)null : record.Value;
        }

        /// Sends a whole value to a CLOB or BLOB parameter in chunks of chunkSize bytes.
        public static int StreamToLob(int sessionId, int index, int lobKind, byte[] data, int chunkSize)
        {
            var chunk = new byte[chunkSize];
            for (int offset = 0; offset < data.Length; offset += chunkSize)
            {
                int n = Math.Min(chunkSize, data.Length - offset);
                Array.Copy(data, offset, chunk, 0, n);
                int result = NativeMethods.StreamParameterToLob(sessionId, index, lobKind, chunk, (uint)n);
                if (result < 0) return result;
            }
            return NativeMethods.StreamParameterToLobLast(sessionId, index);
        }

        /// Turns a negative result into an exception carrying the library's message.
        public static int Check(int result)
        {
            if (result < 0) throw new OracleOCIwException(result, GetError(result));
            return result;
        }
    }

    public sealed class OracleOCIwException : Exception
    {
        public int ErrorId { get; private set; }

        public OracleOCIwException(int errorId, string message) : base(message)
        {
            ErrorId = errorId;
        }
    }
}
