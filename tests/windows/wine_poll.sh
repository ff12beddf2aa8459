# Shared by the Windows program tests: wine, and poll CMD… until it
# succeeds, for at most 60 s (Wine takes seconds to start on 2 cores).
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all
poll() {
  local until=$((SECONDS + 60))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $until ] || { echo "gave up after 60 s: $*" >&2; return 1; }
    sleep 0.2
  done
}
