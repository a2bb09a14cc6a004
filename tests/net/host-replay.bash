# The host's replay verifies with quadrill-sim ($sim), to the end the host
# told: shared by the tests on this machine and those in home networks.
#   checkHostReplay [FOLDER [FAIL]]   (default: $work and fail)
checkHostReplay() {
  local folder=${1:-$work} failWith=${2:-fail} replay checked scores hash
  replay=$(ls "$folder"/host/replays/*.qrpl 2>/dev/null | head -n 1)
  [ -n "$replay" ] || "$failWith" "the host kept no replay"
  checked=$("$sim" --verify "$replay" | grep -v '^timing')
  echo "verify: $checked"
  scores=$(grep '^scores ' "$folder/host.out" | cut -d' ' -f2-)
  hash=$(grep '^hash ' "$folder/host.out" | cut -d' ' -f2)
  case "$checked" in
    *": scores $scores, "*", hash $hash, OK") ;;
    *) "$failWith" "the host's replay does not verify to the same end" ;;
  esac
}
