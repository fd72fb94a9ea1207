using System.IO;

namespace System.Data.Kavex.Tests
{
    /// <summary>Which .NET types each Oracle type reads as, through the typed getters and through
    /// GetFieldValue&lt;T&gt;, and which reads are refused.</summary>
    public class ConversionTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public ConversionTests(TestDatabase db)
        {
            this.db = db;
            using var connection = db.Open();
            try
            {
                connection.Run("CREATE TABLE conv (n NUMBER, big BINARY_DOUBLE, bf BINARY_FLOAT, bd BINARY_DOUBLE, s VARCHAR2(40), " +
                               "d DATE, pic BLOB, g RAW(16), e NUMBER)");
            }
            catch (KavexException e) when (e.Number == 955)
            {
                return;  // made by an earlier test of this class
            }
            connection.Run("INSERT INTO conv (n, big, bf, bd, s, d, pic, g) VALUES (42, 1.79e308, 1.5, 2.5, :s, :d, :pic, :g)",
                           ("s", "0f8fad5b-d9cb-469f-a165-70867728950e"), ("d", new DateTime(2024, 1, 15)),
                           ("pic", new byte[] { (byte)'1' }), ("g", Guid.Parse("0f8fad5b-d9cb-469f-a165-70867728950e").ToByteArray()));
        }

        private static KavexDataReader Row(KavexConnection connection)
        {
            var reader = connection.CreateCommand().Also(c => c.CommandText = "SELECT n, big, bf, bd, s, d, pic, g, e FROM conv").ExecuteReader();
            Assert.True(reader.Read());
            return reader;
        }

        [Fact]
        public void GetFieldValueAcceptsWhatTheTypedGettersAccept()
        {
            using var connection = db.Open();
            using var reader = Row(connection);
            Assert.Equal(42, reader.GetFieldValue<int>(0));
            Assert.Equal(42L, reader.GetFieldValue<long>(0));
            Assert.Equal((short)42, reader.GetFieldValue<short>(0));
            Assert.Equal((byte)42, reader.GetFieldValue<byte>(0));
            Assert.True(reader.GetFieldValue<bool>(0));
            Assert.Equal(42.0, reader.GetFieldValue<double>(0));
            Assert.Equal(42f, reader.GetFieldValue<float>(0));
            Assert.Equal(42m, reader.GetFieldValue<decimal>(0));
            Assert.Equal(1.5f, reader.GetFieldValue<float>(2));
            Assert.Equal(2.5, reader.GetFieldValue<double>(3));
            Assert.Equal('0', reader.GetFieldValue<char>(4));
            Assert.Equal("0f8fad5b-d9cb-469f-a165-70867728950e", new StreamReader(reader.GetFieldValue<Stream>(4)).ReadToEnd());
            Assert.Equal("0f8fad5b-d9cb-469f-a165-70867728950e", reader.GetFieldValue<TextReader>(4).ReadToEnd());
            Assert.Equal(Guid.Parse("0f8fad5b-d9cb-469f-a165-70867728950e"), reader.GetFieldValue<Guid>(4));
            Assert.Equal(new DateTime(2024, 1, 15), reader.GetFieldValue<DateTime>(5));
            Assert.Equal(new byte[] { (byte)'1' }, reader.GetFieldValue<byte[]>(6));
            Assert.Equal(new byte[] { (byte)'1' }, ((MemoryStream)reader.GetFieldValue<Stream>(6)).ToArray());
            Assert.Equal(42m, reader.GetFieldValue<object>(0));
            Assert.Equal(DBNull.Value, reader.GetFieldValue<object>(8));
        }

        [Fact]
        public void NullableFieldValuesAreNullForNull()
        {
            using var connection = db.Open();
            using var reader = Row(connection);
            Assert.Null(reader.GetFieldValue<int?>(8));
            Assert.Null(reader.GetFieldValue<double?>(8));
            Assert.Null(reader.GetFieldValue<DateTime?>(8));
            Assert.Equal(42, reader.GetFieldValue<int?>(0));
            Assert.Equal(2.5, reader.GetFieldValue<double?>(3));
            Assert.Throws<InvalidCastException>(() => reader.GetFieldValue<int>(8));
            Assert.Throws<InvalidCastException>(() => reader.GetFieldValue<string>(8));
        }

        [Fact]
        public void ImpossibleConversionsAreInvalidCasts()
        {
            using var connection = db.Open();
            using var reader = Row(connection);
            Assert.Throws<InvalidCastException>(() => reader.GetGuid(0));
            Assert.Throws<InvalidCastException>(() => reader.GetGuid(5));
            Assert.Throws<InvalidCastException>(() => reader.GetBoolean(6));
            Assert.Throws<InvalidCastException>(() => reader.GetByte(6));
            Assert.Throws<InvalidCastException>(() => reader.GetInt64(6));
            Assert.Throws<InvalidCastException>(() => reader.GetDecimal(6));
            Assert.Throws<InvalidCastException>(() => reader.GetChar(0));
            Assert.Throws<InvalidCastException>(() => reader.GetChar(5));
            Assert.Throws<InvalidCastException>(() => reader.GetFieldValue<char>(0));
            Assert.Equal(Guid.Parse("0f8fad5b-d9cb-469f-a165-70867728950e"), reader.GetGuid(7));  // RAW(16), as SYS_GUID gives
        }

        [Fact]
        public void BinaryFloatsReadAsFloatingPointOnly()
        {
            using var connection = db.Open();
            using var reader = Row(connection);
            Assert.Equal(1.5, reader.GetDouble(2));
            Assert.Equal(2.5f, reader.GetFloat(3));  // in float's range
            foreach (int ordinal in new[] { 2, 3 })
            {
                Assert.Throws<InvalidCastException>(() => reader.GetDecimal(ordinal));
                Assert.Throws<InvalidCastException>(() => reader.GetBoolean(ordinal));
                Assert.Throws<InvalidCastException>(() => reader.GetByte(ordinal));
                Assert.Throws<InvalidCastException>(() => reader.GetInt32(ordinal));
                Assert.Throws<InvalidCastException>(() => reader.GetInt64(ordinal));
            }
        }

        [Fact]
        public void ANumberBeyondFloatOverflows()
        {
            using var connection = db.Open();
            using var reader = connection.CreateCommand().Also(c => c.CommandText = "SELECT big, 1e100 FROM conv").ExecuteReader();
            Assert.True(reader.Read());
            Assert.Equal(1.79e308, reader.GetDouble(0));
            Assert.Throws<OverflowException>(() => reader.GetFloat(0));
            Assert.Throws<OverflowException>(() => reader.GetFloat(1));
        }
    }
}
