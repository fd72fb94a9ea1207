using System.Data.Common;
using System.IO;

namespace System.Data.Kavex.Tests
{
    public class ConnectionTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public ConnectionTests(TestDatabase db)
        {
            this.db = db;
        }

        [Fact]
        public void OpenAndCloseFollowTheConnectionStates()
        {
            var states = new System.Collections.Generic.List<ConnectionState>();
            using var connection = new KavexConnection(db.ConnectionString);
            connection.StateChange += (_, e) => states.Add(e.CurrentState);
            Assert.Equal(ConnectionState.Closed, connection.State);
            connection.Open();
            Assert.Equal(ConnectionState.Open, connection.State);
            Assert.True(connection.SessionId >= 11);
            Assert.Throws<InvalidOperationException>(() => connection.Open());
            connection.Close();
            connection.Close();
            Assert.Equal(ConnectionState.Closed, connection.State);
            Assert.Equal(0, connection.SessionId);
            Assert.Equal(new[] { ConnectionState.Open, ConnectionState.Closed }, states);
            connection.Open();  // a closed connection opens again
            Assert.Equal(1m, connection.Scalar("SELECT 1 FROM dual"));
        }

        [Fact]
        public void BuilderKnowsTheKeywordsAndTheirAliases()
        {
            var builder = new KavexConnectionStringBuilder("data source=/x.db;UID=u;pwd=p;max column size=5000");
            Assert.Equal("/x.db", builder.DataSource);
            Assert.Equal("u", builder.UserId);
            Assert.Equal("p", builder.Password);
            Assert.Equal(5000, builder.MaxColumnSize);
            Assert.Equal(KavexConnectionStringBuilder.DefaultMaxColumnSize, new KavexConnectionStringBuilder("User Id=a").MaxColumnSize);
            Assert.Throws<ArgumentException>(() => new KavexConnectionStringBuilder("Colour=blue"));
            Assert.Throws<ArgumentException>(() => new KavexConnectionStringBuilder("Max Column Size=-4").MaxColumnSize);
            var built = new KavexConnectionStringBuilder { DataSource = "file:a.db", UserId = "me", Password = "pw" };
            Assert.Equal("file:a.db", new KavexConnectionStringBuilder(built.ConnectionString).DataSource);
        }

        [Fact]
        public void MissingDatabaseFailsWithOraNumberAndWithoutThePassword()
        {
            string missing = Path.Combine(Path.GetTempPath(), "no-such-dir-" + Guid.NewGuid().ToString("N"), "none.db");
            using var connection = new KavexConnection("Data Source=" + missing + ";User Id=scott;Password=s3cret-pw");
            var error = Assert.Throws<KavexException>(() => connection.Open());
            Assert.Equal(12154, error.Number);
            Assert.Contains("ORA-12154", error.Message);
            Assert.Contains(missing, error.Message);
            Assert.DoesNotContain("s3cret-pw", error.Message);
            Assert.IsAssignableFrom<DbException>(error);
            Assert.Equal(ConnectionState.Closed, connection.State);
        }

        [Theory]
        [InlineData("x")]
        [InlineData("p")]
        [InlineData("e")]
        [InlineData("n")]
        public void AFailedOpensMessageIsTheLibrarysTextWithoutMasking(string password)
        {
            string missing = "/nonexistent-" + Guid.NewGuid().ToString("N") + "/x.db";
            using var connection = new KavexConnection("Data Source=" + missing + ";User Id=scott;Password=" + password);
            var error = Assert.Throws<KavexException>(() => connection.Open());
            Assert.Contains(missing, error.Message);
            Assert.DoesNotContain("***", error.Message);
            Assert.Equal(12154, error.Number);
        }

