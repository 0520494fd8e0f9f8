#!/usr/bin/env bash
# The run command: installs what is missing, builds, and shows a whole installation on the sample
# set under Wine: a fresh prefix with a stand-in game folder, the stand-in game running, and
# CradlePatch.exe in this terminal. With a display of your own you click the confirmation
# yourself; without one the demo starts an X server and answers it by itself.
# Screenshots land in build/demo/screenshots. ./tools/demo.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$CRADLE_ROOT"

cradle_install_packages
echo "== building"
cmake --preset wine64 >/dev/null
cmake --build --preset wine64 --target CradlePatch stand_in_game_original stand_in_assembly_original test_helper >/dev/null

build=$CRADLE_ROOT/build/wine64
demo=$CRADLE_ROOT/build/demo
shots=$demo/screenshots
loader=$(cradle_wine_loader x86_64)
export WINEPREFIX=$demo/wineprefix
helper=$build/fixtures/test_helper.exe
rm -rf "$shots"
mkdir -p "$shots"

auto=0
if [[ -z ${DISPLAY:-} ]]; then
  "$CRADLE_ROOT/tools/xvfb.sh" up "$demo/xvfb"
  DISPLAY=$(cat "$demo/xvfb/display")
  export DISPLAY
  auto=1
fi
cleanup() {
  WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
  ((auto)) && "$CRADLE_ROOT/tools/xvfb.sh" down "$demo/xvfb"
  return 0
}
trap cleanup EXIT

echo "== a fresh Wine prefix in $WINEPREFIX"
rm -rf "$WINEPREFIX"
cradle_make_prefix "$WINEPREFIX" "$loader" >/dev/null 2>&1
cradle_wine_env
export LC_ALL=zh_CN.UTF-8

game=$WINEPREFIX/drive_c/Games/AliceInCradle
mkdir -p "$game/AliceInCradle_Data/Managed"
cp "$build/fixtures/original/AliceInCradle.exe" "$game/AliceInCradle.exe"
cp "$build/fixtures/original/Assembly-CSharp.dll" "$game/AliceInCradle_Data/Managed/Assembly-CSharp.dll"
files=(AliceInCradle.exe AliceInCradle_Data/Managed/Assembly-CSharp.dll)
echo "== the game folder C:\\Games\\AliceInCradle, before:"
(cd "$game" && sha256sum "${files[@]}")

echo "== starting the stand-in game"
"$loader" 'C:\Games\AliceInCradle\AliceInCradle.exe' >/dev/null 2>&1 &
for _ in $(seq 100); do
  [[ $("$loader" "$helper" window-of AliceInCradle) != 0* ]] && break
  sleep 0.2
done

if ((auto)); then
  echo "== no display of yours: the demo answers the confirmation with OK"
  (
    report=$demo/confirm.json
    rm -f "$report"
    "$loader" "$helper" answer-box "欧尼酱~有件事要问您~" ok "Z:${report//\//\\}" 60000 2000 >/dev/null &
    for _ in $(seq 600); do [[ -f $report ]] && break; sleep 0.1; done
    import -window root "$shots/confirm-box.png"
  ) &
fi
# The patched game comes up while the program makes its closing pause.
(
  for _ in $(seq 600); do
    [[ $("$loader" "$helper" window-of AliceInCradle) == *AliceInCradleStandInPatched* ]] && break
    sleep 0.2
  done
  sleep 2  # and the file manager opened on the comparison folder
  import -window root "$shots/after-installation.png"
) &

echo "== running CradlePatch.exe (the 64-bit build of the same sources; see README)"
if [[ -t 1 ]]; then
  "$loader" "$build/CradlePatch.exe"
else
  script -qefc "$(printf '%q ' "$loader" "$build/CradlePatch.exe")" /dev/null </dev/null
fi
wait

echo "== the game folder, after:"
(cd "$game" && sha256sum "${files[@]}")
echo "== the comparison folder 补丁对比图:"
ls -l "$game/补丁对比图"
echo "== the payloads it carries:"
(cd "$build/sample-payloads" && sha256sum Assembly-CSharp.dll AliceInCradle.exe)
echo "== screenshots: $shots"
ls "$shots"
