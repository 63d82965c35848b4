# SPDX-License-Identifier: GPL-3.0-or-later
"""The Python module's speed beside the engine's own.

python_bench.py ENGINE_BENCH: the engine alone (engine_bench, the
construction table's 49 lines at blocks of 4096 frames) against the module
on the same lines (program 0, the construction table): one Reverb on one
thread, two Reverbs on two threads, and the cost of a call on 64-frame
chunks. Real-time factors are seconds of 44.1 kHz stereo per second: per CPU
second for the engine and one thread (per core), per second of wall time
for two threads.
"""
import json
import subprocess
import sys
import threading
import time

import numpy as np

import nadrix

RATE = 44100
SECONDS = 60
ROUNDS = 3


def engine_x_realtime(engine_bench):
    out = subprocess.run([engine_bench, "--benchmark_filter=Construction49Lines/0/frames:4096", "--benchmark_format=json",
                          "--benchmark_min_time=1", "--benchmark_repetitions=2"], capture_output=True, text=True, check=True).stdout
    return max(b["x_realtime"] for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration")


def noise(seconds, seed):
    return np.random.default_rng(seed).uniform(-0.5, 0.5, (2, int(seconds * RATE))).astype(np.float32)


def prepared():
    """A Reverb that has taken its memory, as after its first block: what a
    pipeline's Reverb spends once is left out of its speed."""
    rv = nadrix.Reverb(RATE, program=0)
    rv.process(np.zeros(0, np.float32))
    return rv


def best_of(runs, measure):
    return min(measure() for _ in range(runs))


def one_thread():
    """(per CPU second, as engine_bench counts: what a core spends, not what a
    shared machine's neighbours take from it meanwhile; per wall second, for
    the speed-up of two threads)"""
    audio = noise(SECONDS, 1)
    cpu, wall = [], []
    for _ in range(2):
        rv = prepared()
        start_cpu, start_wall = time.thread_time(), time.perf_counter()
        rv.process(audio)
        cpu.append(time.thread_time() - start_cpu)
        wall.append(time.perf_counter() - start_wall)
    return SECONDS / min(cpu), SECONDS / min(wall)


def two_threads():
    inputs = [noise(SECONDS, 1), noise(SECONDS, 2)]

    def measure():
        reverbs = [prepared() for _ in inputs]
        threads = [threading.Thread(target=rv.process, args=(audio,)) for rv, audio in zip(reverbs, inputs)]
        start = time.perf_counter()
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        return time.perf_counter() - start

    return 2 * SECONDS / best_of(2, measure)


def chunk_overhead(chunk=64, seconds=10):
    audio = noise(seconds, 3)
    pieces = [np.ascontiguousarray(audio[:, i:i + chunk]) for i in range(0, audio.shape[1], chunk)]

    def chunked():
        rv = prepared()
        start = time.perf_counter()
        for piece in pieces:
            rv.process(piece)
        return time.perf_counter() - start

    def whole():
        rv = prepared()
        start = time.perf_counter()
        rv.process(audio)
        return time.perf_counter() - start

    per_call = best_of(3, chunked) / len(pieces)
    per_call_whole = best_of(3, whole) / len(pieces)
    return per_call * 1e6, (per_call - per_call_whole) * 1e6


def main():
    # Round by round, each figure the best of its rounds: this shared
    # machine's speed drifts by up to 15 % from one minute to the next, and
    # interleaved rounds give every figure the same chances.
    engine = one = one_wall = two = 0.0
    for _ in range(ROUNDS):
        engine = max(engine, engine_x_realtime(sys.argv[1]))
        cpu, wall = one_thread()
        one, one_wall = max(one, cpu), max(one_wall, wall)
        two = max(two, two_threads())
    call_us, overhead_us = chunk_overhead()
    rows = [
        ("engine alone (engine_bench), one core", f"{engine:.0f}x", ""),
        ("module, one Reverb, one thread", f"{one:.0f}x", f"{100 * one / engine:.0f} % of the engine"),
        ("module, two Reverbs, two threads (wall time)", f"{two:.0f}x", f"{two / one_wall:.2f}x one thread's {one_wall:.0f}x"),
        ("module, 64-frame chunks: time per call", f"{call_us:.2f} us", f"{overhead_us:.2f} us more than its share of one call"),
    ]
    print("| 44.1 kHz stereo, program 0 (49 lines), 60 s of noise | real time | |")
    print("|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main()
