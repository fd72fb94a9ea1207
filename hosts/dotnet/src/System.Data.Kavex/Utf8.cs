using System.Runtime.InteropServices;
using System.Text;

namespace System.Data.Kavex.Native
{
    /// <summary>A NUL-terminated UTF-8 copy of a managed string in unmanaged memory, freed on
    /// Dispose. A null string gives a null pointer.</summary>
    public unsafe struct Utf8Text : IDisposable
    {
        public byte* Pointer { get; private set; }

        public Utf8Text(string? text)
        {
            Pointer = null;
            if (text == null) return;
            int size = Encoding.UTF8.GetByteCount(text);
            Pointer = (byte*)NativeMemory.Alloc((nuint)size + 1);
            fixed (char* chars = text)
                Encoding.UTF8.GetBytes(chars, text.Length, Pointer, size);
            Pointer[size] = 0;
        }

        public void Dispose()
        {
            if (Pointer != null) NativeMemory.Free(Pointer);
            Pointer = null;
        }

        /// <summary>Copies a library-owned NUL-terminated UTF-8 text; null for a null pointer.</summary>
        public static string? Read(byte* text)
        {
            if (text == null) return null;
            return Marshal.PtrToStringUTF8((IntPtr)text);
        }

        /// <summary>Copies length bytes of library-owned UTF-8 text.</summary>
        public static string Read(IntPtr text, int length)
        {
            return length == 0 ? string.Empty : Encoding.UTF8.GetString((byte*)text, length);
        }
    }
}
