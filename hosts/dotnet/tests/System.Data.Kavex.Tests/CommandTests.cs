using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Text;

namespace System.Data.Kavex.Tests
{
    public class CommandTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public CommandTests(TestDatabase db)
        {
            this.db = db;
        }

        private static void Fresh(KavexConnection connection, string table, string columns)
        {
            try { connection.Run("DROP TABLE " + table); } catch (KavexException) { }
            connection.Run("CREATE TABLE " + table + " (" + columns + ")");
        }

        [Fact]
        public void AStoredProcedureRunsWithItsParametersByName()
        {
            using var connection = db.Open();
            Fresh(connection, "proc_log", "id NUMBER(5), note VARCHAR2(20)");
            connection.Run("CREATE OR REPLACE PROCEDURE log_note (p_id IN NUMBER, p_note IN VARCHAR2 DEFAULT 'none') IS " +
                           "BEGIN INSERT INTO proc_log VALUES (p_id, p_note); END;");
            using var command = connection.CreateCommand();
            command.CommandType = CommandType.StoredProcedure;
            command.CommandText = "log_note";
            command.Parameters.Add(new KavexParameter("p_note", "first"));
            command.Parameters.Add(new KavexParameter("p_id", 1));
            command.ExecuteNonQuery();
            command.Parameters.Clear();
            command.Parameters.Add(new KavexParameter(":p_id", 2));
            command.ExecuteNonQuery();
            Assert.Equal("first,none", connection.Scalar("SELECT LISTAGG(note, ',') WITHIN GROUP (ORDER BY id) FROM proc_log"));
            // An error the procedure raises arrives with its number.
            command.CommandText = "no_such_procedure";
            var error = Assert.Throws<KavexException>(() => command.ExecuteNonQuery());
            Assert.Equal(6550, error.Number);
            Assert.Throws<NotSupportedException>(() => command.CommandType = CommandType.TableDirect);
            connection.Run("DROP PROCEDURE log_note");
        }

        [Fact]
        public void OutputParametersTakeWhatTheProcedureAssigned()
        {
            using var connection = db.Open();
            connection.Run("CREATE OR REPLACE PROCEDURE split_name (p_full IN VARCHAR2, p_first OUT VARCHAR2, " +
                           "p_len OUT NUMBER, p_count IN OUT NUMBER) IS BEGIN " +
                           "p_first := SUBSTR(p_full, 1, INSTR(p_full, ' ') - 1); p_len := LENGTH(p_full); " +
                           "p_count := p_count + 1; END;");
            using var command = connection.CreateCommand();
            command.CommandType = CommandType.StoredProcedure;
            command.CommandText = "split_name";
            command.Parameters.Add(new KavexParameter("p_full", "Ada Lovelace"));
            var first = new KavexParameter("p_first", KavexDbType.Varchar2) { Direction = ParameterDirection.Output, Size = 20 };
            var length = new KavexParameter("p_len", KavexDbType.Number) { Direction = ParameterDirection.Output };
            var count = new KavexParameter("p_count", 41) { Direction = ParameterDirection.InputOutput };
            command.Parameters.Add(first);
            command.Parameters.Add(length);
            command.Parameters.Add(count);
            command.ExecuteNonQuery();
            Assert.Equal("Ada", first.Value);
            Assert.Equal(12m, Convert.ToDecimal(length.Value));
            Assert.Equal(42m, Convert.ToDecimal(count.Value));
            // A block's own bind, as Text: an Output parameter the block leaves alone is DBNull.
            using var block = connection.CreateCommand();
            block.CommandText = "BEGIN IF :n > 0 THEN :r := 'positive'; END IF; END;";
            block.Parameters.Add(new KavexParameter("n", -1));
            var r = new KavexParameter("r", KavexDbType.Varchar2) { Direction = ParameterDirection.Output, Size = 10 };
            block.Parameters.Add(r);
            block.ExecuteNonQuery();
            Assert.Equal(DBNull.Value, r.Value);
            Assert.Throws<NotSupportedException>(() => r.Direction = ParameterDirection.ReturnValue);
            connection.Run("DROP PROCEDURE split_name");
        }

