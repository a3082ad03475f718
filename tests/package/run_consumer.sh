#!/usr/bin/env bash
# Installs the build tree into a scratch prefix, then builds and runs the outside consumers.
set -euo pipefail
build_dir=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
cmake -S "$source_dir/tests/package/consumer" -B "$work/consumer" -G Ninja \
      -DCMAKE_PREFIX_PATH="$work/prefix" \
      -DRECORDING_ENGINE_DIR="$source_dir/tests/engine" >/dev/null
cmake --build "$work/consumer" >/dev/null
export LD_LIBRARY_PATH="$work/prefix/lib:$work/prefix/lib64:${LD_LIBRARY_PATH:-}"
"$work/consumer/consumer"
# A red cube seen from the front: its front face is two red triangles in the trace.
# The trace goes to a file: a reader that stops early (head) must not break the writer's pipe.
"$work/consumer/trace_consumer" >"$work/trace.txt"
test "$(head -n 1 "$work/trace.txt")" = header
test "$(tail -n 1 "$work/trace.txt")" = footer
test "$(grep -c 'Unicolor Polygon drawing  (color = FF0000)' "$work/trace.txt")" -ge 2
echo "trace consumer: ok"
# The cube's twelve triangles reach an engine module built outside the tree.
"$work/consumer/engine_consumer" "$work/consumer/librecording_engine.so" >"$work/engine.txt"
test "$(grep -c '^17 addTriangle' "$work/engine.txt")" -eq 12
echo "engine consumer: ok"
