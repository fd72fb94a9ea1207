namespace System.Data.Kavex
{
    /// <summary>Which Oracle type code arrives as which .NET type, and the DbType pairs of the
    /// parameter types. The type codes are those GetColumnType reports.</summary>
    internal static class TypeMapping
    {
        /// <summary>How a column's values are read through the flat interface.</summary>
        internal enum Reader { Text, Number, Date, Timestamp, TimestampWithZone, Integer, Float, Double, Bytes, Unsupported }

        internal static Reader ReaderOf(int typeCode) => typeCode switch
        {
            2 => Reader.Number,
            12 => Reader.Date,
            184 or 185 or 186 or 187 or 232 => Reader.Timestamp,
            188 => Reader.TimestampWithZone,
            3 or 68 => Reader.Integer,
            4 or 21 or 100 => Reader.Float,
            22 or 101 => Reader.Double,
            23 or 24 or 95 or 113 => Reader.Bytes,
            1 or 5 or 8 or 11 or 94 or 96 or 97 or 104 or 112 => Reader.Text,
            189 or 190 => Reader.Text,  // intervals, as Oracle displays them: +02-06, +04 05:12:10.222000
            _ => Reader.Unsupported,
        };

        internal static Type FieldType(int typeCode) => ReaderOf(typeCode) switch
        {
            Reader.Number => typeof(decimal),
            Reader.Date or Reader.Timestamp => typeof(DateTime),
            Reader.TimestampWithZone => typeof(DateTimeOffset),
            Reader.Integer => typeof(int),
            Reader.Float => typeof(float),
            Reader.Double => typeof(double),
            Reader.Bytes => typeof(byte[]),
            _ => typeof(string),
        };

        internal static string TypeName(int typeCode) => typeCode switch
        {
            1 => "VARCHAR2",
            2 => "NUMBER",
            3 => "PLS_INTEGER",
            4 => "FLOAT",
            5 => "STRING",
            8 => "LONG",
            11 or 104 => "ROWID",
            12 => "DATE",
            21 => "BINARY_FLOAT",
            22 => "BINARY_DOUBLE",
            23 => "RAW",
            24 => "LONG RAW",
            58 => "XMLTYPE",
            68 => "UNSIGNED INTEGER",
            94 => "LONG VARCHAR",
            95 => "LONG VARRAW",
            96 => "CHAR",
            97 => "CHARZ",
            100 => "BINARY_FLOAT",
            101 => "BINARY_DOUBLE",
            112 => "CLOB",
            113 => "BLOB",
            114 => "BFILE",
            184 => "DATE",
            185 => "TIME",
            186 => "TIME WITH TIME ZONE",
            187 => "TIMESTAMP",
            188 => "TIMESTAMP WITH TIME ZONE",
            189 => "INTERVAL YEAR TO MONTH",
            190 => "INTERVAL DAY TO SECOND",
            232 => "TIMESTAMP WITH LOCAL TIME ZONE",
            _ => "UNKNOWN(" + typeCode + ")",
        };

        internal static KavexDbType FromDbType(DbType type) => type switch
        {
            DbType.AnsiStringFixedLength or DbType.StringFixedLength => KavexDbType.Char,
            DbType.Boolean or DbType.Byte or DbType.SByte or DbType.Int16 or DbType.UInt16 or DbType.Int32 => KavexDbType.PlsInteger,
            DbType.Int64 or DbType.UInt32 or DbType.UInt64 or DbType.Decimal or DbType.Currency or DbType.VarNumeric => KavexDbType.Number,
            DbType.Single => KavexDbType.BinaryFloat,
            DbType.Double => KavexDbType.BinaryDouble,
            DbType.Date => KavexDbType.Date,
            DbType.DateTime or DbType.DateTime2 => KavexDbType.Timestamp,
            DbType.DateTimeOffset => KavexDbType.TimestampWithTimeZone,
            DbType.Binary => KavexDbType.Blob,
            _ => KavexDbType.Varchar2,
        };

        internal static DbType ToDbType(KavexDbType type) => type switch
        {
            KavexDbType.Char => DbType.StringFixedLength,
            KavexDbType.Number => DbType.Decimal,
            KavexDbType.PlsInteger => DbType.Int32,
            KavexDbType.Date => DbType.Date,
            KavexDbType.Raw or KavexDbType.LongRaw or KavexDbType.Blob => DbType.Binary,
            KavexDbType.BinaryFloat => DbType.Single,
            KavexDbType.BinaryDouble => DbType.Double,
            KavexDbType.Timestamp or KavexDbType.TimestampWithLocalTimeZone => DbType.DateTime,
            KavexDbType.TimestampWithTimeZone => DbType.DateTimeOffset,
            _ => DbType.String,
        };

        internal static DbType DbTypeOfValue(object? value) => value switch
        {
            null or DBNull => DbType.String,
            Array and not byte[] => DbType.Object,
            bool => DbType.Boolean,
            byte => DbType.Byte,
            sbyte => DbType.SByte,
            short => DbType.Int16,
            ushort => DbType.UInt16,
            int => DbType.Int32,
            uint => DbType.UInt32,
            long => DbType.Int64,
            ulong => DbType.UInt64,
            decimal => DbType.Decimal,
            float => DbType.Single,
            double => DbType.Double,
            DateTime => DbType.DateTime,
            DateTimeOffset => DbType.DateTimeOffset,
            DateOnly => DbType.Date,
            byte[] or IO.Stream => DbType.Binary,
            Guid => DbType.Guid,
            _ => DbType.String,
        };
    }
}
