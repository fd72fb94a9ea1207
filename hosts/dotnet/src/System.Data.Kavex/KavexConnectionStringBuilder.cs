using System.Data.Common;
using System.Globalization;

namespace System.Data.Kavex
{
    /// <summary>Data Source (the connect string), User Id, Password and Max Column Size (the largest
    /// CLOB, BLOB, RAW or LONG value a reader delivers whole; larger values are cut).</summary>
    public sealed class KavexConnectionStringBuilder : DbConnectionStringBuilder
    {
        public const int DefaultMaxColumnSize = int.MaxValue;

        private static readonly (string Key, string[] Aliases)[] Keywords =
        {
            ("Data Source", new[] { "datasource", "server" }),
            ("User Id", new[] { "userid", "user", "user name", "username", "uid" }),
            ("Password", new[] { "pwd" }),
            ("Max Column Size", new[] { "maxcolumnsize" }),
        };

        public KavexConnectionStringBuilder() { }

        public KavexConnectionStringBuilder(string? connectionString)
        {
            ConnectionString = connectionString ?? "";
        }

        public string DataSource { get => Text("Data Source"); set => this["Data Source"] = value; }
        public string UserId { get => Text("User Id"); set => this["User Id"] = value; }
        public string Password { get => Text("Password"); set => this["Password"] = value; }

        public int MaxColumnSize
        {
            get
            {
                string text = Text("Max Column Size");
                if (text.Length == 0) return DefaultMaxColumnSize;
                if (!int.TryParse(text, NumberStyles.Integer, CultureInfo.InvariantCulture, out int size) || size <= 0)
                    throw new ArgumentException("Max Column Size must be a positive integer: '" + text + "'");
                return size;
            }
            set
            {
                if (value <= 0) throw new ArgumentOutOfRangeException(nameof(value), "Max Column Size must be positive");
                this["Max Column Size"] = value.ToString(CultureInfo.InvariantCulture);
            }
        }

        [System.Diagnostics.CodeAnalysis.AllowNull]
        public override object this[string keyword]
        {
            get => base[Canonical(keyword)];
            set => base[Canonical(keyword)] = value;
        }

        public override bool ContainsKey(string keyword) => base.ContainsKey(Canonical(keyword));

        public override bool Remove(string keyword) => base.Remove(Canonical(keyword));

        public override bool TryGetValue(string keyword, [System.Diagnostics.CodeAnalysis.MaybeNullWhen(false)] out object value) =>
            base.TryGetValue(Canonical(keyword), out value);

        private string Text(string key) => TryGetValue(key, out object? value) ? Convert.ToString(value, CultureInfo.InvariantCulture) ?? "" : "";

        private static string Canonical(string keyword)
        {
            string folded = keyword.Trim().ToLowerInvariant();
            foreach (var (key, aliases) in Keywords)
            {
                if (folded == key.ToLowerInvariant() || Array.IndexOf(aliases, folded) >= 0) return key;
            }
            throw new ArgumentException("Unknown connection string keyword '" + keyword + "'");
        }
    }
}
