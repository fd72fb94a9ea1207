using System.Buffers;
using System.Collections;
using System.Collections.Generic;
using System.Data.Kavex.Native;
using System.Globalization;
using System.IO;
using System.Text;

namespace System.Data.Kavex
{
    /// <summary>Binds a command's parameters on the session's prepared statement: one value each, or
    /// under array binding one element per iteration. Texts are encoded into one reused buffer, which
    /// is safe because the library copies every text it is given.</summary>
    internal sealed unsafe class ParameterBinder
    {
        /// <summary>Chunk size of LOB streaming.</summary>
        internal const int LobChunkSize = 1 << 20;

        private readonly int session;
        private byte[] scratch = new byte[256];

        public ParameterBinder(int session)
        {
            this.session = session;
        }

        /// <summary>Pairs each placeholder of the SQL text (1-based position) with its parameter:
        /// by name when the parameters are named, else in order.</summary>
        public static KavexParameter[] Match(List<string> names, List<KavexParameter> parameters)
        {
            bool byName = parameters.Count > 0 && parameters.TrueForAll(p => p.BareName.Length > 0);
            if (!byName)
            {
                if (parameters.Count != names.Count)
                    throw new InvalidOperationException("The SQL text has " + names.Count + " placeholders but " + parameters.Count +
                                                        " unnamed parameters were given");
                return parameters.ToArray();
            }
            var matched = new KavexParameter[names.Count];
            for (int i = 0; i < names.Count; i++)
            {
                matched[i] = parameters.Find(p => string.Equals(p.BareName, names[i], StringComparison.OrdinalIgnoreCase))
                             ?? throw new InvalidOperationException("No value given for the placeholder :" + names[i]);
            }
            return matched;
        }

        public void BindSingle(KavexParameter[] parameters)
        {
            for (int i = 0; i < parameters.Length; i++) Bind(i + 1, parameters[i], parameters[i].Value);
        }

        public void BindArrays(KavexParameter[] parameters, int rows)
        {
            if (rows <= 0) throw new InvalidOperationException("ArrayBindCount must be positive");
            var columns = new IList[parameters.Length];
            for (int p = 0; p < parameters.Length; p++)
            {
                columns[p] = parameters[p].Value as IList ?? throw new InvalidOperationException(
                    "Parameter '" + parameters[p].ParameterName + "' needs an array value under array binding");
                if (columns[p].Count < rows)
                    throw new InvalidOperationException("Parameter '" + parameters[p].ParameterName + "' has " + columns[p].Count +
                                                        " values, fewer than ArrayBindCount " + rows);
            }
            KavexException.Check(NativeMethods.SetMaxIterations(session, (uint)rows));
            for (int p = 0; p < parameters.Length; p++)
            {
                int size = MaxTextSize(parameters[p], columns[p], rows);
                if (size > 0) KavexException.Check(NativeMethods.SetMaxParSize(session, (uint)(p + 1), (uint)size));
            }
            var binders = new Action<int>[parameters.Length];
            for (int p = 0; p < parameters.Length; p++) binders[p] = ElementBinder(p + 1, parameters[p], columns[p]);
            for (int row = 0; row < rows; row++)
            {
                if (row > 0) KavexException.Check(NativeMethods.AddIteration(session));
                for (int p = 0; p < binders.Length; p++) binders[p](row);
            }
        }

        /// <summary>Binds one row's element of an array-bound parameter. Arrays of the common
        /// element types of an untyped parameter are read without boxing each element.</summary>
        private Action<int> ElementBinder(int index, KavexParameter parameter, IList values)
        {
            if (!parameter.HasExplicitType)
            {
                switch (values)
                {
                    case int[] ints:
                        return row => Check(NativeMethods.SetInt(session, index, ints[row], 0));
                    case string?[] texts:
                        return row =>
                        {
                            if (texts[row] is string text) SetText(index, text);
                            else BindNull(index, KavexDbType.Varchar2);
                        };
                    case DateTime[] stamps:
                        return row => SetTimestamp(index, stamps[row], TimeSpan.Zero);
                    case double[] doubles:
                        return row => Check(NativeMethods.SetDouble(session, index, doubles[row], 0));
                    case long[] longs:
                        return row => SetFormatted(index, longs[row]);
                    case decimal[] decimals:
                        return row => SetFormatted(index, decimals[row]);
                }
            }
            KavexDbType type = Explicit(parameter);
            return row =>
            {
                object? value = values[row];
                if (KavexParameter.IsLobValue(value, type))
                    throw new NotSupportedException("Parameter '" + parameter.ParameterName + "': LOB values cannot be array-bound");
                Bind(index, parameter, value);
            };
        }

