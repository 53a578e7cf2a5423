#!/usr/bin/env bash
# Cross-builds the Windows test programs and runs them under Wine in a fresh prefix of their
# own (inside the build folder), so that nothing of the user's Wine set-up takes part.
set -euo pipefail
cd "$(dirname "$0")/.."
# The controls' windows and the test programs' application object need a display: the whole
# Wine session runs on a virtual one, which Wine takes for its desktop when it starts.
if [ -z "${OSTREL_WINE_ON_DISPLAY:-}" ]; then
  scripts/build-windows.sh
  # The Linux side of the end-to-end run: the simulated device, and the test program that
  # starts the Windows program under Wine against it and looks at its window.
  source scripts/packages.sh
  scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${HEADLESS_PACKAGES[@]}"
  export CCACHE_BASEDIR=$PWD
  scripts/configure-linux.sh build
  cmake --build build --target station_tests ostrel-smt-sim
  scripts/ensure-packages.sh xvfb
  exec env OSTREL_WINE_ON_DISPLAY=1 xvfb-run -a "$0" "$@"
fi
# fonts-wine: Wine's own faces; fonts-wqy-microhei: the Chinese glyphs.
scripts/ensure-packages.sh wine64 wine socat fonts-wine fonts-wqy-microhei
export WINEPREFIX=$PWD/build-windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
socat_pids=()
trap 'wineserver -k 2>/dev/null || true; [ ${#socat_pids[@]} -eq 0 ] || kill "${socat_pids[@]}" 2>/dev/null || true' EXIT
wineboot -i >/dev/null 2>&1
# Debian's Wine does not look for its own faces where fonts-wine installs them: the prefix's
# font folder links them (Marlett draws the title bar's buttons), all but the bitmap "MS Sans
# Serif", behind which Wine links no other face, so that its Chinese captions were boxes.
for face in /usr/share/wine/fonts/*; do
  case $face in */sserif*.fon) ;; *) ln -sf "$face" "$WINEPREFIX/drive_c/windows/Fonts/" ;; esac
done

# Pairs of ports, each two pseudo-terminals that socat joins, each end mapped as a port: the
# platform's tests use COM5 and COM6; the serial tests open COMn and hold COMn+1 as the device.
pair() {
  local log=$WINEPREFIX/socat-$1.log
  socat -d -d pty,raw,echo=0 pty,raw,echo=0 2>"$log" &
  socat_pids+=($!)
  for _ in $(seq 50); do
    [ "$(grep -c 'PTY is' "$log")" -ge 2 ] && break
    sleep 0.1
  done
  local ptys
  mapfile -t ptys < <(grep -o '/dev/pts/[0-9]*' "$log")
  wine reg add 'HKLM\Software\Wine\Ports' /v "$1" /d "${ptys[0]}" /f >/dev/null 2>&1
  wine reg add 'HKLM\Software\Wine\Ports' /v "$2" /d "${ptys[1]}" /f >/dev/null 2>&1
}
pair COM1 COM2
pair COM5 COM6
pair COM7 COM8
# No window manager runs on the virtual display: Wine need not wait for one at every window.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The window font, "MS Sans Serif", becomes Tahoma (as behind the dialogs of Windows since
# 2000), and the installed WenQuanYi Micro Hei gives it the Chinese glyphs that a fresh prefix
# lacks, as a Chinese Windows links its own face: behind Tahoma for what GDI draws, and as
# Uniscribe's face for Han script in the edits and lists.
nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
wine reg add "$nt\FontSubstitutes" /v 'MS Sans Serif' /d Tahoma /f >/dev/null 2>&1
wine reg add "$nt\FontLink\SystemLink" /v Tahoma /t REG_MULTI_SZ \
  /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Uniscribe\Fallback' /v 696e6168 /d 'WenQuanYi Micro Hei' \
  /f >/dev/null 2>&1 # the tag 'hani'
wineserver -k || true # the ports, fonts and the driver's settings are read when Wine starts

# run PROGRAM [CASE...]: runs a test program of build-windows/tests/ under Wine without the
# named cases; a program that hangs fails after five minutes.
run() {
  local program=$1
  shift
  timeout 300 wine "build-windows/tests/$program.exe" --gtest_filter="-$(IFS=:; echo "$*")" 2>/dev/null
}

