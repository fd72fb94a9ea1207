using System.Data.Common;

namespace System.Data.Kavex.Tests
{
    /// <summary>DataTables filled through the factory's data adapter and written back through the
    /// statements its command builder generates.</summary>
    public class DataAdapterTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public DataAdapterTests(TestDatabase db)
        {
            this.db = db;
        }

        [Fact]
        public void TheFactorySaysItMakesAdaptersAndBuilders()
        {
            DbProviderFactory factory = KavexFactory.Instance;
            Assert.True(factory.CanCreateDataAdapter);
            Assert.True(factory.CanCreateCommandBuilder);
            Assert.IsType<KavexDataAdapter>(factory.CreateDataAdapter());
            Assert.IsType<KavexCommandBuilder>(factory.CreateCommandBuilder());
        }

        [Fact]
        public void FillThenUpdateInsertsChangesAndDeletesThroughGeneratedStatements()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE pets (id NUMBER(6) PRIMARY KEY, name VARCHAR2(20), born DATE)");
            connection.Run("INSERT INTO pets VALUES (1, 'Rex', DATE '2020-05-17')");
            connection.Run("INSERT INTO pets VALUES (2, 'Tom', NULL)");
            connection.Run("INSERT INTO pets VALUES (3, 'Kit', NULL)");

            var factory = KavexFactory.Instance;
            using var adapter = factory.CreateDataAdapter()!;
            using var select = connection.CreateCommand();
            select.CommandText = "SELECT id, name, born FROM pets ORDER BY id";
            adapter.SelectCommand = select;
            using var builder = factory.CreateCommandBuilder()!;
            builder.DataAdapter = adapter;

            var table = new DataTable();
            Assert.Equal(3, adapter.Fill(table));
            Assert.Equal("Rex", table.Rows[0]["NAME"]);
            Assert.Equal(new DateTime(2020, 5, 17), table.Rows[0]["BORN"]);
            Assert.Equal(DBNull.Value, table.Rows[1]["BORN"]);

            using (var insert = builder.GetInsertCommand())
            {
                Assert.Contains(":p1", insert.CommandText);
                Assert.DoesNotContain("@", insert.CommandText);
            }

            table.Rows[0]["NAME"] = "Rex II";
            table.Rows[1]["BORN"] = new DateTime(2021, 1, 2);
            table.Rows[2].Delete();
            table.Rows.Add(4m, "Bo", DBNull.Value);
            Assert.Equal(4, adapter.Update(table));

