"""Python's csv module reading the same 100,000-line file as the loader benchmark into memory
(a list of rows, as the loader keeps a table): median of five full reads, in milliseconds."""
import csv
import statistics
import sys
import time


def read_all(path):
    with open(path, newline="", encoding="latin-1") as handle:
        return list(csv.reader(handle))


def main():
    path = sys.argv[1]
    times = []
    for _ in range(5):
        start = time.perf_counter()
        read_all(path)
        times.append((time.perf_counter() - start) * 1000)
    print(f"python csv.reader: median {statistics.median(times):.1f} ms over 5 reads")


if __name__ == "__main__":
    main()
