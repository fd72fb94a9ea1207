using System.Data.Common;

namespace System.Data.Kavex.Tests
{
    /// <summary>The parameter collection's handling of null and of foreign objects, a parameter's
    /// defaults, and values no Oracle type can carry.</summary>
    public class ParameterTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public ParameterTests(TestDatabase db) => this.db = db;

        [Fact]
        public void TheCollectionRefusesNullAndFindsNothingForIt()
        {
            DbParameterCollection parameters = new KavexCommand().Parameters;
            var kept = new KavexParameter("a", 1);
            parameters.Add(kept);
            Assert.Throws<ArgumentNullException>(() => parameters.Add(null!));
            Assert.Throws<ArgumentNullException>(() => parameters.Insert(0, null!));
            Assert.Throws<ArgumentNullException>(() => parameters.Remove(null!));
            Assert.Throws<ArgumentNullException>(() => parameters.AddRange(new object?[] { new KavexParameter("b", 2), null }));
            Assert.Throws<ArgumentNullException>(() => parameters[0] = null!);
            Assert.Equal(1, parameters.Count);  // AddRange added nothing
            Assert.False(parameters.Contains((object)null!));
            Assert.False(parameters.Contains((string)null!));
            Assert.Equal(-1, parameters.IndexOf((object)null!));
            Assert.Equal(-1, parameters.IndexOf((string)null!));
            Assert.Throws<InvalidCastException>(() => parameters.Add("not a parameter"));
            Assert.Same(kept, parameters[0]);
        }

        [Fact]
        public void AParameterStartsWithTheDefaultsOfEveryProvider()
        {
            var parameter = new KavexParameter();
            Assert.Equal(DataRowVersion.Current, parameter.SourceVersion);
            Assert.Equal("", parameter.SourceColumn);
            parameter.SourceColumn = null;
            Assert.Equal("", parameter.SourceColumn);
            Assert.Equal(ParameterDirection.Input, parameter.Direction);
        }

        [Fact]
        public void AddOfTheLiteralZeroAddsTheValueZeroNotANullOfNoType()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT NVL(TO_CHAR(:x), 'null') FROM dual";
            // C# picks Add(string, KavexDbType) for a literal 0; no type has the number 0.
            var parameter = command.Parameters.Add("x", 0);
            Assert.Equal(0, parameter.Value);
            Assert.Equal("0", command.ExecuteScalar());
            Assert.Equal(0, new KavexParameter("y", 0).Value);
            // A type given as a number that names none is refused.
            Assert.Throws<ArgumentOutOfRangeException>(() => new KavexParameter().KavexDbType = (KavexDbType)7);
            Assert.Throws<ArgumentOutOfRangeException>(() => command.Parameters.Add("z", (KavexDbType)7, 1));
            Assert.Single(command.Parameters);
        }

        [Fact]
        public void AValueWithoutAnOracleTypeIsRefusedByName()
        {
            using var connection = db.Open();
            using var command = connection.CreateCommand();
            command.CommandText = "SELECT :odd FROM dual";
            command.Parameters.Add("odd", new object());
            var error = Assert.Throws<ArgumentException>(() => command.ExecuteScalar());
            Assert.Contains("odd", error.Message);
            command.Parameters[0].Value = Guid.Empty;  // a GUID binds as its text
            Assert.Equal(Guid.Empty.ToString(), command.ExecuteScalar());
        }
    }
}
