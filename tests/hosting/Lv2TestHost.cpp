// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/hosting/Lv2TestHost.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <sys/resource.h>

#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>

namespace nadrix
{
struct Lv2TestHost::Impl
{
    // URIDs as every host hands them out: one number per URI, for the session.
    std::unordered_map<std::string, LV2_URID> ids;
    std::vector<std::string> uris { "" };
    LV2_URID_Map map { this, [] (LV2_URID_Map_Handle h, const char* uri) { return static_cast<Impl*> (h)->idOf (uri); } };
    LV2_URID_Unmap unmap { this, [] (LV2_URID_Unmap_Handle h, LV2_URID id) { return static_cast<Impl*> (h)->uriOf (id); } };

    LV2_URID idOf (const char* uri)
    {
        const auto [it, added] = ids.emplace (uri, (LV2_URID) uris.size());
        if (added)
            uris.push_back (uri);
        return it->second;
    }
    const char* uriOf (LV2_URID id) const { return id < uris.size() ? uris[id].c_str() : nullptr; }

    // The worker: jobs scheduled in a block run after it, then their answers.
    std::vector<std::vector<char>> jobs, answers;
    LV2_Worker_Schedule schedule { this, [] (LV2_Worker_Schedule_Handle h, uint32_t size, const void* data) {
        static_cast<Impl*> (h)->jobs.emplace_back (static_cast<const char*> (data), static_cast<const char*> (data) + size);
        return LV2_WORKER_SUCCESS;
    } };
    const LV2_Worker_Interface* worker = nullptr;

    int32_t blockLength = 0;
    float rate = 0.0f;
    std::vector<LV2_Options_Option> options;
    LV2_Feature mapFeature { LV2_URID__map, &map }, unmapFeature { LV2_URID__unmap, &unmap };
    LV2_Feature optionsFeature { LV2_OPTIONS__options, nullptr };
    LV2_Feature boundedFeature { LV2_BUF_SIZE__boundedBlockLength, nullptr };
    LV2_Feature scheduleFeature { LV2_WORKER__schedule, &schedule };
    const LV2_Feature* features[6] = { &mapFeature, &unmapFeature, &optionsFeature, &boundedFeature, &scheduleFeature, nullptr };
    long lastRunFaults = 0;

    LilvWorld* world = nullptr;
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    std::string failure;

    struct Control
    {
        uint32_t index;
        float value, minimum, maximum, defaultValue;
    };
    std::map<std::string, Control> controls;
    std::vector<std::string> inputOrder;
    std::vector<float> outputControls;
    std::vector<std::vector<float>> audioIn, audioOut;
    std::vector<uint32_t> audioInPorts, audioOutPorts;
    struct AtomPort
    {
        uint32_t index;
        bool input;
        std::vector<uint64_t> buffer; // 8-byte aligned, as atoms must be
    };
    std::vector<AtomPort> atomPorts;

