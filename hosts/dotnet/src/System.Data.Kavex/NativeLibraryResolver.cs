using System.IO;
using System.Reflection;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;

namespace System.Data.Kavex.Native
{
    /// <summary>Finds the native library without any environment variable: the package's
    /// runtimes/&lt;rid&gt;/native/ folder beside the application or beside this assembly, the
    /// application folder, then the system's search path.</summary>
    internal static class NativeLibraryResolver
    {
        private static IntPtr loaded;

        // Registered when the assembly loads, before any call can reach the library.
#pragma warning disable CA2255
        [ModuleInitializer]
#pragma warning restore CA2255
        internal static void Register()
        {
            NativeLibrary.SetDllImportResolver(typeof(NativeLibraryResolver).Assembly, Resolve);
        }

        private static IntPtr Resolve(string name, Assembly assembly, DllImportSearchPath? searchPath)
        {
            if (name != NativeMethods.Library) return IntPtr.Zero;
            if (loaded != IntPtr.Zero) return loaded;
            foreach (string candidate in Candidates())
            {
                if (File.Exists(candidate) && NativeLibrary.TryLoad(candidate, out IntPtr handle))
                    return loaded = handle;
            }
            // The system's search path (LD_LIBRARY_PATH, ldconfig), with the platform's prefix and suffix.
            if (NativeLibrary.TryLoad(FileName(), out IntPtr system)) return loaded = system;
            return IntPtr.Zero;  // the runtime's own probing, which reports a missing library
        }

        private static string FileName()
        {
            if (OperatingSystem.IsWindows()) return NativeMethods.Library + ".dll";
            if (OperatingSystem.IsMacOS()) return "lib" + NativeMethods.Library + ".dylib";
            return "lib" + NativeMethods.Library + ".so";
        }

        private static string Rid()
        {
            string os = OperatingSystem.IsWindows() ? "win" : OperatingSystem.IsMacOS() ? "osx" : "linux";
            string arch = RuntimeInformation.ProcessArchitecture.ToString().ToLowerInvariant();
            return os + "-" + arch;
        }

        private static System.Collections.Generic.IEnumerable<string> Candidates()
        {
            string file = FileName();
            string runtimeFolder = Path.Combine("runtimes", Rid(), "native");
            string appFolder = AppContext.BaseDirectory;
            string assemblyFolder = Path.GetDirectoryName(typeof(NativeLibraryResolver).Assembly.Location) ?? "";
            yield return Path.Combine(appFolder, runtimeFolder, file);
            if (assemblyFolder.Length > 0)
            {
                yield return Path.Combine(assemblyFolder, runtimeFolder, file);
                // Inside a package: lib/<tfm>/ beside runtimes/.
                yield return Path.GetFullPath(Path.Combine(assemblyFolder, "..", "..", runtimeFolder, file));
            }
            yield return Path.Combine(appFolder, file);
            if (assemblyFolder.Length > 0) yield return Path.Combine(assemblyFolder, file);
        }
    }
}
