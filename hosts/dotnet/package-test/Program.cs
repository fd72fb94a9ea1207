// A first program against the System.Data.Kavex package: no environment variables, no paths to the
// native library; the package's runtimes/linux-x64/native/ folder is all it needs.
using System;
using System.Data.Kavex;

string path = args.Length > 0 ? args[0] : "check.db";
using var connection = new KavexConnection($"Data Source=file:{path}?mode=rwc;User Id=scott;Password=tiger");
connection.Open();
using (var create = connection.CreateCommand())
{
    create.CommandText = "CREATE TABLE greetings (id NUMBER(10), text VARCHAR2(40))";
    create.ExecuteNonQuery();
}
using (var insert = connection.CreateCommand())
{
    insert.CommandText = "INSERT INTO greetings VALUES (:id, :text)";
    insert.Parameters.Add("id", 1);
    insert.Parameters.Add("text", "hello from the package, ünïcödé");
    insert.ExecuteNonQuery();
}
using var select = connection.CreateCommand();
select.CommandText = "SELECT id, text FROM greetings";
using var reader = select.ExecuteReader();
if (!reader.Read() || reader.GetInt32(0) != 1 || reader.GetString(1) != "hello from the package, ünïcödé")
{
    Console.WriteLine("FAIL: the query through the package returned something else");
    return 1;
}
Console.WriteLine($"package check passed: {reader.GetString(1)}");
return 0;
