#!/usr/bin/env bash
# Builds the Windows (x86_64, MinGW-w64) libraries ZENTREL links with, from
# Debian's own source packages at the versions the Linux build uses:
# SDL2, SDL2_mixer (WAV only), libepoxy, libpng and googletest; zlib comes
# from libz-mingw-w64-dev. Installs the Debian packages it needs first, as
# scripts/setup.sh does.
#
# The result is a prefix outside the checkout, keyed on the source versions
# and the toolchain file, so a later run finds it and does nothing:
#   ${ZENTREL_CACHE:-~/.cache/zentrel}/windows-deps-<key>/
# Prints that folder as its last line of output.
#
# apt-get source runs with a private configuration (its own deb-src list,
# package lists and cache under the cache folder): the machine's own apt
# sources are never touched, and nothing comes from anywhere but Debian's
# archive.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
toolchain=$root/cmake/mingw-w64-x86_64.cmake

#---------------------------------------------------------------------------
# Debian packages of the cross toolchain and Wine
#---------------------------------------------------------------------------
packages=(
  cmake ninja-build pkg-config meson dpkg-dev
  mingw-w64 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 xvfb xauth xdotool nsis zip
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}" >&2
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi

#---------------------------------------------------------------------------
# Versions and the cache key
#---------------------------------------------------------------------------
# Debian source package and version, as in Debian 12 (the Linux build's).
sources=(
  libsdl2=2.26.5+dfsg-1
  libsdl2-mixer=2.6.2+dfsg-2
  libepoxy=1.5.10-1
  libpng1.6=1.6.39-2+deb12u5
  googletest=1.12.1-0.2
)
# Raise when the build options below change, so the cache is built again.
recipe=1
cache=${ZENTREL_CACHE:-$HOME/.cache/zentrel}
key=$( { printf '%s\n' "${sources[@]}" "recipe $recipe"; cat "$toolchain"; x86_64-w64-mingw32-g++-posix --version | head -n1; } \
       | sha256sum | cut -c1-16)
prefix=$cache/windows-deps-$key
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work=$cache/windows-deps-work-$key
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/src"
log=$work/build.log
echo "building the Windows dependencies into $prefix (log: $log)" >&2

#---------------------------------------------------------------------------
# Sources through a private apt configuration
#---------------------------------------------------------------------------
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
cat >"$work/apt/sources.list" <<EOF
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
EOF
apt_private=(
  -o Dir::Etc::SourceList="$work/apt/sources.list"
  -o Dir::Etc::SourceParts=/dev/null
  -o Dir::State::Lists="$work/apt/lists"
  -o Dir::Cache="$work/apt/cache"
  -o Dir::Cache::archives="$work/apt/cache/archives"
  -o APT::Sandbox::User=root
)
apt-get "${apt_private[@]}" update -qq >>"$log" 2>&1 || { tail -n 20 "$log" >&2; exit 1; }
# fetch_upstream SOURCE=VERSION: when the archive lacks a package's Debian
# part, the files it does have, each checked against the hash the signed
# Sources index gives, and the upstream tarball unpacked on its own.
# (apt-get source keeps the files it fetched and checked; --print-uris then
# lists only the rest.)
fetch_upstream() {
  local name=${1%%=*} version=${1#*=} upstream uri file size hash orig lines
  upstream=${version%-*}
  mapfile -t lines < <(apt-get "${apt_private[@]}" source --print-uris -qq "$1" | grep "^'")
  for line in "${lines[@]}"; do
    read -r uri file size hash <<<"$line"
    uri=${uri//\'/}
    /usr/lib/apt/apt-helper download-file "$uri" "$file" "$hash" </dev/null >>"$log" 2>&1 ||
      echo "  $file ($size bytes): not in the archive" >&2
  done
  orig=$(ls "${name}_${upstream}".orig.tar.* 2>/dev/null | head -n1)
  [ -n "$orig" ] || return 1
  mkdir -p "$name-$upstream"
  tar -xf "$orig" -C "$name-$upstream" --strip-components=1
  echo "  $name: upstream $upstream without Debian's part" >&2
}
(
  cd "$work/src"
  for s in "${sources[@]}"; do
    apt-get "${apt_private[@]}" source -qq "$s" >>"$log" 2>&1 || fetch_upstream "$s" || { tail -n 20 "$log" >&2; exit 1; }
  done
)
srcdir() { find "$work/src" -maxdepth 1 -mindepth 1 -type d -name "$1-[0-9]*" | head -n1; }

#---------------------------------------------------------------------------
# Cross builds
#---------------------------------------------------------------------------
jobs=$(nproc)
cmake_cross=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZENTREL_WINDOWS_DEPS="$prefix"
             -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix")
build_cmake() {  # name source-folder cmake-options...
  local name=$1 src=$2
  shift 2
  echo "  $name" >&2
  {
    cmake -S "$src" -B "$work/build-$name" "${cmake_cross[@]}" "$@"
    cmake --build "$work/build-$name" -j "$jobs"
    cmake --install "$work/build-$name"
  } >>"$log" 2>&1 || { tail -n 40 "$log" >&2; exit 1; }
}

build_cmake sdl2 "$(srcdir libsdl2)" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=OFF

build_cmake sdl2_mixer "$(srcdir libsdl2-mixer)" -DBUILD_SHARED_LIBS=ON -DSDL2MIXER_VENDORED=OFF \
  -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_WAVE=ON \
  -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_GME=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
  -DSDL2MIXER_MP3=OFF -DSDL2MIXER_OGG=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVPACK=OFF

build_cmake libpng "$(srcdir libpng1.6)" -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_BUILD_ZLIB=OFF -DSKIP_INSTALL_PROGRAMS=ON

build_cmake googletest "$(srcdir googletest)" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF

echo "  libepoxy" >&2
cat >"$work/meson-cross.txt" <<EOF
[binaries]
c = 'x86_64-w64-mingw32-gcc-posix'
cpp = 'x86_64-w64-mingw32-g++-posix'
ar = 'x86_64-w64-mingw32-gcc-ar-posix'
strip = 'x86_64-w64-mingw32-strip'
windres = 'x86_64-w64-mingw32-windres'
pkgconfig = 'false'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
{
  meson setup "$work/build-epoxy" "$(srcdir libepoxy)" --cross-file "$work/meson-cross.txt" \
    --prefix "$prefix" --libdir lib --buildtype release \
    -Dglx=no -Degl=no -Dx11=false -Dtests=false -Ddocs=false
  ninja -C "$work/build-epoxy" -j "$jobs"
  ninja -C "$work/build-epoxy" install
} >>"$log" 2>&1 || { tail -n 40 "$log" >&2; exit 1; }

# The DLLs the programs load that come from the MinGW sysroot.
cp /usr/x86_64-w64-mingw32/lib/zlib1.dll /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$prefix/bin/"

printf '%s\n' "${sources[@]}" >"$prefix/.complete"
rm -rf "$work"
echo "$prefix"
