# Shared steps of the project's scripts and of the CTest fixtures. Source it; needs bash.

CRADLE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the build and the tests need, and a command that shows each is there.
CRADLE_PACKAGES=(
  cmake:cmake make:make git:git
  g++-mingw-w64-i686-posix:i686-w64-mingw32-g++-posix
  gcc-mingw-w64-i686-posix:i686-w64-mingw32-gcc-posix
  g++-mingw-w64-x86-64-posix:x86_64-w64-mingw32-g++-posix
  gcc-mingw-w64-x86-64-posix:x86_64-w64-mingw32-gcc-posix
  binutils-mingw-w64-i686:i686-w64-mingw32-windres
  binutils-mingw-w64-x86-64:x86_64-w64-mingw32-windres
  googletest:/usr/src/googletest/CMakeLists.txt
  wine:wine wine64:/usr/lib/wine/wine64
  xvfb:Xvfb xauth:xauth imagemagick:import
  fonts-wqy-microhei:/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
  python3:/usr/bin/python3 python3-pefile:/usr/lib/python3/dist-packages/pefile.py
  locales:locale-gen bsdutils:script procps:ps
  clang:clang++ libclang-rt-14-dev:/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a
)

cradle_install_packages() {
  local missing=() entry
  for entry in "${CRADLE_PACKAGES[@]}"; do
    local pkg=${entry%%:*} probe=${entry#*:}
    if [[ $probe == /* ]]; then [[ -e $probe ]] || missing+=("$pkg")
    else command -v "$probe" >/dev/null 2>&1 || missing+=("$pkg"); fi
  done
  if ((${#missing[@]})); then
    echo "== installing: ${missing[*]}"
    local sudo=()
    if ((EUID != 0)); then
      command -v sudo >/dev/null || { echo "run as root to install: ${missing[*]}" >&2; return 1; }
      sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
  cradle_make_locales
}

# Wine decodes arguments and encodes console text through the glibc locale: without these two
# Chinese text becomes '?'.
cradle_make_locales() {
  local have
  have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')
  if grep -qx 'zh_cn.utf8' <<<"$have" && grep -qx 'en_us.utf8' <<<"$have"; then return 0; fi
  local sudo=()
  ((EUID == 0)) || sudo=(sudo)
  "${sudo[@]}" sed -i -E 's/^# *(zh_CN\.UTF-8 UTF-8|en_US\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen
}

# The Wine loader for a build: 64-bit test builds use wine64 directly, so that the launcher
# never tries a 32-bit loader the machine cannot run.
cradle_wine_loader() {
  case "$1" in
    x86_64) echo /usr/lib/wine/wine64 ;;
    *) echo /usr/lib/wine/wine ;;
  esac
}

# Wine's environment for the project: quiet, no Mono or Gecko prompts, and the tests' X server
# when CRADLE_DISPLAY_FILE names one.
cradle_wine_env() {
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
  if [[ -n ${CRADLE_DISPLAY_FILE:-} && -f $CRADLE_DISPLAY_FILE ]]; then
    DISPLAY=$(cat "$CRADLE_DISPLAY_FILE")
    export DISPLAY
  fi
}

# Makes a Wine prefix at $1 for loader $2, once: boots it, maps the Chinese font so message boxes
# show their text, and leaves a marker so later calls return at once.
cradle_make_prefix() {
  local prefix=$1 loader=$2
  [[ -f $prefix/.cradle-ready ]] && return 0
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  cradle_wine_env
  local arch=win32
  [[ $loader == *wine64 ]] && arch=win64
  WINEPREFIX=$prefix WINEARCH=$arch LC_ALL=zh_CN.UTF-8 "$loader" wineboot -i
  # There is no window manager on the tests' X server: without this, Wine waits 2 s for one at
  # every window it hides or destroys.
  WINEPREFIX=$prefix "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  local face
  for face in SimSun NSimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "Microsoft YaHei"; do
    WINEPREFIX=$prefix "$loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v "$face" /d "WenQuanYi Micro Hei" /f >/dev/null
  done
  WINEPREFIX=$prefix wineserver -w
  touch "$prefix/.cradle-ready"
}
