#!/usr/bin/env bash
# Runs every whole-program case of a case table (see the table's README)
# against one build of Tollwick: copies the program and the case's input into
# a fresh folder, runs it from another working folder, and compares the exit
# status and every file left in the folder byte for byte.
# Usage: run_cases.sh <cases dir> <program file> <work dir> [launcher ...]
# e.g.   run_cases.sh tests/data/tollwick_cases build/windows/tollwick.exe /tmp/w wine
set -uo pipefail
cases=$1 program=$2 work=$3
shift 3
launcher=("$@")
name=$(basename "$program")
passed=0
failed=()

show_difference() {  # expected written
  echo "    expected:"; head -c 2000 "$1" | cat -A | sed 's/^/      /'
  echo "    written:";  head -c 2000 "$2" | cat -A | sed 's/^/      /'
}

for dir in "$cases"/*/; do
  [ -f "$dir/args.txt" ] || continue
  case=$(basename "$dir")
  folder="$work/$case"
  rm -rf "$folder" && mkdir -p "$folder"
  cp "$program" "$folder/$name"
  [ -d "$dir/input" ] && cp -r "$dir/input/." "$folder/"
  args=()
  [ -s "$dir/args.txt" ] && mapfile -t args < "$dir/args.txt"

  ( cd "$work" && timeout -k 5 60 "${launcher[@]}" "$folder/$name" "${args[@]}" ) >"$folder.log" 2>&1
  status=$?
  problems=()
  want_status=$(tr -d '\r\n' < "$dir/status.txt")
  if [ "$status" = 124 ] || [ "$status" = 137 ]; then
    problems+=("did not end within 60 s")
  elif [ "$status" != "$want_status" ]; then
    problems+=("exit status $status, expected $want_status")
  fi
  for want in "$dir"/expected/*; do
    [ -e "$want" ] || continue
    file=$(basename "$want")
    if [ ! -f "$folder/$file" ]; then problems+=("$file missing")
    elif ! cmp -s "$want" "$folder/$file"; then
      problems+=("$file differs")
      show_difference "$want" "$folder/$file" >>"$folder.log"
    fi
  done
  for got in "$folder"/*; do
    file=$(basename "$got")
    [ "$file" = "$name" ] || [ -e "$dir/expected/$file" ] || problems+=("left $file behind")
  done

  if [ ${#problems[@]} -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed+=("$case")
    echo "FAIL $case: ${problems[*]}"
    sed 's/^/  /' "$folder.log"
  fi
done

echo "cases passed: $passed, failed: ${#failed[@]}"
[ "$passed" -gt 0 ] || { echo "no case found in $cases"; exit 1; }
[ ${#failed[@]} -eq 0 ]
