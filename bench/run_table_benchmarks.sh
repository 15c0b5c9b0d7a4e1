#!/usr/bin/env bash
# Runs the table-core benchmarks, then the Python csv baseline on the city file and on the
# 100,000-line file the loader benchmark made. BUILD_DIR picks the build folder (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -DZENAVO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target bench_table_core
export ZENAVO_BENCH_DIR="${TMPDIR:-/tmp}"
"$build"/bin/bench_table_core "$@"
python3 bench/python_csv_baseline.py data/municipios.csv "$ZENAVO_BENCH_DIR/zenavo_bench_100000.csv"
