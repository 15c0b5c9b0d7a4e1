#!/usr/bin/env bash
# Runs the table-core benchmarks and the Python csv baseline on the same file.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DZENAVO_BUILD_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)" --target bench_table_core
export ZENAVO_BENCH_CSV="${TMPDIR:-/tmp}/zenavo_bench_100k.csv"
build/bin/bench_table_core
python3 bench/python_csv_baseline.py "$ZENAVO_BENCH_CSV"
