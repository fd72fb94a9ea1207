using System.Globalization;
using System.Linq;
using Dapper;

namespace System.Data.Kavex.Tests
{
    /// <summary>NUMBER values past a double's 15 digits (Oracle's NUMBER keeps up to 40
    /// significant digits): GetDecimal gives exactly what decimal holds and refuses the rest,
    /// GetString gives every digit, GetValue keeps its natural type, and decimal parameters
    /// arrive whole, from arithmetic in the select list and through a table alike.</summary>
    public class ExactNumberTests : IClassFixture<TestDatabase>
    {
        private const string Third = "0.3333333333333333333333333333333333333333";  // 40 digits

        private readonly TestDatabase db;

        public ExactNumberTests(TestDatabase db) => this.db = db;

        private static KavexDataReader Row(KavexConnection connection, string selectList, params (string Name, object? Value)[] parameters)
        {
            var command = connection.CreateCommand();
            command.CommandText = "SELECT " + selectList + " FROM dual";
            foreach (var (name, value) in parameters) command.Parameters.Add(name, value);
            var reader = command.ExecuteReader();
            Assert.True(reader.Read());
            return reader;
        }

        /// <summary>A NUMBER text in plain positional form without redundant zeros, so that
        /// "1.8446744073709551616E+19" and "18446744073709551616" compare equal.</summary>
        private static string Plain(string text)
        {
            string sign = text.StartsWith('-') ? "-" : "";
            string body = text.TrimStart('-', '+');
            int e = body.IndexOfAny(new[] { 'E', 'e' });
            int exponent = e < 0 ? 0 : int.Parse(body[(e + 1)..], CultureInfo.InvariantCulture);
            string mantissa = e < 0 ? body : body[..e];
            int point = mantissa.IndexOf('.');
            string digits = mantissa.Replace(".", "");
            int integerDigits = (point < 0 ? mantissa.Length : point) + exponent;
            if (integerDigits <= 0) digits = new string('0', 1 - integerDigits) + digits;
            else if (integerDigits > digits.Length) digits = digits.PadRight(integerDigits, '0');
            integerDigits = Math.Max(integerDigits, 1);
            string whole = digits[..integerDigits].TrimStart('0'), fraction = digits[integerDigits..].TrimEnd('0');
            string plain = (whole.Length == 0 ? "0" : whole) + (fraction.Length == 0 ? "" : "." + fraction);
            return plain == "0" ? "0" : sign + plain;
        }

        [Fact]
        public void GetDecimalGivesEveryValueDecimalHoldsExactly()
        {
            using var connection = db.Open();
            using var reader = Row(connection,
                "12345678901234567890 + 1, 0.1234567890123456789012345678 + 0, POWER(2, 64), 79228162514264337593543950335 + 0, " +
                "0 - 79228162514264337593543950335, 1 / POWER(10, 28), -POWER(2, 95), 1E+28 + 0, 1234567890.0123456789012345678 + 0");
            decimal[] expected =
            {
                12345678901234567891m, 0.1234567890123456789012345678m, 18446744073709551616m, decimal.MaxValue, decimal.MinValue,
                0.0000000000000000000000000001m, -39614081257132168796771975168m, 10000000000000000000000000000m,
                1234567890.0123456789012345678m,
            };
            for (int i = 0; i < expected.Length; i++)
            {
                Assert.Equal(expected[i], reader.GetDecimal(i));
                Assert.Equal(expected[i], reader.GetFieldValue<decimal>(i));
                Assert.Equal(expected[i], reader.GetFieldValue<decimal?>(i));
                Assert.Equal(expected[i], reader.GetValue(i));
                Assert.Equal(expected[i].ToString(CultureInfo.InvariantCulture), Plain(reader.GetString(i)));
            }
        }

        [Fact]
        public void GetDecimalRefusesMoreDigitsThanDecimalKeepsAsAnInvalidCast()
        {
            using var connection = db.Open();
            using var reader = Row(connection,
                "1/3 AS third, -2/3 AS neg, 0.12345678901234567890123456789 + 0 AS places29, " +
                "9.9999999999999999999999999999 + 0 AS digits29, 1 + 1 / POWER(10, 35) AS near_one");
            string[] columns = { "THIRD", "NEG", "PLACES29", "DIGITS29", "NEAR_ONE" };
            for (int i = 0; i < columns.Length; i++)
            {
                var refused = Assert.Throws<InvalidCastException>(() => reader.GetDecimal(i));
                Assert.Contains(columns[i], refused.Message);
                Assert.Throws<InvalidCastException>(() => reader.GetFieldValue<decimal>(i));
                Assert.Throws<InvalidCastException>(() => reader.GetFieldValue<decimal?>(i));
                // Not an integer either, however close to one.
                Assert.Throws<InvalidCastException>(() => reader.GetInt64(i));
            }
            Assert.Equal(Third, Plain(reader.GetString(0)));
            Assert.Equal("-0.6666666666666666666666666666666666666667", Plain(reader.GetString(1)));
            Assert.Equal("0.12345678901234567890123456789", Plain(reader.GetString(2)));
            Assert.Equal("1.00000000000000000000000000000000001", Plain(reader.GetString(4)));
            Assert.Equal(1.0 / 3, reader.GetDouble(0));
        }