        [Fact]
        public void PoolingKeywordsAreCheckedAndAccepted()
        {
            var builder = new KavexConnectionStringBuilder("Pooling=true;Max Pool Size=5");
            Assert.True(builder.Pooling);
            Assert.Equal(5, builder.MaxPoolSize);
            Assert.False(new KavexConnectionStringBuilder("").Pooling);
            Assert.Equal(KavexConnectionStringBuilder.DefaultMaxPoolSize, new KavexConnectionStringBuilder("").MaxPoolSize);
            builder.Pooling = false;
            builder.MaxPoolSize = 7;
            Assert.Equal(7, new KavexConnectionStringBuilder(builder.ConnectionString).MaxPoolSize);

            // Sessions are not pooled: a closed session's in-memory database is gone.
            const string memory = "Data Source=:memory:;User Id=scott;Password=tiger;Pooling=True;Max Pool Size=2";
            using (var pooled = new KavexConnection(memory))
            {
                pooled.Open();
                pooled.Run("CREATE TABLE left_behind (n NUMBER)");
                KavexConnection.ClearPool(pooled);
            }
            KavexConnection.ClearAllPools();
            using (var again = new KavexConnection(memory))
            {
                again.Open();
                Assert.Equal(942, Assert.Throws<KavexException>(() => again.Scalar("SELECT COUNT(*) FROM left_behind")).Number);
            }

            using var wrong = new KavexConnection(db.ConnectionString + ";Max Pool Size=0");
            Assert.Throws<ArgumentException>(() => wrong.Open());
            using var notBool = new KavexConnection(db.ConnectionString + ";Pooling=maybe");
            Assert.Throws<ArgumentException>(() => notBool.Open());
        }

        [Fact]
        public void TheFactoryIsFoundByItsInvariantNameAndOpensConnections()
        {
            Assert.Equal("System.Data.Kavex", KavexFactory.InvariantName);
            DbProviderFactories.RegisterFactory(KavexFactory.InvariantName, typeof(KavexFactory));
            Assert.Same(KavexFactory.Instance, DbProviderFactories.GetFactory(KavexFactory.InvariantName));
            DbProviderFactories.UnregisterFactory(KavexFactory.InvariantName);
            KavexFactory.Register();
            Assert.Contains(KavexFactory.InvariantName, DbProviderFactories.GetProviderInvariantNames());

            var factory = DbProviderFactories.GetFactory(KavexFactory.InvariantName);
            using var connection = factory.CreateConnection()!;
            connection.ConnectionString = db.ConnectionString;
            connection.Open();
            Assert.Same(factory, DbProviderFactories.GetFactory(connection));
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT 'via the registry' FROM dual";
            Assert.Equal("via the registry", command.ExecuteScalar());
        }

        [Fact]
        public void WrongPasswordIsOra01017()
        {
            string memdb = "file:/dotnet-accounts-" + Guid.NewGuid().ToString("N") + "?vfs=memdb";
            using var admin = new KavexConnection("Data Source=" + memdb + ";User Id=any;Password=any");
            admin.Open();
            admin.Run("CREATE USER demo IDENTIFIED BY \"pässwörd\"");
            using (var good = new KavexConnection("Data Source=" + memdb + ";User Id=DEMO;Password=pässwörd"))
            {
                good.Open();
                Assert.Equal("DEMO", good.Database);
            }
            using var bad = new KavexConnection("Data Source=" + memdb + ";User Id=demo;Password=wrong-secret");
            var error = Assert.Throws<KavexException>(() => bad.Open());
            Assert.Equal(1017, error.Number);
            Assert.DoesNotContain("wrong-secret", error.Message);
        }

        [Fact]
        public void MaxColumnSizeCutsLargeValues()
        {
            using (var setup = db.Open())
            {
                setup.Run("CREATE TABLE cut_lobs (doc CLOB)");
                setup.Run("INSERT INTO cut_lobs VALUES (:d)", ("d", new string('x', 5000)));
            }
            using var small = db.Open("Max Column Size=100");
            Assert.Equal(100, ((string)small.Scalar("SELECT doc FROM cut_lobs")!).Length);
            using var whole = db.Open();
            Assert.Equal(5000, ((string)whole.Scalar("SELECT doc FROM cut_lobs")!).Length);
        }

        [Fact]
        public void FactoryCreatesTheProvidersObjects()
        {
            DbProviderFactory factory = KavexFactory.Instance;
            using var connection = factory.CreateConnection()!;
            connection.ConnectionString = db.ConnectionString;
            connection.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT :v FROM dual";
            var parameter = factory.CreateParameter()!;
            parameter.ParameterName = "v";
            parameter.Value = "hello";
            command.Parameters.Add(parameter);
            Assert.Equal("hello", command.ExecuteScalar());
            Assert.IsType<KavexConnectionStringBuilder>(factory.CreateConnectionStringBuilder());
            Assert.IsType<KavexCommand>(factory.CreateCommand());
        }
    }
}
