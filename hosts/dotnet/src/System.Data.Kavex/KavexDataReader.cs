using System.Collections;
using System.Collections.Generic;
using System.Data.Common;
using System.Data.Kavex.Native;
using System.Globalization;
using System.IO;
using System.Text;
using System.Threading;
using System.Threading.Tasks;
using Reader = System.Data.Kavex.TypeMapping.Reader;

namespace System.Data.Kavex
{
    /// <summary>Forward-only rows of one statement. Values are fetched from the library when asked
    /// for; a value read twice in the same row (IsDBNull, then a getter) is fetched once.</summary>
    public sealed unsafe class KavexDataReader : DbDataReader
    {
        private readonly KavexConnection connection;
        private readonly CommandBehavior behavior;
        private readonly int session;
        private readonly int recordsAffected;
        private readonly int[] types;
        private readonly Reader[] readers;
        private string[]? names;
        private bool closed;
        private bool hasRow;
        private bool pendingRow;   // a row fetched by HasRows, not yet handed out by Read
        private bool pendingEnd;
        private bool sawRow;
        private long rowNumber;
        private readonly DataTable? schema;   // described with key information (KeyInfo)

        // Per-column cache for the current row: fetched when cacheRow[i] == rowNumber.
        private readonly long[] cacheRow;
        private readonly object?[] cacheValue;

        internal KavexDataReader(KavexConnection connection, int result, CommandBehavior behavior, DataTable? schema = null)
        {
            this.connection = connection;
            this.behavior = behavior;
            this.schema = schema;
            session = connection.SessionId;
            int count = KavexException.Check(NativeMethods.GetColumnsCount(session));
            recordsAffected = count > 0 ? -1 : result;
            types = new int[count];
            readers = new Reader[count];
            for (int i = 0; i < count; i++)
            {
                types[i] = KavexException.Check(NativeMethods.GetColumnType(session, i));
                readers[i] = TypeMapping.ReaderOf(types[i]);
            }
            cacheRow = new long[count];
            cacheValue = new object?[count];
            connection.ActiveReader = this;
        }

        public override int FieldCount
        {
            get
            {
                RequireOpen();
                return types.Length;
            }
        }

        public override int RecordsAffected => recordsAffected;
        public override bool IsClosed => closed;
        public override int Depth => 0;
        public override object this[int ordinal] => GetValue(ordinal);
        public override object this[string name] => GetValue(GetOrdinal(name));

        public override bool HasRows
        {
            get
            {
                RequireOpen();
                if (sawRow || pendingRow) return true;
                if (pendingEnd || types.Length == 0 || (behavior & CommandBehavior.SchemaOnly) != 0) return false;
                pendingRow = Next();
                pendingEnd = !pendingRow;
                return pendingRow;
            }
        }

        public override bool Read()
        {
            RequireOpen();
            if (pendingRow)
            {
                pendingRow = false;
                hasRow = true;
            }
            else if (pendingEnd || types.Length == 0 || (behavior & CommandBehavior.SchemaOnly) != 0 ||
                     (sawRow && (behavior & CommandBehavior.SingleRow) != 0))
            {
                hasRow = false;
            }
            else
            {
                hasRow = Next();
            }
            if (!hasRow) pendingEnd = true;
            sawRow |= hasRow;
            rowNumber++;
            return hasRow;
        }

        /// <summary>A token cancelled while the fetch runs cancels it (a cancelled task).</summary>
        public override Task<bool> ReadAsync(CancellationToken cancellationToken) =>
            CallCanceller.Run(cancellationToken, connection.BreakRunningCall, Read);

        private bool Next() => KavexException.Check(NativeMethods.NextRow(session)) == 1;

        public override bool NextResult()
        {
            RequireOpen();
            hasRow = false;
            pendingRow = false;
            pendingEnd = true;
            return false;
        }

        public override void Close()
        {
            if (closed) return;
            closed = true;
            if (connection.ActiveReader == this) connection.ActiveReader = null;
            if ((behavior & CommandBehavior.CloseConnection) != 0 && !connection.Closing) connection.Close();
        }

