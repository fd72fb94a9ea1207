using System.Data.Common;

namespace System.Data.Kavex
{
    /// <summary>Commands of the connection run with auto-commit off until Commit or Rollback.
    /// Disposing an unfinished transaction rolls it back.</summary>
    public sealed class KavexTransaction : DbTransaction
    {
        private KavexConnection? connection;
        private readonly IsolationLevel isolationLevel;
        private bool disposed;

        internal KavexTransaction(KavexConnection connection, IsolationLevel isolationLevel)
        {
            this.connection = connection;
            this.isolationLevel = isolationLevel;
        }

        public new KavexConnection? Connection => connection;
        protected override DbConnection? DbConnection => connection;
        public override IsolationLevel IsolationLevel => isolationLevel;

        public override void Commit() => Finish("COMMIT");

        public override void Rollback() => Finish("ROLLBACK");

        private void Finish(string sql)
        {
            ObjectDisposedException.ThrowIf(disposed, this);
            var owner = connection ?? throw new InvalidOperationException("The transaction has already been committed or rolled back");
            owner.RequireFree();
            connection = null;
            owner.Transaction = null;
            owner.ExecuteInternal(sql);
        }

        protected override void Dispose(bool disposing)
        {
            if (disposing && connection != null && connection.State == ConnectionState.Open)
            {
                connection.ActiveReader?.Close();
                Rollback();
            }
            connection = null;
            disposed = true;
            base.Dispose(disposing);
        }
    }
}
