# SPDX-License-Identifier: GPL-3.0-or-later
"""Plants small deliberate faults in the sources, one at a time, on a scratch
copy of the working tree, and reports which of them no test catches.

Each fault is an exact text replacement in one file, with the test programs
that should notice it. A fault counts as caught when one of those programs
fails; one whose text is no longer in the file is reported as "does not
apply", so the list keeps up with the code. Usage (from the repository):

    scripts/mutation-check.sh [FAULT-NAME...]
"""

import os
import shutil
import subprocess
import sys
import time

ENGINE = ["engine_tests"]
PROCESSOR = ["processor_tests"]
UI = ["ui_tests"]
TOOLS = ["tool_tests"]
EVERYTHING = ["engine_tests", "processor_tests", "ui_tests"]
# The Python module's tests, through pytest (built: the module and nadrix-render).
PYTHON = ["python"]
PYTHON_TARGETS = ["nadrix_python", "nadrix-render"]

# name, file, original text, faulty text, test programs
FAULTS = [
    # The engine
    ("comb feeds back its input", "engine/DelayLine.cpp",
     "line->buffer[line->position] = line->feedback * y + x;", "line->buffer[line->position] = line->feedback * x + y;", EVERYTHING),
    ("comb block feeds back its input", "engine/DelayLine.cpp",
     "slots[i] = feedback * y + in[i];", "slots[i] = feedback * in[i] + y;", EVERYTHING),
    ("line pass feeds back its input", "engine/LineKernelPass.h",
     "comb[i] = feedback * y + x;\n            predelayWrite[i] = y;", "comb[i] = feedback * x + y;\n            predelayWrite[i] = y;", EVERYTHING),
    ("line pass reads a slot its stretch writes", "engine/LineKernelPass.h",
     "run = smaller (run, write > read ? write - read : read - write);", "(void) 0;", ENGINE),
    ("a changed mix keeps the old crossfade", "engine/ReverbEngineRun.cpp",
     "if (! (m == crossfadeMix))", "if (crossfadeMix != crossfadeMix)", EVERYTHING),
    ("comb ring holds 0.4 s", "engine/DelayLine.h",
     "constexpr float DelayLine_longestSeconds = 0.5f;", "constexpr float DelayLine_longestSeconds = 0.4f;", EVERYTHING),
    ("length change clears half of what it reads", "engine/DelayLine.cpp",
     "std::memset (line->buffer, 0, sizeof (float) * (size_t) length);", "std::memset (line->buffer, 0, sizeof (float) * (size_t) (length / 2));", EVERYTHING),
    ("pre-delay starts a quarter in", "engine/ModLine.cpp",
     "line->readIndex = (int32_t) ((double) line->length * 0.5);", "line->readIndex = (int32_t) ((double) line->length * 0.25);", EVERYTHING),
    ("pre-delay margin of 99 samples", "engine/ModLine.cpp",
     "return (int32_t) (seconds * clampedRate + 100.0f);", "return (int32_t) (seconds * clampedRate + 99.0f);", EVERYTHING),
    ("silence clears only the current pre-delay", "engine/ModLine.cpp",
     "std::memset (line->buffer, 0, sizeof (float) * (size_t) line->usedLength);", "std::memset (line->buffer, 0, sizeof (float) * (size_t) line->length);", ENGINE + PROCESSOR),
    ("splitter without its anti-denormal constant", "engine/ThreeBandState.h",
     "constexpr double ThreeBandState_antiDenormal = 2.3283064370807974e-10;", "constexpr double ThreeBandState_antiDenormal = 0.0;", EVERYTHING),
    ("high band from two samples back", "engine/ThreeBandState.h",
     "const double h = state->history[2] - ThreeBandState_Run_Cascade", "const double h = state->history[1] - ThreeBandState_Run_Cascade", EVERYTHING),
    ("pan law -3.01 dB", "engine/PanGains.cpp",
     "constexpr float minus3dB = 0.70794576f;", "constexpr float minus3dB = 0.7071068f;", EVERYTHING),
    ("norm counts one line too few", "engine/ReverbEngineRun.cpp",
     "g.norm = (float) ((double) (2 + countedLines) * 0.7);", "g.norm = (float) ((double) (1 + countedLines) * 0.7);", EVERYTHING),
    ("a line at exactly 0.5 does not run", "engine/LineActivity.h",
     "return ! (threshold > active);", "return active > threshold;", ENGINE + PROCESSOR),
    ("a line at exactly 0.5 counts in the level", "engine/LineActivity.h",
     "return active > threshold;", "return ! (threshold > active);", ENGINE + PROCESSOR),
    ("dry and wet crossfade swapped", "engine/ReverbEngineRun.cpp",
     "dryGain = crossfadeGain (m);", "dryGain = crossfadeGain (1.0f - m);", EVERYTHING),
    ("band mix takes the mid gain for the low band", "engine/ReverbEngineRun.cpp",
     "lowMid[i] = (float) (gains.low * low + gains.mid * mid);", "lowMid[i] = (float) (gains.mid * low + gains.mid * mid);", EVERYTHING),
    ("an undone delay change keeps the ring", "engine/ReverbEngineTakeOver.cpp",
     "else if (changed || length != comb->length)", "else if (length != comb->length)", ENGINE + PROCESSOR),
    ("a restart keeps the splitter's memory", "engine/ReverbEngineTakeOver.cpp",
     "    // The splitter as a fresh engine has it: silent, tuned to the current splits.\n    ThreeBandState_Init",
     "    // The splitter as a fresh engine has it: silent, tuned to the current splits.\n    ThreeBandState_Update", ENGINE + PROCESSOR),
    ("construction table: line 0 pan", "engine/ConstructionTable.cpp",
     "-0.5044f, 0.865736f, 0.54942f,", "-0.5045f, 0.865736f, 0.54942f,", EVERYTHING),
    # The mapping and the programs
    ("frequency mapping with 9980", "processor/ParameterInfo.h",
     "splitFrequencySpan = 9080.0f;", "splitFrequencySpan = 9980.0f;", PROCESSOR),
    ("program conversion with 9080", "processor/ParameterInfo.cpp",
     "return std::sqrt ((stored - lowestSplitFrequency) / 9980.0f);", "return std::sqrt ((stored - lowestSplitFrequency) / 9080.0f);", PROCESSOR),
    ("feedback not capped", "processor/ParameterInfo.cpp",
     "float feedback (float n) { return std::min (n, highestFeedback); }", "float feedback (float n) { return n; }", PROCESSOR),
    ("Nice Hall line 5 feedback", "processor/FactoryPrograms.cpp",
     "-0.849669f, 0.583f, 0.9239f,", "-0.849669f, 0.583f, 0.9238f,", PROCESSOR),
    ("program name Robotiser", "processor/FactoryPrograms.cpp",
     '"Nice Hall", "Robotizer",', '"Nice Hall", "Robotiser",', PROCESSOR),
    # The state and the programs' rules
    ("state restores one value too few", "processor/NadrixAudioProcessor.cpp",
     "const int n = juce::jmin (sizeInBytes / (int) sizeof (float), numParameters);",
     "const int n = juce::jmin (sizeInBytes / (int) sizeof (float), numParameters - 1);", PROCESSOR),
    ("state saved in big-endian order", "processor/NadrixAudioProcessor.cpp",
     "values[i] = juce::ByteOrder::swapIfBigEndian (", "values[i] = juce::ByteOrder::swap (", PROCESSOR),
    ("no 200 ms rule after a restore", "processor/NadrixAudioProcessor.cpp",
     "lastStateRestoreTime.load() < programLockoutMs)", "lastStateRestoreTime.load() < 0u)", PROCESSOR),
    # The audio path
    ("mono track fed with silence on the right", "processor/AudioPath.cpp",
     "engine.process (left, stereoInput ? right : left, left, right, frames);",
     "engine.process (left, right, left, right, frames);", PROCESSOR),
    ("non-finite input let through", "processor/AudioPath.cpp",
     "return usable ? x : 0.0f;", "return x;", PROCESSOR),
    ("output limit at +4 dBFS", "processor/AudioPath.h",
     "static constexpr float outputLimit = 15.848932f;", "static constexpr float outputLimit = 1.5848932f;", PROCESSOR),
    ("the window misses host changes", "ui/editor/NadrixAudioProcessorEditor.cpp",
     "if (value == shown[i])", "if (i >= 0)", UI),
    ("a value for a restart reaches the running line", "engine/ReverbEngine.cpp",
     "        settings.cancelTakeOver (j);", "        (void) 0;", ENGINE),
    ("editor edits not told to the host", "processor/NadrixAudioProcessor.cpp",
     "published[index]->sendValueChangedMessageToListeners (published[index]->getValue());", "(void) 0;", PROCESSOR + UI),
    ("gain text in 10 log10", "processor/ParameterText.cpp",
     "const double db = 20.0 * std::log10", "const double db = 10.0 * std::log10", PROCESSOR),
    # The editor's write path
    ("fan pan written unscaled", "ui/editor/NadrixAudioProcessorEditor.cpp",
     "writeLineParameter (line, ParameterLayout::pan, ParameterInfo::normalisedFromEngine (ParameterLayout::indexOf (line, ParameterLayout::pan), v));",
     "writeLineParameter (line, ParameterLayout::pan, v * 0.5f);", UI),
    ("equaliser writes to the next index", "ui/editor/NadrixAudioProcessorEditor.cpp",
     "gestures.write (paramId, v);", "gestures.write (paramId + 1, v);", UI),
    ("drag writes without opening a gesture", "ui/editor/HostGestures.cpp",
     "        open.set ((size_t) index);\n        processor.beginParameterGesture (index);", "        open.set ((size_t) index);", UI),
    ("random render writes feedback last", "ui/editor/RandomRender.cpp",
     "        write (indexOf (j, feedback), fb);\n", "", UI),
    # The fan's editing rules
    ("a drag lets a line's two times pass 0.58 s", "ui/delays/FanEditing.cpp",
     "if (otherTime + v > maximumTotalTime)", "if (otherTime + v > maximumTotalTime + 0.01f)", UI),
    ("a press prefers the pre-delay dot", "ui/delays/FanEditing.cpp",
     "toPredelay < best)", "toPredelay <= best)", UI),
    # The decay analysis
    ("T30 fitted down to -30 dB", "tools/analysis/DecayAnalysis.cpp",
     'straightFit ("T30", -5.0, -35.0)', 'straightFit ("T30", -5.0, -30.0)', TOOLS),
    ("D50 split at 51 ms", "tools/analysis/DecayAnalysis.cpp",
     "early50 = energyOver (energy, 0, at (0.050))", "early50 = energyOver (energy, 0, at (0.051))", TOOLS),
    ("C80 split at 78 ms", "tools/analysis/DecayAnalysis.cpp",
     "early80 = energyOver (energy, 0, at (0.080))", "early80 = energyOver (energy, 0, at (0.078))", TOOLS),
    ("echo density over a third", "tools/analysis/EchoDensity.cpp",
     "std::erfc (1.0 / std::sqrt (2.0))", "(1.0 / 3.0)", TOOLS),
    # The renderer's stopping rules, seeds, manifests and paths
    ("whole tail stops 80 dB under its peak", "tools/nadrix-render/WholeTailRule.h",
     "double quietDb = -100.0", "double quietDb = -80.0", TOOLS),
    ("whole tail floor at -100 dBFS", "tools/nadrix-render/WholeTailRule.h",
     "floorDbfs = -120.0", "floorDbfs = -100.0", TOOLS),
    ("impulse ends 60 dB down", "tools/nadrix-render/ImpulseLength.h",
     "constexpr double fallDb = -90.0;", "constexpr double fallDb = -60.0;", TOOLS),
    ("seeds draw in 1000 steps", "ui/editor/SeededDraws.h",
     "(float) (generator() % 10000u) / 10000.0f", "(float) (generator() % 1000u) / 1000.0f", TOOLS),
    ("a seed mixed before it is used", "ui/editor/SeededDraws.h",
     "explicit SeededDraws (std::uint32_t seed) : generator (seed) {}", "explicit SeededDraws (std::uint32_t seed) : generator (seed ^ 0x9e3779b9u) {}", TOOLS),
    ("comments count as renders", "tools/nadrix-render/ManifestFile.cpp",
     "if (line.trim().isEmpty() || line.trimStart().startsWithChar ('#'))", "if (line.trim().isEmpty() || line.startsWithChar ('#'))", TOOLS),
    ("shard K takes render K + 1", "tools/nadrix-render/ManifestFile.cpp",
     "if ((render - 1) % options.shards == options.shard - 1)", "if (render % options.shards == options.shard - 1)", TOOLS),
    ("a state of any size is read", "tools/nadrix-render/HostSession.cpp",
     "if (size != NadrixAudioProcessor::stateBytes)", "if (size == 0)", TOOLS),
    ("file identity does not follow links", "tools/nadrix-render/FileIdentity.cpp",
     'return "path " + resolvedPath (writeThroughLinks (file));', 'return "path " + file.getFullPathName();', TOOLS),
    # The audio path around the engine
    ("a mono input reaches the left only", "processor/AudioPath.cpp",
     "engine.process (left, stereoInput ? right : left, left, right, frames);", "engine.process (left, right, left, right, frames);", PROCESSOR + TOOLS),
    ("the input guard skips the right input", "processor/AudioPath.cpp",
     "            right[i] = usableOrSilence (right[i], replaced);", "            (void) right[i];", PROCESSOR),
    # Memory, the window's settings and the LV2 plug-in
    ("a change backs only the first live line set", "engine/LineSetRegistry.cpp",
     "            set->populate (line, delayTime, predelay);", "        {\n            set->populate (line, delayTime, predelay);\n            break;\n        }", ENGINE),
    ("a stored window scale used as it stands", "ui/editor/WindowScale.cpp",
     "return isChoice ? scale : 1.0f;", "return scale > 0.0f ? scale : 1.0f;", UI),
    ("LV2 ports read a program's values back by conversion", "lv2/ParameterPorts.cpp",
     "        if (ParameterInfo::shownValue (index, n) == shown)\n            return n;", "        (void) n;", ["lv2_host_tests"]),
    ("LV2 ports after a restore keep the restored values", "lv2/ParameterPorts.h",
     "if (shown == heldShown || (afterRestore && readsBackAs (shown, heldShown)))", "if (shown == heldShown || afterRestore)", ["hosting_tests", "lv2_host_tests"]),
    # The Python module
    ("a program's values wait for a restart", "python/Reverb.cpp",
     "        take (i, FactoryPrograms::normalised (program, i), Takes::atRestart);\n    startAfresh();", "        take (i, FactoryPrograms::normalised (program, i), Takes::atRestart);", PYTHON),
    ("a state read big-endian", "python/Reverb.cpp",
     "for (int b = 3; b >= 0; --b)", "for (int b = 0; b < 4; ++b)", PYTHON),
    ("reset keeps the reverb's memory", "python/Reverb.cpp",
     "void Reverb::reset()\n{\n    startAfresh();\n}", "void Reverb::reset()\n{\n}", PYTHON),
    ("the whole tail hears the left output only", "python/ReverbObject.cpp",
     "rule->add (std::max (std::abs (left[kept]), std::abs (right[kept])),", "rule->add (std::abs (left[kept]),", PYTHON),
    ("every chunk reads the input from its start", "python/ReverbObject.cpp",
     "input.copy (0, written, fromInput, l);", "input.copy (0, 0, fromInput, l);", PYTHON),
    ("not-a-number passes the quick check", "python/AudioArray.cpp",
     "largest = std::max (largest, bits & 0x7fffffffu);", "largest = std::max (largest, bits & 0x7f7fffffu);", PYTHON),
    ("a value beyond its range is clamped", "python/ReverbSetup.cpp",
     "if (setting.beyondRange)", "if (false)", PYTHON),
    ("the interpreter lock held while processing", "python/ReverbObject.cpp",
     "        py::gil_scoped_release released;\n        input.refuseNonFinite();", "        input.refuseNonFinite();", PYTHON),
    ("a Reverb in use takes a second thread", "python/ReverbObject.cpp",
     "if (! lock.owns_lock())", "if (false)", PYTHON),
    ("the right channel analysed as the left", "python/Analysis.cpp",
     "const int first = channel == \"right\" ? 1 : 0;", "const int first = 0;", PYTHON),
    ("programs found only in their own letter case", "tools/nadrix-render/SettingReader.cpp",
     "if (text.equalsIgnoreCase (FactoryPrograms::names[i]))", "if (text == FactoryPrograms::names[i])", TOOLS + PYTHON),
    ("a fresh engine starts from program 0's values", "processor/FactoryPrograms.cpp",
     "values[(size_t) i] = ParameterInfo::engineValue (i, normalised (program, i));", "values[(size_t) i] = ParameterInfo::engineValue (i, normalised (0, i));", PROCESSOR),
]


