using System.Collections.Generic;

namespace System.Data.Kavex
{
    /// <summary>The distinct :name placeholders of a SQL text in order of first appearance, skipping
    /// quoted literals ('...', q'[...]'), quoted identifiers and comments. Position n (1-based) of
    /// the list is the library's parameter index n.</summary>
    internal static class SqlPlaceholders
    {
        public static List<string> Find(string sql)
        {
            var names = new List<string>();
            int i = 0;
            while (i < sql.Length)
            {
                char c = sql[i];
                if ((c == 'q' || c == 'Q') && i + 2 < sql.Length && sql[i + 1] == '\'' && !IsNamePart(Previous(sql, i)))
                {
                    i = SkipAlternativeQuote(sql, i + 2);
                }
                else if (c == '\'' || c == '"')
                {
                    int end = sql.IndexOf(c, i + 1);
                    i = end < 0 ? sql.Length : end + 1;  // a doubled quote is two adjacent literals here
                }
                else if (c == '-' && i + 1 < sql.Length && sql[i + 1] == '-')
                {
                    int end = sql.IndexOf('\n', i);
                    i = end < 0 ? sql.Length : end + 1;
                }
                else if (c == '/' && i + 1 < sql.Length && sql[i + 1] == '*')
                {
                    int end = sql.IndexOf("*/", i + 2, StringComparison.Ordinal);
                    i = end < 0 ? sql.Length : end + 2;
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

        private static char Previous(string sql, int i) => i > 0 ? sql[i - 1] : ' ';

        private static bool IsNamePart(char c) => char.IsLetterOrDigit(c) || c == '_' || c == '$' || c == '#';

        /// <summary>Oracle's q'Xtext X' literal: the delimiter pairs ([ ], { }, ( ), &lt; &gt;) or repeats.</summary>
        private static int SkipAlternativeQuote(string sql, int delimiterAt)
        {
            char open = sql[delimiterAt];
            char close = open switch { '[' => ']', '{' => '}', '(' => ')', '<' => '>', _ => open };
            int end = sql.IndexOf(close + "'", delimiterAt + 1, StringComparison.Ordinal);
            return end < 0 ? sql.Length : end + 2;
        }
    }
}