        [Fact]
        public void GetDecimalRefusesValuesBeyondDecimalsRangeAsAnOverflow()
        {
            using var connection = db.Open();
            using var reader = Row(connection,
                "POWER(10, 40) AS big, -POWER(10, 40) AS neg_big, 79228162514264337593543950335 + 1 AS past_max, " +
                "1 / POWER(10, 40) AS tiny, POWER(2, 96) AS two96");
            string[] columns = { "BIG", "NEG_BIG", "PAST_MAX", "TINY", "TWO96" };
            for (int i = 0; i < columns.Length; i++)
            {
                var refused = Assert.Throws<OverflowException>(() => reader.GetDecimal(i));
                Assert.Contains(columns[i], refused.Message);
                Assert.Throws<OverflowException>(() => reader.GetFieldValue<decimal>(i));
            }
            Assert.Equal("10000000000000000000000000000000000000000", Plain(reader.GetString(0)));
            Assert.Equal("79228162514264337593543950336", Plain(reader.GetString(2)));
            Assert.Equal("0.0000000000000000000000000000000000000001", Plain(reader.GetString(3)));
            Assert.Equal(1e40, reader.GetDouble(0));
            Assert.Throws<OverflowException>(() => reader.GetInt64(0));
        }

        [Fact]
        public void GetValueRoundsExtraDigitsToDecimalAndGivesADoubleBeyondDecimalsRange()
        {
            using var connection = db.Open();
            using var reader = Row(connection, "1/3, 2/3, POWER(10, 40), 1 / POWER(10, 40), 0 * POWER(10, 40)");
            for (int i = 0; i < reader.FieldCount; i++) Assert.Equal(typeof(decimal), reader.GetFieldType(i));
            Assert.Equal(0.3333333333333333333333333333m, reader.GetValue(0));
            Assert.Equal(0.6666666666666666666666666667m, reader.GetValue(1));
            Assert.Equal(1e40, reader.GetValue(2));
            Assert.Equal(1e-40, reader.GetValue(3));
            Assert.Equal(0m, reader.GetValue(4));
            Assert.Equal(0m, reader.GetDecimal(4));
        }

        [Fact]
        public void IntegersPastDecimalsFastPathReadAsLongsExactly()
        {
            using var connection = db.Open();
            using var reader = Row(connection, "POWER(2, 62) + 0, 9223372036854775807 + 0, -9223372036854775807 - 1, 9223372036854775807 + 1, 2.5E+20");
            Assert.Equal(4611686018427387904L, reader.GetInt64(0));
            Assert.Equal(long.MaxValue, reader.GetInt64(1));
            Assert.Equal(long.MinValue, reader.GetInt64(2));
            Assert.Throws<OverflowException>(() => reader.GetInt64(3));
            Assert.Equal(9223372036854775808m, reader.GetDecimal(3));
            Assert.Throws<OverflowException>(() => reader.GetInt64(4));
        }

        private static readonly decimal[] LongDecimals =
        {
            decimal.MaxValue, decimal.MinValue, 0.0000000000000000000000000001m, -0.0000000000000000000000000001m,
            1.0000000000000000000000000001m, 12345678901234567890.123456789m, 0.1234567890123456789012345678m,
        };

        [Fact]
        public void DecimalParametersArriveWithEveryDigit()
        {
            using var connection = db.Open();
            foreach (decimal value in LongDecimals)
            {
                using var reader = Row(connection, ":p + 0, -:p", ("p", value));
                Assert.Equal(value.ToString(CultureInfo.InvariantCulture), Plain(reader.GetString(0)));
                Assert.Equal((-value).ToString(CultureInfo.InvariantCulture), Plain(reader.GetString(1)));
            }
        }

