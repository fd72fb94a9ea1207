using System.Linq;
using System.Threading.Tasks;

namespace System.Data.Kavex.Tests
{
    public class ConcurrencyTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public ConcurrencyTests(TestDatabase db)
        {
            this.db = db;
        }

        [Fact]
        public void ManyConnectionsOnSeveralThreads()
        {
            using (var setup = db.Open()) setup.Run("CREATE TABLE shared_rows (worker NUMBER(5), n NUMBER(10), text VARCHAR2(40))");
            const int workers = 8;
            const int rounds = 20;
            Parallel.For(0, workers, new ParallelOptions { MaxDegreeOfParallelism = workers }, worker =>
            {
                for (int round = 0; round < rounds; round++)
                {
                    // A connection per round: opening and closing run in parallel with other sessions' work.
                    using var connection = db.Open();
                    using (var tx = connection.BeginTransaction())
                    {
                        using var insert = connection.CreateCommand();
                        insert.CommandText = "INSERT INTO shared_rows VALUES (:w, :n, :t)";
                        insert.ArrayBindCount = 10;
                        insert.Parameters.Add("w", Enumerable.Repeat(worker, 10).ToArray());
                        insert.Parameters.Add("n", Enumerable.Range(round * 10, 10).ToArray());
                        insert.Parameters.Add("t", Enumerable.Range(0, 10).Select(i => "worker " + worker + " ü " + i).ToArray());
                        Assert.Equal(10, insert.ExecuteNonQuery());
                        tx.Commit();
                    }
                    using var select = connection.CreateCommand();
                    select.CommandText = "SELECT COUNT(*), MAX(text) FROM shared_rows WHERE worker = :w";
                    select.Parameters.Add("w", worker);
                    using var reader = select.ExecuteReader();
                    Assert.True(reader.Read());
                    Assert.Equal((round + 1) * 10, reader.GetInt32(0));
                    Assert.StartsWith("worker " + worker + " ü ", reader.GetString(1));
                }
            });
            using var check = db.Open();
            Assert.Equal((decimal)(workers * rounds * 10), check.Scalar("SELECT COUNT(*) FROM shared_rows"));
        }
    }
}
