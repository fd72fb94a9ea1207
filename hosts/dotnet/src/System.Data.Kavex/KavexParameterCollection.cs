using System.Collections;
using System.Collections.Generic;
using System.Data.Common;

namespace System.Data.Kavex
{
    public sealed class KavexParameterCollection : DbParameterCollection
    {
        private readonly List<KavexParameter> items = new List<KavexParameter>();

        public override int Count => items.Count;
        public override object SyncRoot => ((ICollection)items).SyncRoot;

        public new KavexParameter this[int index]
        {
            get => items[index];
            set => items[index] = Cast(value);
        }

        public new KavexParameter this[string name]
        {
            get => (KavexParameter)GetParameter(name);
            set => SetParameter(name, value);
        }

        public KavexParameter Add(string name, object? value)
        {
            var parameter = new KavexParameter(name, value);
            items.Add(parameter);
            return parameter;
        }

        public KavexParameter Add(string name, KavexDbType type, object? value = null)
        {
            var parameter = new KavexParameter(name, type, value);
            items.Add(parameter);
            return parameter;
        }

        public KavexParameter AddWithValue(string name, object? value) => Add(name, value);

        public override int Add(object value)
        {
            items.Add(Cast(value));
            return items.Count - 1;
        }

        /// <summary>Adds all of values, or none when one is not a KavexParameter.</summary>
        public override void AddRange(Array values)
        {
            ArgumentNullException.ThrowIfNull(values);
            var added = new List<KavexParameter>(values.Length);
            foreach (object? value in values) added.Add(Cast(value));
            items.AddRange(added);
        }

        public override void Clear() => items.Clear();
        public override bool Contains(object value) => value is KavexParameter p && items.Contains(p);
        public override bool Contains(string? value) => IndexOf(value) >= 0;
        public override void CopyTo(Array array, int index) => ((ICollection)items).CopyTo(array, index);
        public override IEnumerator GetEnumerator() => items.GetEnumerator();
        public override int IndexOf(object value) => value is KavexParameter p ? items.IndexOf(p) : -1;

        public override int IndexOf(string? parameterName)
        {
            if (parameterName == null) return -1;
            string bare = Bare(parameterName);
            for (int i = 0; i < items.Count; i++)
            {
                if (string.Equals(items[i].BareName, bare, StringComparison.OrdinalIgnoreCase)) return i;
            }
            return -1;
        }

        public override void Insert(int index, object value) => items.Insert(index, Cast(value));
        public override void Remove(object value) => items.Remove(Cast(value));
        public override void RemoveAt(int index) => items.RemoveAt(index);

        public override void RemoveAt(string parameterName)
        {
            int index = IndexOf(parameterName);
            if (index >= 0) items.RemoveAt(index);
        }

        protected override DbParameter GetParameter(int index) => items[index];

        protected override DbParameter GetParameter(string parameterName)
        {
            int index = IndexOf(parameterName);
            if (index < 0) throw new IndexOutOfRangeException("No parameter named '" + parameterName + "'");
            return items[index];
        }

        protected override void SetParameter(int index, DbParameter value) => items[index] = Cast(value);

        protected override void SetParameter(string parameterName, DbParameter value)
        {
            int index = IndexOf(parameterName);
            if (index < 0) items.Add(Cast(value));
            else items[index] = Cast(value);
        }

        internal List<KavexParameter> Items => items;

        private static string Bare(string name) => name.Length > 0 && (name[0] == ':' || name[0] == '@') ? name.Substring(1) : name;

        private static KavexParameter Cast(object? value)
        {
            ArgumentNullException.ThrowIfNull(value);
            return value as KavexParameter ?? throw new InvalidCastException("Expected a KavexParameter, got " + value.GetType().Name);
        }
    }
}
