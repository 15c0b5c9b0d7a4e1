"""Python's csv module reading the same files as the loader benchmark into memory (a list of
rows, as the loader keeps a table): median of five full reads of each file, in milliseconds."""
import csv
import statistics
import sys
import time


def read_all(path):
    with open(path, newline="", encoding="latin-1") as handle:
        return list(csv.reader(handle))


def main():
    for path in sys.argv[1:]:
        times = []
        for _ in range(5):
            start = time.perf_counter()
            rows = read_all(path)
            times.append((time.perf_counter() - start) * 1000)
        print(f"python csv.reader, {len(rows)} lines ({path}): "
              f"median {statistics.median(times):.1f} ms over 5 reads")


if __name__ == "__main__":
    main()