# Where Wine's GDI and our own rasteriser disagree, the Linux backend keeps the behaviour its
# tests state, and the case is left out here, with the reason.
known=(
  # Wine fills a wide pen's outline as its own polygon: diagonal edges light a pixel more or
  # less than the pixel-centre rule (within half the width of the line) that we follow.
  DrawContextWide.SegmentsCoverTheBandAndTheDisksAtTheirEnds
  DrawContextWide.PolylinesCoverTheUnionOnce
  DrawContextLine.SteepTwoPixelLineLightsTheColumnsAtItsExactPosition
  # Coordinates and pen widths beyond GDI's 27-bit range: GDI fails or bends such lines, ours
  # clips them exactly; Wine also takes minutes over an ellipse of that size.
  DrawContextWide.FarEndsLightTheSamePixelsAsNearOnes
  DrawContextLine.FarEndsAreClippedWithoutOverflow
  DrawContextRectangle.FarEdgesAndHugePensCoverTheImageWithoutOverflow
  DrawContextShapes.FarBoundsFillTheImageWithoutOverflow
  # Wine starts the horizontal hatch on another row of the 8 x 8 cell, runs the focus
  # rectangle's dots in the other phase, and leaves the gaps of an alternate pen unpainted in
  # the opaque background mode.
  DrawContextFill.HatchDrawsItsBackgroundOnlyWhenOpaque
  DrawContextFocus.InvertsEveryOtherPixelOfTheFrameOnceAndTwiceRestores
  DrawContextLine.OpaqueBackgroundFillsTheGapsOfStyledPens
)
run platform/platform_tests "${known[@]}"

# The serial tests over the socat pairs. What a pair under Wine cannot show is left out, with
# the reason; each holds on Linux, over pseudo-terminals of the tests' own.
serial_known=(
  # Wine does not enforce exclusive opening of a port.
  CommTest.APortHeldByAnotherComponentCannotBeOpened
  # Closing the far end of a pair hangs nothing up: socat keeps both pseudo-terminals open.
  CommTest.TheFarEndVanishingIsReportedAndTheComponentRecovers
  CommTest.WritingToAVanishedLineReportsAHangup
  # Wine does not always complete a cancelled write that waits for room on a pseudo-terminal,
  # so closing the port waits until the far end reads, which here it never does.
  CommTest.ClosingDuringALongWriteIsPromptAndDiscardsTheRest
)
run serial/serial_tests "${serial_known[@]}"
run framework/framework_tests
# Drawing the chart and the buttons: what Wine's GDI draws otherwise than our rasteriser.
chart_known=(
  # The line's builder gathers a run that never leaves its pixel into one point, which no pen
  # draws; Wine's GDI draws the original zero-length segments of a wide pen as a dot (their
  # round caps). The station's series never hands the builder a zero-length segment.
  PolylineBuilder.ColumnRunsEndingOnEachKindOfRow
)
run chart/chart_tests "${chart_known[@]}"
buttons_known=(
  # The focus rectangle's dots in Wine's phase, as with DrawContextFocus above.
  Button.NormalShowsOneDarkPixelFrameAndFocusedTwoWithDottedRectangle
)
run buttons/buttons_tests "${buttons_known[@]}"
# The station's window, its COM1 on the first pair.
run app/app_tests

# After every test of the pairs, since it maps COM1 to the simulator's line: the program itself
# against the simulated device, on a virtual display of the test's own.
OSTREL_WINE_STATION=$PWD/build-windows/app/ostrel-smt.exe \
  OSTREL_WINE_SCREENSHOT=$PWD/build-windows/ostrel-smt-wine.png \
  timeout 300 build/tests/station/station_tests --gtest_filter='WineStation.*' 2>/dev/null

# The user's number separators once more under locales whose separators differ (Wine takes the
# user's locale from LC_ALL). Last: a change of the code pages makes Wine write its default font
# links over ours.
for locale in de_DE.UTF-8 de_CH.UTF-8; do
  LC_ALL=$locale timeout 60 wine build-windows/tests/platform/platform_tests.exe \
    --gtest_filter=UserNumberSeparators.* 2>/dev/null
done
