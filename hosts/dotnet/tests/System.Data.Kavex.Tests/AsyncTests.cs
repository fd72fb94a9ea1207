using System.Threading;
using System.Threading.Tasks;

namespace System.Data.Kavex.Tests
{
    /// <summary>The async methods with a token cancelled before the call: they end as cancelled and
    /// leave the connection, command and reader as they were.</summary>
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
        public async Task CancelDoesNotThrowAndATokenCancelledDuringACallIsIgnored()
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
    }
}
