using System.Collections.Generic;

namespace System.Data.Kavex
{
    /// <summary>The distinct :name placeholders of a SQL text in order of first appearance, skipping
    /// text literals ('...', N'...', q'[...]', nq'[...]'), quoted identifiers and comments (hints
    /// among them). Position n (1-based) of the list is the library's parameter index n.</summary>
    internal static class SqlPlaceholders
    {
        public static List<string> Find(string sql)
        {
            var names = new List<string>();
            int i = 0;
            while (i < sql.Length)
            {
                char c = sql[i];
                if (!IsNamePart(Previous(sql, i)) && QQuoteAt(sql, i) is int delimiterAt)
                {
                    i = SkipAlternativeQuote(sql, delimiterAt);
                }
                else if (c == '\'' || c == '"')
                {
                    int end = sql.IndexOf(c, i + 1);
                    i = end < 0 ? sql.Length : end + 1;  // a doubled quote is two adjacent literals here
                }
                else if (SkipComment(sql, ref i))
                {
                }
                else if (c == ':' && i + 1 < sql.Length && IsNamePart(sql[i + 1]))
                {
                    int start = i + 1;
                    i = start;
                    while (i < sql.Length && IsNamePart(sql[i])) i++;
                    string name = sql.Substring(start, i - start);
                    if (!names.Exists(n => string.Equals(n, name, StringComparison.OrdinalIgnoreCase))) names.Add(name);
                }
                else
                {
                    i++;
                }
            }
            return names;
        }

        internal static char Previous(string sql, int i) => i > 0 ? sql[i - 1] : ' ';

        /// <summary>When a comment (-- to the end of the line, /* ... */) starts at i, moves i past
        /// it and returns true.</summary>
        public static bool SkipComment(string sql, ref int i)
        {
            if (i + 1 >= sql.Length) return false;
            if (sql[i] == '-' && sql[i + 1] == '-')
            {
                int end = sql.IndexOf('\n', i);
                i = end < 0 ? sql.Length : end + 1;
                return true;
            }
            if (sql[i] == '/' && sql[i + 1] == '*')
            {
                int end = sql.IndexOf("*/", i + 2, StringComparison.Ordinal);
                i = end < 0 ? sql.Length : end + 2;
                return true;
            }
            return false;
        }

        internal static bool IsNamePart(char c) => char.IsLetterOrDigit(c) || c == '_' || c == '$' || c == '#';

        /// <summary>Where q'X or nq'X (any case) at i opens Oracle's q-quoted literal, the index of
        /// its delimiter X; null when none opens there. X is any character but a space, a tab or a
        /// line break.</summary>
        internal static int? QQuoteAt(string sql, int i)
        {
            int q = sql[i] == 'n' || sql[i] == 'N' ? i + 1 : i;
            if (q + 2 >= sql.Length || (sql[q] != 'q' && sql[q] != 'Q') || sql[q + 1] != '\'') return null;
            char delimiter = sql[q + 2];
            return delimiter is ' ' or '\t' or '\r' or '\n' ? null : q + 2;
        }

        /// <summary>Past a q-quoted literal whose delimiter starts at delimiterAt: [ { ( &lt; close
        /// with their partner, any other character (a surrogate pair too) with itself.</summary>
        internal static int SkipAlternativeQuote(string sql, int delimiterAt)
        {
            int length = char.IsHighSurrogate(sql[delimiterAt]) && delimiterAt + 1 < sql.Length ? 2 : 1;
            string open = sql.Substring(delimiterAt, length);
            string close = open switch { "[" => "]", "{" => "}", "(" => ")", "<" => ">", _ => open };
            int end = sql.IndexOf(close + "'", delimiterAt + length, StringComparison.Ordinal);
            return end < 0 ? sql.Length : end + close.Length + 1;
        }
    }
}
