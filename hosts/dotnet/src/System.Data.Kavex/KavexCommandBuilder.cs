using System.Data.Common;

namespace System.Data.Kavex
{
    /// <summary>Generates a KavexDataAdapter's INSERT, UPDATE and DELETE from its single-table
    /// select command, with :p1, :p2, ... placeholders. UPDATE and DELETE find their row by the
    /// table's key: the columns of a unique index that the select returns (KeyInfo of the reader).
    /// Identifiers are written in double quotes, exactly as the database reports them.</summary>
    public sealed class KavexCommandBuilder : DbCommandBuilder
    {
        public KavexCommandBuilder()
        {
            QuotePrefix = "\"";
            QuoteSuffix = "\"";
        }

        public KavexCommandBuilder(KavexDataAdapter adapter) : this()
        {
            DataAdapter = adapter;
        }

        public new KavexDataAdapter? DataAdapter
        {
            get => (KavexDataAdapter?)base.DataAdapter;
            set => base.DataAdapter = value;
        }

        public new KavexCommand GetInsertCommand() => (KavexCommand)base.GetInsertCommand();
        public new KavexCommand GetInsertCommand(bool useColumnsForParameterNames) => (KavexCommand)base.GetInsertCommand(useColumnsForParameterNames);
        public new KavexCommand GetUpdateCommand() => (KavexCommand)base.GetUpdateCommand();
        public new KavexCommand GetUpdateCommand(bool useColumnsForParameterNames) => (KavexCommand)base.GetUpdateCommand(useColumnsForParameterNames);
        public new KavexCommand GetDeleteCommand() => (KavexCommand)base.GetDeleteCommand();
        public new KavexCommand GetDeleteCommand(bool useColumnsForParameterNames) => (KavexCommand)base.GetDeleteCommand(useColumnsForParameterNames);

        /// <summary>Leaves a generated parameter untyped: each row's value chooses its binding, as
        /// for a parameter added by hand, and a NULL converts to any column's type.</summary>
        protected override void ApplyParameterInfo(DbParameter parameter, DataRow row, StatementType statementType, bool whereClause) { }

        protected override string GetParameterName(int parameterOrdinal) => "p" + parameterOrdinal.ToString(Globalization.CultureInfo.InvariantCulture);

        protected override string GetParameterName(string parameterName) => parameterName;

        protected override string GetParameterPlaceholder(int parameterOrdinal) => ":" + GetParameterName(parameterOrdinal);

        public override string QuoteIdentifier(string unquotedIdentifier)
        {
            ArgumentNullException.ThrowIfNull(unquotedIdentifier);
            return "\"" + unquotedIdentifier.Replace("\"", "\"\"", StringComparison.Ordinal) + "\"";
        }

        public override string UnquoteIdentifier(string quotedIdentifier)
        {
            ArgumentNullException.ThrowIfNull(quotedIdentifier);
            if (quotedIdentifier.Length >= 2 && quotedIdentifier[0] == '"' && quotedIdentifier[^1] == '"')
                return quotedIdentifier[1..^1].Replace("\"\"", "\"", StringComparison.Ordinal);
            return quotedIdentifier;
        }

        protected override void SetRowUpdatingHandler(DbDataAdapter adapter)
        {
            var kavex = adapter as KavexDataAdapter ?? throw new ArgumentException("Expected a KavexDataAdapter", nameof(adapter));
            if (adapter == base.DataAdapter) kavex.RowUpdating -= OnRowUpdating;
            else kavex.RowUpdating += OnRowUpdating;
        }

        private void OnRowUpdating(object? sender, RowUpdatingEventArgs e) => RowUpdatingHandler(e);
    }
}
