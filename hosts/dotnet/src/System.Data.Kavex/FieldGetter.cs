using System.IO;
using System.Reflection;

namespace System.Data.Kavex
{
    /// <summary>The getter GetFieldValue&lt;T&gt; calls for each T: the reader's typed getter of T,
    /// and for a nullable T, that getter behind an IsDBNull check. Chosen once per T, so the typed
    /// paths neither box nor compare types per value.</summary>
    internal static class FieldGetter<T>
    {
        internal static readonly Func<KavexDataReader, int, T> Get = Choose();

        private static Func<KavexDataReader, int, T> Choose()
        {
            object? getter = Typed(typeof(T));
            if (getter != null) return (Func<KavexDataReader, int, T>)getter;
            return (reader, ordinal) => (T)reader.GetValue(ordinal);
        }

        private static object? Typed(Type type)
        {
            if (type == typeof(bool)) return new Func<KavexDataReader, int, bool>((r, i) => r.GetBoolean(i));
            if (type == typeof(byte)) return new Func<KavexDataReader, int, byte>((r, i) => r.GetByte(i));
            if (type == typeof(short)) return new Func<KavexDataReader, int, short>((r, i) => r.GetInt16(i));
            if (type == typeof(int)) return new Func<KavexDataReader, int, int>((r, i) => r.GetInt32(i));
            if (type == typeof(long)) return new Func<KavexDataReader, int, long>((r, i) => r.GetInt64(i));
            if (type == typeof(float)) return new Func<KavexDataReader, int, float>((r, i) => r.GetFloat(i));
            if (type == typeof(double)) return new Func<KavexDataReader, int, double>((r, i) => r.GetDouble(i));
            if (type == typeof(decimal)) return new Func<KavexDataReader, int, decimal>((r, i) => r.GetDecimal(i));
            if (type == typeof(char)) return new Func<KavexDataReader, int, char>((r, i) => r.GetChar(i));
            if (type == typeof(Guid)) return new Func<KavexDataReader, int, Guid>((r, i) => r.GetGuid(i));
            if (type == typeof(DateTime)) return new Func<KavexDataReader, int, DateTime>((r, i) => r.GetDateTime(i));
            if (type == typeof(DateTimeOffset)) return new Func<KavexDataReader, int, DateTimeOffset>((r, i) => r.GetDateTimeOffset(i));
            if (type == typeof(DateOnly)) return new Func<KavexDataReader, int, DateOnly>((r, i) => DateOnly.FromDateTime(r.GetDateTime(i)));
            if (type == typeof(string)) return new Func<KavexDataReader, int, string>((r, i) => r.GetString(i));
            if (type == typeof(byte[])) return new Func<KavexDataReader, int, byte[]>((r, i) => r.GetByteArray(i));
            if (type == typeof(Stream)) return new Func<KavexDataReader, int, Stream>((r, i) => r.GetStream(i));
            if (type == typeof(TextReader)) return new Func<KavexDataReader, int, TextReader>((r, i) => r.GetTextReader(i));
            Type? underlying = Nullable.GetUnderlyingType(type);
            if (underlying == null) return null;
            return typeof(NullableFieldGetter<>).MakeGenericType(underlying)
                .GetField(nameof(NullableFieldGetter<int>.Get), BindingFlags.NonPublic | BindingFlags.Static)!.GetValue(null);
        }
    }

    /// <summary>The getter of U? built on U's getter: null for a NULL value.</summary>
    internal static class NullableFieldGetter<U> where U : struct
    {
        internal static readonly Func<KavexDataReader, int, U?> Get = (reader, ordinal) =>
            reader.IsDBNull(ordinal) ? null : FieldGetter<U>.Get(reader, ordinal);
    }
}
