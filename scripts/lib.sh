# Shared by the scripts: packages, builds, Wine prefixes.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=-all

PACKAGES=(cmake python3 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 googletest
  xvfb x11-apps imagemagick)

say() { echo "== $*"; }

install_missing() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" > "$BUILD/apt.log" 2>&1 ||
    { cat "$BUILD/apt.log"; return 1; }
}

# build_tree x64|x86
build_tree() {
  local arch=$1 toolchain
  [ "$arch" = x64 ] && toolchain=mingw-x86_64 || toolchain=mingw-i686
  if [ ! -f "$BUILD/$arch/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD/$arch" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$BUILD/configure-$arch.log" 2>&1 ||
      { cat "$BUILD/configure-$arch.log"; return 1; }
  fi
  cmake --build "$BUILD/$arch" -j2 > "$BUILD/build-$arch.log" 2>&1 ||
    { grep -E "error|Error" "$BUILD/build-$arch.log" | head -40; return 1; }
}

reg_add() {  # reg_add KEY NAME VALUE (REG_SZ), with WINEPREFIX set
  "$WINE" reg add "$1" /v "$2" /t REG_SZ /d "$3" /f > /dev/null 2>&1
}

# prepare_prefix DIR test|run: create once, set the prefix up, install the programs.
prepare_prefix() {
  local prefix=$1 kind=$2
  export WINEPREFIX=$prefix
  if [ ! -f "$prefix/.ft-ready" ]; then
    say "creating Wine prefix $prefix"
    mkdir -p "$prefix"
    WINEDLLOVERRIDES="mscoree=;mshtml=" DISPLAY= "$WINE" wineboot -i > "$BUILD/wineboot.log" 2>&1
    "$WINESERVER" -w
    reg_add 'HKCU\Software\Wine\AppDefaults\MANAGER.EXE' Version win95
    if [ "$kind" = test ]; then
      reg_add 'HKCU\Software\Wine\Drivers' Graphics null
      reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' Debugger nodebugger.exe
    else
      reg_add 'HKCU\Software\Wine\Explorer' Desktop Default
      reg_add 'HKCU\Software\Wine\Explorer\Desktops' Default 1024x768
    fi
    "$WINESERVER" -w
    touch "$prefix/.ft-ready"
  fi
  mkdir -p "$prefix/drive_c/FT"
}

# copy_programs PREFIX FILES…: into C:\FT of the prefix.
copy_programs() {
  local prefix=$1
  shift
  for file in "$@"; do cp -f "$BUILD/x64/bin/$file" "$prefix/drive_c/FT/"; done
}

start_server() {  # a persistent server keeps each Wine start fast
  "$WINESERVER" -k > /dev/null 2>&1 || true
  sleep 0.5
  "$WINESERVER" -p
}

stop_server() { "$WINESERVER" -k > /dev/null 2>&1 || true; }

ftctl() { "$WINE" 'C:\FT\FTCTL.EXE' "$@" > "$BUILD/ftctl.out" 2>&1; }
