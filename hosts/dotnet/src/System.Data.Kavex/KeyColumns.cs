using System.Collections.Generic;
using System.Data.Common;
using System.Data.Kavex.Native;

namespace System.Data.Kavex
{
    /// <summary>Base table and key information for a reader's schema table (CommandBehavior.KeyInfo)
    /// of a single-table query: the columns named as the table's columns get the table as their base,
    /// the others are expressions, and the columns of a unique index that the query returns whole are
    /// the key. Indexes are looked up in USER_INDEXES and USER_IND_COLUMNS, so only the session
    /// user's own tables have keys. The session's statement is replaced: the caller runs the query
    /// again afterwards.</summary>
    internal static class KeyColumns
    {
        // Joined by index name alone (unique within a schema): the embedded database's
        // USER_IND_COLUMNS.TABLE_NAME is upper case for a quoted mixed-case table name.
        private const string UniqueIndexColumns =
            "SELECT i.index_name, c.column_name, c.column_position FROM user_indexes i " +
            "JOIN user_ind_columns c ON c.index_name = i.index_name " +
            "WHERE i.table_name = :table_name AND i.uniqueness = 'UNIQUE'";

        internal static void Mark(KavexConnection connection, DataTable schema, string sql)
        {
            var query = SingleTableQuery.Find(sql);
            if (query == null) return;
            var tableColumns = ColumnsOf(connection, query.Written);
            if (tableColumns == null) return;
            var byName = new Dictionary<string, DataRow>(StringComparer.Ordinal);
            foreach (DataRow row in schema.Rows)
            {
                string name = (string)row[SchemaTableColumn.ColumnName];
                if (tableColumns.Contains(name) && byName.TryAdd(name, row))
                {
                    row[SchemaTableColumn.BaseTableName] = query.Name;
                    row[SchemaTableColumn.BaseColumnName] = name;
                    row[SchemaTableColumn.BaseSchemaName] = (object?)query.Owner ?? DBNull.Value;
                }
                else
                {
                    row[SchemaTableColumn.BaseTableName] = DBNull.Value;
                    row[SchemaTableColumn.BaseColumnName] = DBNull.Value;
                    row[SchemaTableColumn.IsExpression] = true;
                }
            }
            if (query.Owner != null && query.Owner != connection.Database) return;
            DataRow[]? key = null;
            foreach (var index in UniqueIndexes(connection, query.Name))
            {
                var rows = new DataRow[index.Length];
                bool whole = true;
                for (int i = 0; i < index.Length && whole; i++) whole = byName.TryGetValue(index[i], out rows[i]!);
                if (!whole) continue;
                if (rows.Length == 1) rows[0][SchemaTableColumn.IsUnique] = true;
                if (key == null || Better(rows, key)) key = rows;
            }
            if (key == null) return;
            foreach (var row in key) row[SchemaTableColumn.IsKey] = true;
        }

        /// <summary>A unique index of NOT NULL columns before one with nullable columns, then the
        /// one of fewer columns.</summary>
        private static bool Better(DataRow[] candidate, DataRow[] chosen)
        {
            bool candidateNotNull = Array.TrueForAll(candidate, r => !(bool)r[SchemaTableColumn.AllowDBNull]);
            bool chosenNotNull = Array.TrueForAll(chosen, r => !(bool)r[SchemaTableColumn.AllowDBNull]);
            if (candidateNotNull != chosenNotNull) return candidateNotNull;
            return candidate.Length < chosen.Length;
        }

        /// <summary>The column names of the table or view as the library describes it; null when it
        /// cannot be described.</summary>
        private static unsafe HashSet<string>? ColumnsOf(KavexConnection connection, string written)
        {
            int session = connection.SessionId;
            using var empty = new Utf8Text("");
            using var name = new Utf8Text(written);
            if (NativeMethods.GetMetaData(session, empty.Pointer, name.Pointer) < 0) return null;
            int count = NativeMethods.GetColumnsCount(session);
            if (count <= 0) return null;
            var columns = new HashSet<string>(StringComparer.Ordinal);
            for (int i = 0; i < count; i++) columns.Add(Utf8Text.Read(NativeMethods.GetColumnName(session, i)) ?? "");
            return columns;
        }

        /// <summary>The column names of each unique index of the table, in index column order (put in
        /// order here: the embedded database returns no rows for this join with an ORDER BY).</summary>
        private static List<string[]> UniqueIndexes(KavexConnection connection, string table)
        {
            var byIndex = new SortedDictionary<string, SortedDictionary<int, string>>(StringComparer.Ordinal);
            using (var command = connection.CreateCommand())
            {
                command.CommandText = UniqueIndexColumns;
                command.Parameters.Add("table_name", table);
                using var reader = command.ExecuteReader();
                while (reader.Read())
                {
                    string index = reader.GetString(0);
                    if (!byIndex.TryGetValue(index, out var columns)) byIndex[index] = columns = new SortedDictionary<int, string>();
                    columns[reader.GetInt32(2)] = reader.GetString(1);
                }
            }
            var indexes = new List<string[]>();
            foreach (var columns in byIndex.Values) indexes.Add(new List<string>(columns.Values).ToArray());
            return indexes;
        }
    }
}
