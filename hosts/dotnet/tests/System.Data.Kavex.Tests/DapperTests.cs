using System.Collections.Generic;
using System.Data.Common;
using System.Linq;
using Dapper;

namespace System.Data.Kavex.Tests
{
    public class DapperTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public DapperTests(TestDatabase db)
        {
            this.db = db;
        }

        public sealed class Everything
        {
            public long Id { get; set; }
            public decimal Amount { get; set; }
            public double Ratio { get; set; }
            public int Count { get; set; }
            public float Weight { get; set; }
            public double Score { get; set; }
            public string Name { get; set; } = "";
            public string? Code { get; set; }
            public DateTime Born { get; set; }
            public DateTime Stamp { get; set; }
            public DateTimeOffset Zoned { get; set; }
            public string? Doc { get; set; }
            public byte[]? Pic { get; set; }
            public int? Missing { get; set; }
            public bool Active { get; set; }
        }

        private const string Create =
            "CREATE TABLE everything (id NUMBER(18), amount NUMBER(12,2), ratio NUMBER, count PLS_INTEGER, weight BINARY_FLOAT, " +
            "score BINARY_DOUBLE, name VARCHAR2(40), code CHAR(2), born DATE, stamp TIMESTAMP, zoned TIMESTAMP WITH TIME ZONE, " +
            "doc CLOB, pic BLOB, missing NUMBER(5), active NUMBER(1))";

        private const string Insert =
            "INSERT INTO everything VALUES (:Id, :Amount, :Ratio, :Count, :Weight, :Score, :Name, :Code, :Born, :Stamp, :Zoned, " +
            ":Doc, :Pic, :Missing, :Active)";

        private static Everything Sample(int i) => new Everything
        {
            Id = 9_000_000_000_000_000L + i,
            Amount = 1000.25m + i,
            Ratio = 0.5 * i,
            Count = i * 3,
            Weight = 1.25f * i,
            Score = Math.E * i,
            Name = "Name ñ " + i,
            Code = i % 2 == 0 ? "AB" : null,
            Born = new DateTime(2000 + i, 2, 3),
            Stamp = new DateTime(2024, 5, 6, 7, 8, 9).AddHours(i),
            Zoned = new DateTimeOffset(2024, 5, 6, 7, 8, 9, TimeSpan.FromHours(i % 3 - 1)),
            Doc = "document " + i,
            Pic = new byte[] { (byte)i, 0, 255 },
            Missing = null,
            Active = i % 2 == 1,
        };

        private static void AssertSame(Everything expected, Everything actual)
        {
            Assert.Equal(expected.Id, actual.Id);
            Assert.Equal(expected.Amount, actual.Amount);
            Assert.Equal(expected.Ratio, actual.Ratio);
            Assert.Equal(expected.Count, actual.Count);
            Assert.Equal(expected.Weight, actual.Weight);
            Assert.Equal(expected.Score, actual.Score);
            Assert.Equal(expected.Name, actual.Name);
            Assert.Equal(expected.Code, actual.Code);
            Assert.Equal(expected.Born, actual.Born);
            Assert.Equal(expected.Stamp, actual.Stamp);
            Assert.Equal(expected.Zoned, actual.Zoned);
            Assert.Equal(expected.Zoned.Offset, actual.Zoned.Offset);
            Assert.Equal(expected.Doc, actual.Doc);
            Assert.Equal(expected.Pic, actual.Pic);
            Assert.Null(actual.Missing);
            Assert.Equal(expected.Active, actual.Active);
        }

        [Fact]
        public void QueryFillsPocosOfEveryColumnType()
        {
            using var connection = db.Open();
            connection.Execute(Create.Replace("everything", "every_q"));
            var rows = Enumerable.Range(1, 4).Select(Sample).ToList();
            foreach (var row in rows) Assert.Equal(1, connection.Execute(Insert.Replace("everything", "every_q"), row));
            var back = connection.Query<Everything>("SELECT * FROM every_q ORDER BY id").ToList();
            Assert.Equal(rows.Count, back.Count);
            for (int i = 0; i < rows.Count; i++) AssertSame(rows[i], back[i]);

            var one = connection.QuerySingle<Everything>("SELECT * FROM every_q WHERE id = :id AND name = :name",
                                                        new { id = rows[2].Id, name = rows[2].Name });
            AssertSame(rows[2], one);
            Assert.Equal(4L, connection.ExecuteScalar<long>("SELECT COUNT(*) FROM every_q"));
            Assert.Equal(new[] { 3, 6, 9, 12 }, connection.Query<int>("SELECT count FROM every_q ORDER BY id"));
            dynamic first = connection.Query("SELECT name, amount FROM every_q ORDER BY id").First();
            Assert.Equal("Name ñ 1", (string)first.NAME);
            Assert.Equal(1001.25m, (decimal)first.AMOUNT);
        }

