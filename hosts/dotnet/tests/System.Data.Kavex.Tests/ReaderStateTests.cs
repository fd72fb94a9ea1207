namespace System.Data.Kavex.Tests
{
    /// <summary>What a reader answers when it has no columns, no current row, or is closed, and how
    /// it checks the arguments of its buffered reads.</summary>
    public class ReaderStateTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public ReaderStateTests(TestDatabase db)
        {
            this.db = db;
            using var connection = db.Open();
            try
            {
                connection.Run("CREATE TABLE states (s VARCHAR2(10), b BLOB)");
            }
            catch (KavexException e) when (e.Number == 955)
            {
                return;  // made by an earlier test of this class
            }
            connection.Run("INSERT INTO states VALUES ('abc', :b)", ("b", new byte[] { 1, 2, 3 }));
        }

        private static KavexDataReader Query(KavexConnection connection, string sql) =>
            connection.CreateCommand().Also(c => c.CommandText = sql).ExecuteReader();

        [Fact]
        public void AReaderOverAStatementWithoutRowsHasNothingToRead()
        {
            using var connection = db.Open();
            using var reader = Query(connection, "DELETE FROM states WHERE 1 = 0");
            Assert.False(reader.Read());
            Assert.Throws<InvalidOperationException>(() => reader.GetValue(0));
            Assert.Throws<InvalidOperationException>(() => reader.GetString(0));
            Assert.Throws<InvalidOperationException>(() => reader.GetName(0));
            Assert.Throws<InvalidOperationException>(() => reader.IsDBNull(0));
            Assert.Throws<InvalidOperationException>(() => reader.GetValues(new object[1]));
            Assert.Null(reader.GetSchemaTable());
        }

        [Fact]
        public void AClosedReaderRefusesColumnsAndRows()
        {
            using var connection = db.Open();
            var reader = Query(connection, "SELECT s FROM states");
            reader.Close();
            Assert.True(reader.IsClosed);
            Assert.Throws<InvalidOperationException>(() => reader.FieldCount);
            Assert.Throws<InvalidOperationException>(() => reader.Read());
        }

        [Fact]
        public void GetValuesNeedsAnArrayAndARow()
        {
            using var connection = db.Open();
            using var reader = Query(connection, "SELECT s FROM states");
            Assert.Throws<InvalidOperationException>(() => reader.GetValues(new object[1]));
            Assert.True(reader.Read());
            Assert.Throws<ArgumentNullException>(() => reader.GetValues(null!));
            var values = new object[3];
            Assert.Equal(1, reader.GetValues(values));
            Assert.Equal("abc", values[0]);
        }

        [Fact]
        public void BufferedReadsCheckWhereTheyWrite()
        {
            using var connection = db.Open();
            using var reader = Query(connection, "SELECT s, b FROM states");
            Assert.True(reader.Read());
            var chars = new char[2];
            var bytes = new byte[2];
            Assert.Throws<ArgumentOutOfRangeException>(() => reader.GetChars(0, 0, chars, -1, 1));
            Assert.Throws<ArgumentOutOfRangeException>(() => reader.GetChars(0, 0, chars, 3, 1));
            Assert.Throws<ArgumentOutOfRangeException>(() => reader.GetChars(0, 0, chars, 1, 2));
            Assert.Throws<ArgumentOutOfRangeException>(() => reader.GetBytes(1, 0, bytes, -1, 1));
            Assert.Throws<ArgumentOutOfRangeException>(() => reader.GetBytes(1, 0, bytes, 3, 1));
            Assert.Throws<ArgumentOutOfRangeException>(() => reader.GetBytes(1, -1, bytes, 0, 1));
            Assert.Equal(2, reader.GetChars(0, 1, chars, 0, 2));
            Assert.Equal("bc", new string(chars));
            Assert.Equal(1, reader.GetBytes(1, 2, bytes, 1, 1));
            Assert.Equal(3, bytes[1]);
            Assert.Equal(0, reader.GetBytes(1, 5, bytes, 0, 2));  // past the end: nothing to copy
        }
    }
}
