#!/usr/bin/env bash
# Compiles the help pages in help/ into the HTML Help file help.hlp (chmcmd, from Debian's
# fp-utils). The compiled file is committed, so a build never needs the compiler.
set -euo pipefail
out=${1:-$(cd "$(dirname "$0")/.." && pwd)}
command -v chmcmd >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends fp-utils
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$out"/help/* "$tmp"/
(cd "$tmp" && chmcmd --no-html-scan --verbosity 1 help.hhp >/dev/null)
cp "$tmp/help.hlp" "$out/help.hlp"
