# SPDX-License-Identifier: GPL-3.0-or-later
# The module gives nadrix-render's samples to the bit, and a stream in
# pieces gives what one call gives.
import json
import wave

import numpy as np
import pytest

import nadrix
from conftest import RATE, noise_bursts, read


def assert_same(expected, got):
    assert expected.shape == got.shape
    assert expected.tobytes() == got.tobytes(), f"{np.count_nonzero(expected != got)} samples differ"


@pytest.mark.parametrize("arguments, make", [
    (["--tail", "1"], lambda: nadrix.Reverb(RATE)),  # a fresh instance's values
    (["--program", "Nice Hall"], lambda: nadrix.Reverb(RATE, program="nice hall")),
    (["--program", "2", "--tail", "1.5"], lambda: nadrix.Reverb(RATE, program=2)),
    (["--random", "7", "--random-settings", "0.4,0.6,0.1,0.5"],
     lambda: nadrix.Reverb(RATE, random=7, random_settings=(0.4, 0.6, 0.1, 0.5))),
    (["--random", "4294967295"], lambda: nadrix.Reverb(RATE, random=4294967295)),
])
def test_programs_and_seeded_rooms_sound_as_the_renderer(render, stereo_file, tmp_path, arguments, make):
    path, audio = stereo_file
    render(path, "-o", tmp_path / "wet.wav", *arguments)
    tail = float(arguments[-1]) if "--tail" in arguments else "auto"
    assert_same(read(tmp_path / "wet.wav"), make().process(audio, tail=tail))


def test_settings_with_units_and_states_sound_as_the_renderer(render, stereo_file, tmp_path):
    path, audio = stereo_file
    render(path, "-o", tmp_path / "set.wav", "--program", "Sheep Spring Reverb", "--set", "Mix=60 %",
           "--set", "Delay time Dly 3=250 ms", "--set", "Pan Dly 0=L30", "--set", "Active Dly 7=On",
           "--set", "Gain High=0.25", "--tail", "2", "--save-state", tmp_path / "saved.bin")
    rv = nadrix.Reverb(RATE, program="Sheep Spring Reverb")
    for name, value in [("Mix", "60 %"), ("delay time dly 3", "250 ms"), ("Pan Dly 0", "L30"), ("Active Dly 7", "On"), ("Gain High", 0.25)]:
        rv.set(name, value)
    assert rv.state == (tmp_path / "saved.bin").read_bytes()
    assert_same(read(tmp_path / "set.wav"), rv.process(audio, tail=2))

    # The state, as bytes or as a file; then with a program after it.
    render(path, "-o", tmp_path / "state.wav", "--state", tmp_path / "saved.bin", "--tail", "1")
    from_bytes = nadrix.Reverb(RATE, state=rv.state).process(audio, tail=1)
    from_file = nadrix.Reverb(RATE, state=tmp_path / "saved.bin").process(audio, tail=1)
    assert_same(read(tmp_path / "state.wav"), from_bytes)
    assert_same(from_bytes, from_file)
    render(path, "-o", tmp_path / "both.wav", "--state", tmp_path / "saved.bin", "--program", "Robotizer", "--tail", "1")
    assert_same(read(tmp_path / "both.wav"), nadrix.Reverb(RATE, state=rv.state, program="Robotizer").process(audio, tail=1))


@pytest.mark.parametrize("rate", [48000, 8000])
def test_a_mono_input_at_other_rates_sounds_as_the_renderer(render, tmp_path, rate):
    mono = noise_bursts(1, 0.5, rate)
    with wave.open(str(tmp_path / "mono.wav"), "wb") as w:  # a 16-bit mono file, as many data sets hold
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes((np.clip(mono[0], -1, 1) * 32767).astype("<i2").tobytes())
    samples, read_rate = nadrix.read_audio(tmp_path / "mono.wav")
    assert samples.shape == (1, mono.shape[1]) and read_rate == rate
    render(tmp_path / "mono.wav", "-o", tmp_path / "wet.wav", "--program", "Bright Ambience", "--tail", "1")
    expected, _ = nadrix.read_audio(tmp_path / "wet.wav")
    rv = nadrix.Reverb(rate, program="Bright Ambience")
    assert_same(expected, rv.process(samples[0], tail=1))  # (frames,) is mono too
    rv.reset()
    assert_same(expected, rv.process(samples, tail=1))


def test_a_stream_in_chunks_equals_one_call_and_reset_starts_afresh(stereo_file):
    _, audio = stereo_file
    whole = nadrix.Reverb(RATE, program="Nice Hall").process(audio, tail=3)

    rv = nadrix.Reverb(RATE, program="Nice Hall")
    edges = [0, 1, 64, 1000, 4097, 30000, audio.shape[1]]
    pieces = [rv.process(audio[:, a:b]) for a, b in zip(edges, edges[1:])]
    pieces.append(rv.process(np.zeros((2, 0), np.float32), tail=3))  # the tail alone, after the stream
    assert_same(whole, np.concatenate(pieces, axis=1))

    rv.reset()
    assert_same(whole, rv.process(audio, tail=3))

    # (frames, channels), as file readers give it: the same samples, in that layout.
    assert_same(whole.T, nadrix.Reverb(RATE, program="Nice Hall").process(np.ascontiguousarray(audio.T), tail=3))


def test_impulse_and_analysis_give_the_renderers_figures(render, tmp_path):
    render("--impulse", tmp_path / "ir.wav", "--program", "Nice Hall", "--wet-only")
    response = nadrix.impulse(RATE, program="Nice Hall", wet_only=True)
    assert_same(read(tmp_path / "ir.wav"), response)

    for channel in ["left", "right", "both"]:
        expected = json.loads(render("--analyze", "--json", "--program", "Small Drum Booth", "--set", "Mix=80 %",
                                     "--channel", "sum" if channel == "both" else channel))
        got = nadrix.analyze(nadrix.impulse(RATE, program="Small Drum Booth", settings={"Mix": "80 %"}), RATE, channel=channel)
        del expected["settings"], got["settings"]
        assert expected == got


def test_files_written_are_the_renderers_bytes(render, stereo_file, tmp_path):
    path, audio = stereo_file
    for name, bits in [("wet.wav", None), ("wet24.flac", 24), ("wet16.wav", 16)]:
        render(path, "-o", tmp_path / ("r-" + name), "--program", "Small Complex Room", "--tail", "0.5", *(["--bits", bits] if bits else []))
        wet = nadrix.Reverb(RATE, program="Small Complex Room").process(audio, tail=0.5)
        nadrix.write_audio(tmp_path / ("p-" + name), wet, RATE, bits=bits)
        assert (tmp_path / ("r-" + name)).read_bytes() == (tmp_path / ("p-" + name)).read_bytes(), name
