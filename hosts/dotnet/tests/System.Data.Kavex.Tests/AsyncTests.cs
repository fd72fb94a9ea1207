using System.Threading;
using System.Threading.Tasks;

namespace System.Data.Kavex.Tests
{
    /// <summary>Cancelling: a token cancelled before the call ends it as cancelled and leaves the
    /// connection, command and reader as they were; Cancel(), a token cancelled during the call
    /// and CommandTimeout stop a running statement or fetch, and the connection goes on.</summary>
    public class AsyncTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public AsyncTests(TestDatabase db)
        {
            this.db = db;
        }

        private static CancellationToken Cancelled => new CancellationToken(true);

        [Fact]
        public async Task ACancelledTokenStopsOpenBeforeItOpens()
        {
            using var connection = new KavexConnection(db.ConnectionString);
            await Assert.ThrowsAnyAsync<OperationCanceledException>(() => connection.OpenAsync(Cancelled));
            Assert.Equal(ConnectionState.Closed, connection.State);
            await connection.OpenAsync(CancellationToken.None);
            Assert.Equal(ConnectionState.Open, connection.State);
        }

        [Fact]
        public async Task ACancelledTokenStopsACommandBeforeItRuns()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE runs (n NUMBER)");
            using var command = connection.CreateCommand();
            command.CommandText = "INSERT INTO runs VALUES (1)";
            await Assert.ThrowsAnyAsync<OperationCanceledException>(() => command.ExecuteNonQueryAsync(Cancelled));
            command.CommandText = "SELECT COUNT(*) FROM runs";
            await Assert.ThrowsAnyAsync<OperationCanceledException>(() => command.ExecuteReaderAsync(Cancelled));
            await Assert.ThrowsAnyAsync<OperationCanceledException>(() => command.ExecuteScalarAsync(Cancelled));
            Assert.Equal(0m, await command.ExecuteScalarAsync());  // nothing ran, no reader left open
        }

        [Fact]
        public async Task ACancelledTokenStopsReadWithoutMovingTheReader()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT LEVEL FROM dual CONNECT BY LEVEL <= 2";
            using var reader = await command.ExecuteReaderAsync();
            Assert.True(await reader.ReadAsync());
            await Assert.ThrowsAnyAsync<OperationCanceledException>(() => reader.ReadAsync(Cancelled));
            Assert.Equal(1m, reader.GetDecimal(0));
            Assert.True(await reader.ReadAsync());
            Assert.Equal(2m, reader.GetDecimal(0));
        }

        [Fact]
        public async Task CancelWithNothingRunningDoesNothing()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.Cancel();
            command.CommandText = "SELECT 1 FROM dual";
            using var source = new CancellationTokenSource();
            using (var reader = await command.ExecuteReaderAsync(source.Token))
            {
                command.Cancel();
                source.Cancel();
                Assert.True(reader.Read());
            }
            Assert.Equal(1m, command.ExecuteScalar());
        }

        // Runs for minutes unless cancelled.
        private const string LongQuery =
            "WITH r (n) AS (SELECT 1 FROM dual UNION ALL SELECT n + 1 FROM r WHERE n < 1000000000) SELECT COUNT(*) FROM r";

        /// <summary>Calls cancel every 50 ms until call ends, so the cancel finds it running
        /// however long it takes to start.</summary>
        private static T WhileCancelling<T>(Action cancel, Func<T> call)
        {
            using var ended = new ManualResetEventSlim();
            var canceller = Task.Run(() => { while (!ended.Wait(50)) cancel(); });
            try { return call(); }
            finally { ended.Set(); canceller.Wait(); }
        }

        [Fact]
        public void CancelStopsARunningStatementWithOra01013AndTheConnectionGoesOn()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = LongQuery;
            var e = Assert.Throws<KavexException>(() => WhileCancelling(command.Cancel, command.ExecuteScalar));
            Assert.Equal(1013, e.Number);
            Assert.StartsWith("ORA-01013: user requested cancel of current operation", e.Message);
            command.CommandText = "SELECT 2 FROM dual";
            Assert.Equal(2m, command.ExecuteScalar());
        }

        [Fact]
        public void CancelStopsTheFetchOfAnOpenReader()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT LEVEL FROM dual CONNECT BY LEVEL <= 1000000000";
            using var reader = command.ExecuteReader();
            long rows = 0;
            var e = Assert.Throws<KavexException>(() => WhileCancelling(command.Cancel, () => { while (reader.Read()) rows++; return rows; }));
            Assert.Equal(1013, e.Number);
            reader.Close();
            command.CommandText = "SELECT 3 FROM dual";
            Assert.Equal(3m, command.ExecuteScalar());
        }

        [Fact]
        public async Task ATokenCancelledWhileAStatementRunsCancelsIt()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = LongQuery;
            using var source = new CancellationTokenSource();
            source.CancelAfter(200);
            await Assert.ThrowsAnyAsync<OperationCanceledException>(() => command.ExecuteScalarAsync(source.Token));
            command.CommandText = "SELECT 4 FROM dual";
            Assert.Equal(4m, await command.ExecuteScalarAsync(CancellationToken.None));
        }

        [Fact]
        public void CommandTimeoutCancelsAStatementThatRunsLonger()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            Assert.Equal(30, command.CommandTimeout);
            Assert.Throws<ArgumentException>(() => command.CommandTimeout = -1);
            command.CommandTimeout = 1;
            command.CommandText = LongQuery;
            var e = Assert.Throws<KavexException>(() => command.ExecuteScalar());
            Assert.Equal(1013, e.Number);
            command.CommandText = "SELECT 5 FROM dual";
            Assert.Equal(5m, command.ExecuteScalar());
        }

        [Fact]
        public void ACancelledWriteUndoesOnlyItselfInsideATransaction()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE kept (n NUMBER)");
            using var transaction = connection.BeginTransaction();
            using var command = connection.CreateCommand();
            command.Transaction = transaction;
            command.CommandText = "INSERT INTO kept VALUES (1)";
            command.ExecuteNonQuery();
            command.CommandText = "INSERT INTO kept VALUES (2)";
            command.ExecuteNonQuery();
            transaction.Commit();
            using var second = connection.BeginTransaction();
            command.Transaction = second;
            command.CommandText = "INSERT INTO kept SELECT LEVEL FROM dual CONNECT BY LEVEL <= 1000000000";
            var e = Assert.Throws<KavexException>(() => WhileCancelling(command.Cancel, command.ExecuteNonQuery));
            Assert.Equal(1013, e.Number);
            command.CommandText = "INSERT INTO kept VALUES (3)";
            command.ExecuteNonQuery();
            second.Commit();
            command.Transaction = null;
            command.CommandText = "SELECT COUNT(*) FROM kept";
            Assert.Equal(3m, command.ExecuteScalar());
        }
    }
}
