// The provider side by side with Microsoft.Data.Sqlite (a general-purpose ADO.NET provider, run as a
// black box) on the same SQLite file, in one run:
//  - reading 1,000,000 rows x 4 columns (NUMBER(10), NUMBER(10,2), VARCHAR2(30), TIMESTAMP) through
//    DbDataReader's GetInt64, GetDecimal, GetString and GetDateTimeOffset; target at most 1.5x;
//  - inserting 100,000 rows x 3 columns in one transaction: one array-bound execution against a
//    prepared insert run once per row; target at most 1.2x.
// Each side runs once to warm up, then three times; the best time counts. Reads are timed from
// opening the connection to the last row, inserts from the transaction's start to its commit.
//
// Usage: System.Data.Kavex.Bench [read rows] [insert rows] [directory]
using System;
using System.Data.Common;
using System.Data.Kavex;
using System.Diagnostics;
using System.IO;
using Microsoft.Data.Sqlite;

long readRows = args.Length > 0 ? long.Parse(args[0]) : 1_000_000;
int insertRows = args.Length > 1 ? int.Parse(args[1]) : 100_000;
string directory = args.Length > 2 ? args[2] : Path.GetTempPath();
string path = Path.Combine(directory, "bench_dotnet_" + Environment.ProcessId + ".db");
string kavexConnect = "Data Source=file:" + path + "?mode=rwc;User Id=bench;Password=bench";
// No pooled connection may stay open while the other side works: the two providers bring their own
// copies of SQLite, and one copy closing its file releases the POSIX locks the other holds.
string sqliteConnect = "Data Source=" + path + ";Pooling=False";

try
{
    Console.WriteLine($"creating {readRows:N0} rows in {path}");
    Setup.Create(kavexConnect, sqliteConnect, readRows);

    var (kavexRead, kavexSum) = Best(clock => Read.Kavex(kavexConnect, clock));
    var (sqliteRead, sqliteSum) = Best(clock => Read.Sqlite(sqliteConnect, clock));
    if (kavexSum != sqliteSum) throw new Exception($"the two readers saw different data: {kavexSum} against {sqliteSum}");

    var rows = Insert.Rows(insertRows);
    var (kavexInsert, kavexCount) = Best(clock => Insert.Kavex(kavexConnect, rows, clock));
    var (sqliteInsert, sqliteCount) = Best(clock => Insert.Sqlite(sqliteConnect, rows, clock));
    if (kavexCount != insertRows || sqliteCount != insertRows) throw new Exception("an insert run lost rows");

    Console.WriteLine($"read   {readRows,9:N0} rows x 4 : System.Data.Kavex {kavexRead,7:F3} s   Microsoft.Data.Sqlite {sqliteRead,7:F3} s   " +
                      $"ratio {kavexRead / sqliteRead:F2}x (target <= 1.5x)");
    Console.WriteLine($"insert {insertRows,9:N0} rows x 3 : System.Data.Kavex {kavexInsert,7:F3} s   Microsoft.Data.Sqlite {sqliteInsert,7:F3} s   " +
                      $"ratio {kavexInsert / sqliteInsert:F2}x (target <= 1.2x)");
    // The lines make bench gathers into its summary table.
    Target(".NET read, provider / Microsoft.Data.Sqlite", kavexRead / sqliteRead, 1.5);
    Target(".NET insert, provider / Microsoft.Data.Sqlite", kavexInsert / sqliteInsert, 1.2);
    return 0;
}
finally
{
    SqliteConnection.ClearAllPools();
    foreach (string suffix in new[] { "", "-wal", "-shm" })
        if (File.Exists(path + suffix)) File.Delete(path + suffix);
}

// A ratio next to its target, on a "TARGET |" line as every benchmark of make bench prints one.
static void Target(string figure, double ratio, double target) =>
    Console.WriteLine(FormattableString.Invariant(
        $"TARGET | {figure,-52} | {ratio,9:F2} x    | <= {target} x | {(ratio <= target ? "met" : "MISSED")}"));

static (double Seconds, long Check) Best(Func<Stopwatch, long> run)
{
    long check = run(new Stopwatch());  // warm-up: JIT, page cache
    double best = double.MaxValue;
    for (int i = 0; i < 3; i++)
    {
        var clock = new Stopwatch();
        long again = run(clock);
        best = Math.Min(best, clock.Elapsed.TotalSeconds);
        if (again != check) throw new Exception("runs disagree");
    }
    return (best, check);
}

// The CHECK constraints of the tables the provider creates call functions only the native library
// registers (a VARCHAR2 column's length check), which Microsoft.Data.Sqlite lacks. Every row its
// side writes meets them, so its connections leave them unchecked, as on a table without them.
static class RawChecks
{
    public static void Off(SqliteConnection connection)
    {
        using var pragma = connection.CreateCommand();
        pragma.CommandText = "PRAGMA ignore_check_constraints = ON";
        pragma.ExecuteNonQuery();
    }
}