        [Fact]
        public void ExecuteNonQueryReturnsTheUpdateCount()
        {
            using var connection = db.Open();
            Assert.Equal(0, connection.Run("CREATE TABLE counted (n NUMBER(5), s VARCHAR2(10))"));
            Assert.Equal(1, connection.Run("INSERT INTO counted VALUES (1, 'a')"));
            Assert.Equal(1, connection.Run("INSERT INTO counted VALUES (2, 'b')"));
            Assert.Equal(2, connection.Run("UPDATE counted SET s = 'c'"));
            Assert.Equal(1, connection.Run("DELETE FROM counted WHERE n = :n", ("n", 2)));
            Assert.Equal(0, connection.Run("DELETE FROM counted WHERE n = 99"));
        }

        [Fact]
        public void ExecuteScalarGivesTheFirstValueOrNull()
        {
            using var connection = db.Open();
            Fresh(connection, "scalars", "n NUMBER(5)");
            Assert.Null(connection.Scalar("SELECT n FROM scalars"));
            connection.Run("INSERT INTO scalars VALUES (NULL)");
            Assert.Equal(DBNull.Value, connection.Scalar("SELECT n FROM scalars"));
            Assert.Equal(1m, connection.Scalar("SELECT COUNT(*) FROM scalars"));
        }

        [Fact]
        public void NamedParametersMapToPlaceholdersOutsideQuotesAndComments()
        {
            using var connection = db.Open();
            Fresh(connection, "named", "a VARCHAR2(20), b VARCHAR2(20), c VARCHAR2(20)");
            using var command = connection.CreateCommand();
            // The parameters are added in another order than the placeholders appear; ':x' and :y
            // inside literals and comments are not placeholders.
            command.CommandText = "INSERT INTO named (a, b, c) /* :y */ VALUES (:first, ':x' || :second, -- :z\n :first)";
            command.Parameters.Add(":second", "two");
            command.Parameters.Add("FIRST", "one");
            Assert.Equal(1, command.ExecuteNonQuery());
            using var reader = connection.CreateCommand().Also(c => c.CommandText = "SELECT a, b, c FROM named").ExecuteReader();
            Assert.True(reader.Read());
            Assert.Equal("one", reader.GetString(0));
            Assert.Equal(":xtwo", reader.GetString(1));
            Assert.Equal("one", reader.GetString(2));
        }

