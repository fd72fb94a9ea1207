using System.Data.Common;
using System.Data.Kavex.Native;
using System.Diagnostics.CodeAnalysis;
using System.Threading;
using System.Threading.Tasks;

namespace System.Data.Kavex
{
    /// <summary>A SQL statement with input parameters. Outside a transaction each execution commits;
    /// inside one (Connection.BeginTransaction) it runs with auto-commit off.</summary>
    public sealed class KavexCommand : DbCommand
    {
        private KavexConnection? connection;
        private string commandText = "";
        private readonly KavexParameterCollection parameters = new KavexParameterCollection();
        private System.Collections.Generic.List<string>? placeholders;
        private KavexDataReader? reader;   // the last reader this command opened

        public KavexCommand() { }

        public KavexCommand(string commandText, KavexConnection? connection = null)
        {
            CommandText = commandText;
            Connection = connection;
        }

        [AllowNull]
        public override string CommandText
        {
            get => commandText;
            set
            {
                RequireNoReader();
                commandText = value ?? "";
                placeholders = null;
            }
        }

        /// <summary>Seconds a statement may run before it is cancelled (ORA-01013); 0 waits without
        /// end. Fetching rows from a reader is not timed.</summary>
        public override int CommandTimeout
        {
            get => commandTimeout;
            set => commandTimeout = value >= 0 ? value : throw new ArgumentException("CommandTimeout must not be negative", nameof(value));
        }
        private int commandTimeout = 30;
        private volatile bool executing;   // Run is inside a library call

        /// <summary>Text, or StoredProcedure: CommandText names a procedure, which runs with the
        /// parameters passed by name (their ParameterName, without ':' or '@'), as
        /// BEGIN name(p => :p, ...); END;</summary>
        public override CommandType CommandType
        {
            get => commandType;
            set
            {
                if (value != CommandType.Text && value != CommandType.StoredProcedure)
                    throw new NotSupportedException("Only CommandType.Text and CommandType.StoredProcedure are supported");
                RequireNoReader();
                commandType = value;
                placeholders = null;
            }
        }
        private CommandType commandType = CommandType.Text;

        /// <summary>The statement the library runs: the text, or the block that calls the procedure.</summary>
        private string StatementText()
        {
            if (commandType != CommandType.StoredProcedure) return commandText;
            var arguments = new System.Text.StringBuilder();
            foreach (var parameter in parameters.Items)
            {
                string name = parameter.ParameterName.TrimStart(':', '@');
                if (name.Length == 0)
                    throw new InvalidOperationException("A stored procedure's parameters need names");
                if (arguments.Length > 0) arguments.Append(", ");
                arguments.Append(name).Append(" => :").Append(name);
            }
            return "BEGIN " + commandText + "(" + arguments + "); END;";
        }

        public override bool DesignTimeVisible { get; set; }
        public override UpdateRowSource UpdatedRowSource { get; set; } = UpdateRowSource.None;

        /// <summary>Rows of array binding: when positive, every parameter's Value is an array (or
        /// list) of at least this many elements, and one execution runs them all.</summary>
        public int ArrayBindCount { get; set; }

        public new KavexConnection? Connection
        {
            get => connection;
            set
            {
                RequireNoReader();
                connection = value;
                placeholders = null;
            }
        }

        protected override DbConnection? DbConnection
        {
            get => connection;
            set => Connection = value == null ? null : value as KavexConnection ?? throw new ArgumentException("Expected a KavexConnection");
        }

        public new KavexParameterCollection Parameters => parameters;
        protected override DbParameterCollection DbParameterCollection => parameters;

        public new KavexTransaction? Transaction { get; set; }

        protected override DbTransaction? DbTransaction
        {
            get => Transaction;
            set => Transaction = value == null ? null : value as KavexTransaction ?? throw new ArgumentException("Expected a KavexTransaction");
        }

        /// <summary>From another thread: the statement this command runs, or the fetch its open
        /// reader makes, fails with a KavexException ORA-01013 (Number 1013) and the connection
        /// stays usable. With nothing running nothing happens; never throws.</summary>
        public override void Cancel()
        {
            var owner = connection;
            if (owner == null || (!executing && (reader == null || reader.IsClosed))) return;
            owner.BreakRunningCall();
        }

        public override Task<int> ExecuteNonQueryAsync(CancellationToken cancellationToken) =>
            CallCanceller.Run(cancellationToken, Cancel, ExecuteNonQuery);

        public override Task<object?> ExecuteScalarAsync(CancellationToken cancellationToken) =>
            CallCanceller.Run(cancellationToken, Cancel, ExecuteScalar);

        protected override Task<DbDataReader> ExecuteDbDataReaderAsync(CommandBehavior behavior,
                                                                       CancellationToken cancellationToken) =>
            CallCanceller.Run(cancellationToken, Cancel, () => ExecuteDbDataReader(behavior));

