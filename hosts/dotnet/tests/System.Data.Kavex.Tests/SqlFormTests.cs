namespace System.Data.Kavex.Tests
{
    /// <summary>Oracle's lexical forms in a command's text: a :name inside a text literal of any
    /// form, a quoted identifier, a comment or a hint is text, not a placeholder, so the one
    /// parameter :v binds and nothing asks for :hidden.</summary>
    public class SqlFormTests : IClassFixture<TestDatabase>
    {
        private readonly TestDatabase db;

        public SqlFormTests(TestDatabase db)
        {
            this.db = db;
        }

        [Theory]
        [InlineData("SELECT q'[it's :hidden]' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT Q'{it's :hidden}' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT q'(it's :hidden)' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT q'<it's :hidden>' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT q'!it's :hidden!' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT q'#it's :hidden#' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT q'[a]b :hidden]' || :v FROM dual", "a]b :hiddenV")]
        [InlineData("SELECT q'[-- /* :hidden]' || :v FROM dual", "-- /* :hiddenV")]
        [InlineData("SELECT N'it''s :hidden' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT nq'[it's :hidden]' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT NQ'{it's :hidden}' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT Nq'!it's :hidden!' || :v FROM dual", "it's :hiddenV")]
        [InlineData("SELECT ':hidden' || :v FROM dual", ":hiddenV")]
        [InlineData("SELECT :v AS \"it's :hidden\" FROM dual", "V")]
        [InlineData("SELECT /* it's :hidden */ :v FROM dual", "V")]
        [InlineData("SELECT :v -- it's :hidden\n FROM dual", "V")]
        [InlineData("SELECT /*+ FULL(d) :hidden */ :v FROM dual d", "V")]
        [InlineData("SELECT --+ FIRST_ROWS :hidden\n :v FROM dual", "V")]
        [InlineData("SELECT /* q'[ */ :v || ']' FROM dual", "V]")]
        public void ANameInsideAQuoteOrCommentIsNoPlaceholder(string sql, string expected)
        {
            using var connection = db.Open();
            Assert.Equal(expected, connection.Scalar(sql, ("v", "V")));
        }
    }
}
