#!/usr/bin/env bash
# The bash completion offers commands, each command's own options, the Kobu choices and
# configuration files.
set -euo pipefail
source "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
touch a.Kivo notes.txt
offered() { COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=(); _kivoctl; echo "${COMPREPLY[*]}"; }
expect() {
  local want="$1"; shift
  local got; got=$(offered "$@")
  [ "$got" = "$want" ] || { echo "for '$*': wanted '$want', got '$got'" >&2; exit 1; }
}
expect "read" kivoctl re
expect "--kobu --trace --json --help" kivoctl read --
expect "--json --help" kivoctl diff --
expect "clear-2-8 clear-all" kivoctl write a.Kivo --radio c
expect "sim" kivoctl --kobu s
expect "a.Kivo" kivoctl diff a
expect "" kivoctl diff n
echo ok
