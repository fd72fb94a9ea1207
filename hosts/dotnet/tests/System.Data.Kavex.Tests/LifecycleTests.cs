namespace System.Data.Kavex.Tests
{
    /// <summary>What commands, connections and transactions allow in each state: a command while
    /// its reader is open, a connection before Open, a transaction after Dispose.</summary>
    public class LifecycleTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public LifecycleTests(TestDatabase db)
        {
            this.db = db;
            using var connection = db.Open();
            try
            {
                connection.Run("CREATE TABLE cycle (n NUMBER)");
            }
            catch (KavexException e) when (e.Number == 955)
            {
                return;  // made by an earlier test of this class
            }
            connection.Run("INSERT INTO cycle SELECT LEVEL FROM dual CONNECT BY LEVEL <= 3");
        }

        [Fact]
        public void ACommandKeepsItsTextAndConnectionWhileItsReaderIsOpen()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT n FROM cycle";
            using (var reader = command.ExecuteReader())
            {
                Assert.Throws<InvalidOperationException>(() => command.CommandText = "SELECT 1 FROM dual");
                Assert.Throws<InvalidOperationException>(() => command.Connection = null);
                Assert.Equal("SELECT n FROM cycle", command.CommandText);
            }
            command.CommandText = "SELECT 1 FROM dual";
            Assert.Equal(1m, command.ExecuteScalar());
        }

        [Fact]
        public void ExecuteNonQueryOfAQueryIsMinusOne()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT n FROM cycle";
            Assert.Equal(-1, command.ExecuteNonQuery());
            command.CommandText = "UPDATE cycle SET n = n WHERE n < 3";
            Assert.Equal(2, command.ExecuteNonQuery());
        }

        [Fact]
        public void SingleRowGivesAtMostOneRow()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT n FROM cycle ORDER BY n";
            using (var reader = command.ExecuteReader(CommandBehavior.SingleRow))
            {
                Assert.True(reader.Read());
                Assert.Equal(1, reader.GetInt32(0));
                Assert.False(reader.Read());
            }
            using (var reader = command.ExecuteReader(CommandBehavior.SingleRow))
            {
                Assert.True(reader.HasRows);
                Assert.True(reader.Read());
                Assert.False(reader.Read());
            }
        }

        [Fact]
        public void AConnectionRefusesWhatItCannotAnswerYet()
        {
            using var connection = new KavexConnection();
            Assert.Throws<InvalidOperationException>(() => connection.Open());
            Assert.Throws<InvalidOperationException>(() => connection.ServerVersion);
            Assert.Throws<ArgumentException>(() => connection.ConnectionString = "Data Source=x;Colour=blue");
            Assert.Equal("", connection.ConnectionString);
            connection.ConnectionString = db.ConnectionString;
            connection.Open();
            Assert.NotEmpty(connection.ServerVersion);
        }

        [Fact]
        public void ADisposedTransactionCannotFinish()
        {
            using var connection = db.Open();
            var transaction = connection.BeginTransaction();
            transaction.Dispose();
            Assert.Throws<ObjectDisposedException>(() => transaction.Commit());
            Assert.Throws<ObjectDisposedException>(() => transaction.Rollback());
            transaction = connection.BeginTransaction();
            transaction.Commit();
            Assert.Throws<InvalidOperationException>(() => transaction.Rollback());  // finished, not disposed
        }
    }
}