static class Setup
{
    public static void Create(string kavexConnect, string sqliteConnect, long rows)
    {
        using (var kavex = new KavexConnection(kavexConnect))
        {
            kavex.Open();
            using var create = kavex.CreateCommand();
            create.CommandText = "CREATE TABLE t (a NUMBER(10), b NUMBER(10,2), c VARCHAR2(30), d TIMESTAMP)";
            create.ExecuteNonQuery();
            create.CommandText = "CREATE TABLE u (a NUMBER(10), b VARCHAR2(30), c TIMESTAMP)";
            create.ExecuteNonQuery();
        }
        using var sqlite = new SqliteConnection(sqliteConnect);
        sqlite.Open();
        RawChecks.Off(sqlite);
        using var tx = sqlite.BeginTransaction();
        using var insert = sqlite.CreateCommand();
        insert.CommandText = "INSERT INTO t VALUES ($a, $b, $c, $d)";
        var a = insert.Parameters.Add("$a", SqliteType.Integer);
        var b = insert.Parameters.Add("$b", SqliteType.Real);
        var c = insert.Parameters.Add("$c", SqliteType.Text);
        var d = insert.Parameters.Add("$d", SqliteType.Text);
        insert.Prepare();
        for (long i = 0; i < rows; i++)
        {
            a.Value = i;
            b.Value = i % 100000 / 100.0 + 0.25;
            c.Value = "customer " + i;
            d.Value = $"2024-{i % 12 + 1:D2}-{i % 28 + 1:D2} {i % 24:D2}:{i % 60:D2}:{i / 60 % 60:D2}";
            insert.ExecuteNonQuery();
        }
        tx.Commit();
    }
}

static class Read
{
    private const string Sql = "SELECT a, b, c, d FROM t";

    public static long Kavex(string connect, Stopwatch clock) => Timed(() => new KavexConnection(connect), clock);

    public static long Sqlite(string connect, Stopwatch clock) => Timed(() => new SqliteConnection(connect + ";Mode=ReadOnly"), clock);

    private static long Timed(Func<DbConnection> make, Stopwatch clock)
    {
        clock.Start();
        using var connection = make();
        connection.Open();
        using var command = connection.CreateCommand();
        command.CommandText = Sql;
        using DbDataReader reader = command.ExecuteReader();
        long check = Walk(reader);
        clock.Stop();
        return check;
    }

    private static long Walk(DbDataReader reader)
    {
        long check = 0;
        while (reader.Read())
        {
            long a = reader.GetInt64(0);
            // SQLite hands the REAL back as stored (0.33999999999999997); the NUMBER(10,2) reading is
            // exact (0.34): both round to the same cents.
            long b = (long)Math.Round(reader.GetDecimal(1) * 100);
            long c = reader.GetString(2).Length;
            long d = reader.GetFieldValue<DateTimeOffset>(3).Second;
            check += a + b + c + d;
        }
        return check;
    }
}

static class Insert
{
    public sealed record Data(int[] A, string[] B, DateTime[] C);

    public static Data Rows(int count)
    {
        var a = new int[count];
        var b = new string[count];
        var c = new DateTime[count];
        for (int i = 0; i < count; i++)
        {
            a[i] = i;
            b[i] = "customer " + i;
            c[i] = new DateTime(2024, i % 12 + 1, i % 28 + 1, i % 24, i % 60, i / 60 % 60);
        }
        return new Data(a, b, c);
    }

    private static void Clear(DbConnection connection)
    {
        using var clear = connection.CreateCommand();
        clear.CommandText = "DELETE FROM u";
        clear.ExecuteNonQuery();
    }

    public static long Kavex(string connect, Data rows, Stopwatch clock)
    {
        using var connection = new KavexConnection(connect);
        connection.Open();
        Clear(connection);
        clock.Start();  // from here to the commit
        using var tx = connection.BeginTransaction();
        using var insert = connection.CreateCommand();
        insert.CommandText = "INSERT INTO u VALUES (:a, :b, :c)";
        insert.ArrayBindCount = rows.A.Length;
        insert.Parameters.Add("a", rows.A);
        insert.Parameters.Add("b", rows.B);
        insert.Parameters.Add("c", rows.C);
        long count = insert.ExecuteNonQuery();
        tx.Commit();
        clock.Stop();
        return count;
    }

    public static long Sqlite(string connect, Data rows, Stopwatch clock)
    {
        using var connection = new SqliteConnection(connect);
        connection.Open();
        RawChecks.Off(connection);
        Clear(connection);
        clock.Start();  // from here to the commit
        using var tx = connection.BeginTransaction();
        using var insert = connection.CreateCommand();
        insert.CommandText = "INSERT INTO u VALUES ($a, $b, $c)";
        var a = insert.Parameters.Add("$a", SqliteType.Integer);
        var b = insert.Parameters.Add("$b", SqliteType.Text);
        var c = insert.Parameters.Add("$c", SqliteType.Text);
        insert.Prepare();
        long count = 0;
        for (int i = 0; i < rows.A.Length; i++)
        {
            a.Value = rows.A[i];
            b.Value = rows.B[i];
            c.Value = rows.C[i];
            count += insert.ExecuteNonQuery();
        }
        tx.Commit();
        clock.Stop();
        return count;
    }
}
