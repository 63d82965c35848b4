# SPDX-License-Identifier: GPL-3.0-or-later
# What cannot mean anything is refused with a reason, before anything
# changes; nothing brings the interpreter down.
import threading

import numpy as np
import pytest

import nadrix
from conftest import RATE


@pytest.fixture
def rv():
    return nadrix.Reverb(RATE)


@pytest.mark.parametrize("audio, error, words", [
    (np.zeros(10, np.float64), TypeError, "float32 samples, not float64"),
    (np.zeros(10, np.int16), TypeError, "not int16"),
    ([0.0] * 10, TypeError, "numpy array of float32 samples, not list"),
    (np.zeros((3, 5), np.float32), ValueError, "shape (3, 5) is not mono or stereo"),
    (np.zeros((2, 2, 2), np.float32), ValueError, "not mono or stereo"),
    (np.array([0.0, np.nan, 0.0, np.inf], np.float32), ValueError, "2 samples that are not a finite number (the first at channel 0, frame 1)"),
    (np.frombuffer(memoryview(bytearray(44))[1:41], np.float32), ValueError, "not aligned to whole samples"),
])
def test_audio_that_is_not_float32_mono_or_stereo_is_refused(rv, audio, error, words):
    before = rv.state
    with pytest.raises(error) as refused:
        rv.process(audio)
    assert words in str(refused.value)
    assert rv.state == before


@pytest.mark.parametrize("name, value, error, words", [
    ("Mixx", 0.5, ValueError, "unknown parameter 'Mixx' (did you mean 'Mix'?); Reverb.parameters lists them"),
    ("Mix", 1.5, ValueError, "a plain number is the normalised value from 0 to 1"),
    ("Mix", float("nan"), ValueError, "nan is not a number from 0 to 1"),
    ("Mix", "150 %", ValueError, "Mix=150 % is beyond the parameter's range"),
    ("Delay time Dly 3", "fast", ValueError, "cannot read 'fast'"),
    ("Mix", [1], TypeError, "not list"),
])
def test_unknown_names_and_values_beyond_range_are_refused(rv, name, value, error, words):
    with pytest.raises(error) as refused:
        rv.set(name, value)
    assert words in str(refused.value)
    assert rv.get("Mix").value == nadrix.Reverb(RATE).get("Mix").value


@pytest.mark.parametrize("arguments, error, words", [
    (dict(sample_rate=4000), ValueError, "from 8000 to 384000 Hz"),
    (dict(sample_rate=float("nan")), ValueError, "from 8000 to 384000 Hz"),
    (dict(program="Nice Hal"), ValueError, "unknown program 'Nice Hal' (did you mean 'Nice Hall'?)"),
    (dict(program=6), ValueError, "the programs are 0 to 5"),
    (dict(state=b"\0" * 1427), ValueError, "a Nadrix state is 1428 bytes, this one has 1427"),
    (dict(state="/nonexistent/state.bin"), FileNotFoundError, "no such file"),
    (dict(random=-1), ValueError, "a whole number from 0 to 4294967295"),
    (dict(random=2 ** 32), ValueError, "a whole number from 0 to 4294967295"),
    (dict(random=1.5), TypeError, "a whole number"),
    (dict(random_settings=(0.1, 0.2, 0.3, 0.4)), ValueError, "random_settings goes with random=SEED"),
    (dict(random=1, random_settings=(0.1, 0.2, 0.3)), ValueError, "four numbers from 0 to 1"),
    (dict(random=1, random_settings="0.1,0.2,0.3,2"), ValueError, "four numbers from 0 to 1"),
])
def test_set_ups_that_cannot_mean_anything_are_refused(arguments, error, words):
    arguments.setdefault("sample_rate", RATE)
    with pytest.raises(error) as refused:
        nadrix.Reverb(**arguments)
    assert words in str(refused.value)


def test_tails_files_and_analyses_that_cannot_be_are_refused(rv, tmp_path):
    for tail, error in [("forever", ValueError), (-1, ValueError), (1e9, ValueError), (True, TypeError)]:
        with pytest.raises(error, match="tail is None, seconds from 0 to 3600"):
            rv.process(np.zeros(4, np.float32), tail=tail)
    with pytest.raises(OSError):
        nadrix.read_audio(tmp_path / "missing.wav")
    (tmp_path / "noise.wav").write_bytes(b"RIFF not really")
    with pytest.raises(OSError):
        nadrix.read_audio(tmp_path / "noise.wav")
    with pytest.raises(ValueError, match="cannot tell the kind of file"):
        nadrix.write_audio(tmp_path / "out.xyz", np.zeros((2, 4), np.float32), RATE)
    with pytest.raises(ValueError, match="writes stereo"):
        nadrix.write_audio(tmp_path / "out.wav", np.zeros(4, np.float32), RATE)
    assert not list(tmp_path.glob("out*"))  # nothing left half written
    with pytest.raises(ValueError, match="silent"):
        nadrix.analyze(np.zeros((2, RATE), np.float32), RATE)
    with pytest.raises(ValueError, match="channel"):
        nadrix.analyze(np.ones((2, RATE), np.float32), RATE, channel="middle")


def test_a_sample_beyond_36_dbfs_runs_as_silence_with_a_warning(rv):
    loud = np.zeros((2, 256), np.float32)
    loud[0, 10] = 1000.0
    with pytest.warns(UserWarning, match="1 input samples were beyond"):
        out = rv.process(loud)
    assert np.all(np.isfinite(out)) and np.abs(out).max() == 0.0


def test_one_reverb_on_two_threads_at_once_is_refused_not_a_crash():
    rv = nadrix.Reverb(RATE, program="Nice Hall")
    long_input = np.zeros((2, RATE * 120), np.float32)
    refusals = []
    started = threading.Event()

    def render():
        started.set()
        rv.process(long_input)

    worker = threading.Thread(target=render)
    worker.start()
    started.wait()
    while worker.is_alive():
        try:
            rv.set("Mix", 0.5)
        except RuntimeError as e:
            refusals.append(str(e))
            break
    worker.join()
    assert refusals and "in use on another thread" in refusals[0]
