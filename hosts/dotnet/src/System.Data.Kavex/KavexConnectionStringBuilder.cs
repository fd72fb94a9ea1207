using System.Data.Common;
using System.Globalization;

namespace System.Data.Kavex
{
    /// <summary>Data Source (the connect string), User Id, Password, Max Column Size (the largest
    /// CLOB, BLOB, RAW or LONG value a reader delivers whole; larger values are cut), and Pooling and
    /// Max Pool Size, which are checked and kept for compatibility: sessions are never pooled.</summary>
    public sealed class KavexConnectionStringBuilder : DbConnectionStringBuilder
    {
        public const int DefaultMaxColumnSize = int.MaxValue;

        private static readonly (string Key, string[] Aliases)[] Keywords =
        {
            ("Data Source", new[] { "datasource", "server" }),
            ("User Id", new[] { "userid", "user", "user name", "username", "uid" }),
            ("Password", new[] { "pwd" }),
            ("Max Column Size", new[] { "maxcolumnsize" }),
            ("Pooling", Array.Empty<string>()),
            ("Max Pool Size", new[] { "maxpoolsize" }),
        };

        public const int DefaultMaxPoolSize = 100;

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
            get => PositiveInteger("Max Column Size", DefaultMaxColumnSize);
            set
            {
                if (value <= 0) throw new ArgumentOutOfRangeException(nameof(value), "Max Column Size must be positive");
                this["Max Column Size"] = value.ToString(CultureInfo.InvariantCulture);
            }
        }

        /// <summary>Accepted as other providers accept it; a connection never reuses a session, so
        /// true and false behave alike.</summary>
        public bool Pooling
        {
            get
            {
                string text = Text("Pooling");
                if (text.Length == 0) return false;
                if (bool.TryParse(text, out bool pooling)) return pooling;
                if (text.Equals("yes", StringComparison.OrdinalIgnoreCase)) return true;
                if (text.Equals("no", StringComparison.OrdinalIgnoreCase)) return false;
                throw new ArgumentException("Pooling must be true or false: '" + text + "'");
            }
            set => this["Pooling"] = value ? "True" : "False";
        }

        /// <summary>Accepted and checked (a positive integer); no pool is kept.</summary>
        public int MaxPoolSize
        {
            get => PositiveInteger("Max Pool Size", DefaultMaxPoolSize);
            set
            {
                if (value <= 0) throw new ArgumentOutOfRangeException(nameof(value), "Max Pool Size must be positive");
                this["Max Pool Size"] = value.ToString(CultureInfo.InvariantCulture);
            }
        }

        /// <summary>Checks every keyword's value, so that a wrong one fails when the string is set
        /// rather than when it is first read.</summary>
        internal void Validate()
        {
            _ = MaxColumnSize;
            _ = Pooling;
            _ = MaxPoolSize;
        }

        private int PositiveInteger(string key, int byDefault)
        {
            string text = Text(key);
            if (text.Length == 0) return byDefault;
            if (!int.TryParse(text, NumberStyles.Integer, CultureInfo.InvariantCulture, out int value) || value <= 0)
                throw new ArgumentException(key + " must be a positive integer: '" + text + "'");
            return value;
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
