using System.Data.Common;
using System.Data.Kavex.Native;
using System.Globalization;

namespace System.Data.Kavex
{
    /// <summary>A failed library call: the library's message and, when the message carries one, the
    /// Oracle error number (ORA-NNNNN gives Number NNNNN; 0 when there is none).</summary>
    public sealed class KavexException : DbException
    {
        /// <summary>The Oracle error number, 0 for the library's own messages.</summary>
        public int Number { get; }

        /// <summary>The library's error id (negative) the message was fetched with.</summary>
        public int ErrorId { get; }

        public override int ErrorCode => Number;

        public override string? SqlState => null;

        public KavexException(string message, int number = 0, int errorId = 0) : base(message)
        {
            Number = number;
            ErrorId = errorId;
        }

        /// <summary>The message stored under a negative result of a library call, as the library wrote
        /// it: the library never puts a password into a message, so none is rewritten here.</summary>
        internal static KavexException FromErrorId(int errorId)
        {
            string text;
            unsafe { text = Utf8Text.Read(NativeMethods.GetError(errorId)) ?? "Unknown error"; }
            return new KavexException(text, OracleNumber(text), errorId);
        }

        /// <summary>The number of the first ORA-NNNNN in a message, or 0.</summary>
        internal static int OracleNumber(string text)
        {
            int at = text.IndexOf("ORA-", StringComparison.Ordinal);
            if (at < 0) return 0;
            int end = at + 4;
            while (end < text.Length && char.IsAsciiDigit(text[end])) end++;
            return end > at + 4 && int.TryParse(text.AsSpan(at + 4, end - at - 4), NumberStyles.None,
                                                CultureInfo.InvariantCulture, out int number)
                ? number : 0;
        }

        /// <summary>Passes a non-negative result through; throws for an error id.</summary>
        internal static int Check(int result)
        {
            if (result < 0) throw FromErrorId(result);
            return result;
        }
    }
}
