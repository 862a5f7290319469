# Shared by the scripts: packages, builds, Wine prefixes.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=-all

# The Windows 95 build uses the win32 thread model (no winpthreads); wine32
# runs it under WoW64.
PACKAGES=(cmake python3 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 wine32:i386 googletest
  xvfb x11-apps imagemagick)

say() { echo "== $*"; }

# Wine's loader sits at 0x7d000000, and this kernel places a program's heap
# anywhere in the gigabyte above it, where Wine must have the shared user
# data (0x7ffe0000) for itself: a start here now and then ended with
# 1 before running a line, saying nothing under WINEDEBUG=-all. A script that
# starts Wine programs calls fixed_layout "$@" first and runs again with the
# address layout fixed; every program it starts inherits that.
fixed_layout() {
  [ "${FT_FIXED_LAYOUT:-}" = 1 ] && return 0
  export FT_FIXED_LAYOUT=1
  exec setarch "$(uname -m)" --addr-no-randomize "$0" "$@"
}

install_missing() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" > "$BUILD/apt.log" 2>&1 ||
    { cat "$BUILD/apt.log"; return 1; }
}

# build_tree x64|x86
build_tree() {
  local arch=$1 toolchain
  [ "$arch" = x64 ] && toolchain=mingw-x86_64 || toolchain=mingw-i686
  # A tree configured with another toolchain file starts afresh.
  cmp -s "$ROOT/cmake/$toolchain.cmake" "$BUILD/$arch/toolchain.cmake" || rm -rf "${BUILD:?}/$arch"
  if [ ! -f "$BUILD/$arch/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD/$arch" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$BUILD/configure-$arch.log" 2>&1 ||
      { cat "$BUILD/configure-$arch.log"; return 1; }
    cp "$ROOT/cmake/$toolchain.cmake" "$BUILD/$arch/toolchain.cmake"
  fi
  cmake --build "$BUILD/$arch" -j2 > "$BUILD/build-$arch.log" 2>&1 ||
    { grep -E "error|Error" "$BUILD/build-$arch.log" | head -40; return 1; }
}

reg_add() {  # reg_add KEY NAME VALUE (REG_SZ), with WINEPREFIX set
  "$WINE" reg add "$1" /v "$2" /t REG_SZ /d "$3" /f > /dev/null 2>&1
}

# A prefix made while wine32 was missing has no 32-bit half; it is made again.
prefix_kind() {
  dpkg-query -W -f='${Status}' wine32:i386 2> /dev/null | grep -q "install ok installed" && echo wow64 || echo win64
}

# prepare_prefix DIR test|run: create once, set the prefix up, install the programs.
prepare_prefix() {
  local prefix=$1 kind=$2
  export WINEPREFIX=$prefix
  if [ -f "$prefix/.ft-ready" ] && [ "$(cat "$prefix/.ft-ready")" != "$(prefix_kind)" ]; then
    say "making Wine prefix $prefix again, now with its 32-bit half"
    "$WINESERVER" -k > /dev/null 2>&1 || true
    rm -rf "$prefix"
  fi
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
    prefix_kind > "$prefix/.ft-ready"
  fi
  mkdir -p "$prefix/drive_c/FT"
  # Caption buttons are glyphs of Marlett; this Wine does not load it from its
  # own data folder, so a sheet's close box would show the letter "r".
  local marlett=/usr/share/wine/fonts/marlett.ttf
  [ -f "$marlett" ] && [ ! -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ] &&
    cp "$marlett" "$prefix/drive_c/windows/Fonts/"
  return 0
}

# The Manager that runs is the Windows 95 build (x86) wherever this machine
# runs 32-bit Windows programs, else the x86_64 build of the same sources.
# choose_manager, with the prefix's server running, sets MANAGER_ARCH.
MANAGER_ARCH=x86
choose_manager() {
  local code=0
  "$WINE" "$BUILD/x86/bin/BITNESS.EXE" > "$BUILD/bitness.out" 2>&1 || code=$?
  if [ "$code" -eq 32 ]; then
    MANAGER_ARCH=x86
    say "running the Windows 95 build of the Manager (x86)"
  else
    MANAGER_ARCH=x64
    echo "!!!!! THIS MACHINE CANNOT RUN 32-BIT WINDOWS PROGRAMS: running the x86_64 Manager, NOT the Windows 95 build !!!!!"
  fi
}

# copy_programs PREFIX FILES…: into C:\FT of the prefix. The Manager's own
# tree provides what it builds (the Manager and its benchmarks); the
# stand-ins and tests come from x64.
copy_programs() {
  local prefix=$1 file tree
  shift
  for file in "$@"; do
    tree=x64
    [ -f "$BUILD/$MANAGER_ARCH/bin/$file" ] && tree=$MANAGER_ARCH
    cp -f "$BUILD/$tree/bin/$file" "$prefix/drive_c/FT/"
  done
}

start_server() {  # a persistent server keeps each Wine start fast
  # Wait for the old server's end (a new one started while it ends would not
  # persist), then start one that stays.
  "$WINESERVER" -k > /dev/null 2>&1 || true
  timeout 20 "$WINESERVER" -w > /dev/null 2>&1 || true
  "$WINESERVER" -p
}

stop_server() { "$WINESERVER" -k > /dev/null 2>&1 || true; }

ftctl() { "$WINE" 'C:\FT\FTCTL.EXE' "$@" > "$BUILD/ftctl.out" 2>&1; }

# start_display: without DISPLAY (or with FT_OWN_DISPLAY=1), an Xvfb of the
# desktop's size on :77.
XVFB_PID=""
start_display() {
  [ -n "${DISPLAY:-}" ] && [ "${FT_OWN_DISPLAY:-0}" != 1 ] && return 0
  export DISPLAY=:77
  Xvfb "$DISPLAY" -screen 0 1024x768x24 > "$BUILD/xvfb.log" 2>&1 &
  XVFB_PID=$!
  sleep 1
}

stop_display() { [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2> /dev/null || true; }

# screenshot NAME: the whole display as build/screenshots/NAME.png.
screenshot() {
  mkdir -p "$BUILD/screenshots"
  xwd -root -display "$DISPLAY" -silent > "$BUILD/screenshots/$1.xwd"
  convert "xwd:$BUILD/screenshots/$1.xwd" "$BUILD/screenshots/$1.png"
  rm -f "$BUILD/screenshots/$1.xwd"
}

# seed_demo_cache PREFIX: a dozen cached files of varied sizes, hits and ages
# (two older than the default 30 days, for the first start to delete),
# once per prefix.
seed_demo_cache() {
  local prefix=$1
  [ -f "$prefix/.ft-demo" ] && return 0
  say "seeding a demonstration cache"
  local demo="$prefix/drive_c/demo"
  mkdir -p "$demo"
  local names=(report.doc budget.xls photo.bmp notes.txt letter.wri manual.pdf setup.exe data.mdb
    slides.ppt archive.zip readme.txt drawing.bmp)
  local sizes=(48 130 700 3 12 900 1500 260 420 2048 1 96)
  local hits=(5 12 2 30 1 0 3 8 4 1 15 6)
  local ages=(1 3 10 0 25 40 5 2 14 60 0 7)
  local files=() i
  for i in "${!names[@]}"; do
    head -c "$((sizes[i] * 1024))" /dev/urandom > "$demo/${names[i]}"
    files+=("C:\\demo\\${names[i]}")
  done
  ftctl cache "${files[@]}"
  for i in "${!names[@]}"; do
    [ "${hits[i]}" -gt 0 ] && ftctl hit "${names[i]}" "${hits[i]}"
    ftctl age "${names[i]}" "${ages[i]}"
  done
  # A file type the Edit Mode page can name: text documents, with Notepad's icon.
  "$WINE" reg add 'HKCR\.TXT' /ve /d txtfile /f > /dev/null 2>&1
  "$WINE" reg add 'HKCR\txtfile\DefaultIcon' /ve /d 'C:\windows\notepad.exe,0' /f > /dev/null 2>&1
  touch "$prefix/.ft-demo"
}
