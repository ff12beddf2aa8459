#!/usr/bin/env bash
# Start-up time of the real game with sound (disk driver) and without an
# audio device, side by side: the game's own "total start-up time" line,
# five starts each, alternating. Build first. Usage: bench/sound_startup.sh
set -euo pipefail
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s '-screen 0 1920x1080x24' "$0" "$@"
cd "$(dirname "$0")/../build/bin"
export LIBGL_ALWAYS_SOFTWARE=1 ZENTREL_NO_ERROR_BOX=1 XDG_CONFIG_HOME=$(mktemp -d)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
n=0
startup() {  # driver -> milliseconds
  local log="$logs/$n.log"
  SDL_AUDIODRIVER=$1 SDL_DISKAUDIOFILE=/dev/null ./game -720 -novs >"$log" 2>/dev/null &
  local pid=$!
  until grep -qs "total start-up time" "$log"; do
    kill -0 $pid 2>/dev/null || { echo "game ended early" >&2; exit 1; }
    sleep 0.05
  done
  kill $pid; wait $pid 2>/dev/null || true
  sed -n 's/^total start-up time: \([0-9]*\) ms$/\1/p' "$log" | head -1
}
with="" without=""
for i in 1 2 3 4 5; do
  n=$((n + 1)); with="$with $(startup disk)"
  n=$((n + 1)); without="$without $(startup no-such-driver)"
done
echo "total start-up time (ms), with sound:   $with"
echo "total start-up time (ms), without sound:$without"