        [Fact]
        public void DappersReaderMapsEveryColumnThroughGetFieldValue()
        {
            using var connection = db.Open();
            connection.Execute(Create.Replace("everything", "every_f"));
            var rows = Enumerable.Range(1, 3).Select(Sample).ToList();
            connection.Execute(Insert.Replace("everything", "every_f"), rows);
            using var reader = (DbDataReader)connection.ExecuteReader("SELECT * FROM every_f ORDER BY id");
            foreach (var expected in rows)
            {
                Assert.True(reader.Read());
                AssertSame(expected, new Everything
                {
                    Id = reader.GetFieldValue<long>(0),
                    Amount = reader.GetFieldValue<decimal>(1),
                    Ratio = reader.GetFieldValue<double>(2),
                    Count = reader.GetFieldValue<int>(3),
                    Weight = reader.GetFieldValue<float>(4),
                    Score = reader.GetFieldValue<double>(5),
                    Name = reader.GetFieldValue<string>(6),
                    Code = reader.IsDBNull(7) ? null : reader.GetFieldValue<string>(7),
                    Born = reader.GetFieldValue<DateTime>(8),
                    Stamp = reader.GetFieldValue<DateTime>(9),
                    Zoned = reader.GetFieldValue<DateTimeOffset>(10),
                    Doc = reader.GetFieldValue<string>(11),
                    Pic = reader.GetFieldValue<byte[]>(12),
                    Missing = reader.GetFieldValue<int?>(13),
                    Active = reader.GetFieldValue<bool>(14),
                });
            }
            Assert.False(reader.Read());
        }

        [Fact]
        public void ExecuteWithAListRunsEveryObject()
        {
            using var connection = db.Open();
            connection.Execute(Create.Replace("everything", "every_l"));
            var rows = Enumerable.Range(1, 25).Select(Sample).ToList();
            Assert.Equal(25, connection.Execute(Insert.Replace("everything", "every_l"), rows));
            var back = connection.Query<Everything>("SELECT * FROM every_l ORDER BY id").ToList();
            for (int i = 0; i < rows.Count; i++) AssertSame(rows[i], back[i]);
        }

        [Fact]
        public void ExecuteWithArrayParametersIsOneArrayBoundExecution()
        {
            using var connection = db.Open();
            connection.Execute("CREATE TABLE every_a (id NUMBER(10), name VARCHAR2(40), amount NUMBER(12,2), at TIMESTAMP)");
            var rows = Enumerable.Range(1, 5000)
                .Select(i => new { Id = i, Name = i % 100 == 0 ? null : "row " + i, Amount = i / 4m, At = new DateTime(2024, 1, 1).AddSeconds(i) })
                .ToList();
            var parameters = new KavexArrayParameters<dynamic>(rows.Cast<dynamic>().ToList());
            int count = connection.Execute("INSERT INTO every_a VALUES (:Id, :Name, :Amount, :At)", parameters);
            Assert.Equal(5000, count);
            Assert.Equal(1, parameters.Executions);
            var back = connection.Query<(long Id, string? Name, decimal Amount, DateTime At)>(
                "SELECT id, name, amount, at FROM every_a ORDER BY id").ToList();
            Assert.Equal(rows.Select(r => (Id: (long)r.Id, r.Name, r.Amount, r.At)), back);
        }

        [Fact]
        public void ParametersOfEveryTypeThroughDapper()
        {
            using var connection = db.Open();
            var values = connection.QuerySingle<(string S, decimal D, long L, double F, int I, DateTime T)>(
                "SELECT :s, :d, :l, :f, :i, :t FROM dual",
                new { s = "x'y", d = 1.5m, l = 123456789012L, f = 0.25, i = 7, t = new DateTime(2020, 2, 2, 2, 2, 2) });
            Assert.Equal("x'y", values.S);
            Assert.Equal(1.5m, values.D);
            Assert.Equal(123456789012L, values.L);
            Assert.Equal(0.25, values.F);
            Assert.Equal(7, values.I);
        }

        [Fact]
        public void DapperInsideATransaction()
        {
            using var connection = db.Open();
            connection.Execute("CREATE TABLE every_t (n NUMBER(5))");
            using (var tx = connection.BeginTransaction())
            {
                connection.Execute("INSERT INTO every_t VALUES (:n)", new[] { new { n = 1 }, new { n = 2 } }, tx);
                tx.Rollback();
            }
            Assert.Equal(0, connection.ExecuteScalar<int>("SELECT COUNT(*) FROM every_t"));
            using (var tx = connection.BeginTransaction())
            {
                connection.Execute("INSERT INTO every_t VALUES (:n)", new { n = 3 }, tx);
                tx.Commit();
            }
            Assert.Equal(3, connection.ExecuteScalar<int>("SELECT SUM(n) FROM every_t"));
        }

        [Fact]
        public void ErrorsSurfaceAsKavexExceptionsWithTheirNumber()
        {
            using var connection = db.Open();
            var error = Assert.Throws<KavexException>(() => connection.Query<int>("SELECT x FROM missing_dapper_table").ToList());
            Assert.Equal(942, error.Number);
        }
    }

    /// <summary>Dapper parameters that bind a list of objects as arrays: one property becomes one
    /// array-bound parameter, and the command runs all rows in one execution.</summary>
    public sealed class KavexArrayParameters<T> : SqlMapper.IDynamicParameters
    {
        private readonly IReadOnlyList<T> rows;

        public KavexArrayParameters(IReadOnlyList<T> rows)
        {
            this.rows = rows;
        }

        public int Executions { get; private set; }

        public void AddParameters(IDbCommand command, SqlMapper.Identity identity)
        {
            var kavex = (KavexCommand)command;
            kavex.ArrayBindCount = rows.Count;
            Executions++;
            var first = (object)rows[0]!;
            foreach (var property in first.GetType().GetProperties())
            {
                var values = new object?[rows.Count];
                for (int i = 0; i < rows.Count; i++) values[i] = property.GetValue(rows[i]);
                kavex.Parameters.Add(property.Name, values);
            }
        }
    }
}
