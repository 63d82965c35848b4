# SPDX-License-Identifier: GPL-3.0-or-later
# A manifest rendered across a Dask cluster (two worker processes) gives
# the files nadrix-render --manifest writes, byte for byte. The recipe is
# the README's.
import pytest

import nadrix
from conftest import RATE, noise_bursts

distributed = pytest.importorskip("distributed")


def render_line(line):
    """One manifest line: IN, OUT, then optionally PROGRAM, SEED and T,R,P,C."""
    fields = line.rstrip("\n").split("\t") + [""] * 3
    source, target, program, seed, settings = fields[:5]
    audio, rate = nadrix.read_audio(source)
    rv = nadrix.Reverb(rate, program=None if program in ("", "-") else program,
                       random=int(seed) if seed else None, random_settings=settings or None)
    nadrix.write_audio(target, rv.process(audio, tail="auto"), rate)
    return target


def test_a_manifest_across_a_two_worker_cluster_gives_the_renderers_files(render, tmp_path):
    for i in range(4):
        nadrix.write_audio(tmp_path / f"dry{i}.wav", noise_bursts(2, 0.5, seed=i), RATE)
    rows = [("0", "Nice Hall", "", ""), ("1", "-", "11", ""), ("2", "", "12", "0.1,0.9,0.3,0.8"), ("3", "Robotizer", "13", "")]

    def manifest(prefix):
        lines = [f"{tmp_path}/dry{i}.wav\t{tmp_path}/{prefix}{i}.wav\t{p}\t{s}\t{t}".rstrip("\t") for i, p, s, t in rows]
        return "# a comment, then one render per line\n" + "\n".join(lines) + "\n"

    (tmp_path / "rooms.tsv").write_text(manifest("renderer"))
    render("--manifest", tmp_path / "rooms.tsv", "--threads", "1")

    lines = [l for l in manifest("dask").splitlines() if l and not l.startswith("#")]
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        written = client.gather(client.map(render_line, lines))

    assert len(written) == len(rows)
    for i, *_ in rows:
        assert (tmp_path / f"renderer{i}.wav").read_bytes() == (tmp_path / f"dask{i}.wav").read_bytes(), f"line {int(i) + 1}"
