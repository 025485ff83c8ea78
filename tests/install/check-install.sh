#!/usr/bin/env bash
# Installs the built project into a scratch prefix and builds the README's
# example against it twice: through pkg-config and through find_package.
set -euo pipefail
build_dir=$1 source_dir=$2 cxx=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
libdir=$(dirname "$(find "$work/prefix" -name 'libquoril.so.1' | head -n 1)")

# pkg-config
PKG_CONFIG_PATH="$libdir/pkgconfig" "$cxx" -std=c++20 "$source_dir/consumer/example.cpp" \
  $(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs quoril) -o "$work/example-pc"
LD_LIBRARY_PATH="$libdir" "$work/example-pc" "$work/a.ifo"

# find_package
cmake -S "$source_dir/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$work/consumer" >/dev/null
LD_LIBRARY_PATH="$libdir" "$work/consumer/example" "$work/b.ifo"