        [Fact]
        public void UnnamedParametersBindByPosition()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT :1 || :2 FROM dual";
            command.Parameters.Add(new KavexParameter { Value = "ab" });
            command.Parameters.Add(new KavexParameter { Value = "cd" });
            Assert.Equal("abcd", command.ExecuteScalar());
        }

        [Fact]
        public void MissingParameterIsAClearError()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT :a, :b FROM dual";
            command.Parameters.Add("a", 1);
            var error = Assert.Throws<InvalidOperationException>(() => command.ExecuteNonQuery());
            Assert.Contains(":b", error.Message);
        }

        [Fact]
        public void ParametersOfEveryTypeRoundTrip()
        {
            using var connection = db.Open();
            Fresh(connection, "typed", "n NUMBER(20,4), i PLS_INTEGER, l NUMBER(19), f BINARY_FLOAT, d BINARY_DOUBLE, " +
                                       "s VARCHAR2(50), c CHAR(2), ts TIMESTAMP, tz TIMESTAMP WITH TIME ZONE, b BLOB, t CLOB, flag NUMBER(1)");
            using var command = connection.CreateCommand();
            command.CommandText = "INSERT INTO typed VALUES (:n, :i, :l, :f, :d, :s, :c, :ts, :tz, :b, :t, :flag)";
            command.Parameters.Add("n", 12345678.1234m);
            command.Parameters.Add("i", -42);
            command.Parameters.Add("l", long.MinValue + 1);
            command.Parameters.Add("f", 1.5f);
            command.Parameters.Add("d", Math.PI);
            command.Parameters.Add("s", "Grüße, 世界");
            command.Parameters.Add("c", 'Q');
            command.Parameters.Add("ts", new DateTime(1999, 12, 31, 23, 59, 58));
            command.Parameters.Add("tz", new DateTimeOffset(2024, 2, 29, 6, 7, 8, TimeSpan.FromMinutes(-210)));
            command.Parameters.Add("b", new byte[] { 0, 1, 2, 255 });
            command.Parameters.Add("t", KavexDbType.Clob, "clob text");
            command.Parameters.Add("flag", true);
            Assert.Equal(1, command.ExecuteNonQuery());

            command.Parameters.Clear();
            foreach (var p in new[] { "n", "i", "l", "f", "d", "s", "c", "ts", "tz", "b", "t", "flag" })
                command.Parameters.Add(new KavexParameter(p, DBNull.Value));
            command.Parameters["i"].KavexDbType = KavexDbType.PlsInteger;
            command.Parameters["f"].DbType = DbType.Single;
            command.Parameters["d"].DbType = DbType.Double;
            command.Parameters["ts"].DbType = DbType.DateTime;
            command.Parameters["tz"].DbType = DbType.DateTimeOffset;
            command.Parameters["b"].KavexDbType = KavexDbType.Blob;
            command.Parameters["t"].KavexDbType = KavexDbType.Clob;
            Assert.Equal(1, command.ExecuteNonQuery());

            using var select = connection.CreateCommand();
            select.CommandText = "SELECT n, i, l, f, d, s, c, ts, tz, b, t, flag FROM typed ORDER BY s NULLS LAST";
            using var reader = select.ExecuteReader();
            Assert.True(reader.Read());
            Assert.Equal(12345678.1234m, reader.GetDecimal(0));
            Assert.Equal(-42, reader.GetInt32(1));
            Assert.Equal(long.MinValue + 1, reader.GetInt64(2));
            Assert.Equal(1.5f, reader.GetFloat(3));
            Assert.Equal(Math.PI, reader.GetDouble(4));
            Assert.Equal("Grüße, 世界", reader.GetString(5));
            Assert.Equal("Q", reader.GetString(6).TrimEnd());
            Assert.Equal(new DateTime(1999, 12, 31, 23, 59, 58), reader.GetDateTime(7));
            Assert.Equal(new DateTimeOffset(2024, 2, 29, 6, 7, 8, TimeSpan.FromMinutes(-210)), reader.GetDateTimeOffset(8));
            Assert.Equal(TimeSpan.FromMinutes(-210), reader.GetDateTimeOffset(8).Offset);
            Assert.Equal(new byte[] { 0, 1, 2, 255 }, (byte[])reader.GetValue(9));
            Assert.Equal("clob text", reader.GetString(10));
            Assert.True(reader.GetBoolean(11));
            Assert.True(reader.Read());
            for (int i = 0; i < reader.FieldCount; i++) Assert.True(reader.IsDBNull(i), "column " + i + " is NULL");
            Assert.False(reader.Read());
        }

        [Fact]
        public void ArrayBindingInsertsEveryRowInOneExecution()
        {
            using var connection = db.Open();
            Fresh(connection, "batch", "id NUMBER(10), name VARCHAR2(30), amount NUMBER(10,2), at TIMESTAMP, score BINARY_DOUBLE");
            const int rows = 1000;
            var ids = Enumerable.Range(1, rows).ToArray();
            var names = ids.Select(i => i % 10 == 0 ? null : "name " + i + new string('é', i % 7)).ToArray();
            var amounts = ids.Select(i => i % 13 == 0 ? (decimal?)null : i + 0.25m).ToArray();
            var stamps = ids.Select(i => new DateTime(2024, 1, 1).AddMinutes(i)).ToArray();
            var scores = ids.Select(i => i / 4.0).ToArray();
            using var command = connection.CreateCommand();
            command.CommandText = "INSERT INTO batch VALUES (:id, :name, :amount, :at, :score)";
            command.ArrayBindCount = rows;
            command.Parameters.Add("id", ids);
            command.Parameters.Add("name", names);
            command.Parameters.Add("amount", amounts);
            command.Parameters.Add("at", stamps);
            command.Parameters.Add("score", scores);
            Assert.Equal(rows, command.ExecuteNonQuery());

            using var select = connection.CreateCommand();
            select.CommandText = "SELECT id, name, amount, at, score FROM batch ORDER BY id";
            using var reader = select.ExecuteReader();
            int n = 0;
            while (reader.Read())
            {
                int i = ids[n++];
                Assert.Equal(i, reader.GetInt32(0));
                if (names[i - 1] == null) Assert.True(reader.IsDBNull(1));
                else Assert.Equal(names[i - 1], reader.GetString(1));
                if (amounts[i - 1] == null) Assert.True(reader.IsDBNull(2));
                else Assert.Equal(amounts[i - 1], reader.GetDecimal(2));
                Assert.Equal(stamps[i - 1], reader.GetDateTime(3));
                Assert.Equal(scores[i - 1], reader.GetDouble(4));
            }
            Assert.Equal(rows, n);
        }

        [Fact]
        public void ArrayBindingTakesLongAndDecimalArraysExactly()
        {
            using var connection = db.Open();
            Fresh(connection, "batch_exact", "l NUMBER(19), d NUMBER(30,10)");
            var longs = new[] { long.MaxValue, long.MinValue, 0L };
            var decimals = new[] { 12345678901234567890.0123456789m, -0.0000000001m, 0m };
            using var command = connection.CreateCommand();
            command.CommandText = "INSERT INTO batch_exact VALUES (:l, :d)";
            command.ArrayBindCount = 3;
            command.Parameters.Add("l", longs);
            command.Parameters.Add("d", decimals);
            Assert.Equal(3, command.ExecuteNonQuery());
            using var reader = connection.CreateCommand().Also(c => c.CommandText = "SELECT l, d FROM batch_exact").ExecuteReader();
            for (int i = 0; i < 3; i++)
            {
                Assert.True(reader.Read());
                Assert.Equal(longs[i], reader.GetInt64(0));
                if (i != 0) Assert.Equal(decimals[i], reader.GetDecimal(1));  // 30 digits exceed SQLite's 64-bit integers
            }
        }

        [Fact]
        public void ArrayBindingRefusesShortArraysAndLobs()
        {
            using var connection = db.Open();
            Fresh(connection, "badbatch", "a NUMBER(5), b BLOB");
            using var command = connection.CreateCommand();
            command.CommandText = "INSERT INTO badbatch (a) VALUES (:a)";
            command.ArrayBindCount = 3;
            command.Parameters.Add("a", new[] { 1, 2 });
            Assert.Throws<InvalidOperationException>(() => command.ExecuteNonQuery());
            command.CommandText = "INSERT INTO badbatch (a, b) VALUES (:a, :b)";
            command.Parameters["a"].Value = new[] { 1, 2, 3 };
            command.Parameters.Add("b", new[] { new byte[1], new byte[2], new byte[3] });
            Assert.Throws<NotSupportedException>(() => command.ExecuteNonQuery());
        }

        [Fact]
        public void FiftyMegabyteLobsStreamInAndReadBack()
        {
            using var connection = db.Open();
            Fresh(connection, "big_lobs", "id NUMBER(5), doc CLOB, pic BLOB");
            const int size = 50 * 1024 * 1024;
            var text = new StringBuilder(size);
            for (int i = 0; text.Length < size; i++) text.Append(i % 1000 == 999 ? "ż\n" : "abcdefghij");
            string clob = text.ToString(0, size - 1) + "€";  // a multi-byte character cut by every chunk boundary
            byte[] blob = new byte[size];
            new Random(7).NextBytes(blob);

            using (var insert = connection.CreateCommand())
            {
                insert.CommandText = "INSERT INTO big_lobs VALUES (1, :doc, :pic)";
                insert.Parameters.Add("doc", KavexDbType.Clob, clob);
                insert.Parameters.Add("pic", new MemoryStream(blob));
                Assert.Equal(1, insert.ExecuteNonQuery());
            }
            using var select = connection.CreateCommand();
            select.CommandText = "SELECT doc, pic FROM big_lobs WHERE id = 1";
            using var reader = select.ExecuteReader();
            Assert.True(reader.Read());
            Assert.True(clob == reader.GetString(0), "the 50 MB CLOB reads back unchanged");
            Assert.Equal(size, reader.GetBytes(1, 0, null, 0, 0));
            byte[] back = new byte[size];
            Assert.Equal(size, reader.GetBytes(1, 0, back, 0, size));
            Assert.True(blob.AsSpan().SequenceEqual(back), "the 50 MB BLOB reads back unchanged");
            using var stream = reader.GetStream(1);
            Assert.Equal(size, stream.Length);
        }

        [Fact]
        public void EmptyLobsAreEmptyNotErrors()
        {
            using var connection = db.Open();
            Fresh(connection, "empty_lobs", "doc CLOB, pic BLOB");
            connection.Run("INSERT INTO empty_lobs VALUES (:d, :p)", ("d", new MemoryStream()), ("p", Array.Empty<byte>()));
            using var reader = connection.CreateCommand().Also(c => c.CommandText = "SELECT doc, pic FROM empty_lobs").ExecuteReader();
            Assert.True(reader.Read());
            Assert.True(reader.IsDBNull(0) || reader.GetString(0) == "");
            Assert.True(reader.IsDBNull(1) || reader.GetBytes(1, 0, null, 0, 0) == 0);
        }

        [Theory]
        [InlineData("SELECT * FROM no_such_table", 942)]
        [InlineData("INSERT INTO not_null_t (a) VALUES (NULL)", 1400)]
        [InlineData("SELEKT 1 FROM dual", 900)]
        public void FailuresCarryTheirOraNumber(string sql, int number)
        {
            using var connection = db.Open();
            try { connection.Run("CREATE TABLE not_null_t (a NUMBER(5) NOT NULL)"); } catch (KavexException) { }
            var error = Assert.Throws<KavexException>(() => connection.Run(sql));
            if (number == 900) Assert.True(error.Number > 0, error.Message);
            else Assert.Equal(number, error.Number);
            Assert.StartsWith("ORA-", error.Message);
            Assert.True(error.ErrorId <= -10);
            Assert.Equal(1m, connection.Scalar("SELECT 1 FROM dual"));  // the connection goes on
        }

        [Fact]
        public void AnOpenReaderBlocksOtherCommandsOnItsConnection()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT 1 FROM dual";
            using (var reader = command.ExecuteReader())
            {
                Assert.Throws<InvalidOperationException>(() => connection.Scalar("SELECT 2 FROM dual"));
            }
            Assert.Equal(2m, connection.Scalar("SELECT 2 FROM dual"));
        }

        [Fact]
        public void PreparedCommandRunsAgainWithNewValues()
        {
            using var connection = db.Open();
            Fresh(connection, "prepared", "n NUMBER(5)");
            using var command = connection.CreateCommand();
            command.CommandText = "INSERT INTO prepared VALUES (:n)";
            var parameter = command.Parameters.Add("n", 0);
            command.Prepare();
            for (int i = 1; i <= 5; i++)
            {
                parameter.Value = i;
                Assert.Equal(1, command.ExecuteNonQuery());
            }
            Assert.Equal(15m, connection.Scalar("SELECT SUM(n) FROM prepared"));
        }
    }

    internal static class Fluent
    {
        public static T Also<T>(this T value, Action<T> action)
        {
            action(value);
            return value;
        }
    }
}
