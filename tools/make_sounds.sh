#!/bin/sh
# Synthesises the game's two sound effects with sox.
#
#   make_sounds.sh OUTPUT_DIR
#
# click.wav  35 ms square wave at 1.2 kHz with a fast fade: menu clicks
# card.wav   a 130 ms band-passed pink-noise swish, then a 40 ms low tap: a
#            card turning over and landing
#
# Both are 44.1 kHz, 16-bit mono, peak-normalised to -3 dBFS. -R keeps sox's
# noise generator repeatable and -D turns dither off, so every run writes the
# same bytes.
set -eu

OUT=${1:?usage: make_sounds.sh OUTPUT_DIR}
mkdir -p "$OUT"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

SOX="sox -R -D -V1"
# Rate and channels go before -n: they set the synthesis rate, so sox adds no
# resampling (which would overshoot the square wave past the normalised peak).
FMT="-r 44100 -c 1"

$SOX $FMT -n -b 16 "$OUT/click.wav" synth 0.035 square 1200 fade q 0.001 0.035 0.028 norm -3

# The swish rises and falls; the band-pass keeps it airy, not hissy.
$SOX $FMT -n -e floating-point -b 32 "$TMP/swish.wav" \
    synth 0.13 pinknoise sinc 600-3500 fade q 0.05 0.13 0.07 norm -1
# The tap: a short low thump with a quick pitch drop, a little below the swish.
$SOX $FMT -n -e floating-point -b 32 "$TMP/tap.wav" \
    synth 0.04 sine 180-90 fade q 0.002 0.04 0.034 norm -4
$SOX "$TMP/swish.wav" "$TMP/tap.wav" -b 16 "$OUT/card.wav" norm -3
