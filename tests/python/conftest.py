# SPDX-License-Identifier: GPL-3.0-or-later
# What every test of the Python module shares: the module as built (CTest
# puts it on PYTHONPATH), nadrix-render beside it, and small inputs made here.
import os
import subprocess

import numpy as np
import pytest

import nadrix

RATE = 44100


@pytest.fixture(scope="session")
def render():
    """Runs nadrix-render with these arguments; returns its standard output."""
    path = os.environ["NADRIX_RENDER"]

    def run(*args):
        done = subprocess.run([path, *map(str, args)], capture_output=True, text=True)
        assert done.returncode == 0, done.stderr
        return done.stdout

    return run


def noise_bursts(channels, seconds, rate=RATE, seed=1):
    """Bursts of noise with pauses between, at a level a mix might have."""
    generator = np.random.default_rng(seed)
    frames = int(seconds * rate)
    audio = (generator.standard_normal((channels, frames)) * 0.2).astype(np.float32)
    audio[:, (np.arange(frames) // (rate // 5)) % 2 == 1] = 0.0
    return audio


@pytest.fixture
def stereo_file(tmp_path):
    audio = noise_bursts(2, 1.0)
    path = tmp_path / "dry.wav"
    nadrix.write_audio(path, audio, RATE)
    return path, audio


def read(path):
    audio, rate = nadrix.read_audio(path)
    assert rate == RATE
    return audio
