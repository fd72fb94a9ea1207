namespace System.Data.Kavex.Tests
{
    public class TransactionTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public TransactionTests(TestDatabase db)
        {
            this.db = db;
        }

        private static decimal Count(KavexConnection connection, string table) => (decimal)connection.Scalar("SELECT COUNT(*) FROM " + table)!;

        [Fact]
        public void CommitKeepsAndRollbackDiscards()
        {
            using var connection = db.Open();
            using var other = db.Open();
            connection.Run("CREATE TABLE tx_a (n NUMBER(5))");
            using (var tx = connection.BeginTransaction())
            {
                Assert.Equal(IsolationLevel.ReadCommitted, tx.IsolationLevel);
                connection.CreateCommand().Also(c => { c.CommandText = "INSERT INTO tx_a VALUES (1)"; c.Transaction = tx; }).ExecuteNonQuery();
                Assert.Equal(1m, Count(connection, "tx_a"));
                tx.Rollback();
                Assert.Throws<InvalidOperationException>(() => tx.Commit());
            }
            Assert.Equal(0m, Count(connection, "tx_a"));
            using (var tx = connection.BeginTransaction())
            {
                connection.Run("INSERT INTO tx_a VALUES (2)");
                connection.Run("INSERT INTO tx_a VALUES (3)");
                tx.Commit();
            }
            Assert.Equal(2m, Count(other, "tx_a"));
        }

        [Fact]
        public void OutsideATransactionEachCommandCommits()
        {
            using var connection = db.Open();
            using var other = db.Open();
            connection.Run("CREATE TABLE tx_b (n NUMBER(5))");
            connection.Run("INSERT INTO tx_b VALUES (1)");
            Assert.Equal(1m, Count(other, "tx_b"));
        }

        [Fact]
        public void DisposingOrClosingRollsBackAnUnfinishedTransaction()
        {
            using var other = db.Open();
            other.Run("CREATE TABLE tx_c (n NUMBER(5))");
            using (var connection = db.Open())
            {
                using (connection.BeginTransaction()) connection.Run("INSERT INTO tx_c VALUES (1)");
                Assert.Equal(0m, Count(connection, "tx_c"));
                connection.BeginTransaction();
                connection.Run("INSERT INTO tx_c VALUES (2)");
                Assert.Throws<InvalidOperationException>(() => connection.BeginTransaction());
            }
            Assert.Equal(0m, Count(other, "tx_c"));
        }

        [Fact]
        public void ACommandWithAnotherConnectionsTransactionIsRefused()
        {
            using var first = db.Open();
            using var second = db.Open();
            using var tx = first.BeginTransaction();
            var command = second.CreateCommand();
            command.CommandText = "SELECT 1 FROM dual";
            command.Transaction = tx;
            Assert.Throws<InvalidOperationException>(() => command.ExecuteScalar());
            Assert.Throws<ArgumentException>(() => first.BeginTransaction(IsolationLevel.Snapshot));
        }
    }
}