        protected override DbParameter CreateDbParameter() => new KavexParameter();

        public new KavexParameter CreateParameter() => new KavexParameter();

        /// <summary>Checks the connection and finds the placeholders of the text once; they are kept
        /// until the text or the connection changes.</summary>
        public override void Prepare()
        {
            Ready();
            placeholders = SqlPlaceholders.Find(StatementText());
        }

        /// <summary>The update count of DML; -1 for a query, as for every other statement.</summary>
        public override int ExecuteNonQuery()
        {
            var owner = Ready();
            int result = Run(owner);
            return KavexException.Check(NativeMethods.GetColumnsCount(owner.SessionId)) > 0 ? -1 : result;
        }

        public override object? ExecuteScalar()
        {
            using var reader = ExecuteReader();
            return reader.Read() && reader.FieldCount > 0 ? reader.GetValue(0) : null;
        }

        public new KavexDataReader ExecuteReader() => (KavexDataReader)ExecuteDbDataReader(CommandBehavior.Default);

        public new KavexDataReader ExecuteReader(CommandBehavior behavior) => (KavexDataReader)ExecuteDbDataReader(behavior);

        /// <summary>Under CommandBehavior.KeyInfo the statement runs twice: once to describe its
        /// columns, find their base table and its unique indexes (the session has one statement),
        /// then for the reader.</summary>
        protected override DbDataReader ExecuteDbDataReader(CommandBehavior behavior)
        {
            var owner = Ready();
            int result = Run(owner);
            DataTable? schema = null;
            if ((behavior & CommandBehavior.KeyInfo) != 0)
            {
                using (var probe = new KavexDataReader(owner, result, CommandBehavior.Default)) schema = probe.GetSchemaTable();
                if (schema != null)
                {
                    KeyColumns.Mark(owner, schema, commandText);
                    result = Run(owner);
                }
            }
            reader = new KavexDataReader(owner, result, behavior, schema);
            return reader;
        }

        private void RequireNoReader()
        {
            if (reader != null && !reader.IsClosed)
                throw new InvalidOperationException("The command's DataReader is open; close it before changing the command");
        }

        private KavexConnection Ready()
        {
            var owner = connection ?? throw new InvalidOperationException("The command has no connection");
            owner.RequireFree();
            if (Transaction != null && Transaction.Connection != owner)
                throw new InvalidOperationException("The command's transaction is not the connection's open transaction");
            if (commandText.Length == 0) throw new InvalidOperationException("The command has no text");
            return owner;
        }

        /// <summary>Runs the statement; returns the library's result (0 for a query, else the update
        /// count).</summary>
        private int Run(KavexConnection owner)
        {
            executing = true;
            try
            {
                using var timeout = CallCanceller.After(commandTimeout, owner);
                return RunOnce(owner);
            }
            finally
            {
                executing = false;
            }
        }

        private unsafe int RunOnce(KavexConnection owner)
        {
            int session = owner.SessionId;
            byte autoCommit = owner.Transaction == null ? (byte)1 : (byte)0;
            string text = StatementText();
            using var sql = new Utf8Text(text);
            if (parameters.Count == 0 && ArrayBindCount <= 0)
                return KavexException.Check(NativeMethods.ExecuteQuery(session, sql.Pointer, autoCommit));

            // A procedure's block follows its parameters, so its placeholders are found each time.
            if (commandType == CommandType.StoredProcedure) placeholders = null;
            placeholders ??= SqlPlaceholders.Find(text);
            var matched = ParameterBinder.Match(placeholders, parameters.Items);
            KavexException.Check(NativeMethods.PrepareQuery(session, sql.Pointer, autoCommit));
            var binder = new ParameterBinder(session);
            if (ArrayBindCount > 0) binder.BindArrays(matched, ArrayBindCount);
            else binder.BindSingle(matched);
            int result = KavexException.Check(NativeMethods.Execute(session));
            ReadOutputParameters(owner);
            return result;
        }

        /// <summary>The values a block assigned to its Output and InputOutput parameters, which
        /// the library keeps for the query of TABLE(KAVEX$BIND_VALUES), one bind at a time so
        /// that each keeps its own type.</summary>
        private unsafe void ReadOutputParameters(KavexConnection owner)
        {
            foreach (var parameter in parameters.Items)
            {
                if (parameter.Direction == ParameterDirection.Input) continue;
                string name = parameter.ParameterName.TrimStart(':', '@').ToUpperInvariant();
                using var query = new Utf8Text("SELECT VALUE FROM TABLE(KAVEX$BIND_VALUES) WHERE NAME = '" +
                                               name.Replace("'", "''") + "'");
                int result = KavexException.Check(NativeMethods.ExecuteQuery(owner.SessionId, query.Pointer, 0));
                using var reader = new KavexDataReader(owner, result, CommandBehavior.Default);
                parameter.Value = reader.Read() ? reader.GetValue(0) : DBNull.Value;
            }
        }
    }
}
