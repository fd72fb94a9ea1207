using System.Data.Common;
using System.Diagnostics.CodeAnalysis;
using System.IO;

namespace System.Data.Kavex
{
    /// <summary>An input parameter, bound by name (:name in the SQL text) or, when unnamed, by
    /// position. Under array binding (KavexCommand.ArrayBindCount) Value is an array with one element
    /// per row.</summary>
    public sealed class KavexParameter : DbParameter
    {
        private string name = "";
        private string sourceColumn = "";
        private KavexDbType? kavexDbType;
        private DbType? dbType;

        public KavexParameter() { }

        public KavexParameter(string name, object? value)
        {
            ParameterName = name;
            Value = value;
        }

        /// <summary>A parameter of the type. C# takes the literal 0 of <c>new
        /// KavexParameter("x", 0)</c> and <c>Parameters.Add("x", 0)</c> as a KavexDbType, though
        /// no type has the number 0: that call makes the parameter of the value 0, as it was
        /// meant.</summary>
        public KavexParameter(string name, KavexDbType type, object? value = null)
        {
            ParameterName = name;
            if (type == 0 && value == null)
            {
                Value = 0;
                return;
            }
            KavexDbType = type;
            Value = value;
        }

        /// <summary>The Oracle type; when not set, taken from DbType or from the value. A number
        /// that names none of KavexDbType's members is an ArgumentOutOfRangeException.</summary>
        public KavexDbType KavexDbType
        {
            get => kavexDbType ?? TypeMapping.FromDbType(DbType);
            set
            {
                if (!Enum.IsDefined(typeof(KavexDbType), value))
                    throw new ArgumentOutOfRangeException(nameof(value), value,
                        $"{(int)value} is the number of no KavexDbType");
                kavexDbType = value;
                dbType = TypeMapping.ToDbType(value);
            }
        }

        public override DbType DbType
        {
            get => dbType ?? TypeMapping.DbTypeOfValue(Value);
            set
            {
                dbType = value;
                kavexDbType = null;
            }
        }

        internal bool HasExplicitType => kavexDbType != null || dbType != null;
        internal KavexDbType? ExplicitKavexDbType => kavexDbType;

        /// <summary>Input, or Output and InputOutput for a PL/SQL block's or a stored procedure's
        /// OUT and IN OUT parameters: after the command runs, Value holds what the block assigned.</summary>
        public override ParameterDirection Direction
        {
            get => direction;
            set
            {
                if (value != ParameterDirection.Input && value != ParameterDirection.Output &&
                    value != ParameterDirection.InputOutput)
                    throw new NotSupportedException("Only input, output and input-output parameters are supported");
                direction = value;
            }
        }
        private ParameterDirection direction = ParameterDirection.Input;

        public override bool IsNullable { get; set; }

        [AllowNull]
        public override string ParameterName
        {
            get => name;
            set => name = value ?? "";
        }

        public override int Size { get; set; }

        [AllowNull]
        public override string SourceColumn
        {
            get => sourceColumn;
            set => sourceColumn = value ?? "";
        }

        public override DataRowVersion SourceVersion { get; set; } = DataRowVersion.Current;

        public override bool SourceColumnNullMapping { get; set; }

        public override object? Value { get; set; }

        public override void ResetDbType()
        {
            dbType = null;
            kavexDbType = null;
        }

        /// <summary>The name as written after the colon in the SQL text.</summary>
        internal string BareName => name.Length > 0 && (name[0] == ':' || name[0] == '@') ? name.Substring(1) : name;

        /// <summary>A value streamed into a temporary LOB rather than bound directly.</summary>
        internal static bool IsLobValue(object? value, KavexDbType type) =>
            value is Stream || value is byte[] || type == KavexDbType.Clob || type == KavexDbType.Blob;
    }
}