        protected override void Dispose(bool disposing)
        {
            if (disposing) Close();
            base.Dispose(disposing);
        }

        // ---- metadata ----------------------------------------------------------------------------

        public override string GetName(int ordinal)
        {
            CheckOrdinal(ordinal);
            if (names == null)
            {
                names = new string[types.Length];
                for (int i = 0; i < names.Length; i++) names[i] = Utf8Text.Read(NativeMethods.GetColumnName(session, i)) ?? "";
            }
            return names[ordinal];
        }

        public override int GetOrdinal(string name)
        {
            for (int i = 0; i < types.Length; i++)
                if (string.Equals(GetName(i), name, StringComparison.Ordinal)) return i;
            for (int i = 0; i < types.Length; i++)
                if (string.Equals(GetName(i), name, StringComparison.OrdinalIgnoreCase)) return i;
            throw new IndexOutOfRangeException("No column named '" + name + "'");
        }

        public override string GetDataTypeName(int ordinal)
        {
            CheckOrdinal(ordinal);
            return TypeMapping.TypeName(types[ordinal]);
        }

        public override Type GetFieldType(int ordinal)
        {
            CheckOrdinal(ordinal);
            return TypeMapping.FieldType(types[ordinal]);
        }

        /// <summary>The Oracle type code of a column, as GetColumnType reports it.</summary>
        public int GetOracleTypeCode(int ordinal)
        {
            CheckOrdinal(ordinal);
            return types[ordinal];
        }

        /// <summary>The columns' description; null for a statement that returns no rows.</summary>
        public override DataTable? GetSchemaTable()
        {
            RequireOpen();
            if (types.Length == 0) return null;
            if (schema != null) return schema.Copy();
            var table = new DataTable("SchemaTable");
            var columns = table.Columns;
            columns.Add(SchemaTableColumn.ColumnName, typeof(string));
            columns.Add(SchemaTableColumn.ColumnOrdinal, typeof(int));
            columns.Add(SchemaTableColumn.ColumnSize, typeof(int));
            columns.Add(SchemaTableColumn.NumericPrecision, typeof(short));
            columns.Add(SchemaTableColumn.NumericScale, typeof(short));
            columns.Add(SchemaTableColumn.DataType, typeof(Type));
            columns.Add(SchemaTableColumn.ProviderType, typeof(int));
            columns.Add(SchemaTableColumn.IsLong, typeof(bool));
            columns.Add(SchemaTableColumn.AllowDBNull, typeof(bool));
            columns.Add(SchemaTableOptionalColumn.IsReadOnly, typeof(bool));
            columns.Add(SchemaTableOptionalColumn.IsAutoIncrement, typeof(bool));
            columns.Add("IsDbGenerated", typeof(bool));
            columns.Add(SchemaTableColumn.IsKey, typeof(bool));
            columns.Add(SchemaTableColumn.IsUnique, typeof(bool));
            columns.Add(SchemaTableColumn.IsExpression, typeof(bool));
            columns.Add(SchemaTableColumn.BaseColumnName, typeof(string));
            columns.Add(SchemaTableColumn.BaseSchemaName, typeof(string));
            columns.Add(SchemaTableColumn.BaseTableName, typeof(string));
            columns.Add("DataTypeName", typeof(string));
            for (int i = 0; i < types.Length; i++)
            {
                var row = table.NewRow();
                row[SchemaTableColumn.ColumnName] = GetName(i);
                row[SchemaTableColumn.ColumnOrdinal] = i;
                row[SchemaTableColumn.ColumnSize] = Math.Max(0, NativeMethods.GetColumnSize(session, i));
                row[SchemaTableColumn.NumericPrecision] = (short)Math.Max(0, NativeMethods.GetColumnPrecision(session, i));
                row[SchemaTableColumn.NumericScale] = (short)Math.Max(0, NativeMethods.GetColumnScale(session, i));
                row[SchemaTableColumn.DataType] = GetFieldType(i);
                row[SchemaTableColumn.ProviderType] = types[i];
                row[SchemaTableColumn.IsLong] = types[i] is 8 or 24 or 112 or 113;
                row[SchemaTableColumn.AllowDBNull] = NativeMethods.GetColumnIsNullable(session, i) != 0;
                row[SchemaTableOptionalColumn.IsReadOnly] = NativeMethods.GetColumnIsReadOnly(session, i) == 1;
                row[SchemaTableOptionalColumn.IsAutoIncrement] = NativeMethods.GetColumnIsAutoincremented(session, i) == 1;
                row["IsDbGenerated"] = NativeMethods.GetColumnIsDbGenerated(session, i) == 1;
                row[SchemaTableColumn.IsKey] = false;
                row[SchemaTableColumn.IsUnique] = false;
                row[SchemaTableColumn.IsExpression] = false;
                row[SchemaTableColumn.BaseColumnName] = GetName(i);
                row[SchemaTableColumn.BaseSchemaName] = Text(NativeMethods.GetColumnSchemaName(session, i));
                row[SchemaTableColumn.BaseTableName] = Text(NativeMethods.GetColumnTableName(session, i));
                row["DataTypeName"] = GetDataTypeName(i);
                table.Rows.Add(row);
            }
            return table;
        }

