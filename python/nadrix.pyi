# SPDX-License-Identifier: GPL-3.0-or-later
"""Nadrix, a stereo reverb of up to 50 delay lines, on numpy arrays.

Audio is float32: (frames,) for mono, or (channels, frames) with 1 or 2
channels; (frames, channels) is taken when its first axis is longer than 2,
and its output keeps that layout. The output is always stereo.
"""
import os
from typing import Any, Dict, List, Literal, Mapping, Optional, Sequence, Tuple, Union

import numpy
import numpy.typing

__version__: str

Audio = numpy.typing.NDArray[numpy.float32]
PathLike = Union[str, os.PathLike]
RandomSettings = Union[Sequence[float], str]
Value = Union[str, float, bool]

class Parameter:
    """A parameter's value as the reverb holds it."""
    @property
    def index(self) -> int: ...
    @property
    def name(self) -> str: ...
    @property
    def value(self) -> float:
        """The normalised value, 0 to 1."""
    @property
    def text(self) -> str:
        """As a host shows it: "60.0 % wet", "250.0 ms"."""
    @property
    def unit(self) -> str:
        """The unit of minimum and maximum: "%", "Hz", "ms", or ""."""
    @property
    def minimum(self) -> float: ...
    @property
    def maximum(self) -> float: ...
    @property
    def automatable(self) -> bool: ...

class Reverb:
    """A Nadrix reverb at a sample rate (8000 to 384000 Hz), set up as
    nadrix-render sets up the plug-in: a state, a program, a random room.
    Give each thread its own Reverb."""
    def __init__(self, sample_rate: float, program: Optional[Union[int, str]] = None,
                 state: Optional[Union[bytes, bytearray, memoryview, PathLike]] = None,
                 random: Optional[int] = None, random_settings: Optional[RandomSettings] = None) -> None: ...
    def process(self, audio: Audio, tail: Union[None, float, Literal["auto"]] = None) -> Audio:
        """Reverberates audio, continuing the same reverb; returns stereo float32.
        tail: None, seconds (0 to 3600), or "auto" (until 100 dB below the peak)."""
    def reset(self) -> None:
        """Starts afresh with the current values."""
    def set(self, name: str, value: Value) -> None:
        """A text as a host reads it ("60 %", "250 ms", "L30", "On"), or the normalised value 0..1."""
    def get(self, name: str) -> Parameter: ...
    @property
    def parameters(self) -> List[Parameter]: ...
    @property
    def state(self) -> bytes:
        """The 1428-byte state the plug-in saves; setting it starts afresh with its values."""
    @state.setter
    def state(self, state: Union[bytes, bytearray, memoryview, PathLike]) -> None: ...
    @property
    def sample_rate(self) -> float: ...
    @property
    def tail_seconds(self) -> float: ...

def programs() -> List[str]:
    """The factory programs' names, by number."""

def impulse(sample_rate: float = 44100.0, program: Optional[Union[int, str]] = None,
            state: Optional[Union[bytes, bytearray, memoryview, PathLike]] = None, random: Optional[int] = None,
            random_settings: Optional[RandomSettings] = None, settings: Optional[Mapping[str, Value]] = None,
            wet_only: bool = False) -> Audio:
    """The impulse response, (2, frames) float32: nadrix-render --impulse's samples."""

def analyze(impulse: Audio, sample_rate: float, channel: Literal["both", "sum", "left", "right"] = "both") -> Dict[str, Any]:
    """Decay figures (EDT, T20, T30, C80, D50 per octave band and broadband), as --analyze --json gives them."""

def read_audio(path: PathLike) -> Tuple[Audio, float]:
    """An audio file as nadrix-render reads it: ((channels, frames) float32, sample rate)."""

def write_audio(path: PathLike, audio: Audio, sample_rate: float, bits: Optional[int] = None) -> None:
    """Stereo audio written as nadrix-render writes its output: the same bytes for the same samples."""
