// SPDX-License-Identifier: GPL-3.0-or-later
// What an LV2 plug-in costs a session, measured the way a host meets it:
// through lilv, from the bundle on LV2_PATH, its library stripped as it is
// shipped. Nadrix first and, beside it, any other LV2 plug-ins named by URI,
// in one run of one process: the description's parse, the first instance
// with its library's loading, each further instance, memory per instance at
// two rates, CPU per frame, 16 instances in turn against one, and choosing
// each of its presets.
//
//     lv2_instance_cost URI [URI...]
#include "bench/SessionMeasures.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/presets/presets.h>
#include <lv2/urid/urid.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace nadrix
{
namespace
{
    using namespace SessionMeasures;
    constexpr uint32_t maxBlock = 512;

    // URIs to numbers and back, as every LV2 host provides them.
    struct Urids
    {
        std::map<std::string, LV2_URID> ids;
        std::vector<std::string> uris;

        LV2_URID operator() (const char* uri)
        {
            const auto [it, added] = ids.emplace (uri, (LV2_URID) uris.size() + 1);
            if (added)
                uris.push_back (uri);
            return it->second;
        }

        LV2_URID_Map map { this, [] (LV2_URID_Map_Handle self, const char* uri) { return (*static_cast<Urids*> (self)) (uri); } };
        LV2_URID_Unmap unmap { this, [] (LV2_URID_Unmap_Handle self, LV2_URID id) {
                                  auto& all = static_cast<Urids*> (self)->uris;
                                  return id >= 1 && id <= all.size() ? all[id - 1].c_str() : (const char*) nullptr;
                              } };
    };

    // One instance with every port connected: audio ports to noise and to
    // output buffers, control inputs at their defaults, atom ports to empty
    // sequences, as a host connects them.
    class Instance
    {
    public:
        Instance (const LilvPlugin* plugin, LilvWorld* world, Urids& urids, double rate) : rate ((float) rate)
        {
            const int32_t maxFrames = (int32_t) maxBlock;
            options = { { LV2_OPTIONS_INSTANCE, 0, urids (LV2_BUF_SIZE__maxBlockLength), sizeof (int32_t), urids (LV2_ATOM__Int), &maxFrames },
                        { LV2_OPTIONS_INSTANCE, 0, urids (LV2_BUF_SIZE__nominalBlockLength), sizeof (int32_t), urids (LV2_ATOM__Int), &maxFrames },
                        { LV2_OPTIONS_INSTANCE, 0, urids (LV2_PARAMETERS__sampleRate), sizeof (float), urids (LV2_ATOM__Float), &this->rate },
                        { LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr } };
            const LV2_Feature map { LV2_URID__map, &urids.map }, unmap { LV2_URID__unmap, &urids.unmap },
                              optionsFeature { LV2_OPTIONS__options, options.data() }, bounded { LV2_BUF_SIZE__boundedBlockLength, nullptr };
            features = { map, unmap, optionsFeature, bounded };
            const LV2_Feature* list[] = { &features[0], &features[1], &features[2], &features[3], nullptr };
            instance = lilv_plugin_instantiate (plugin, rate, list);
            if (instance == nullptr)
                return;

            sequence = urids (LV2_ATOM__Sequence);
            chunk = urids (LV2_ATOM__Chunk);
            auto node = [world] (const char* uri) { return std::unique_ptr<LilvNode, decltype (&lilv_node_free)> (lilv_new_uri (world, uri), &lilv_node_free); };
            const auto audio = node (LV2_CORE__AudioPort), cv = node (LV2_CORE__CVPort), control = node (LV2_CORE__ControlPort),
                       atom = node (LV2_ATOM__AtomPort), input = node (LV2_CORE__InputPort);
            const uint32_t numPorts = lilv_plugin_get_num_ports (plugin);
            controls.assign (numPorts, 0.0f);
            std::mt19937 rng (numPorts);
            std::uniform_real_distribution<float> noise (-0.5f, 0.5f);
            for (uint32_t i = 0; i < numPorts; ++i)
            {
                const LilvPort* port = lilv_plugin_get_port_by_index (plugin, i);
                symbols[lilv_node_as_string (lilv_port_get_symbol (plugin, port))] = i;
                if (lilv_port_is_a (plugin, port, audio.get()) || lilv_port_is_a (plugin, port, cv.get()))
                {
                    auto& buffer = buffers.emplace_back (maxBlock);
                    if (lilv_port_is_a (plugin, port, input.get()))
                        std::generate (buffer.begin(), buffer.end(), [&] { return noise (rng); });
                    lilv_instance_connect_port (instance, i, buffer.data());
                }
                else if (lilv_port_is_a (plugin, port, atom.get()))
                {
                    auto& buffer = atoms.emplace_back (atomCapacity / 8);
                    (lilv_port_is_a (plugin, port, input.get()) ? atomInputs : atomOutputs).push_back (atoms.size() - 1);
                    lilv_instance_connect_port (instance, i, buffer.data());
                }
                else
                {
                    if (lilv_port_is_a (plugin, port, control.get()) && lilv_port_is_a (plugin, port, input.get()))
                    {
                        LilvNode* start = nullptr;
                        lilv_port_get_range (plugin, port, &start, nullptr, nullptr);
                        controls[i] = start != nullptr ? lilv_node_as_float (start) : 0.0f;
                        lilv_node_free (start);
                    }
                    lilv_instance_connect_port (instance, i, &controls[i]);
                }
            }
            lilv_instance_activate (instance);
        }

        ~Instance()
        {
            if (instance != nullptr)
            {
                lilv_instance_deactivate (instance);
                lilv_instance_free (instance);
            }
        }

        void run (uint32_t frames)
        {
            for (size_t k : atomInputs)
            {
                auto* in = reinterpret_cast<LV2_Atom_Sequence*> (atoms[k].data());
                *in = {};
                in->atom.size = sizeof (LV2_Atom_Sequence_Body);
                in->atom.type = sequence;
            }
            for (size_t k : atomOutputs)
            {
                auto* out = reinterpret_cast<LV2_Atom*> (atoms[k].data());
                out->size = atomCapacity - sizeof (LV2_Atom);
                out->type = chunk;
            }
            lilv_instance_run (instance, frames);
        }

        // Restores a preset, as a host does when the user chooses it.
        void restore (const LilvState* state)
        {
            const LV2_Feature* list[] = { &features[0], &features[1], &features[2], &features[3], nullptr };
            lilv_state_restore (state, instance, &setPortValue, this, 0, list);
        }

        LilvInstance* instance = nullptr;

    private:
        static void setPortValue (const char* symbol, void* self, const void* value, uint32_t size, uint32_t)
        {
            auto* me = static_cast<Instance*> (self);
            if (const auto it = me->symbols.find (symbol); it != me->symbols.end() && size == sizeof (float))
                me->controls[it->second] = *static_cast<const float*> (value);
        }

        static constexpr uint32_t atomCapacity = 1 << 16;
        float rate;
        std::vector<LV2_Options_Option> options;
        std::vector<LV2_Feature> features;
        std::vector<std::vector<float>> buffers;
        std::vector<std::vector<uint64_t>> atoms;
        std::vector<size_t> atomInputs, atomOutputs;
        std::vector<float> controls;
        std::map<std::string, uint32_t> symbols;
        LV2_URID sequence = 0, chunk = 0;
    };

    using Column = std::map<std::string, std::string>;

    const char* const rows[] = {
        "CPU, ns per frame at 64 / 512-frame blocks",
        "memory per extra instance, 44.1 kHz",
        "memory per extra instance, 96 kHz",
        "16 instances at 96 kHz",
        "instantiate + activate, each new instance kept alive",
        "first instance in this process, with loading",
        "choosing a preset (state restore call), the slowest",
        "cost per instance, 16 in turn vs one, 64-frame blocks",
        "library (as installed)",
        "LV2 description parse",
    };

    double nanosecondsPerFrame (Instance& instance, uint32_t block)
    {
        const uint32_t blocks = 2 * 44100 / block;
        instance.run (block); // warm
        const auto start = Clock::now();
        for (uint32_t b = 0; b < blocks; ++b)
            instance.run (block);
        return millisecondsSince (start) * 1.0e6 / (double) (blocks * block);
    }

    // Memory and time of `count` more instances at `rate`, each run for a few
    // blocks so that what it touches when playing is counted; kept alive.
    struct Session
    {
        std::vector<std::unique_ptr<Instance>> instances;
        double megabytes = 0.0, milliseconds = 0.0;
        long faults = 0;

        Session (const LilvPlugin* plugin, LilvWorld* world, Urids& urids, double rate, int count)
        {
            const double before = residentMegabytes();
            for (int i = 0; i < count; ++i)
            {
                const long faultsBefore = pageFaults();
                const auto start = Clock::now();
                instances.push_back (std::make_unique<Instance> (plugin, world, urids, rate));
                milliseconds += millisecondsSince (start);
                faults += pageFaults() - faultsBefore;
                for (int b = 0; b < 8; ++b)
                    instances.back()->run (maxBlock);
            }
            megabytes = residentMegabytes() - before;
        }
    };

    // What a host reads before it makes an instance: the description (read
    // when a host first asks about the ports) and the library's size.
    void describe (const LilvPlugin* plugin, Column& c)
    {
        const auto start = Clock::now();
        lilv_plugin_get_num_ports (plugin);
        const double parse = millisecondsSince (start);
        auto bytesOf = [] (const LilvNode* fileUri) {
            struct stat info {};
            char* path = lilv_file_uri_parse (lilv_node_as_uri (fileUri), nullptr);
            const double bytes = path != nullptr && stat (path, &info) == 0 ? (double) info.st_size : 0.0;
            lilv_free (path);
            return bytes;
        };
        double described = 0.0;
        const LilvNodes* data = lilv_plugin_get_data_uris (plugin);
        LILV_FOREACH (nodes, i, data)
            described += bytesOf (lilv_nodes_get (data, i));
        c[rows[9]] = format ("%.1f ms (%.0f KB of Turtle)", parse, described / 1024.0);
        c[rows[8]] = format ("%.2f MB", bytesOf (lilv_plugin_get_library_uri (plugin)) / 1.0e6);
    }

    void sessions (const LilvPlugin* plugin, LilvWorld* world, Urids& urids, Column& c)
    {
        {
            Session at44 (plugin, world, urids, 44100.0, 8);
            c[rows[1]] = format ("%.2f MB", at44.megabytes / 8.0);
            c[rows[4]] = format ("%.2f ms, ", at44.milliseconds / 8.0) + std::to_string (at44.faults / 8) + " faults";
        }
        {
            Session at96 (plugin, world, urids, 96000.0, 16);
            c[rows[2]] = format ("%.2f MB", at96.megabytes / 16.0);
            c[rows[3]] = format ("%.1f MB", at96.megabytes);
        }

        // 16 instances in turn, block by block, against one alone. The two take
        // turns too, each try the same number of frames in all, so that a quiet
        // or a busy moment of the machine falls on both: the best of seven each.
        Session sixteen (plugin, world, urids, 44100.0, 16);
        double alone = 1.0e300, inTurn = 1.0e300;
        for (int attempt = 0; attempt < 7; ++attempt)
            for (const size_t count : { (size_t) 1, (size_t) 16 })
            {
                const auto t = Clock::now();
                for (int r = 0; r < (int) (16 * 5000 / count); ++r)
                    for (size_t k = 0; k < count; ++k)
                        sixteen.instances[k]->run (64);
                double& best = count == 1 ? alone : inTurn;
                best = std::min (best, millisecondsSince (t));
            }
        c[rows[7]] = format ("%+.0f %%", 100.0 * (inTurn / alone - 1.0));
    }

    // Every preset, restored into `instance` as a host restores the user's
    // choice: the slowest call.
    void presets (const LilvPlugin* plugin, LilvWorld* world, Urids& urids, Instance& instance, Column& c)
    {
        LilvNode* presetClass = lilv_new_uri (world, LV2_PRESETS__Preset);
        LilvNodes* all = lilv_plugin_get_related (plugin, presetClass);
        double slowest = 0.0;
        std::string what;
        int count = 0;
        LILV_FOREACH (nodes, i, all)
        {
            const LilvNode* preset = lilv_nodes_get (all, i);
            lilv_world_load_resource (world, preset);
            LilvState* state = lilv_state_new_from_world (world, &urids.map, preset);
            if (state == nullptr)
                continue;
            const long faults = pageFaults();
            const auto start = Clock::now();
            instance.restore (state);
            const double ms = millisecondsSince (start);
            if (ms > slowest)
            {
                slowest = ms;
                const char* label = lilv_state_get_label (state);
                what = format ("%.2f ms, ", ms) + std::to_string (pageFaults() - faults) + " faults (\"" + (label != nullptr ? label : "") + "\"";
            }
            instance.run (maxBlock);
            ++count;
            lilv_state_free (state);
        }
        lilv_nodes_free (all);
        lilv_node_free (presetClass);
        c[rows[6]] = count == 0 ? "no presets" : what + ", of " + std::to_string (count) + ")";
    }

    Column measure (LilvWorld* world, Urids& urids, const char* uri)
    {
        Column c;
        LilvNode* uriNode = lilv_new_uri (world, uri);
        const LilvPlugin* plugin = lilv_plugins_get_by_uri (lilv_world_get_all_plugins (world), uriNode);
        lilv_node_free (uriNode);
        if (plugin == nullptr)
        {
            c["name"] = std::string (uri) + " (not found)";
            return c;
        }
        describe (plugin, c); // first: asking for the name would read the description
        c["name"] = lilv_node_as_string (lilv_plugin_get_name (plugin));

        const long faults = pageFaults();
        const auto start = Clock::now();
        Instance first (plugin, world, urids, 44100.0);
        if (first.instance == nullptr)
        {
            c["name"] += " (does not instantiate here)";
            return c;
        }
        first.run (maxBlock);
        c[rows[5]] = format ("%.2f ms, ", millisecondsSince (start)) + std::to_string (pageFaults() - faults) + " faults";
        c[rows[0]] = format ("%.1f / %.1f", nanosecondsPerFrame (first, 64), nanosecondsPerFrame (first, 512));
        sessions (plugin, world, urids, c);
        presets (plugin, world, urids, first, c);
        return c;
    }
} // namespace
} // namespace nadrix

int main (int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf (stderr, "usage: %s URI [URI...]   (LV2_PATH says where the bundles are)\n", argv[0]);
        return 2;
    }

    LilvWorld* world = lilv_world_new();
    lilv_world_load_all (world);
    nadrix::Urids urids;
    std::vector<nadrix::Column> columns;
    for (int i = 1; i < argc; ++i)
        columns.push_back (nadrix::measure (world, urids, argv[i]));

    std::printf ("| LV2, 44.1 kHz stereo unless said |");
    for (auto& column : columns)
        std::printf (" %s |", column["name"].c_str());
    std::printf ("\n|---|");
    for (size_t k = 0; k < columns.size(); ++k)
        std::printf ("---|");
    std::printf ("\n");
    for (const char* row : nadrix::rows)
    {
        std::printf ("| %s |", row);
        for (auto& column : columns)
            std::printf (" %s |", column.count (row) != 0 ? column[row].c_str() : "-");
        std::printf ("\n");
    }
    lilv_world_free (world);
    return 0;
}
