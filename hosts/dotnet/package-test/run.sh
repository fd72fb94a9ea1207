#!/usr/bin/env bash
# Follows the README's steps for using the package from a project of one's own, as written there:
# packs System.Data.Kavex into feed/ of a copy of the checkout, makes a fresh console project in a
# fresh home folder with the README's nuget.config, adds the package, runs the README's program
# in it, then restores again from nothing (no package cache, no obj/) and runs a second program
# (a database file, non-ASCII text) with no library path in the environment. Only the CMake build
# of step 1 is left out: the library under test is NATIVE_LIBRARY. Also checks that the package
# holds what it should and that its native library carries no debug information.
# Usage: run.sh NATIVE_LIBRARY WORK_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repository="$(cd "$here/../../.." && pwd)"
native="$1"
work="$2"
rm -rf "$work"
mkdir -p "$work/home"
export HOME="$work/home" NUGET_PACKAGES="$work/packages" DOTNET_CLI_TELEMETRY_OPTOUT=1 DOTNET_NOLOGO=1
unset LD_LIBRARY_PATH

# The README's shell block of its .NET section, in two parts: up to "put the program above into
# Program.cs", and from there; and the C# program of that section.
section="$(awk '/^## \.NET: System\.Data\.Kavex/ { inside = 1; next } inside && /^## / { exit } inside' "$repository/README.md")"
steps="$(awk '/^```sh/ { inside = 1; next } inside && /^```/ { exit } inside' <<<"$section")"
program="$(awk '/^```csharp/ { inside = 1; next } inside && /^```/ { exit } inside' <<<"$section")"
before="$(awk '/put the program above into Program.cs/ { exit } { print }' <<<"$steps")"
after="$(awk 'found { print } /put the program above into Program.cs/ { found = 1 }' <<<"$steps")"
[[ -n "$before" && -n "$after" && -n "$program" ]] || { echo "FAIL: the README's .NET steps were not found"; exit 1; }
expected="$(sed -n 's/.*dotnet run *# *//p' <<<"$after")"

# A checkout as step 1 expects it: the provider's sources and the library where the Release build
# puts it.
checkout="$work/checkout"
mkdir -p "$checkout/hosts" "$checkout/build/demo/lib"
tar -C "$repository/hosts" --exclude=artifacts --exclude=bin --exclude=obj -cf - dotnet | tar -C "$checkout/hosts" -xf -
cp "$native" "$checkout/build/demo/lib/libSystem.Data.Kavex.OracleOCIw.so"

skip_cmake='cmake() { echo "(the library was built before: cmake $* is left out)"; }'
(cd "$checkout" && bash -euo pipefail -c "$skip_cmake"$'\n'"$before") >"$work/steps.log" 2>&1 ||
  { cat "$work/steps.log"; echo "FAIL: the README's steps before dotnet run"; exit 1; }

package="$(ls "$checkout"/feed/System.Data.Kavex.*.nupkg)"
contents="$(unzip -Z1 "$package")"
for entry in runtimes/linux-x64/native/libSystem.Data.Kavex.OracleOCIw.so lib/net10.0/System.Data.Kavex.dll \
             lib/net8.0/System.Data.Kavex.dll README.md; do
  grep -qx "$entry" <<<"$contents" || { echo "FAIL: $package lacks $entry"; exit 1; }
done
unzip -p "$package" runtimes/linux-x64/native/libSystem.Data.Kavex.OracleOCIw.so >"$work/packed.so"
if readelf -S "$work/packed.so" | grep -Eq '\.debug_|\.symtab'; then
  echo "FAIL: the packed native library still has debug information or a symbol table"; exit 1
fi
echo "packed $(basename "$package") with the native library ($(stat -c %s "$work/packed.so") bytes, stripped)"

# Step 2 went on in the console project.
cd "$HOME/pets"
printf '%s\n' "$program" >Program.cs
output="$(bash -euo pipefail -c "$after" 2>&1)" || { echo "$output"; echo "FAIL: dotnet run of the README's program"; exit 1; }
echo "$output"
for line in "1 row inserted" "7 Rex 2020-05-17"; do
  grep -qxF "$line" <<<"$output" || { echo "FAIL: the README's program did not print '$line'"; exit 1; }
done
[[ "$expected" == "1 row inserted, then 7 Rex 2020-05-17" ]] || { echo "FAIL: the README promises '$expected'"; exit 1; }

# The next restore from nothing finds the package through the project's nuget.config alone.
rm -rf "$NUGET_PACKAGES" bin obj
cp "$here/Program.cs" Program.cs
dotnet run -c Release -- "$work/check.db"
