using System.Data.Common;

namespace System.Data.Kavex
{
    /// <summary>The provider's DbProviderFactory. Register it once under InvariantName
    /// (DbProviderFactories.RegisterFactory(KavexFactory.InvariantName, KavexFactory.Instance)),
    /// then code that names providers by their invariant name finds it.</summary>
    public sealed class KavexFactory : DbProviderFactory
    {
        /// <summary>The provider's invariant name, as DbProviderFactories knows it.</summary>
        public const string InvariantName = "System.Data.Kavex";

        /// <summary>The one instance; DbProviderFactories.RegisterFactory(name, typeof(KavexFactory))
        /// finds it by this field's name.</summary>
        public static readonly KavexFactory Instance = new KavexFactory();

        private KavexFactory() { }

        /// <summary>Registers the factory under InvariantName (again, if it was).</summary>
        public static void Register() => DbProviderFactories.RegisterFactory(InvariantName, Instance);

        public override bool CanCreateDataSourceEnumerator => false;
        public override bool CanCreateDataAdapter => true;
        public override bool CanCreateCommandBuilder => true;
        public override DbCommand CreateCommand() => new KavexCommand();
        public override DbConnection CreateConnection() => new KavexConnection();
        public override DbConnectionStringBuilder CreateConnectionStringBuilder() => new KavexConnectionStringBuilder();
        public override DbParameter CreateParameter() => new KavexParameter();
        public override DbDataAdapter CreateDataAdapter() => new KavexDataAdapter();
        public override DbCommandBuilder CreateCommandBuilder() => new KavexCommandBuilder();
    }
}