            var again = new DataTable();
            adapter.MissingSchemaAction = MissingSchemaAction.AddWithKey;
            adapter.Fill(again);
            Assert.Equal("ID", Assert.Single(again.PrimaryKey).ColumnName);
            Assert.Equal(3, again.Rows.Count);
            Assert.Equal(new object[] { 1m, "Rex II", new DateTime(2020, 5, 17) }, again.Rows[0].ItemArray);
            Assert.Equal(new object[] { 2m, "Tom", new DateTime(2021, 1, 2) }, again.Rows[1].ItemArray);
            Assert.Equal(new object[] { 4m, "Bo", DBNull.Value }, again.Rows[2].ItemArray);
        }

        [Fact]
        public void AnUpdateOfARowChangedMeanwhileIsAConcurrencyViolation()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE stock (code VARCHAR2(8) NOT NULL, qty NUMBER, CONSTRAINT stock_pk PRIMARY KEY (code))");
            connection.Run("INSERT INTO stock VALUES ('A', 5)");
            using var adapter = new KavexDataAdapter("SELECT code, qty FROM stock", connection);
            using var builder = new KavexCommandBuilder(adapter);
            var table = new DataTable();
            adapter.Fill(table);
            connection.Run("UPDATE stock SET qty = 6 WHERE code = 'A'");
            table.Rows[0]["QTY"] = 7m;
            Assert.Throws<DBConcurrencyException>(() => adapter.Update(table));
            Assert.Equal(6m, connection.Scalar("SELECT qty FROM stock"));
        }

        [Fact]
        public void KeyInfoMarksTheUniqueIndexColumnsTheQueryReturns()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE keyed (a NUMBER NOT NULL, b NUMBER NOT NULL, tag VARCHAR2(9) UNIQUE, note VARCHAR2(9), " +
                           "CONSTRAINT keyed_pk PRIMARY KEY (a, b))");
            connection.Run("INSERT INTO keyed VALUES (1, 2, 'x', 'y')");
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT note, b, a, tag FROM keyed";
            using var reader = command.ExecuteReader(CommandBehavior.KeyInfo);
            var schema = reader.GetSchemaTable()!;
            Assert.Equal(new[] { false, true, true, false }, Column(schema, SchemaTableColumn.IsKey));
            Assert.Equal(new[] { false, false, false, true }, Column(schema, SchemaTableColumn.IsUnique));
            Assert.True(reader.Read());
            Assert.Equal("y", reader.GetString(0));
            Assert.False(reader.Read());

            reader.Close();
            command.CommandText = "SELECT note, a FROM keyed";  // half of the key: no key
            using var partial = command.ExecuteReader(CommandBehavior.KeyInfo | CommandBehavior.SchemaOnly);
            Assert.Equal(new[] { false, false }, Column(partial.GetSchemaTable()!, SchemaTableColumn.IsKey));
            Assert.False(partial.Read());
        }

        [Fact]
        public void WithoutAKeyTheBuilderRefusesUpdateButInserts()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE loose (n NUMBER, s VARCHAR2(5))");
            using var adapter = new KavexDataAdapter("SELECT n, s FROM loose", connection);
            using var builder = new KavexCommandBuilder(adapter);
            Assert.Throws<InvalidOperationException>(() => builder.GetUpdateCommand());
            var table = new DataTable();
            adapter.Fill(table);
            table.Rows.Add(1m, "one");
            Assert.Equal(1, adapter.Update(table));
            Assert.Equal("one", connection.Scalar("SELECT s FROM loose WHERE n = 1"));
        }

        [Fact]
        public void TheBuilderWritesToTheQuerysOneTableOnly()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE \"Mixed Case\" (id NUMBER PRIMARY KEY, label VARCHAR2(9))");
            connection.Run("INSERT INTO \"Mixed Case\" VALUES (1, 'a')");
            using var adapter = new KavexDataAdapter(
                "SELECT m.id, m.label, UPPER(m.label) AS shout FROM \"Mixed Case\" m /* one table */ WHERE m.id > :low ORDER BY m.id",
                connection);
            adapter.SelectCommand!.Parameters.Add("low", -1m);
            using var builder = new KavexCommandBuilder(adapter);
            string insert = builder.GetInsertCommand().CommandText;
            Assert.Contains("\"Mixed Case\"", insert);
            Assert.DoesNotContain("SHOUT", insert);
            var table = new DataTable();
            adapter.Fill(table);
            table.Rows[0]["LABEL"] = "b";
            Assert.Equal(1, adapter.Update(table));
            Assert.Equal("b", connection.Scalar("SELECT label FROM \"Mixed Case\""));

            foreach (string sql in new[]
                     {
                         "SELECT a.id, b.label FROM \"Mixed Case\" a JOIN \"Mixed Case\" b ON a.id = b.id",
                         "SELECT id FROM \"Mixed Case\", dual",
                         "SELECT id FROM (SELECT id FROM \"Mixed Case\")",
                         "SELECT id FROM \"Mixed Case\" UNION SELECT id FROM \"Mixed Case\"",
                     })
            {
                using var joined = new KavexDataAdapter(sql, connection);
                using var refusing = new KavexCommandBuilder(joined);
                Assert.Throws<InvalidOperationException>(() => refusing.GetInsertCommand());
            }
        }

        private static bool[] Column(DataTable schema, string name)
        {
            var values = new bool[schema.Rows.Count];
            for (int i = 0; i < values.Length; i++) values[i] = (bool)schema.Rows[i][name];
            return values;
        }
    }
}