        private static object Text(byte* text)
        {
            string? value = Utf8Text.Read(text);
            return string.IsNullOrEmpty(value) || value == "unknown" ? DBNull.Value : value;
        }

        // ---- values ------------------------------------------------------------------------------

        public override bool IsDBNull(int ordinal) => Cached(ordinal) is null;

        public override object GetValue(int ordinal) => Cached(ordinal) switch
        {
            null => DBNull.Value,
            byte[] raw when readers[ordinal] != Reader.Bytes => Natural(ordinal, raw),
            object value => value,
        };

        public override int GetValues(object[] values)
        {
            ArgumentNullException.ThrowIfNull(values);
            CheckRow(0);
            int n = Math.Min(values.Length, types.Length);
            for (int i = 0; i < n; i++) values[i] = GetValue(i);
            return n;
        }

        public override string GetString(int ordinal)
        {
            switch (readers[CheckRow(ordinal)])
            {
                case Reader.Text:
                    return (string)NotNull(ordinal, Cached(ordinal));
                case Reader.Number or Reader.Date or Reader.Timestamp or Reader.TimestampWithZone:
                    return Encoding.UTF8.GetString(RawText(ordinal));
                case Reader.Bytes:
                    throw Cast(ordinal, "string");
                default:
                    return Convert.ToString(NotNull(ordinal, Cached(ordinal)), CultureInfo.InvariantCulture) ?? "";
            }
        }

        // NUMBER and PLS_INTEGER read as every .NET number and as bool (zero is false), as Oracle
        // users store flags and counts; BINARY_FLOAT and BINARY_DOUBLE read as floating point only.

        public override decimal GetDecimal(int ordinal) => readers[CheckRow(ordinal)] switch
        {
            Reader.Number => ExactDecimal(ordinal),
            Reader.Integer => (int)NotNull(ordinal, Cached(ordinal)),
            _ => throw Cast(ordinal, "decimal"),
        };

        /// <summary>A NUMBER as decimal, only when decimal holds every digit of it. A value with
        /// more digits is an invalid cast, as a fraction is for GetInt64; a value beyond decimal's
        /// range overflows, as one beyond int does for GetInt32.</summary>
        private decimal ExactDecimal(int ordinal)
        {
            ReadOnlySpan<byte> text = RawText(ordinal);
            DecimalFit fit = ValueText.ToDecimal(text, out decimal value);
            if (fit == DecimalFit.Exact) return value;
            // The text may be the library's buffer: copied before anything else calls the library.
            string shown = Encoding.UTF8.GetString(text);
            switch (fit)
            {
                case DecimalFit.TooManyDigits:
                    throw new InvalidCastException(Holds(ordinal, shown) + ", more significant digits than decimal keeps (at most 28 " +
                                                   "after the point, 29 in all); GetString gives every digit, or ROUND it in the query");
                case DecimalFit.OutOfRange:
                    throw new OverflowException(Holds(ordinal, shown) + ", beyond decimal's range (1E-28 to 79228162514264337593543950335 " +
                                                "in magnitude); GetString gives every digit, GetDouble the nearest double");
                default:
                    throw new InvalidCastException(Holds(ordinal, shown) + ", which is not a decimal number");
            }
        }

