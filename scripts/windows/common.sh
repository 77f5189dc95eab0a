# Shared by scripts/test-windows and scripts/package-windows; sourced from the
# repository root. Everything lands in build-windows/:
#   qt/         Qt for Windows (unpacked from QT_MINGW_ARCHIVE, or built from Debian's source)
#   build/      the cross build of the program and its tests
#   wine/       the Wine prefix the program and tests run in
#   artefacts/  test reports and screenshots

win_out=$PWD/build-windows
win_qt=$win_out/qt
win_build=$win_out/build
win_artefacts=$win_out/artefacts
win_jobs=$(nproc)
[ "$win_jobs" -gt 2 ] || win_jobs=2

export WINEPREFIX=$win_out/wine
export WINEARCH=win64
export WINEDEBUG=-all
# No offer to install Mono or Gecko: nothing here needs them, and the offer
# would wait for an answer no one gives. No winemenubuilder: it copies Start
# menu entries and file types installed in the prefix into the user's own
# desktop (~/.local/share, ~/.config/menus), outside build-windows/.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# A Unix path as Wine's Windows programs see it.
winpath() {
  local p
  p=$(realpath -m "$1")
  printf 'Z:%s' "${p//\//\\}"
}

win_sudo() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# The Qt that matches Debian's host tools (moc, rcc), built for Windows with
# the flags in configure-qt-mingw.sh. About 15 minutes on 2 cores; done once.
win_build_qt_from_source() {
  local here=$PWD version src
  echo "== Qt for Windows from Debian's source (no QT_MINGW_ARCHIVE given)"
  local need=(mingw-w64-tools dpkg-dev)
  local p missing=()
  for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    win_sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive win_sudo apt-get install -y -qq "${missing[@]}"
  fi
  version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
  if ! apt-cache showsrc "qt6-base=$version" 2>/dev/null | grep -q '^Package:'; then
    # Source entries for the archives already configured.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        win_sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    else
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
        win_sudo tee /etc/apt/sources.list.d/debian-src.list >/dev/null
    fi
    win_sudo apt-get update -qq
  fi
  rm -rf "$win_out/qt-source" "$win_out/qt-build" "$win_qt"
  mkdir -p "$win_out/qt-source"
  (cd "$win_out/qt-source" && apt-get source -qq "qt6-base=$version" >/dev/null)
  src=$(find "$win_out/qt-source" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
  [ -n "$src" ] || { echo "apt-get source qt6-base gave no source folder" >&2; return 1; }
  "$PWD/scripts/windows/configure-qt-mingw.sh" "$src" "$win_out/qt-build" "$win_qt" >/dev/null
  ninja -C "$win_out/qt-build" -j "$win_jobs"
  cmake --install "$win_out/qt-build" >/dev/null
  cp scripts/windows/mingw-w64-x86_64.cmake "$win_qt/"
  rm -rf "$win_out/qt-source" "$win_out/qt-build"
  cd "$here"
}

# Puts Qt for Windows into build-windows/qt, once per archive.
win_get_qt() {
  local stamp=$win_qt/.from want
  if [ -n "${QT_MINGW_ARCHIVE:-}" ]; then
    [ -f "$QT_MINGW_ARCHIVE" ] || { echo "QT_MINGW_ARCHIVE: no file $QT_MINGW_ARCHIVE" >&2; return 1; }
    want="archive $(realpath "$QT_MINGW_ARCHIVE") $(stat -c '%s %Y' "$QT_MINGW_ARCHIVE")"
    if [ "$(cat "$stamp" 2>/dev/null)" != "$want" ]; then
      echo "== Qt for Windows from $QT_MINGW_ARCHIVE"
      rm -rf "$win_qt"
      mkdir -p "$win_qt"
      tar xzf "$QT_MINGW_ARCHIVE" -C "$win_qt"
      echo "$want" >"$stamp"
    fi
  elif [ ! -f "$stamp" ]; then
    win_build_qt_from_source
    echo "source $(dpkg-query -W -f='${Version}' qt6-base-dev)" >"$stamp"
  fi
}

# Cross-builds the given targets (all when none) in build-windows/build.
win_build() {
  cmake -S . -B "$win_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$win_qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/scripts/windows/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DCMAKE_AUTORCC_OPTIONS=--no-zstd \
    -DTAGGVERK_BUILD_BENCH=OFF -DTAGGVERK_E2E=OFF >/dev/null
  local targets=()
  local t
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build "$win_build" -j "$win_jobs" "${targets[@]}"
}

# Folders Windows programs built here find their DLLs in when not packaged.
win_dll_path() {
  printf '%s;%s;%s' "$(winpath "$win_qt/bin")" "$(winpath /usr/lib/gcc/x86_64-w64-mingw32/12-posix)" \
    "$(winpath /usr/x86_64-w64-mingw32/lib)"
}

# Creates the Wine prefix on first use.
win_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # The fonts every Windows has (Tahoma, MS Sans Serif...): Wine ships
  # stand-ins (package fonts-wine), which this prefix does not pick up by
  # itself. Without them (Wine installed without its recommended packages)
  # the folder is missing or empty, and Wine falls back to its own choice.
  if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/tahoma.ttf" ] && [ -d /usr/share/wine/fonts ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    find /usr/share/wine/fonts -maxdepth 1 -type f -exec cp -t "$WINEPREFIX/drive_c/windows/Fonts/" {} +
  fi
}

# Starts a command (a Windows program under Wine) in the X server named by
# DISPLAY, waits for the main window, saves a screenshot of the screen to
# the given PNG and ends the command. Fails when no window shows. The window
# is the one whose caption ends in WIN_CAPTION (default "Ovelda Taggverk").
win_screenshot() {
  local png=$1 caption=${WIN_CAPTION:-Ovelda Taggverk}
  shift
  # Wine's desktop process belongs to the display it started on: end the
  # prefix's earlier (offscreen) run before starting in this display.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  "$@" >"$png.log" 2>&1 &
  local pid=$! i shown=0
  for i in $(seq 1 360); do
    if xwininfo -root -tree 2>/dev/null | grep -qF "$caption\""; then
      shown=1
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
  done
  if [ "$shown" = 1 ]; then
    sleep 3 # let the window finish drawing
    import -window root "$png"
  fi
  kill "$pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [ "$shown" != 1 ]; then
    echo "No window \"$caption\" showed for: $*" >&2
    cat "$png.log" >&2
    return 1
  fi
  echo "Screenshot: $png"
}