    void connect (int maximumBlock)
    {
        LilvNode* input = lilv_new_uri (world, LV2_CORE__InputPort);
        LilvNode* audio = lilv_new_uri (world, LV2_CORE__AudioPort);
        LilvNode* control = lilv_new_uri (world, LV2_CORE__ControlPort);
        LilvNode* atom = lilv_new_uri (world, LV2_ATOM__AtomPort);

        const uint32_t ports = lilv_plugin_get_num_ports (plugin);
        outputControls.assign (ports, 0.0f);
        for (uint32_t i = 0; i < ports; ++i)
        {
            const LilvPort* port = lilv_plugin_get_port_by_index (plugin, i);
            const bool isInput = lilv_port_is_a (plugin, port, input);
            if (lilv_port_is_a (plugin, port, audio))
            {
                auto& buffers = isInput ? audioIn : audioOut;
                (isInput ? audioInPorts : audioOutPorts).push_back (i);
                buffers.emplace_back ((size_t) maximumBlock, 0.0f);
                lilv_instance_connect_port (instance, i, buffers.back().data());
            }
            else if (lilv_port_is_a (plugin, port, control) && isInput)
            {
                LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
                lilv_port_get_range (plugin, port, &def, &min, &max);
                const auto number = [] (LilvNode* n, float otherwise) { const float v = n != nullptr ? lilv_node_as_float (n) : otherwise; lilv_node_free (n); return v; };
                const std::string symbol = lilv_node_as_string (lilv_port_get_symbol (plugin, port));
                const float d = number (def, 0.0f);
                controls[symbol] = { i, d, number (min, 0.0f), number (max, 1.0f), d };
                inputOrder.push_back (symbol);
            }
            else if (lilv_port_is_a (plugin, port, control))
            {
                lilv_instance_connect_port (instance, i, &outputControls[i]);
            }
            else if (lilv_port_is_a (plugin, port, atom))
            {
                atomPorts.push_back ({ i, isInput, std::vector<uint64_t> (8192, 0) });
            }
            else
            {
                lilv_instance_connect_port (instance, i, nullptr);
            }
        }
        // Connected once their storage no longer moves.
        for (auto& [symbol, c] : controls)
            lilv_instance_connect_port (instance, c.index, &c.value);
        for (auto& a : atomPorts)
            lilv_instance_connect_port (instance, a.index, a.buffer.data());

        for (auto* n : { input, audio, control, atom })
            lilv_node_free (n);
    }

    void prepareAtomPorts()
    {
        for (auto& a : atomPorts)
        {
            auto* sequence = reinterpret_cast<LV2_Atom_Sequence*> (a.buffer.data());
            if (a.input)
            {
                sequence->atom.size = sizeof (LV2_Atom_Sequence_Body);
                sequence->atom.type = idOf (LV2_ATOM__Sequence);
                sequence->body.unit = 0;
                sequence->body.pad = 0;
            }
            else
            {
                sequence->atom.size = (uint32_t) (a.buffer.size() * sizeof (uint64_t) - sizeof (LV2_Atom));
                sequence->atom.type = idOf (LV2_ATOM__Chunk);
            }
        }
    }

    void runJobs()
    {
        if (worker == nullptr)
            return;
        auto respond = [] (LV2_Worker_Respond_Handle h, uint32_t size, const void* data) {
            static_cast<Impl*> (h)->answers.emplace_back (static_cast<const char*> (data), static_cast<const char*> (data) + size);
            return LV2_WORKER_SUCCESS;
        };
        auto* handle = lilv_instance_get_handle (instance);
        for (auto pending = std::move (jobs); ! pending.empty(); pending = std::move (jobs))
            for (auto& job : pending)
                worker->work (handle, respond, this, (uint32_t) job.size(), job.data());
        for (auto& answer : std::exchange (answers, {}))
            if (worker->work_response != nullptr)
                worker->work_response (handle, (uint32_t) answer.size(), answer.data());
        if (worker->end_run != nullptr)
            worker->end_run (handle);
    }

    static const void* portValue (const char* symbol, void* self, uint32_t* size, uint32_t* type)
    {
        auto* impl = static_cast<Impl*> (self);
        const auto c = impl->controls.find (symbol);
        if (c == impl->controls.end())
            return nullptr;
        *size = sizeof (float);
        *type = impl->idOf (LV2_ATOM__Float);
        return &c->second.value;
    }

