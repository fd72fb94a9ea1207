namespace System.Data.Kavex
{
    /// <summary>Oracle types a parameter can be declared with; the values are Oracle's type codes,
    /// the same codes GetColumnType reports.</summary>
    public enum KavexDbType
    {
        Varchar2 = 1,
        Number = 2,
        PlsInteger = 3,
        Long = 8,
        Date = 12,
        Raw = 23,
        LongRaw = 24,
        Char = 96,
        BinaryFloat = 100,
        BinaryDouble = 101,
        Clob = 112,
        Blob = 113,
        Timestamp = 187,
        TimestampWithTimeZone = 188,
        TimestampWithLocalTimeZone = 232,
    }
}