        private string Holds(int ordinal, string text) => "Column " + ordinal + " (" + GetName(ordinal) + ", NUMBER) holds " + text;

        public override long GetInt64(int ordinal) => readers[CheckRow(ordinal)] switch
        {
            Reader.Number => ValueText.ToInt64(RawText(ordinal)),
            Reader.Integer => (int)NotNull(ordinal, Cached(ordinal)),
            _ => throw Cast(ordinal, "an integer"),
        };

        public override int GetInt32(int ordinal)
        {
            if (readers[CheckRow(ordinal)] == Reader.Integer) return (int)NotNull(ordinal, Cached(ordinal));
            return checked((int)GetInt64(ordinal));
        }

        public override short GetInt16(int ordinal) => checked((short)GetInt64(ordinal));
        public override byte GetByte(int ordinal) => checked((byte)GetInt64(ordinal));
        public override bool GetBoolean(int ordinal) => GetInt64(ordinal) != 0;

        public override double GetDouble(int ordinal)
        {
            switch (readers[CheckRow(ordinal)])
            {
                case Reader.Number:
                    return ValueText.ToDouble(RawText(ordinal));
                case Reader.Double or Reader.Float or Reader.Integer:
                    return Convert.ToDouble(NotNull(ordinal, Cached(ordinal)), CultureInfo.InvariantCulture);
                default:
                    throw Cast(ordinal, "double");
            }
        }

        public override float GetFloat(int ordinal)
        {
            switch (readers[CheckRow(ordinal)])
            {
                case Reader.Float:
                    return (float)NotNull(ordinal, Cached(ordinal));
                case Reader.Number or Reader.Integer or Reader.Double:
                    double value = GetDouble(ordinal);
                    if (double.IsFinite(value) && Math.Abs(value) > float.MaxValue)
                        throw new OverflowException("Column " + ordinal + " (" + GetName(ordinal) + ") holds " +
                                                    value.ToString(CultureInfo.InvariantCulture) + ", beyond float");
                    return (float)value;
                default:
                    throw Cast(ordinal, "float");
            }
        }

        public override DateTime GetDateTime(int ordinal) => readers[CheckRow(ordinal)] switch
        {
            Reader.Date => ValueText.ToDate(RawText(ordinal)),
            Reader.Timestamp or Reader.TimestampWithZone => ValueText.ToTimestamp(RawText(ordinal)).DateTime,
            Reader.Text => TextAsTimestamp(ordinal).DateTime,
            _ => throw Cast(ordinal, "DateTime"),
        };

        /// <summary>A TIMESTAMP WITH TIME ZONE with its offset; other timestamps and dates at +00:00;
        /// a text column holding "yyyy-mm-dd hh24:mi:ss[+hh:mm]" (TO_CHAR of a DATE) parsed.</summary>
        public DateTimeOffset GetDateTimeOffset(int ordinal) => readers[CheckRow(ordinal)] switch
        {
            Reader.Date => new DateTimeOffset(ValueText.ToDate(RawText(ordinal)), TimeSpan.Zero),
            Reader.Timestamp or Reader.TimestampWithZone => ValueText.ToTimestamp(RawText(ordinal)),
            Reader.Text => TextAsTimestamp(ordinal),
            _ => throw Cast(ordinal, "DateTimeOffset"),
        };

        private DateTimeOffset TextAsTimestamp(int ordinal)
        {
            string text = GetString(ordinal);
            try
            {
                return ValueText.ToTimestamp(Encoding.UTF8.GetBytes(text));
            }
            catch (FormatException e)
            {
                throw new InvalidCastException("Column " + ordinal + " (" + GetName(ordinal) + ") holds '" + text + "', not a date", e);
            }
        }

