using System.IO;
using System.Text;

namespace System.Data.Kavex.Tests
{
    /// <summary>Characters outside the Basic Multilingual Plane (four UTF-8 bytes) must survive every
    /// way in and out, next to two-byte Latin-1 accents and three-byte CJK.</summary>
    public class SupplementaryCharacterTests : IClassFixture<TestDatabase>
    {
        private const string Text = "café naïve 日本語 😀";
        private readonly TestDatabase db;

        public SupplementaryCharacterTests(TestDatabase db)
        {
            this.db = db;
        }

        [Fact]
        public void SupplementaryCharactersRoundTripThroughParametersArraysAndClobStreams()
        {
            using var connection = db.Open();
            connection.Run("CREATE TABLE astral (way VARCHAR2(10), v VARCHAR2(100), doc CLOB)");

            connection.Run("INSERT INTO astral (way, v) VALUES ('param', :v)", ("v", Text));
            using (var batch = connection.CreateCommand())
            {
                batch.CommandText = "INSERT INTO astral (way, v) VALUES (:w, :v)";
                batch.ArrayBindCount = 2;
                batch.Parameters.Add("w", new[] { "array", "array" });
                batch.Parameters.Add("v", new[] { Text, Text + Text });
                Assert.Equal(2, batch.ExecuteNonQuery());
            }
            using (var lob = connection.CreateCommand())
            {
                // One-byte chunks would be too slow for the real size; the stream is sent in 1 MiB
                // chunks, so the text is long enough for the emoji to straddle a chunk boundary.
                string big = new string('a', (1 << 20) - 2) + Text;
                lob.CommandText = "INSERT INTO astral (way, doc) VALUES ('clob', :d)";
                lob.Parameters.Add("d", KavexDbType.Clob, new MemoryStream(Encoding.UTF8.GetBytes(big)));
                Assert.Equal(1, lob.ExecuteNonQuery());
                Assert.True(big == (string?)connection.Scalar("SELECT doc FROM astral WHERE way = 'clob'"), "the CLOB ends with the text unchanged");
            }

            Assert.Equal(Text, connection.Scalar("SELECT v FROM astral WHERE way = 'param'"));
            Assert.Equal(Text, connection.Scalar("SELECT MIN(v) FROM astral WHERE way = 'array'"));
            Assert.Equal(Text + Text, connection.Scalar("SELECT MAX(v) FROM astral WHERE way = 'array'"));
            Assert.Equal(Text, connection.Scalar("SELECT :t FROM dual", ("t", Text)));
        }
    }
}
