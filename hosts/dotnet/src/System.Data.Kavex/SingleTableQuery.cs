using System.Collections.Generic;

namespace System.Data.Kavex
{
    /// <summary>The one table a query reads, when its text is a plain SELECT ... FROM [owner.]table
    /// [alias] followed only by WHERE, GROUP BY, ORDER BY and such: no join, no second FROM item, no
    /// subquery or table function in FROM, no set operator, no database link. The library describes
    /// a query's columns without their table, so this is how the provider finds it.</summary>
    internal sealed class SingleTableQuery
    {
        private static readonly HashSet<string> ClauseWords = new(StringComparer.OrdinalIgnoreCase)
        {
            "WHERE", "GROUP", "ORDER", "HAVING", "CONNECT", "START", "FOR", "FETCH", "OFFSET", "MODEL", "WINDOW",
        };

        private static readonly HashSet<string> NotSingle = new(StringComparer.OrdinalIgnoreCase)
        {
            "UNION", "INTERSECT", "MINUS", "EXCEPT", "JOIN", "NATURAL", "CROSS", "OUTER", "APPLY", "PIVOT",
            "UNPIVOT", "PARTITION", "SAMPLE", "AS",
        };

        /// <summary>The owner as written (null when not written), folded to upper case unless quoted.</summary>
        public string? Owner { get; }

        /// <summary>The table's name, folded to upper case unless quoted.</summary>
        public string Name { get; }

        /// <summary>The name as the query wrote it ([owner.]table), for describing it.</summary>
        public string Written { get; }

        private SingleTableQuery(string? owner, string name, string written)
        {
            Owner = owner;
            Name = name;
            Written = written;
        }

        /// <summary>The query's table, or null when the text is not a single-table query.</summary>
        public static SingleTableQuery? Find(string sql)
        {
            var tokens = Tokens(sql);
            if (tokens.Count == 0 || !IsWord(tokens[0], "SELECT")) return null;
            int from = -1;
            for (int i = 0; i < tokens.Count; i++)
            {
                var token = tokens[i];
                if (token.Depth != 0) continue;
                if (NotSingle.Contains(token.Text) && !token.Quoted && from >= 0) return null;
                if (IsWord(token, "UNION") || IsWord(token, "INTERSECT") || IsWord(token, "MINUS")) return null;
                if (from < 0 && IsWord(token, "FROM")) from = i;
            }
            if (from < 0) return null;
            var item = new List<Token>();
            for (int i = from + 1; i < tokens.Count; i++)
            {
                var token = tokens[i];
                if (token.Depth == 0 && !token.Quoted && ClauseWords.Contains(token.Text)) break;
                if (token.Depth != 0 || token.Text == "(") return null;  // a subquery or table function
                item.Add(token);
            }
            // name | owner . name, then an optional alias
            int at = 0;
            if (at >= item.Count || !item[at].IsName) return null;
            string first = item[at].Name;
            string written = item[at].Text;
            at++;
            string? owner = null;
            string name = first;
            if (at < item.Count && item[at].Text == ".")
            {
                if (at + 1 >= item.Count || !item[at + 1].IsName) return null;
                owner = first;
                name = item[at + 1].Name;
                written += "." + item[at + 1].Text;
                at += 2;
            }
            if (at < item.Count && item[at].IsName) at++;  // the alias
            return at == item.Count ? new SingleTableQuery(owner, name, written) : null;
        }

        private static bool IsWord(Token token, string word) =>
            !token.Quoted && string.Equals(token.Text, word, StringComparison.OrdinalIgnoreCase);

        private readonly record struct Token(string Text, int Depth, bool Quoted, bool IsName)
        {
            public string Name => Quoted ? Text[1..^1].Replace("\"\"", "\"", StringComparison.Ordinal) : Text.ToUpperInvariant();
        }

        /// <summary>Words, quoted identifiers and single punctuation characters with their
        /// parenthesis depth; literals and comments are left out.</summary>
        private static List<Token> Tokens(string sql)
        {
            var tokens = new List<Token>();
            int depth = 0;
            int i = 0;
            while (i < sql.Length)
            {
                char c = sql[i];
                if (char.IsWhiteSpace(c))
                {
                    i++;
                }
                else if (!SqlPlaceholders.IsNamePart(SqlPlaceholders.Previous(sql, i)) && SqlPlaceholders.QQuoteAt(sql, i) is int delimiterAt)
                {
                    i = SqlPlaceholders.SkipAlternativeQuote(sql, delimiterAt);
                    tokens.Add(new Token("'", depth, false, false));
                }
                else if (c == '\'')
                {
                    int end = sql.IndexOf('\'', i + 1);
                    i = end < 0 ? sql.Length : end + 1;
                    tokens.Add(new Token("'", depth, false, false));
                }
                else if (c == '"')
                {
                    int end = i + 1;
                    while (true)
                    {
                        end = sql.IndexOf('"', end);
                        if (end < 0 || end + 1 >= sql.Length || sql[end + 1] != '"') break;
                        end += 2;
                    }
                    if (end < 0) return new List<Token>();
                    tokens.Add(new Token(sql.Substring(i, end + 1 - i), depth, true, true));
                    i = end + 1;
                }
                else if (SqlPlaceholders.SkipComment(sql, ref i))
                {
                }
                else if (SqlPlaceholders.IsNamePart(c))
                {
                    int start = i;
                    while (i < sql.Length && SqlPlaceholders.IsNamePart(sql[i])) i++;
                    string word = sql.Substring(start, i - start);
                    tokens.Add(new Token(word, depth, false, !char.IsDigit(word[0])));
                }
                else
                {
                    if (c == ')') depth--;
                    tokens.Add(new Token(c.ToString(), depth, false, false));
                    if (c == '(') depth++;
                    i++;
                }
            }
            return tokens;
        }
    }
}