def run (command, cwd, log, env=None):
    return subprocess.run (command, cwd=cwd, stdout=log, stderr=subprocess.STDOUT, env=env).returncode


def targets_of (programs):
    return [t for p in programs for t in (PYTHON_TARGETS if p == "python" else [p])]


def test_fails (program, source, build, log):
    if program != "python":
        return run ([os.path.join (build, "tests", program), "--gtest_brief=1"], build, log) != 0
    env = dict (os.environ, PYTHONPATH=os.path.join (build, "python"), PYTHONDONTWRITEBYTECODE="1",
                NADRIX_RENDER=os.path.join (build, "tools", "nadrix-render", "nadrix-render"))
    return run (["/usr/bin/python3", "-m", "pytest", "-q", "-x", os.path.join (source, "tests", "python")], build, log, env) != 0


def main():
    root = os.path.dirname (os.path.dirname (os.path.abspath (__file__)))
    scratch = os.environ.get ("NADRIX_MUTATION_DIR", "/tmp/nadrix-mutation")
    source, build = os.path.join (scratch, "src"), os.path.join (scratch, "build")
    wanted = set (sys.argv[1:])
    faults = [f for f in FAULTS if not wanted or f[0] in wanted]

    os.makedirs (scratch, exist_ok=True)
    # By content, and without copying times: a changed file is newer than
    # the scratch build's objects, whenever it was edited.
    subprocess.run (["rsync", "-rlpD", "--checksum", "--delete", "--exclude", "/build*", "--exclude", ".git", root + "/", source + "/"], check=True)
    log = open (os.path.join (scratch, "mutation.log"), "w")
    if run (["cmake", "-S", source, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], source, log) != 0:
        sys.exit ("mutation-check: the scratch copy does not configure; see " + log.name)
    targets = sorted ({t for f in faults for t in targets_of (f[4])})
    print ("mutation-check: building the scratch copy in %s (the first time compiles JUCE)" % build, flush=True)
    if run (["cmake", "--build", build, "--target"] + targets, source, log) != 0:
        sys.exit ("mutation-check: the scratch copy does not build; see " + log.name)

    results = []
    for name, relative, original, faulty, programs in faults:
        path = os.path.join (source, relative)
        pristine = open (path).read()
        if pristine.count (original) != 1:
            results.append ((name, "does not apply"))
            continue

        open (path, "w").write (pristine.replace (original, faulty))
        started = time.time()
        if run (["cmake", "--build", build, "--target"] + targets_of (programs), source, log) != 0:
            outcome = "does not build"
        else:
            caught = [p for p in programs if test_fails (p, source, build, log)]
            outcome = "caught by " + ", ".join (caught) if caught else "NOT CAUGHT"
        open (path, "w").write (pristine)
        results.append ((name, outcome))
        print ("  %-48s %s (%.0f s)" % (name, outcome, time.time() - started), flush=True)

    run (["cmake", "--build", build, "--target"] + targets, source, log) # back to the pristine build
    missed = [n for n, o in results if not o.startswith ("caught")]
    print ("mutation-check: %d faults, %d caught, %d not: %s" % (len (results), len (results) - len (missed), len (missed), ", ".join (missed) or "none"))
    sys.exit (1 if missed else 0)


if __name__ == "__main__":
    main()
