using System.Data.Common;
using System.Data.Kavex.Native;
using System.Diagnostics.CodeAnalysis;

namespace System.Data.Kavex
{
    /// <summary>One library session. Like every ADO.NET connection it serves one thread at a time;
    /// different connections run in parallel.</summary>
    public sealed class KavexConnection : DbConnection
    {
        private string connectionString = "";
        private int sessionId;
        private ConnectionState state = ConnectionState.Closed;

        public KavexConnection() { }

        public KavexConnection(string connectionString)
        {
            ConnectionString = connectionString;
        }

        [AllowNull]
        public override string ConnectionString
        {
            get => connectionString;
            set
            {
                if (state != ConnectionState.Closed)
                    throw new InvalidOperationException("The connection string cannot change while the connection is open");
                string text = value ?? "";
                _ = new KavexConnectionStringBuilder(text);  // refuses an unknown keyword now rather than at Open
                connectionString = text;
            }
        }

        public override string Database => new KavexConnectionStringBuilder(connectionString).UserId.ToUpperInvariant();
        public override string DataSource => new KavexConnectionStringBuilder(connectionString).DataSource;
        public override string ServerVersion
        {
            get
            {
                RequireOpen();
                return "19.0";
            }
        }
        public override ConnectionState State => state;

        protected override DbProviderFactory DbProviderFactory => KavexFactory.Instance;

        /// <summary>The library's session id while open (11 and up), 0 when closed.</summary>
        public int SessionId => sessionId;

        /// <summary>From any thread: the library call running on the session fails with ORA-01013;
        /// with none running, or the connection closed, nothing happens.</summary>
        internal void BreakRunningCall()
        {
            int id = sessionId;
            if (id != 0) NativeMethods.SetIntSessionProperty(id, NativeMethods.CancelProperty, 1);
        }

        internal KavexTransaction? Transaction { get; set; }
        internal KavexDataReader? ActiveReader { get; set; }

        /// <summary>Set while Close runs, so that a reader it closes does not close it again.</summary>
        internal bool Closing { get; private set; }

        public override void Open()
        {
            if (state == ConnectionState.Open) throw new InvalidOperationException("The connection is already open");
            if (connectionString.Length == 0) throw new InvalidOperationException("The connection string is empty");
            var settings = new KavexConnectionStringBuilder(connectionString);
            settings.Validate();
            int maxColumnSize = settings.MaxColumnSize;
            int id;
            unsafe
            {
                using var source = new Utf8Text(settings.DataSource);
                using var user = new Utf8Text(settings.UserId);
                using var password = new Utf8Text(settings.Password);
                id = NativeMethods.OpenConnection(source.Pointer, user.Pointer, password.Pointer);
            }
            if (id < 0) throw KavexException.FromErrorId(id);
            int set = NativeMethods.SetIntSessionProperty(id, NativeMethods.MaxColumnSizeProperty, maxColumnSize);
            if (set < 0)
            {
                var failure = KavexException.FromErrorId(set);
                NativeMethods.CloseConnection(id);
                throw failure;
            }
            sessionId = id;
            state = ConnectionState.Open;
            OnStateChange(new StateChangeEventArgs(ConnectionState.Closed, ConnectionState.Open));
        }

        /// <summary>Rolls back a transaction still open (the library itself would commit it on
        /// close), then ends the session.</summary>
        public override void Close()
        {
            if (state == ConnectionState.Closed || Closing) return;
            Closing = true;
            try
            {
                ActiveReader?.Close();
                Transaction?.Rollback();
            }
            finally
            {
                Closing = false;
                Transaction = null;
                NativeMethods.CloseConnection(sessionId);
                sessionId = 0;
                state = ConnectionState.Closed;
                OnStateChange(new StateChangeEventArgs(ConnectionState.Open, ConnectionState.Closed));
            }
        }

        /// <summary>Kept for code written against pooling providers. Sessions are not pooled (Close
        /// always ends the library session), so there is nothing to clear.</summary>
        public static void ClearPool(KavexConnection connection)
        {
            ArgumentNullException.ThrowIfNull(connection);
        }

        /// <summary>Kept for code written against pooling providers; see ClearPool.</summary>
        public static void ClearAllPools() { }

        protected override void Dispose(bool disposing)
        {
            if (disposing) Close();
            base.Dispose(disposing);
        }

        public override void ChangeDatabase(string databaseName)
        {
            throw new NotSupportedException("A session's schema is its user; open another connection to change it");
        }

        public new KavexTransaction BeginTransaction() => (KavexTransaction)BeginDbTransaction(IsolationLevel.Unspecified);

        public new KavexTransaction BeginTransaction(IsolationLevel isolationLevel) => (KavexTransaction)BeginDbTransaction(isolationLevel);

        protected override DbTransaction BeginDbTransaction(IsolationLevel isolationLevel)
        {
            RequireOpen();
            if (isolationLevel is not (IsolationLevel.Unspecified or IsolationLevel.ReadCommitted or IsolationLevel.Serializable))
                throw new ArgumentException("Isolation level " + isolationLevel + " is not supported; use ReadCommitted or Serializable");
            if (Transaction != null) throw new InvalidOperationException("The connection already has a transaction; nested transactions are not supported");
            Transaction = new KavexTransaction(this, isolationLevel == IsolationLevel.Unspecified ? IsolationLevel.ReadCommitted : isolationLevel);
            return Transaction;
        }

        public new KavexCommand CreateCommand() => new KavexCommand { Connection = this };

        protected override DbCommand CreateDbCommand() => CreateCommand();

        /// <summary>Throws unless the connection is open and free for a new statement: the session has
        /// one statement, so an open reader must be closed first.</summary>
        internal void RequireFree()
        {
            RequireOpen();
            if (ActiveReader != null)
                throw new InvalidOperationException("The connection has an open DataReader; close it before running another command");
        }

        internal void RequireOpen()
        {
            if (state != ConnectionState.Open) throw new InvalidOperationException("The connection is not open");
        }

        /// <summary>Runs SQL of the connection's own (COMMIT, ROLLBACK).</summary>
        internal void ExecuteInternal(string sql)
        {
            unsafe
            {
                using var text = new Utf8Text(sql);
                KavexException.Check(NativeMethods.ExecuteQuery(sessionId, text.Pointer, 0));
            }
        }
    }
}