        private static KavexDbType Explicit(KavexParameter parameter) =>
            parameter.ExplicitKavexDbType ?? (parameter.HasExplicitType ? TypeMapping.FromDbType(parameter.DbType) : KavexDbType.Varchar2);

        /// <summary>The largest UTF-8 size among the values bound as text, 0 when none is.</summary>
        private static int MaxTextSize(KavexParameter parameter, IList values, int rows)
        {
            int size = 0;
            for (int row = 0; row < rows; row++)
            {
                int n = values[row] switch
                {
                    string s => Encoding.UTF8.GetMaxByteCount(0) + (s.Length < 64 ? s.Length * 3 : Encoding.UTF8.GetByteCount(s)),
                    char => 4,
                    long or ulong or uint or decimal or Guid => 48,
                    double or float when parameter.ExplicitKavexDbType == KavexDbType.Number => 48,
                    DateOnly or TimeSpan => 40,
                    _ => 0,
                };
                size = Math.Max(size, n);
            }
            return size;
        }

        private void Bind(int index, KavexParameter parameter, object? value)
        {
            KavexDbType type = Explicit(parameter);
            switch (value)
            {
                case null or DBNull:
                    BindNull(index, parameter.HasExplicitType ? type : KavexDbType.Varchar2);
                    return;
                case string text when type == KavexDbType.Clob || type == KavexDbType.Long:
                    if (type == KavexDbType.Clob) StreamText(index, text);
                    else SetText(index, text);
                    return;
                case string text:
                    SetText(index, text);
                    return;
                case char c:
                    SetText(index, c.ToString());
                    return;
                case bool b:
                    Check(NativeMethods.SetInt(session, index, b ? 1 : 0, 0));
                    return;
                case byte or sbyte or short or ushort or int when type is not (KavexDbType.Varchar2 or KavexDbType.Char) || !parameter.HasExplicitType:
                    Check(NativeMethods.SetInt(session, index, Convert.ToInt32(value, CultureInfo.InvariantCulture), 0));
                    return;
                case Enum e:
                    SetNumber(index, Convert.ToInt64(e, CultureInfo.InvariantCulture));
                    return;
                case long or ulong or uint or decimal or byte or sbyte or short or ushort or int:
                    SetFormatted(index, (IUtf8SpanFormattable)value);
                    return;
                case double d when type == KavexDbType.Number:
                    SetFormatted(index, d, "R");
                    return;
                case float f when type == KavexDbType.Number:
                    SetFormatted(index, f, "R");
                    return;
                case double d:
                    Check(NativeMethods.SetDouble(session, index, d, 0));
                    return;
                case float f:
                    Check(NativeMethods.SetFloat(session, index, f, 0));
                    return;
                case DateTime dt:
                    SetTimestamp(index, dt, TimeSpan.Zero);
                    return;
                case DateTimeOffset dto:
                    SetTimestamp(index, dto.DateTime, dto.Offset);
                    return;
                case DateOnly date:
                    SetTimestamp(index, date.ToDateTime(TimeOnly.MinValue), TimeSpan.Zero);
                    return;
                case byte[] bytes:
                    StreamBytes(index, type == KavexDbType.Clob ? 112 : 113, new MemoryStream(bytes, false));
                    return;
                case Stream stream:
                    StreamBytes(index, type == KavexDbType.Clob ? 112 : 113, stream);
                    return;
                case TextReader reader:
                    StreamText(index, reader.ReadToEnd());
                    return;
                case IConvertible or IFormattable:
                    SetText(index, Convert.ToString(value, CultureInfo.InvariantCulture) ?? "");
                    return;
                default:
                    // Its text would be the type's name, never the value it holds.
                    throw new ArgumentException("Parameter '" + parameter.ParameterName + "': a value of type " + value.GetType() +
                                                " has no Oracle type to bind it as");
            }
        }

        private void SetNumber(int index, long value) => SetFormatted(index, value);