    static void setPortValue (const char* symbol, void* self, const void* value, uint32_t size, uint32_t type)
    {
        auto* impl = static_cast<Impl*> (self);
        const auto c = impl->controls.find (symbol);
        if (c == impl->controls.end())
            return;
        // As hosts take a saved value: any number type.
        if (type == impl->idOf (LV2_ATOM__Float) && size == sizeof (float))
            std::memcpy (&c->second.value, value, sizeof (float));
        else if (type == impl->idOf (LV2_ATOM__Double) && size == sizeof (double))
            c->second.value = (float) *static_cast<const double*> (value);
        else if ((type == impl->idOf (LV2_ATOM__Int) || type == impl->idOf (LV2_ATOM__Bool)) && size == sizeof (int32_t))
            c->second.value = (float) *static_cast<const int32_t*> (value);
        else if (type == impl->idOf (LV2_ATOM__Long) && size == sizeof (int64_t))
            c->second.value = (float) *static_cast<const int64_t*> (value);
    }
};

Lv2TestHost::Lv2TestHost (const std::string& bundle, const std::string& uri, double sampleRate, int maximumBlock, bool offerWorker)
    : impl (std::make_unique<Impl>())
{
    auto& m = *impl;
    if (! offerWorker)
        m.features[4] = nullptr;
    m.blockLength = maximumBlock;
    m.rate = (float) sampleRate;
    const LV2_URID intType = m.idOf (LV2_ATOM__Int), floatType = m.idOf (LV2_ATOM__Float);
    m.options = {
        { LV2_OPTIONS_INSTANCE, 0, m.idOf (LV2_BUF_SIZE__minBlockLength), sizeof (int32_t), intType, &m.blockLength },
        { LV2_OPTIONS_INSTANCE, 0, m.idOf (LV2_BUF_SIZE__maxBlockLength), sizeof (int32_t), intType, &m.blockLength },
        { LV2_OPTIONS_INSTANCE, 0, m.idOf (LV2_BUF_SIZE__nominalBlockLength), sizeof (int32_t), intType, &m.blockLength },
        { LV2_OPTIONS_INSTANCE, 0, m.idOf (LV2_PARAMETERS__sampleRate), sizeof (float), floatType, &m.rate },
        { LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr },
    };
    m.optionsFeature.data = m.options.data();

    m.world = lilv_world_new();
    LilvNode* folder = lilv_new_file_uri (m.world, nullptr, (bundle.back() == '/' ? bundle : bundle + "/").c_str());
    lilv_world_load_specifications (m.world);
    lilv_world_load_plugin_classes (m.world);
    lilv_world_load_bundle (m.world, folder);
    lilv_node_free (folder);

    LilvNode* pluginUri = lilv_new_uri (m.world, uri.c_str());
    m.plugin = lilv_plugins_get_by_uri (lilv_world_get_all_plugins (m.world), pluginUri);
    lilv_node_free (pluginUri);
    if (m.plugin == nullptr)
    {
        m.failure = "no plug-in " + uri + " in " + bundle;
        return;
    }
    m.instance = lilv_plugin_instantiate (m.plugin, sampleRate, m.features);
    if (m.instance == nullptr)
    {
        m.failure = "the plug-in did not instantiate";
        return;
    }
    m.worker = static_cast<const LV2_Worker_Interface*> (lilv_instance_get_extension_data (m.instance, LV2_WORKER__interface));
    m.connect (maximumBlock);
    lilv_instance_activate (m.instance);
}

Lv2TestHost::~Lv2TestHost()
{
    if (impl->instance != nullptr)
    {
        lilv_instance_deactivate (impl->instance);
        lilv_instance_free (impl->instance);
    }
    lilv_world_free (impl->world);
}

const std::string& Lv2TestHost::failure() const noexcept { return impl->failure; }
std::vector<std::string> Lv2TestHost::controlSymbols() const { return impl->inputOrder; }
bool Lv2TestHost::hasControl (const std::string& symbol) const { return impl->controls.count (symbol) != 0; }
float Lv2TestHost::control (const std::string& symbol) const { return impl->controls.at (symbol).value; }
void Lv2TestHost::setControl (const std::string& symbol, float value) { impl->controls.at (symbol).value = value; }
float Lv2TestHost::minimum (const std::string& symbol) const { return impl->controls.at (symbol).minimum; }
float Lv2TestHost::maximum (const std::string& symbol) const { return impl->controls.at (symbol).maximum; }
float Lv2TestHost::defaultValue (const std::string& symbol) const { return impl->controls.at (symbol).defaultValue; }

void Lv2TestHost::run (const float* inLeft, const float* inRight, float* outLeft, float* outRight, int frames)
{
    auto& m = *impl;
    const float* in[] = { inLeft, inRight };
    for (size_t c = 0; c < m.audioIn.size() && c < 2; ++c)
        std::memcpy (m.audioIn[c].data(), in[c], sizeof (float) * (size_t) frames);
    m.prepareAtomPorts();
    const auto faults = [] { rusage usage {}; getrusage (RUSAGE_THREAD, &usage); return usage.ru_minflt + usage.ru_majflt; };
    const long before = faults();
    lilv_instance_run (m.instance, (uint32_t) frames);
    m.lastRunFaults = faults() - before;
    m.runJobs();
    float* out[] = { outLeft, outRight };
    for (size_t c = 0; c < m.audioOut.size() && c < 2; ++c)
        std::memcpy (out[c], m.audioOut[c].data(), sizeof (float) * (size_t) frames);
}

long Lv2TestHost::runPageFaults() const noexcept { return impl->lastRunFaults; }

std::string Lv2TestHost::saveState()
{
    auto& m = *impl;
    LilvState* state = lilv_state_new_from_instance (m.plugin, m.instance, &m.map, nullptr, nullptr, nullptr, nullptr,
                                                     Impl::portValue, &m, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, m.features);
    char* text = lilv_state_to_string (m.world, &m.map, &m.unmap, state, "urn:nadrix:test-state", nullptr);
    std::string turtle = text != nullptr ? text : "";
    lilv_free (text);
    lilv_state_free (state);
    return turtle;
}

void Lv2TestHost::restoreState (const std::string& turtle)
{
    auto& m = *impl;
    if (LilvState* state = lilv_state_new_from_string (m.world, &m.map, turtle.c_str()))
    {
        lilv_state_restore (state, m.instance, Impl::setPortValue, &m, 0, m.features);
        lilv_state_free (state);
    }
}

std::vector<std::string> Lv2TestHost::presetLabels() const
{
    auto& m = *impl;
    std::vector<std::string> labels;
    LilvNode* presetClass = lilv_new_uri (m.world, LV2_PRESETS__Preset);
    LilvNode* label = lilv_new_uri (m.world, "http://www.w3.org/2000/01/rdf-schema#label");
    LilvNodes* presets = lilv_plugin_get_related (m.plugin, presetClass);
    LILV_FOREACH (nodes, i, presets)
    {
        const LilvNode* preset = lilv_nodes_get (presets, i);
        lilv_world_load_resource (m.world, preset);
        if (LilvNodes* labels_ = lilv_world_find_nodes (m.world, preset, label, nullptr))
        {
            if (lilv_nodes_size (labels_) > 0)
                labels.push_back (lilv_node_as_string (lilv_nodes_get_first (labels_)));
            lilv_nodes_free (labels_);
        }
    }
    lilv_nodes_free (presets);
    lilv_node_free (label);
    lilv_node_free (presetClass);
    return labels;
}

bool Lv2TestHost::applyPreset (const std::string& wanted)
{
    auto& m = *impl;
    bool applied = false;
    LilvNode* presetClass = lilv_new_uri (m.world, LV2_PRESETS__Preset);
    LilvNode* label = lilv_new_uri (m.world, "http://www.w3.org/2000/01/rdf-schema#label");
    LilvNodes* presets = lilv_plugin_get_related (m.plugin, presetClass);
    LILV_FOREACH (nodes, i, presets)
    {
        const LilvNode* preset = lilv_nodes_get (presets, i);
        lilv_world_load_resource (m.world, preset);
        LilvNodes* labels = lilv_world_find_nodes (m.world, preset, label, nullptr);
        const bool matches = labels != nullptr && lilv_nodes_size (labels) > 0 && wanted == lilv_node_as_string (lilv_nodes_get_first (labels));
        lilv_nodes_free (labels);
        if (! matches)
            continue;
        if (LilvState* state = lilv_state_new_from_world (m.world, &m.map, preset))
        {
            lilv_state_restore (state, m.instance, Impl::setPortValue, &m, 0, m.features);
            lilv_state_free (state);
            applied = true;
        }
        break;
    }
    lilv_nodes_free (presets);
    lilv_node_free (label);
    lilv_node_free (presetClass);
    return applied;
}
} // namespace nadrix
