# Shared by build.sh, run.sh and test.sh: where things are, and the Wine settings that keep a
# prefix quiet and headless. Source it; it defines variables and functions only.

TAVRIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
HOST_BUILD=$TAVRIN_ROOT/build/host
WIN_BUILD=$TAVRIN_ROOT/build/win
# One display size for every virtual-display run: room for the window at scale 1.5.
XVFB_ARGS="-screen 0 1920x1080x24 -nolisten tcp"

# No Mono or Gecko prompts, no desktop menu entries, no debug chatter.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"

# Makes the Wine prefix $1 once (about 10 s); a prefix left half-made is made again.
ensure_wine_prefix() {
  local prefix=$1 ready=$1/.tavrin-ready-2
  [ -f "$ready" ] && return 0
  echo "Creating the Wine prefix $prefix"
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  WINEPREFIX=$prefix timeout 300 wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; return 1; }
  # No sound device here: an empty driver keeps Wine from printing ALSA errors.
  WINEPREFIX=$prefix timeout 120 wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f \
    >/dev/null 2>&1 || { echo "could not silence the Wine audio driver" >&2; return 1; }
  link_japanese_font "$prefix" || return 1
  WINEPREFIX=$prefix timeout 120 wineserver -w
  touch "$ready"
}

# The menus and dialogs are Japanese; without a linked Japanese font Wine draws them as boxes.
link_japanese_font() {
  local prefix=$1 face
  for face in 'Tahoma' 'Microsoft Sans Serif' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
    WINEPREFIX=$prefix timeout 120 wine reg add \
      'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >/dev/null 2>&1 \
      || { echo "could not link a Japanese font for $face" >&2; return 1; }
  done
}

# Ends the wineserver of prefix $1 and everything that still runs in it.
end_wine_session() {
  WINEPREFIX=$1 timeout 30 wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$1 timeout 30 wineserver -w >/dev/null 2>&1 || true
}
