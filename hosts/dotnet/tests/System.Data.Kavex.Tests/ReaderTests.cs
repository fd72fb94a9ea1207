using System.Linq;

namespace System.Data.Kavex.Tests
{
    public class ReaderTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public ReaderTests(TestDatabase db)
        {
            this.db = db;
            using var connection = db.Open();
            try
            {
                connection.Run("CREATE TABLE kinds (id NUMBER(10) GENERATED ALWAYS AS IDENTITY PRIMARY KEY, num NUMBER(12,2), flt NUMBER, " +
                               "pls PLS_INTEGER, bf BINARY_FLOAT, bd BINARY_DOUBLE, name VARCHAR2(40) NOT NULL, code CHAR(3), born DATE, " +
                               "ts TIMESTAMP, tsz TIMESTAMP WITH TIME ZONE, doc CLOB, pic BLOB, rawv RAW(16), lng LONG)");
            }
            catch (KavexException e) when (e.Number == 955)
            {
                return;  // made by an earlier test of this class
            }
            connection.Run("INSERT INTO kinds (num, flt, pls, bf, bd, name, code, born, ts, tsz, doc, pic, lng) " +
                           "VALUES (1234.5, 12.5, 0, -0.5, 2.25, 'Zoë', 'abc', :born, :ts, :tsz, 'doc', :pic, 'long text')",
                           ("born", new DateTime(2024, 1, 15)), ("ts", new DateTime(2024, 1, 15, 14, 30, 5)),
                           ("tsz", new DateTimeOffset(2024, 1, 15, 14, 30, 5, TimeSpan.FromHours(5.5))), ("pic", new byte[] { 9, 8 }));
            connection.Run("UPDATE kinds SET rawv = x'00ff10'");
            connection.Run("INSERT INTO kinds (name) VALUES ('nulls')");
        }

        private const string AllColumns = "SELECT id, num, flt, pls, bf, bd, name, code, born, ts, tsz, doc, pic, rawv, lng FROM kinds ORDER BY id";

        private KavexDataReader Query(KavexConnection connection, string sql) =>
            connection.CreateCommand().Also(c => c.CommandText = sql).ExecuteReader();

