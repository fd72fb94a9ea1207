#!/usr/bin/env bash
# Packs System.Data.Kavex with the native library, restores the package from a local folder feed into
# a fresh console project (with its own package cache, so nothing stale is picked up) and runs a
# query through it with no library path in the environment.
# Usage: run.sh NATIVE_LIBRARY WORK_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
native="$1"
work="$2"
rm -rf "$work"
mkdir -p "$work/feed"
export NUGET_PACKAGES="$work/packages" DOTNET_CLI_TELEMETRY_OPTOUT=1 DOTNET_NOLOGO=1
unset LD_LIBRARY_PATH

dotnet pack "$here/../src/System.Data.Kavex/System.Data.Kavex.csproj" -c Release -o "$work/feed" \
  --artifacts-path "$work/artifacts" -p:KavexNativeLibrary="$native" -nologo -v quiet
package="$(ls "$work"/feed/System.Data.Kavex.*.nupkg)"
contents="$(unzip -Z1 "$package")"
for entry in runtimes/linux-x64/native/libSystem.Data.Kavex.OracleOCIw.so lib/net10.0/System.Data.Kavex.dll \
             lib/net8.0/System.Data.Kavex.dll README.md; do
  grep -qx "$entry" <<<"$contents" || { echo "FAIL: $package lacks $entry"; exit 1; }
done
echo "packed $(basename "$package") with the native library"

mkdir -p "$work/app"
cd "$work/app"
dotnet new console --framework net10.0 --no-restore -n PackageCheck -o . >/dev/null
cat > nuget.config <<CONFIG
<?xml version="1.0" encoding="utf-8"?>
<configuration>
  <packageSources>
    <clear />
    <add key="local-feed" value="$work/feed" />
  </packageSources>
</configuration>
CONFIG
dotnet add package System.Data.Kavex --version 1.0.0 >/dev/null
cp "$here/Program.cs" Program.cs
dotnet run -c Release -- "$work/check.db"
