using System.Data.Kavex;
using System.IO;

namespace System.Data.Kavex.Tests
{
    /// <summary>A fresh database file for one test class, removed afterwards.</summary>
    public sealed class TestDatabase : IDisposable
    {
        private readonly string folder;

        public TestDatabase()
        {
            folder = Path.Combine(Path.GetTempPath(), "kavex-dotnet-" + Guid.NewGuid().ToString("N"));
            Directory.CreateDirectory(folder);
            Path_ = Path.Combine(folder, "test.db");
            ConnectionString = "Data Source=file:" + Path_ + "?mode=rwc;User Id=scott;Password=tiger";
        }

        public string Path_ { get; }
        public string ConnectionString { get; }

        public KavexConnection Open(string? extra = null)
        {
            var connection = new KavexConnection(ConnectionString + (extra == null ? "" : ";" + extra));
            connection.Open();
            return connection;
        }

        public void Dispose()
        {
            try { Directory.Delete(folder, true); } catch (IOException) { }
        }
    }

    internal static class ConnectionExtensions
    {
        public static int Run(this KavexConnection connection, string sql, params (string Name, object? Value)[] parameters)
        {
            using var command = connection.CreateCommand();
            command.CommandText = sql;
            foreach (var (name, value) in parameters) command.Parameters.Add(name, value);
            return command.ExecuteNonQuery();
        }

        public static object? Scalar(this KavexConnection connection, string sql, params (string Name, object? Value)[] parameters)
        {
            using var command = connection.CreateCommand();
            command.CommandText = sql;
            foreach (var (name, value) in parameters) command.Parameters.Add(name, value);
            return command.ExecuteScalar();
        }
    }
}