        // An empty LOB is a value (IS NULL is false for it in SQL): an empty array or string,
        // not DBNull; a NULL LOB is DBNull.
        [Fact]
        public void EmptyLobsAreEmptyValuesAndNullLobsAreDBNull()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE empty_lobs (b BLOB, c CLOB, nb BLOB, nc CLOB)");
            try
            {
                connection.Run("INSERT INTO empty_lobs VALUES (EMPTY_BLOB(), EMPTY_CLOB(), NULL, NULL)");
                using var reader = Query(connection, "SELECT b, c, nb, nc FROM empty_lobs");
                Assert.True(reader.Read());
                Assert.False(reader.IsDBNull(0));
                Assert.Empty(reader.GetFieldValue<byte[]>(0));
                Assert.Equal(0, reader.GetBytes(0, 0, null, 0, 0));
                Assert.False(reader.IsDBNull(1));
                Assert.Equal("", reader.GetString(1));
                Assert.True(reader.IsDBNull(2));
                Assert.True(reader.IsDBNull(3));
                reader.Close();
                using var computed = Query(connection, "SELECT EMPTY_BLOB() FROM dual");
                Assert.True(computed.Read());
                Assert.Equal("BLOB", computed.GetDataTypeName(0));
                Assert.Empty(computed.GetFieldValue<byte[]>(0));
            }
            finally
            {
                connection.Run("DROP TABLE empty_lobs");
            }
        }

        [Fact]
        public void EachOracleTypeArrivesAsItsNaturalDotNetType()
        {
            using var connection = db.Open();
            using var reader = Query(connection, AllColumns);
            var expected = new (string Name, Type Type, string TypeName)[]
            {
                ("ID", typeof(decimal), "NUMBER"), ("NUM", typeof(decimal), "NUMBER"), ("FLT", typeof(decimal), "NUMBER"),
                ("PLS", typeof(int), "PLS_INTEGER"), ("BF", typeof(float), "BINARY_FLOAT"), ("BD", typeof(double), "BINARY_DOUBLE"),
                ("NAME", typeof(string), "VARCHAR2"), ("CODE", typeof(string), "CHAR"), ("BORN", typeof(DateTime), "DATE"),
                ("TS", typeof(DateTime), "TIMESTAMP"), ("TSZ", typeof(DateTimeOffset), "TIMESTAMP WITH TIME ZONE"),
                ("DOC", typeof(string), "CLOB"), ("PIC", typeof(byte[]), "BLOB"), ("RAWV", typeof(byte[]), "RAW"),
                ("LNG", typeof(string), "LONG"),
            };
            Assert.Equal(expected.Length, reader.FieldCount);
            for (int i = 0; i < expected.Length; i++)
            {
                Assert.Equal(expected[i].Name, reader.GetName(i));
                Assert.Equal(expected[i].Type, reader.GetFieldType(i));
                Assert.Equal(expected[i].TypeName, reader.GetDataTypeName(i));
                Assert.Equal(i, reader.GetOrdinal(expected[i].Name.ToLowerInvariant()));
            }
            Assert.True(reader.HasRows);
            Assert.True(reader.Read());
            var values = new object[reader.FieldCount];
            Assert.Equal(values.Length, reader.GetValues(values));
            Assert.Equal(1m, values[0]);
            Assert.Equal(1234.5m, values[1]);
            Assert.Equal(12.5m, values[2]);
            Assert.Equal(0, values[3]);  // zero is a value, not NULL
            Assert.Equal(-0.5f, values[4]);
            Assert.Equal(2.25, values[5]);
            Assert.Equal("Zoë", values[6]);
            Assert.Equal("abc", values[7]);
            Assert.Equal(new DateTime(2024, 1, 15), values[8]);
            Assert.Equal(new DateTime(2024, 1, 15, 14, 30, 5), values[9]);
            Assert.Equal(new DateTimeOffset(2024, 1, 15, 14, 30, 5, TimeSpan.FromHours(5.5)), values[10]);
            Assert.Equal("doc", values[11]);
            Assert.Equal(new byte[] { 9, 8 }, values[12]);
            Assert.Equal(new byte[] { 0, 255, 16 }, values[13]);
            Assert.Equal("long text", values[14]);
            for (int i = 0; i < values.Length; i++) Assert.IsType(reader.GetFieldType(i), values[i]);

            Assert.True(reader.Read());
            Assert.Equal(2, reader.GetInt32(0));
            for (int i = 1; i < reader.FieldCount; i++)
            {
                if (i == 6) continue;
                Assert.True(reader.IsDBNull(i), reader.GetName(i) + " is NULL");
                Assert.Equal(DBNull.Value, reader.GetValue(i));
            }
            Assert.Throws<InvalidCastException>(() => reader.GetDecimal(1));
            Assert.False(reader.Read());
            Assert.True(reader.HasRows);
            Assert.False(reader.NextResult());
            Assert.Equal(-1, reader.RecordsAffected);
        }

        [Fact]
        public void NumberTextsAreParsedExactlyIncludingScientificForm()
        {
            using var connection = db.Open();
            using var reader = Query(connection,
                "SELECT num, flt, 1, 1.0/8, -12345678901234567, 0.1 + 0.2, 2.5E+20 FROM kinds WHERE id = 1");
            Assert.True(reader.Read());
            Assert.Equal("1234.5", reader.GetString(0));
            Assert.Equal(1234.5m, reader.GetDecimal(0));
            Assert.Equal(1234.5, reader.GetDouble(0));
            Assert.Throws<InvalidCastException>(() => reader.GetInt64(0));
            Assert.Equal(12.5m, reader.GetDecimal(1));
            Assert.Equal(1, reader.GetInt32(2));
            Assert.Equal(1L, reader.GetInt64(2));
            Assert.Equal(0.125m, reader.GetDecimal(3));
            Assert.Equal(-12345678901234567L, reader.GetInt64(4));
            Assert.Equal(0.3, reader.GetDouble(5), 12);
            Assert.Equal(250000000000000000000m, reader.GetDecimal(6));
            Assert.Throws<OverflowException>(() => reader.GetInt64(6));
        }

        [Fact]
        public void TypedGettersRefuseColumnsTheyCannotRead()
        {
            using var connection = db.Open();
            using var reader = Query(connection, AllColumns);
            Assert.Throws<InvalidOperationException>(() => reader.GetString(6));  // before Read
            Assert.True(reader.Read());
            Assert.Throws<InvalidCastException>(() => reader.GetString(12));
            Assert.Throws<InvalidCastException>(() => reader.GetDateTime(6));
            Assert.Throws<InvalidCastException>(() => reader.GetBytes(6, 0, null, 0, 0));
            Assert.Throws<IndexOutOfRangeException>(() => reader.GetValue(99));
            Assert.Throws<IndexOutOfRangeException>(() => reader.GetOrdinal("nope"));
            Assert.Equal("Zoë", reader["name"]);
            Assert.Equal(new DateTimeOffset(2024, 1, 15, 14, 30, 5, TimeSpan.Zero), reader.GetDateTimeOffset(9));
            Assert.Equal(new DateTime(2024, 1, 15, 14, 30, 5), reader.GetDateTime(10));
            Assert.Equal(3, reader.GetChars(6, 0, null, 0, 0));
        }

        [Fact]
        public void DatesKeepTheirTimeOfDay()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE dated (d DATE)");
            connection.Run("INSERT INTO dated VALUES (:d)", ("d", new DateTime(1987, 6, 5, 4, 3, 2)));
            using var reader = Query(connection, "SELECT d, TO_CHAR(d, 'YYYY-MM-DD HH24:MI:SS') FROM dated");
            Assert.True(reader.Read());
            Assert.Equal(new DateTime(1987, 6, 5, 4, 3, 2), reader.GetDateTime(0));
            Assert.Equal("1987-06-05 04:03:02", reader.GetString(0));
            Assert.Equal(new DateTime(1987, 6, 5, 4, 3, 2), reader.GetDateTime(1));
            Assert.Equal(new DateTimeOffset(1987, 6, 5, 4, 3, 2, TimeSpan.Zero), reader.GetDateTimeOffset(1));
        }

        [Fact]
        public void SchemaTableDescribesTheColumns()
        {
            using var connection = db.Open();
            using var reader = Query(connection, AllColumns);
            var schema = reader.GetSchemaTable()!;
            Assert.Equal(15, schema.Rows.Count);
            var name = schema.Rows[6];
            Assert.Equal("NAME", name["ColumnName"]);
            Assert.Equal(6, name["ColumnOrdinal"]);
            Assert.Equal(typeof(string), name["DataType"]);
            Assert.Equal("VARCHAR2", name["DataTypeName"]);
            Assert.Equal(1, schema.Rows[6]["ProviderType"]);
            var num = schema.Rows[1];
            Assert.Equal((short)12, num["NumericPrecision"]);
            Assert.Equal((short)2, num["NumericScale"]);
            Assert.True((bool)schema.Rows[11]["IsLong"]);
        }

        [Fact]
        public void EmptyResultHasNoRowsAndDmlReportsItsCount()
        {
            using var connection = db.Open();
            using (var reader = Query(connection, "SELECT name FROM kinds WHERE 1 = 0"))
            {
                Assert.False(reader.HasRows);
                Assert.False(reader.Read());
                Assert.Equal(1, reader.FieldCount);
            }
            using (var reader = Query(connection, "UPDATE kinds SET code = code WHERE 1 = 0"))
            {
                Assert.Equal(0, reader.FieldCount);
                Assert.Equal(0, reader.RecordsAffected);
                Assert.False(reader.Read());
            }
        }

        [Fact]
        public void IntervalsArriveAsOraclesText()
        {
            using var connection = db.Open();
            using var reader = Query(connection, "SELECT INTERVAL '2-6' YEAR TO MONTH, " +
                                                 "TIMESTAMP '2024-01-16 12:30:00' - TIMESTAMP '2024-01-15 10:00:00' FROM dual");
            Assert.Equal(typeof(string), reader.GetFieldType(0));
            Assert.Equal("INTERVAL YEAR TO MONTH", reader.GetDataTypeName(0));
            Assert.Equal("INTERVAL DAY TO SECOND", reader.GetDataTypeName(1));
            Assert.True(reader.Read());
            Assert.Equal("+02-06", reader.GetString(0));
            Assert.Equal("+000000001 02:30:00.000000", reader.GetValue(1));
        }

        [Fact]
        public void CloseConnectionBehaviourClosesTheConnectionWithTheReader()
        {
            using var connection = db.Open();
            var reader = connection.CreateCommand().Also(c => c.CommandText = "SELECT 1 FROM dual").ExecuteReader(CommandBehavior.CloseConnection);
            Assert.True(reader.Read());
            reader.Close();
            Assert.True(reader.IsClosed);
            Assert.Equal(ConnectionState.Closed, connection.State);

            connection.Open();
            var states = 0;
            connection.StateChange += (_, _) => states++;
            reader = connection.CreateCommand().Also(c => c.CommandText = "SELECT 1 FROM dual").ExecuteReader(CommandBehavior.CloseConnection);
            connection.Close();  // closes the reader, which does not close the connection a second time
            Assert.True(reader.IsClosed);
            Assert.Equal(1, states);
        }
    }
}