        /// <summary>A text holding a GUID, or a RAW of 16 bytes (what SYS_GUID gives).</summary>
        public override Guid GetGuid(int ordinal)
        {
            switch (readers[CheckRow(ordinal)])
            {
                case Reader.Text:
                    string text = GetString(ordinal);
                    return Guid.TryParse(text, out Guid guid) ? guid
                        : throw new InvalidCastException("Column " + ordinal + " (" + GetName(ordinal) + ") holds '" + text + "', not a GUID");
                case Reader.Bytes when GetByteArray(ordinal) is { Length: 16 } bytes:
                    return new Guid(bytes);
                default:
                    throw Cast(ordinal, "Guid");
            }
        }

        public override char GetChar(int ordinal)
        {
            if (readers[CheckRow(ordinal)] != Reader.Text) throw Cast(ordinal, "char");
            string text = GetString(ordinal);
            return text.Length > 0 ? text[0] : throw new InvalidCastException("Column " + ordinal + " holds an empty text");
        }

        public override long GetBytes(int ordinal, long dataOffset, byte[]? buffer, int bufferOffset, int length)
        {
            if (readers[CheckRow(ordinal)] != Reader.Bytes) throw Cast(ordinal, "byte[]");
            var data = (byte[])NotNull(ordinal, Cached(ordinal));
            if (buffer == null) return data.Length;
            CheckBuffer(dataOffset, buffer.Length, bufferOffset, length);
            int n = (int)Math.Max(0, Math.Min(length, data.Length - dataOffset));
            if (n > 0) Array.Copy(data, dataOffset, buffer, bufferOffset, n);
            return n;
        }

        public override long GetChars(int ordinal, long dataOffset, char[]? buffer, int bufferOffset, int length)
        {
            string text = GetString(ordinal);
            if (buffer == null) return text.Length;
            CheckBuffer(dataOffset, buffer.Length, bufferOffset, length);
            int n = (int)Math.Max(0, Math.Min(length, text.Length - dataOffset));
            if (n > 0) text.CopyTo((int)dataOffset, buffer, bufferOffset, n);
            return n;
        }

        public override Stream GetStream(int ordinal)
        {
            if (readers[CheckRow(ordinal)] == Reader.Bytes) return new MemoryStream((byte[])NotNull(ordinal, Cached(ordinal)), false);
            return new MemoryStream(Encoding.UTF8.GetBytes(GetString(ordinal)), false);
        }

        public override TextReader GetTextReader(int ordinal) => new StringReader(GetString(ordinal));

        /// <summary>The value through the typed getter of T (GetInt32 for int, GetStream for Stream,
        /// ...); a nullable T gives null for NULL; other types are the value of GetValue, cast.</summary>
        public override T GetFieldValue<T>(int ordinal) => FieldGetter<T>.Get(this, ordinal);

        /// <summary>A RAW, LONG RAW or BLOB value whole.</summary>
        public byte[] GetByteArray(int ordinal)
        {
            if (readers[CheckRow(ordinal)] != Reader.Bytes) throw Cast(ordinal, "byte[]");
            return (byte[])NotNull(ordinal, Cached(ordinal));
        }

        public override IEnumerator GetEnumerator() => new DbEnumerator(this, (behavior & CommandBehavior.CloseConnection) != 0);

        // ---- fetching ------------------------------------------------------------------------------

        /// <summary>The column's value in this row: null for NULL; a string for text columns; the raw
        /// UTF-8 bytes of the rendering for NUMBER, DATE and TIMESTAMP columns; int, float, double or
        /// byte[] for the others.</summary>
        private object? Cached(int ordinal)
        {
            CheckRow(ordinal);
            if (cacheRow[ordinal] == rowNumber) return cacheValue[ordinal];
            object? value = Fetch(ordinal);
            cacheRow[ordinal] = rowNumber;
            cacheValue[ordinal] = value;
            return value;
        }

