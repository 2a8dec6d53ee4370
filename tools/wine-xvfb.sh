# Sourced by the scripts that run the Windows release's real window under
# Wine beside this machine's build (tools/windows-smoke-test.sh,
# bench/windows-start.sh), from the tree's top folder. Gives them:
#   $scratch  a temporary folder, removed at exit
#   $prefix   a fresh Wine prefix in it, whose Wine is stopped at exit
#   DISPLAY   an Xvfb of 1280x900 of their own, ended at exit
#   as_linux  the start of a command running this machine's build on that X
#             server, with a home of its own in $scratch/home
#   as_wine   the start of a command running a Windows program in $prefix,
#             with an empty WINEPATH: the release's folder holds every DLL,
#             as on the organiser's machine
scratch=$(mktemp -d)
prefix=$scratch/wine
xvfb=
wine_xvfb_finish() {
  tools/wine-run.sh "$prefix" --stop
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap wine_xvfb_finish EXIT

# A display number nobody uses: the lock file X servers leave tells.
for _ in $(seq 1 20); do
  display=$((90 + RANDOM % 400))
  [ -e "/tmp/.X$display-lock" ] || break
done
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$display
for _ in $(seq 1 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.2; done
mkdir -p "$scratch/home"
as_linux=(env HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
  XDG_DATA_HOME="$scratch/home/.local/share" QT_QPA_PLATFORM=xcb)
as_wine=(env WINEPATH= tools/wine-run.sh "$prefix")
# The prefix made before any clock runs (its first start takes seconds).
"${as_wine[@]}" cmd /c exit 0 >/dev/null 2>&1 || true