        [Fact]
        public void DecimalParametersReadBackAsTheSameDecimal()
        {
            using var connection = db.Open();
            foreach (decimal value in LongDecimals)
            {
                using (var reader = Row(connection, ":p + 0, -:p", ("p", value)))
                {
                    Assert.Equal(typeof(decimal), reader.GetFieldType(0));
                    Assert.Equal(value, reader.GetDecimal(0));
                    Assert.Equal(-value, reader.GetDecimal(1));
                    Assert.Equal(value, reader.GetValue(0));
                }
                using var command = connection.CreateCommand();
                command.CommandText = "SELECT :p + 0 FROM dual";
                command.Parameters.Add(new KavexParameter("p", value) { DbType = DbType.Decimal });
                Assert.Equal(value, command.ExecuteScalar());
            }
        }

        [Fact]
        public void DapperMapsLongResultsAsADecimalPropertyReadsThem()
        {
            using var connection = db.Open();
            // Exact values map exactly, a decimal parameter included.
            Assert.Equal(decimal.MaxValue, connection.QuerySingle<decimal>("SELECT :p + 0 FROM dual", new { p = decimal.MaxValue }));
            Assert.Equal(12345678901234567891m, connection.QuerySingle<decimal>("SELECT 12345678901234567890 + 1 FROM dual"));
            // An average's 40 digits map to decimal's nearest value, as code mapping AVG expects.
            var averages = connection.Query<decimal>(
                "SELECT AVG(x) FROM (SELECT 1 AS x FROM dual UNION ALL SELECT 2 FROM dual UNION ALL SELECT 2 FROM dual)").ToList();
            Assert.Equal(new[] { 1.6666666666666666666666666667m }, averages);
            // Beyond decimal's range a double member still maps; a decimal member refuses loudly.
            Assert.Equal(1e40, connection.QuerySingle<double>("SELECT POWER(10, 40) FROM dual"));
            var refused = Assert.ThrowsAny<Exception>(() => connection.QuerySingle<decimal>("SELECT POWER(10, 40) FROM dual"));
            Assert.IsType<OverflowException>(refused.GetBaseException());
        }

        [Fact]
        public void ADataTableTakesRoundedDigitsAndRefusesValuesBeyondDecimal()
        {
            using var connection = db.Open();
            var table = new DataTable();
            using (var command = connection.CreateCommand())
            {
                command.CommandText = "SELECT 1/3 AS third, 12345678901234567890 + 1 AS next FROM dual";
                using var reader = command.ExecuteReader();
                table.Load(reader);
            }
            Assert.Equal(typeof(decimal), table.Columns["THIRD"]!.DataType);
            Assert.Equal(0.3333333333333333333333333333m, table.Rows[0]["THIRD"]);
            Assert.Equal(12345678901234567891m, table.Rows[0]["NEXT"]);
            using var big = connection.CreateCommand();
            big.CommandText = "SELECT POWER(10, 40) AS big FROM dual";
            using var bigReader = big.ExecuteReader();
            Assert.ThrowsAny<ArgumentException>(() => new DataTable().Load(bigReader));
        }
    
        [Fact]
        public void ThirtyEightDigitValuesRoundTripThroughATable()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE exact_rows (k NUMBER(2), n NUMBER, d NUMBER(29, 28))");
            string[] texts = { "12345678901234567890123456789012345678", "-0.12345678901234567890123456789012345678" };
            using (var insert = connection.CreateCommand())
            {
                insert.CommandText = "INSERT INTO exact_rows VALUES (:k, :n, :d)";
                insert.Parameters.Add("k", 1);
                insert.Parameters.Add("n", texts[0]);
                insert.Parameters.Add("d", 0.1234567890123456789012345678m);
                Assert.Equal(1, insert.ExecuteNonQuery());
                insert.Parameters["k"].Value = 2;
                insert.Parameters["n"].Value = texts[1];
                insert.Parameters["d"].Value = decimal.MinValue / 1e28m;
                Assert.Equal(1, insert.ExecuteNonQuery());
            }
            using (var command = connection.CreateCommand())
            {
                command.CommandText = "SELECT n, d FROM exact_rows ORDER BY n";
                using var reader = command.ExecuteReader();
                Assert.True(reader.Read());
                Assert.Equal(texts[1], Plain(reader.GetString(0)));
                Assert.Equal(decimal.MinValue / 1e28m, reader.GetDecimal(1));
                Assert.True(reader.Read());
                Assert.Equal(texts[0], Plain(reader.GetString(0)));
                Assert.Equal(0.1234567890123456789012345678m, reader.GetDecimal(1));
                Assert.Throws<OverflowException>(() => reader.GetDecimal(0));  // beyond decimal's range
                Assert.False(reader.Read());
            }
            Assert.Equal(1m, connection.QuerySingle<decimal>(
                "SELECT k FROM exact_rows WHERE n = 12345678901234567890123456789012345678"));
        }
    }
}