        private void BindNull(int index, KavexDbType type)
        {
            switch (type)
            {
                case KavexDbType.PlsInteger:
                    Check(NativeMethods.SetInt(session, index, 0, 1));
                    break;
                case KavexDbType.BinaryFloat:
                    Check(NativeMethods.SetFloat(session, index, 0, 1));
                    break;
                case KavexDbType.BinaryDouble:
                    Check(NativeMethods.SetDouble(session, index, 0, 1));
                    break;
                case KavexDbType.Timestamp or KavexDbType.TimestampWithTimeZone or KavexDbType.TimestampWithLocalTimeZone:
                    Check(NativeMethods.SetTimestamp(session, index, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1));
                    break;
                case KavexDbType.Clob or KavexDbType.Blob:
                    Check(NativeMethods.SetNull(session, index, (int)type));
                    break;
                case KavexDbType.Raw or KavexDbType.LongRaw:
                    Check(NativeMethods.SetNull(session, index, (int)KavexDbType.Blob));
                    break;
                default:
                    // Oracle's empty text is NULL; binding it keeps every iteration of a batch free to
                    // carry a value of its own.
                    Check(NativeMethods.SetString(session, index, null, 1));
                    break;
            }
        }

        private void SetTimestamp(int index, DateTime value, TimeSpan offset)
        {
            uint fraction = (uint)(value.Ticks % TimeSpan.TicksPerSecond * 100);
            Check(NativeMethods.SetTimestamp(session, index, value.Year, (uint)value.Month, (uint)value.Day, (uint)value.Hour,
                                             (uint)value.Minute, (uint)value.Second, fraction, offset.Hours, offset.Minutes, 0));
        }

        private void SetFormatted<T>(int index, T value, string? format = null) where T : IUtf8SpanFormattable
        {
            Span<byte> text = stackalloc byte[64];
            if (!value.TryFormat(text.Slice(0, 63), out int written, format, CultureInfo.InvariantCulture))
                throw new InvalidOperationException("Cannot format the value of parameter " + index);
            text[written] = 0;
            fixed (byte* pointer = text) Check(NativeMethods.SetString(session, index, pointer, 0));
        }

        private void SetText(int index, string text)
        {
            int max = Encoding.UTF8.GetMaxByteCount(text.Length) + 1;
            if (scratch.Length < max) scratch = new byte[Math.Max(max, scratch.Length * 2)];
            int length = Encoding.UTF8.GetBytes(text, 0, text.Length, scratch, 0);
            if (Array.IndexOf(scratch, (byte)0, 0, length) >= 0)
                throw new ArgumentException("Parameter " + index + ": a text bound as VARCHAR2 cannot hold NUL characters");
            scratch[length] = 0;
            fixed (byte* pointer = scratch) Check(NativeMethods.SetString(session, index, pointer, 0));
        }

        private void StreamText(int index, string text)
        {
            StreamBytes(index, 112, new MemoryStream(Encoding.UTF8.GetBytes(text), false));
        }

        /// <summary>Sends a whole stream to a temporary CLOB (kind 112, UTF-8 bytes) or BLOB (113)
        /// in chunks, then posts it. An empty stream binds an empty LOB.</summary>
        private void StreamBytes(int index, int kind, Stream stream)
        {
            byte[] chunk = ArrayPool<byte>.Shared.Rent(LobChunkSize);
            try
            {
                bool any = false;
                int read;
                while ((read = ReadFull(stream, chunk)) > 0)
                {
                    any = true;
                    fixed (byte* pointer = chunk) Check(NativeMethods.StreamParameterToLob(session, index, kind, pointer, (uint)read));
                }
                if (!any)
                {
                    fixed (byte* pointer = chunk) Check(NativeMethods.StreamParameterToLob(session, index, kind, pointer, 0));
                }
                Check(NativeMethods.StreamParameterToLobLast(session, index));
            }
            finally
            {
                ArrayPool<byte>.Shared.Return(chunk);
            }
        }

        private static int ReadFull(Stream stream, byte[] buffer)
        {
            int total = 0;
            int read;
            while (total < LobChunkSize && (read = stream.Read(buffer, total, LobChunkSize - total)) > 0) total += read;
            return total;
        }

        private static void Check(int result) => KavexException.Check(result);
    }
}
