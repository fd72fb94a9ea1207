using System.Data.Common;

namespace System.Data.Kavex
{
    public sealed class KavexFactory : DbProviderFactory
    {
        public static readonly KavexFactory Instance = new KavexFactory();

        private KavexFactory() { }

        public override bool CanCreateDataSourceEnumerator => false;
        public override DbCommand CreateCommand() => new KavexCommand();
        public override DbConnection CreateConnection() => new KavexConnection();
        public override DbConnectionStringBuilder CreateConnectionStringBuilder() => new KavexConnectionStringBuilder();
        public override DbParameter CreateParameter() => new KavexParameter();
    }
}
