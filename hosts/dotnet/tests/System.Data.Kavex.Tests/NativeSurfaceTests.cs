using System.Data.Kavex.Native;
using System.Runtime.InteropServices;

namespace System.Data.Kavex.Tests
{
    /// <summary>The packed records and one-byte booleans as the library writes them.</summary>
    public unsafe class NativeSurfaceTests
    {
        [Theory]
        [InlineData(typeof(PointerRecord), 13)]
        [InlineData(typeof(DoubleRecord), 13)]
        [InlineData(typeof(IntRecord), 9)]
        [InlineData(typeof(FloatRecord), 9)]
        public void RecordsArePackedWithTheValueAtByteFive(Type record, int size)
        {
            Assert.Equal(size, Marshal.SizeOf(record));
            Assert.Equal(0, (int)Marshal.OffsetOf(record, "IsNullByte"));
            Assert.Equal(1, (int)Marshal.OffsetOf(record, "Length"));
            Assert.Equal(5, (int)Marshal.OffsetOf(record, "Value"));
        }

        [Fact]
        public void TestMarshalingClearsFlagAndValueAndKeepsLength()
        {
            var record = new PointerRecord { IsNullByte = 1, Length = 0x12345678, Value = new IntPtr(-1) };
            Assert.Equal(0, NativeMethods.TestMarshaling(&record));
            Assert.False(record.IsNull);
            Assert.Equal(0x12345678, record.Length);
            Assert.Equal(IntPtr.Zero, record.Value);
        }

        [Fact]
        public void UnknownSessionIsReportedNotCrashed()
        {
            int id = NativeMethods.NextRow(999999);
            Assert.True(id <= -10);
            Assert.Equal("Session is not initialized", Utf8Text.Read(NativeMethods.GetError(id)));
        }
    }
}
