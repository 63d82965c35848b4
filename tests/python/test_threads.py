# SPDX-License-Identifier: GPL-3.0-or-later
# Reverbs on several threads run at once and give what one thread gives.
import threading
import time

import numpy as np

import nadrix
from conftest import RATE, noise_bursts


def test_two_reverbs_on_two_threads_give_the_single_thread_bytes():
    inputs = [noise_bursts(2, 2.0, seed=s) for s in (1, 2)]
    make = [lambda: nadrix.Reverb(RATE, program="Nice Hall"), lambda: nadrix.Reverb(RATE, random=99)]
    alone = [make[i]().process(inputs[i], tail=2) for i in range(2)]

    together = [None, None]

    def run(i):
        together[i] = make[i]().process(inputs[i], tail=2)

    threads = [threading.Thread(target=run, args=(i,)) for i in range(2)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for i in range(2):
        assert alone[i].tobytes() == together[i].tobytes()


def test_the_interpreter_runs_other_threads_while_a_reverb_works():
    rv = nadrix.Reverb(RATE, program="Nice Hall")
    audio = np.zeros((2, RATE * 60), np.float32)
    working = threading.Event()
    finished = threading.Event()

    def render():
        working.set()
        rv.process(audio)
        finished.set()

    worker = threading.Thread(target=render)
    worker.start()
    working.wait()
    time.sleep(0.01)  # well into the render
    steps = 0
    while not finished.is_set():
        steps += 1
    worker.join()
    # Holding the lock, the render would let this thread take no step until it ended.
    assert steps > 10000