        private object? Fetch(int ordinal)
        {
            switch (readers[ordinal])
            {
                case Reader.Integer:
                {
                    IntRecord record;
                    KavexException.Check(NativeMethods.GetInteger(session, ordinal, &record));
                    return record.IsNull ? null : record.Value;
                }
                case Reader.Float:
                {
                    FloatRecord record;
                    KavexException.Check(NativeMethods.GetFloat(session, ordinal, &record));
                    return record.IsNull ? null : record.Value;
                }
                case Reader.Double:
                {
                    DoubleRecord record;
                    KavexException.Check(NativeMethods.GetDouble(session, ordinal, &record));
                    return record.IsNull ? null : record.Value;
                }
                case Reader.Bytes:
                {
                    PointerRecord record;
                    KavexException.Check(NativeMethods.GetByteArray(session, ordinal, &record));
                    if (record.IsNull) return null;
                    return new ReadOnlySpan<byte>((void*)record.Value, record.Length).ToArray();
                }
                case Reader.Text:
                {
                    PointerRecord record;
                    KavexException.Check(NativeMethods.GetString(session, ordinal, &record));
                    return record.IsNull ? null : Utf8Text.Read(record.Value, record.Length);
                }
                default:
                {
                    PointerRecord record;
                    KavexException.Check(NativeMethods.GetString(session, ordinal, &record));
                    return record.IsNull ? null : new ReadOnlySpan<byte>((void*)record.Value, record.Length).ToArray();
                }
            }
        }

        /// <summary>The rendered text of a NUMBER, DATE or TIMESTAMP value. When the value was not
        /// fetched yet in this row it is read in place, without a copy.</summary>
        private ReadOnlySpan<byte> RawText(int ordinal)
        {
            if (cacheRow[ordinal] == rowNumber) return (byte[])NotNull(ordinal, cacheValue[ordinal]);
            PointerRecord record;
            KavexException.Check(NativeMethods.GetString(session, ordinal, &record));
            if (record.IsNull)
            {
                cacheRow[ordinal] = rowNumber;
                cacheValue[ordinal] = null;
                throw Null(ordinal);
            }
            return new ReadOnlySpan<byte>((void*)record.Value, record.Length);
        }

        private object Natural(int ordinal, byte[] text) => readers[ordinal] switch
        {
            Reader.Number => ValueText.ToNatural(text),
            Reader.Date => ValueText.ToDate(text),
            Reader.Timestamp => ValueText.ToTimestamp(text).DateTime,
            Reader.TimestampWithZone => ValueText.ToTimestamp(text),
            _ => Encoding.UTF8.GetString(text),
        };

        private object NotNull(int ordinal, object? value) => value ?? throw Null(ordinal);

        private Exception Null(int ordinal) =>
            new InvalidCastException("Column " + ordinal + " (" + GetName(ordinal) + ") is NULL in this row; check IsDBNull first");

        private InvalidCastException Cast(int ordinal, string target) =>
            new InvalidCastException("Column " + ordinal + " (" + GetName(ordinal) + ", " + GetDataTypeName(ordinal) + ") cannot be read as " + target);

        private static void CheckBuffer(long dataOffset, int bufferLength, int bufferOffset, int length)
        {
            if (dataOffset < 0) throw new ArgumentOutOfRangeException(nameof(dataOffset), "dataOffset must not be negative");
            if ((uint)bufferOffset > (uint)bufferLength)
                throw new ArgumentOutOfRangeException(nameof(bufferOffset), "bufferOffset must lie within the buffer");
            if (length < 0 || length > bufferLength - bufferOffset)
                throw new ArgumentOutOfRangeException(nameof(length), "length must fit the buffer after bufferOffset");
        }

        private int CheckRow(int ordinal)
        {
            CheckOrdinal(ordinal);
            if (!hasRow) throw new InvalidOperationException("No current row: call Read first");
            return ordinal;
        }

        private void CheckOrdinal(int ordinal)
        {
            RequireOpen();
            if (types.Length == 0) throw new InvalidOperationException("The statement returned no rows: it has no columns to read");
            if ((uint)ordinal >= (uint)types.Length)
                throw new IndexOutOfRangeException("Column " + ordinal + " is outside 0.." + (types.Length - 1));
        }

        private void RequireOpen()
        {
            if (closed) throw new InvalidOperationException("The reader is closed");
        }
    }
}
