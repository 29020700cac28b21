# Sourced by tools/test-windows.sh: a private Wine prefix in the build folder,
# made once and shared by every test of a run, with a Japanese font standing
# in for "ＭＳ ゴシック", and a comma-decimal locale for the runs.
# Needs: $build (the Windows build folder).

export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko installer: the tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEARCH

wine_fail() { echo "wine setup: $*" >&2; exit 1; }

# Creating a prefix takes seconds (longer on a cold machine); a prefix left by
# an interrupted run or another Wine version is made again.
prepare_wine_prefix() {
  local ready="$WINEPREFIX/.tollwick-ready" version
  version=$(wine --version 2>/dev/null) || wine_fail "wine is not installed (tools/setup.sh)"
  if [ -f "$ready" ] && [ "$(cat "$ready")" = "$version" ]; then return 0; fi
  [ -d "$WINEPREFIX" ] && stop_wine
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  echo "creating the Wine prefix $WINEPREFIX ($version)"
  # wine refuses a prefix its user does not own; as root in CI it owns this one.
  env -u DISPLAY timeout -k 10 600 wineboot -i >/dev/null 2>&1 || wine_fail "wineboot -i failed or timed out"
  timeout -k 10 300 wineserver -w || wine_fail "wineserver did not settle"

  # "ＭＳ ゴシック" is not shipped with Wine: the IPA Gothic face stands in.
  local reg="$WINEPREFIX/fonts.reg"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"ＭＳ ゴシック"="IPAGothic"\r\n"MS Gothic"="IPAGothic"\r\n"ＭＳ Ｐゴシック"="IPAPGothic"\r\n' |
    iconv -f UTF-8 -t UTF-16 >"$reg"
  env -u DISPLAY timeout -k 10 120 wine regedit /S "$reg" >/dev/null 2>&1 || wine_fail "regedit failed"
  timeout -k 10 120 wineserver -w || wine_fail "wineserver did not settle"
  echo "$version" >"$ready"
}

# A German locale of our own (glibc's locale data, compiled into the build
# folder): decimal comma, Windows code page 1252, and UTF-8 arguments still
# reach the program intact. Falls back to C.UTF-8 when it cannot be made.
# Sets comma_wine: the command that starts a Windows program in it.
prepare_comma_locale() {
  local dir="$PWD/$build/locale"
  if [ ! -d "$dir/de_DE.UTF-8" ]; then
    mkdir -p "$dir"
    localedef -i de_DE -f UTF-8 "$dir/de_DE.UTF-8" >/dev/null 2>&1 || true
  fi
  if [ -d "$dir/de_DE.UTF-8" ]; then
    comma_wine=(env LOCPATH="$dir" LC_ALL=de_DE.UTF-8 wine)
  else
    echo "note: no de_DE locale data; the Wine runs use C.UTF-8" >&2
    comma_wine=(env LC_ALL=C.UTF-8 wine)
  fi
}

# Ends this prefix's Wine session (only the processes of our own prefix).
stop_wine() {
  timeout -k 5 60 wineserver -k >/dev/null 2>&1 || true
  timeout -k 5 60 wineserver -w >/dev/null 2>&1 || true
}
